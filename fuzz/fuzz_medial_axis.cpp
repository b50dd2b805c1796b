// Fuzzes the medial axis with the regions a hostile font could give: the input's bytes are
// (x, y) pairs of small numbers, a byte 0x80 ends a ring; the rings go through the same union as
// a letter's contours. Every axis point must lie inside the region, and its radius must be its
// distance to the outline, measured here by brute force over every segment.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "carving/medial_axis.h"

namespace {

using kerfline::GridRing;
using kerfline::Vec2;

constexpr double kGrid = 1e6;  // grid steps per drawing unit

Vec2 at(const GridRing& r, std::size_t i) {
  const kerfline::GridPoint& p = r[i % r.size()];
  return {static_cast<double>(p.x) / kGrid, static_cast<double>(p.y) / kGrid};
}

double distanceToOutline(const std::vector<GridRing>& rings, Vec2 p) {
  double best = INFINITY;
  for (const GridRing& r : rings)
    for (std::size_t i = 0; i < r.size(); ++i) {
      const Vec2 a = at(r, i), b = at(r, i + 1);
      const double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
      const double t = len2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / len2, 0.0, 1.0) : 0;
      best = std::min(best, std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy));
    }
  return best;
}

// Winding number of the rings round p (the region is where it is not zero).
int winding(const std::vector<GridRing>& rings, Vec2 p) {
  int w = 0;
  for (const GridRing& r : rings)
    for (std::size_t i = 0; i < r.size(); ++i) {
      const Vec2 a = at(r, i), b = at(r, i + 1);
      const double side = (b.x - a.x) * (p.y - a.y) - (p.x - a.x) * (b.y - a.y);
      if (a.y <= p.y && p.y < b.y && side > 0) ++w;
      if (b.y <= p.y && p.y < a.y && side < 0) --w;
    }
  return w;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kerfline;
  if (size > 4096) return 0;  // the brute-force check is quadratic
  PlacedCharacter c;
  Contour current;
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0x80) {
      if (current.points.size() > 2) c.contours.push_back(current);
      current = Contour{};
    } else if (i + 1 < size) {
      // Quarter units: off the grid of whole numbers, still exact in binary.
      current.points.push_back({static_cast<std::int8_t>(data[i]) / 4.0,
                                static_cast<std::int8_t>(data[i + 1]) / 4.0});
      ++i;
    }
  }
  if (current.points.size() > 2) c.contours.push_back(current);
  const std::vector<GridRing> rings = regionRingsOf(c);
  const MedialAxis axis = medialAxis(rings, 0.01);
  for (const AxisEdge& e : axis.edges) {
    if (e.points.size() < 2 || e.from < 0 || e.to < 0 ||
        static_cast<std::size_t>(std::max(e.from, e.to)) >= axis.vertices.size())
      std::abort();
    for (const AxisPoint& p : e.points) {
      if (std::fabs(p.radius - distanceToOutline(rings, p.position)) > 1e-6) std::abort();
      if (p.radius > 1e-6 && winding(rings, p.position) == 0) std::abort();
    }
  }
  return 0;
}
