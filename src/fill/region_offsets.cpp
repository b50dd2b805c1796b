#include "fill/region_offsets.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "geometry/kerf_offset.h"
#include "geometry/ring_math.h"

namespace kerfline {

ClipperLib::Paths evenOddRegion(const std::vector<Contour>& rings) {
  ClipperLib::Paths paths;
  for (const Contour& c : rings) {
    if (!c.closed || c.points.size() < 3) continue;
    ClipperLib::Path path;
    path.reserve(c.points.size());
    for (const Vec2& p : c.points) path.push_back(toClipper(p));
    paths.push_back(std::move(path));
  }
  return clipperCall([&] {
    ClipperLib::Clipper clipper;
    clipper.AddPaths(paths, ClipperLib::ptSubject, true);
    ClipperLib::Paths out;
    clipper.Execute(ClipperLib::ctUnion, out, ClipperLib::pftEvenOdd, ClipperLib::pftEvenOdd);
    return out;
  });
}

namespace {

// The stray of a round join's chords: the tolerance asked, unless that would take more than
// kMaxChordsPerTurn chords to a full turn (bounding the points of a wide offset).
double strayOf(double distance, double tolerance) {
  return std::max(tolerance, distance * (1 - std::cos(std::numbers::pi / kMaxChordsPerTurn)));
}

// Chords of a round join lie inside the arc by up to their stray: moving that much further
// keeps every chord at least the distance away, so a tool's disc on the path never crosses
// the edge.
double safeDelta(double distance, double tolerance) {
  return -(distance + strayOf(distance, tolerance)) * kClipperScale;
}

}  // namespace

void insetTree(const ClipperLib::Paths& region, double distance, double tolerance,
               ClipperLib::PolyTree& tree) {
  clipperCall([&] {
    ClipperLib::ClipperOffset offset(2.0, strayOf(distance, tolerance) * kClipperScale);
    offset.AddPaths(region, ClipperLib::jtRound, ClipperLib::etClosedPolygon);
    offset.Execute(tree, safeDelta(distance, tolerance));
  });
}

ClipperLib::Paths inset(const ClipperLib::Paths& region, double distance, double tolerance) {
  return clipperCall([&] {
    ClipperLib::ClipperOffset offset(2.0, strayOf(distance, tolerance) * kClipperScale);
    offset.AddPaths(region, ClipperLib::jtRound, ClipperLib::etClosedPolygon);
    ClipperLib::Paths out;
    offset.Execute(out, safeDelta(distance, tolerance));
    return out;
  });
}

double areaOf(const ClipperLib::Paths& paths) {
  double area = 0;
  for (const ClipperLib::Path& p : paths) area += ClipperLib::Area(p);
  return area / (kClipperScale * kClipperScale);
}

Contour ringOf(const ClipperLib::Path& path, int depth) {
  Contour c;
  c.depth = depth;
  c.points.reserve(path.size());
  for (const ClipperLib::IntPoint& p : path) c.points.push_back(fromClipper(p));
  dropShortEdges(c, kShortestEdge, kShortEdgeBend);
  return c;
}

}  // namespace kerfline

namespace kerfline {

ClipperLib::Paths outset(const ClipperLib::Paths& region, double distance, double tolerance) {
  return clipperCall([&] {
    ClipperLib::ClipperOffset offset(2.0, strayOf(distance, tolerance) * kClipperScale);
    offset.AddPaths(region, ClipperLib::jtRound, ClipperLib::etClosedPolygon);
    ClipperLib::Paths out;
    offset.Execute(out, distance * kClipperScale);
    return out;
  });
}

}  // namespace kerfline
