#include "geometry/ring_math.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace kerfline {

double signedArea(const std::vector<Vec2>& ring) {
  if (ring.size() < 3) return 0;
  // Relative to the first point: the products stay small where the ring sits far from the
  // origin, so a thin ring on the tenth line of text keeps its sign.
  const Vec2 o = ring.front();
  double twice = 0;
  for (std::size_t i = 1; i + 1 < ring.size(); ++i) {
    const double ax = ring[i].x - o.x;
    const double ay = ring[i].y - o.y;
    const double bx = ring[i + 1].x - o.x;
    const double by = ring[i + 1].y - o.y;
    twice += ax * by - bx * ay;
  }
  return twice / 2;
}

RingSide locatePoint(const Vec2& p, const std::vector<Vec2>& ring) {
  bool inside = false;
  const std::size_t n = ring.size();
  for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
    const Vec2& a = ring[j];
    const Vec2& b = ring[i];
    // Sign of the cross product: > 0 when p is left of the edge a -> b. For points that are
    // single-precision values (every point of the classic walk) the differences and products
    // are exact in double, so "on the edge" is decided exactly.
    const double cross = (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
    if (cross == 0 && std::min(a.x, b.x) <= p.x && p.x <= std::max(a.x, b.x) &&
        std::min(a.y, b.y) <= p.y && p.y <= std::max(a.y, b.y)) {
      return RingSide::OnBoundary;
    }
    // A ray from p towards +X crosses an upward edge that has p on its left and a downward
    // edge that has p on its right; half-open in Y so a vertex on the ray counts once.
    if ((a.y > p.y) != (b.y > p.y)) {
      if (b.y > a.y ? cross > 0 : cross < 0) inside = !inside;
    }
  }
  return inside ? RingSide::Inside : RingSide::Outside;
}

Extent extentOf(const std::vector<Vec2>& points) {
  Extent e;
  for (const Vec2& p : points) e.add(p);
  return e;
}

void removeRepeatedPoints(Contour& contour) {
  std::vector<Vec2>& pts = contour.points;
  const std::size_t before = pts.size();
  pts.erase(std::unique(pts.begin(), pts.end()), pts.end());
  if (contour.closed) {
    while (pts.size() > 1 && pts.back() == pts.front()) pts.pop_back();
  }
  if (pts.size() != before) contour.tangents.reset();
}

void dropShortEdges(Contour& contour, double shortest, double bend) {
  std::vector<Vec2>& pts = contour.points;
  const std::size_t n = pts.size();
  if (n < 2) return;
  // p may go when it lies within shortest of a and within bend of the line from a to b.
  const auto mayDrop = [&](const Vec2& a, const Vec2& p, const Vec2& b) {
    const double ax = p.x - a.x, ay = p.y - a.y;
    const double length = std::hypot(ax, ay);
    if (length < bend) return true;
    if (length >= shortest) return false;
    const double bx = b.x - a.x, by = b.y - a.y;
    const double base = std::hypot(bx, by);
    const double off = base > 0 ? std::fabs(ax * by - ay * bx) / base : length;
    return off <= bend;
  };
  std::size_t kept = 1;
  for (std::size_t i = 1; i < n; ++i) {
    const bool last = i + 1 == n;
    if (last && !contour.closed) {
      pts[kept++] = pts[i];  // an open path keeps both its ends
    } else if (!mayDrop(pts[kept - 1], pts[i], last ? pts[0] : pts[i + 1])) {
      pts[kept++] = pts[i];
    }
  }
  pts.resize(kept);
  if (contour.closed)
    while (pts.size() > 1 && mayDrop(pts.front(), pts.back(), pts[pts.size() - 2])) pts.pop_back();
  if (pts.size() != n) contour.tangents.reset();
}

void reverseRing(Contour& contour) {
  const std::size_t n = contour.points.size();
  if (n <= 2) return;
  std::reverse(contour.points.begin() + 1, contour.points.end());
  if (!contour.tangents) return;
  // Point i moves to (n - i) mod n; run backwards, the curve arrives where it used to leave.
  const PolylineTangents& was = *contour.tangents;
  auto turned = std::make_shared<PolylineTangents>();
  turned->in.resize(n);
  turned->out.resize(n);
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t j = (n - i) % n;
    turned->in[j] = {-was.out[i].x, -was.out[i].y};
    turned->out[j] = {-was.in[i].x, -was.in[i].y};
  }
  contour.tangents = std::move(turned);
}

void startRingAt(Contour& ring, std::size_t start) {
  const std::size_t n = ring.points.size();
  if (!ring.closed || start == 0 || start >= n) return;
  const auto at = static_cast<std::ptrdiff_t>(start);
  std::rotate(ring.points.begin(), ring.points.begin() + at, ring.points.end());
  if (!ring.tangents) return;
  auto turned = std::make_shared<PolylineTangents>(*ring.tangents);
  std::rotate(turned->in.begin(), turned->in.begin() + at, turned->in.end());
  std::rotate(turned->out.begin(), turned->out.begin() + at, turned->out.end());
  ring.tangents = std::move(turned);
}

}  // namespace kerfline
