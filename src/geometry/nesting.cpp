#include "geometry/nesting.h"

#include <cmath>

#include "geometry/ring_math.h"

namespace kerfline {
namespace {

struct RingFacts {
  Extent box;
  double size = 0;  // |area|
};

bool boxWithin(const Extent& inner, const Extent& outer) {
  return outer.minX <= inner.minX && inner.maxX <= outer.maxX && outer.minY <= inner.minY &&
         inner.maxY <= outer.maxY;
}

// Whether ring `inner` lies inside ring `outer`, for rings that do not cross: the first point
// of inner that is not on outer's boundary decides. Touching rings share points, so vertices
// on the boundary are passed over, then edge midpoints; rings with every such point on each
// other's boundary trace the same line, and the smaller (else the later) one is inside.
bool liesInside(const std::vector<Contour>& contours, const std::vector<RingFacts>& facts,
                std::size_t inner, std::size_t outer) {
  if (!boxWithin(facts[inner].box, facts[outer].box)) return false;
  const std::vector<Vec2>& ring = contours[inner].points;
  const std::vector<Vec2>& around = contours[outer].points;
  for (const Vec2& p : ring) {
    const RingSide side = locatePoint(p, around);
    if (side != RingSide::OnBoundary) return side == RingSide::Inside;
  }
  for (std::size_t i = 0; i < ring.size(); ++i) {
    const Vec2& a = ring[i];
    const Vec2& b = ring[(i + 1) % ring.size()];
    const RingSide side = locatePoint({(a.x + b.x) / 2, (a.y + b.y) / 2}, around);
    if (side != RingSide::OnBoundary) return side == RingSide::Inside;
  }
  if (facts[inner].size != facts[outer].size) return facts[inner].size < facts[outer].size;
  return outer < inner;
}

// Holding is only allowed from larger to smaller ring (ties: earlier to later), so that rings
// which cross each other (overlapping outlines in a badly made font) can never hold each
// other in a circle.
bool mayHold(const std::vector<RingFacts>& facts, std::size_t outer, std::size_t inner) {
  if (facts[outer].size != facts[inner].size) return facts[outer].size > facts[inner].size;
  return outer < inner;
}

}  // namespace

Nesting findNesting(const std::vector<Contour>& contours) {
  const std::size_t n = contours.size();
  Nesting nesting;
  nesting.depth.assign(n, 0);
  nesting.parent.assign(n, -1);
  std::vector<RingFacts> facts(n);
  for (std::size_t i = 0; i < n; ++i) {
    if (!contours[i].closed || contours[i].points.empty()) continue;
    facts[i].box = extentOf(contours[i].points);
    facts[i].size = std::fabs(signedArea(contours[i].points));
  }
  for (std::size_t i = 0; i < n; ++i) {
    if (!contours[i].closed || contours[i].points.empty()) continue;
    int innermost = -1;
    for (std::size_t j = 0; j < n; ++j) {
      if (j == i || !contours[j].closed || contours[j].points.size() < 3) continue;
      if (!mayHold(facts, j, i) || !liesInside(contours, facts, i, j)) continue;
      ++nesting.depth[i];
      if (innermost < 0 || mayHold(facts, static_cast<std::size_t>(innermost), j)) {
        innermost = static_cast<int>(j);
      }
    }
    nesting.parent[i] = innermost;
  }
  return nesting;
}

}  // namespace kerfline
