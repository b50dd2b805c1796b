#include "geometry/clipper_region.h"

namespace kerfline {

ClipperLib::Paths closedPathsOf(const PlacedCharacter& character) {
  ClipperLib::Paths paths;
  for (const Contour& c : character.contours) {
    if (!c.closed || c.points.size() < 3) continue;  // a ring of fewer points encloses nothing
    ClipperLib::Path path;
    path.reserve(c.points.size());
    for (const Vec2& p : c.points) path.push_back(toClipper(p));
    paths.push_back(std::move(path));
  }
  return paths;
}

ClipperLib::Paths regionOf(const ClipperLib::Paths& paths) {
  ClipperLib::Clipper clipper;
  clipper.AddPaths(paths, ClipperLib::ptSubject, true);
  ClipperLib::Paths out;
  clipper.Execute(ClipperLib::ctUnion, out, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
  return out;
}

void regionTreeOf(const ClipperLib::Paths& paths, ClipperLib::PolyTree& tree) {
  ClipperLib::Clipper clipper;
  clipper.AddPaths(paths, ClipperLib::ptSubject, true);
  clipper.Execute(ClipperLib::ctUnion, tree, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
}

namespace {

void collect(const ClipperLib::PolyNode& node, int depth, std::vector<Contour>& out) {
  for (const ClipperLib::PolyNode* child : node.Childs) {
    Contour c;
    c.depth = depth;
    c.points.reserve(child->Contour.size());
    for (const ClipperLib::IntPoint& p : child->Contour) c.points.push_back(fromClipper(p));
    out.push_back(std::move(c));
    collect(*child, depth + 1, out);
  }
}

}  // namespace

std::vector<Contour> contoursOf(const ClipperLib::PolyTree& tree) {
  std::vector<Contour> out;
  collect(tree, 0, out);
  return out;
}

}  // namespace kerfline
