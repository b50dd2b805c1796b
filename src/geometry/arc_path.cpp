#include "geometry/arc_path.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "common/error.h"

namespace kerfline {

ArcCircle arcCircle(const Vec2& a, const Vec2& b, double bulge) {
  const double cx = b.x - a.x, cy = b.y - a.y;
  // A plain root: the fitter asks for many circles, and hypot guards against an overflow no
  // drawing comes near at several times the cost.
  const double chord = std::sqrt(cx * cx + cy * cy);
  // The centre lies on the chord's perpendicular bisector, (1 - k^2) / (4 k) chords to the
  // left of it for bulge k; the radius is (1 + k^2) / (4 |k|) chords. Both from the bulge
  // directly: no angle is taken and given back, so nothing is lost on the way.
  const double offset = (1 - bulge * bulge) / (4 * bulge);
  return {{(a.x + b.x) / 2 - cy * offset, (a.y + b.y) / 2 + cx * offset},
          chord * (1 + bulge * bulge) / (4 * std::fabs(bulge))};
}

ArcGeometry arcGeometry(const Vec2& a, const Vec2& b, double bulge) {
  const ArcCircle circle = arcCircle(a, b, bulge);
  ArcGeometry g;
  g.centre = circle.centre;
  g.radius = circle.radius;
  g.startAngle = std::atan2(a.y - g.centre.y, a.x - g.centre.x);
  g.sweep = 4 * std::atan(bulge);
  return g;
}

std::size_t pieceCount(const ArcPath& path) {
  const std::size_t n = path.vertices.size();
  if (n < 2) return 0;
  return path.closed ? n : n - 1;
}

Contour sampleArcPath(const ArcPath& path, double tolerance) {
  if (!(tolerance > 0)) throw Error("The curve tolerance must be a number above 0.");
  Contour out;
  out.closed = path.closed;
  const std::size_t n = path.vertices.size();
  const std::size_t pieces = pieceCount(path);
  for (std::size_t i = 0; i < n; ++i) {
    const ArcVertex& v = path.vertices[i];
    out.points.push_back(v.at);
    if (i >= pieces || v.bulge == 0) continue;
    const Vec2& b = path.vertices[(i + 1) % n].at;
    if (v.at == b) continue;
    const ArcGeometry g = arcGeometry(v.at, b, v.bulge);
    // A chord spanning angle s lies r (1 - cos(s / 2)) inside its arc: steps of at most
    // 2 acos(1 - T / r) keep every chord within T (a radius below T needs one chord).
    const double step = tolerance >= g.radius ? std::numbers::pi : 2 * std::acos(1 - tolerance / g.radius);
    const double count = std::ceil(std::fabs(g.sweep) / step);
    const int chords = count >= 1 && count < 1e6 ? static_cast<int>(count) : 1;
    for (int k = 1; k < chords; ++k) {
      const double angle = g.startAngle + g.sweep * k / chords;
      out.points.push_back({g.centre.x + g.radius * std::cos(angle),
                            g.centre.y + g.radius * std::sin(angle)});
    }
  }
  return out;
}

}  // namespace kerfline
