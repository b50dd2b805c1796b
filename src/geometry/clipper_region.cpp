#include "geometry/clipper_region.h"

#include <algorithm>
#include <utility>

#include "geometry/ring_math.h"

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
  return clipperCall([&] {
    ClipperLib::Clipper clipper;
    clipper.AddPaths(paths, ClipperLib::ptSubject, true);
    ClipperLib::Paths out;
    clipper.Execute(ClipperLib::ctUnion, out, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
    return out;
  });
}

ClipperLib::Paths unionOfRegions(std::vector<ClipperLib::Paths> parts) {
  if (parts.empty()) return {};
  for (std::size_t step = 1; step < parts.size(); step *= 2) {
    for (std::size_t i = 0; i + step < parts.size(); i += 2 * step) {
      ClipperLib::Paths& a = parts[i];
      ClipperLib::Paths& b = parts[i + step];
      a.insert(a.end(), std::make_move_iterator(b.begin()), std::make_move_iterator(b.end()));
      b.clear();
      a = regionOf(a);
    }
  }
  return std::move(parts.front());
}

void regionTreeOf(const ClipperLib::Paths& paths, ClipperLib::PolyTree& tree) {
  clipperCall([&] {
    ClipperLib::Clipper clipper;
    clipper.AddPaths(paths, ClipperLib::ptSubject, true);
    clipper.Execute(ClipperLib::ctUnion, tree, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
  });
}

namespace {

// Iterative, as a union may nest thousands of rings (a frame of frames).
void collect(const ClipperLib::PolyNode& root, double bend, std::vector<Contour>& out) {
  std::vector<std::pair<const ClipperLib::PolyNode*, int>> stack;
  for (auto it = root.Childs.rbegin(); it != root.Childs.rend(); ++it) stack.push_back({*it, 0});
  while (!stack.empty()) {
    const auto [node, depth] = stack.back();
    stack.pop_back();
    Contour c;
    c.depth = depth;
    c.points.reserve(node->Contour.size());
    for (const ClipperLib::IntPoint& p : node->Contour) c.points.push_back(fromClipper(p));
    dropShortEdges(c, kShortestEdge, std::max(bend, kShortEdgeBend));
    // A ring that was all short edges encloses nothing worth a cut, nor do rings inside it.
    if (c.points.size() < 3) continue;
    out.push_back(std::move(c));
    for (auto it = node->Childs.rbegin(); it != node->Childs.rend(); ++it)
      stack.push_back({*it, depth + 1});
  }
}

}  // namespace

std::vector<Contour> contoursOf(const ClipperLib::PolyTree& tree, double bend) {
  std::vector<Contour> out;
  collect(tree, bend, out);
  return out;
}

}  // namespace kerfline
