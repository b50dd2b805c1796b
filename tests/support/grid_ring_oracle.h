#pragma once
// Brute-force answers about regions given as integer grid rings, for checking the medial axis:
// slow on purpose (every segment of every ring), so they share nothing with the code under test.
// Header-only, so that the fuzz targets use the same oracle as the tests.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "carving/medial_axis.h"

namespace kerfline::oracle {

inline constexpr double kGridPerUnit = 1e6;  // grid steps per drawing unit, as the union computes

inline Vec2 ringPoint(const GridRing& r, std::size_t i) {
  const GridPoint& p = r[i % r.size()];
  return {static_cast<double>(p.x) / kGridPerUnit, static_cast<double>(p.y) / kGridPerUnit};
}

/// Distance from p to the nearest segment of any ring.
inline double distanceToOutline(const std::vector<GridRing>& rings, Vec2 p) {
  double best = INFINITY;
  for (const GridRing& r : rings)
    for (std::size_t i = 0; i < r.size(); ++i) {
      const Vec2 a = ringPoint(r, i), b = ringPoint(r, i + 1);
      const double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
      const double t = len2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / len2, 0.0, 1.0) : 0;
      best = std::min(best, std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy));
    }
  return best;
}

/// Winding number of the rings round p: the region is where it is not zero.
inline int winding(const std::vector<GridRing>& rings, Vec2 p) {
  int w = 0;
  for (const GridRing& r : rings)
    for (std::size_t i = 0; i < r.size(); ++i) {
      const Vec2 a = ringPoint(r, i), b = ringPoint(r, i + 1);
      const double side = (b.x - a.x) * (p.y - a.y) - (p.x - a.x) * (b.y - a.y);
      if (a.y <= p.y && p.y < b.y && side > 0) ++w;
      if (b.y <= p.y && p.y < a.y && side < 0) --w;
    }
  return w;
}

}  // namespace kerfline::oracle
