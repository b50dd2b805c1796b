#include "geometry/ring_distance.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace kerfline {
namespace {

struct Edge {
  Vec2 a, b;
  Extent box;
};

double cross(const Vec2& o, const Vec2& p, const Vec2& q) {
  return (p.x - o.x) * (q.y - o.y) - (p.y - o.y) * (q.x - o.x);
}

double squaredToSegment(const Vec2& p, const Edge& e) {
  const double dx = e.b.x - e.a.x, dy = e.b.y - e.a.y;
  const double length2 = dx * dx + dy * dy;
  double t = length2 > 0 ? ((p.x - e.a.x) * dx + (p.y - e.a.y) * dy) / length2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  const double x = e.a.x + t * dx - p.x, y = e.a.y + t * dy - p.y;
  return x * x + y * y;
}

// Two segments cross (or touch) when each one's ends lie on both sides of the other.
bool crossing(const Edge& e, const Edge& f) {
  const double d1 = cross(e.a, e.b, f.a), d2 = cross(e.a, e.b, f.b);
  const double d3 = cross(f.a, f.b, e.a), d4 = cross(f.a, f.b, e.b);
  return ((d1 <= 0 && d2 >= 0) || (d1 >= 0 && d2 <= 0)) &&
         ((d3 <= 0 && d4 >= 0) || (d3 >= 0 && d4 <= 0)) && !(d1 == 0 && d2 == 0);
}

bool within(const Edge& e, const Edge& f, double distance2) {
  if (crossing(e, f)) return true;
  return squaredToSegment(e.a, f) <= distance2 || squaredToSegment(e.b, f) <= distance2 ||
         squaredToSegment(f.a, e) <= distance2 || squaredToSegment(f.b, e) <= distance2;
}

// The edges of c's closed rings whose boxes meet near, into out.
void edgesNear(const PlacedCharacter& c, const Extent& near, std::vector<Edge>& out) {
  out.clear();
  for (const Contour& k : c.contours) {
    if (!k.closed || k.points.empty()) continue;
    const std::size_t n = k.points.size();
    for (std::size_t i = 0; i < n; ++i) {
      const Vec2& p = k.points[i];
      const Vec2& q = k.points[i + 1 < n ? i + 1 : 0];
      const Extent box{std::min(p.x, q.x), std::min(p.y, q.y), std::max(p.x, q.x),
                       std::max(p.y, q.y)};
      if (box.maxX < near.minX || box.minX > near.maxX || box.maxY < near.minY ||
          box.minY > near.maxY)
        continue;
      out.push_back({p, q, box});
    }
  }
}

Extent grown(const Extent& e, double by) { return {e.minX - by, e.minY - by, e.maxX + by, e.maxY + by}; }

}  // namespace

Extent closedExtent(const PlacedCharacter& c) {
  Extent e;
  for (const Contour& k : c.contours)
    if (k.closed)
      for (const Vec2& p : k.points) e.add(p);
  return e;
}

bool closedRingsWithin(const PlacedCharacter& a, const Extent& boxA, const PlacedCharacter& b,
                       const Extent& boxB, double distance) {
  if (boxA.empty() || boxB.empty()) return false;
  // Kept between calls: a layout asks this of thousands of neighbouring pairs.
  thread_local std::vector<Edge> ea, eb;
  edgesNear(a, grown(boxB, distance), ea);
  if (ea.empty()) return false;
  edgesNear(b, grown(boxA, distance), eb);
  const double distance2 = distance * distance;
  // Most pairs of edges near each other's letter are still far apart: their boxes say so.
  for (const Edge& e : ea)
    for (const Edge& f : eb) {
      if (f.box.minX - e.box.maxX > distance || e.box.minX - f.box.maxX > distance ||
          f.box.minY - e.box.maxY > distance || e.box.minY - f.box.maxY > distance)
        continue;
      if (within(e, f, distance2)) return true;
    }
  return false;
}

}  // namespace kerfline
