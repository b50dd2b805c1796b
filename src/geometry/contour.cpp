#include "geometry/contour.h"

#include <cmath>
#include <numbers>

#include "geometry/arc_path.h"

namespace kerfline {
namespace {

// Adds to e the points of the arc from a to b where it reaches furthest left, right, down or
// up: an arc bulges out past its ends, and a file's extent must hold what it cuts.
void addArcExtremes(Extent& e, const Vec2& a, const Vec2& b, double bulge) {
  const ArcGeometry g = arcGeometry(a, b, bulge);
  if (!std::isfinite(g.radius)) return;
  constexpr double kQuarter = std::numbers::pi / 2;
  // The quarter turns the sweep passes, counted from the start in its own direction.
  const double from = g.sweep > 0 ? g.startAngle : g.startAngle + g.sweep;
  const double span = std::fabs(g.sweep);
  for (int q = 0; q < 4; ++q) {
    double angle = q * kQuarter;
    double past = std::remainder(angle - from, 2 * std::numbers::pi);
    if (past < 0) past += 2 * std::numbers::pi;
    if (past <= span) e.add({g.centre.x + g.radius * std::cos(angle), g.centre.y + g.radius * std::sin(angle)});
  }
}

}  // namespace

Extent Drawing::extent() const {
  Extent e;
  std::size_t path = 0;
  for (const PlacedCharacter& c : characters) {
    for (const Contour& k : c.contours) {
      for (const Vec2& p : k.points) e.add(p);
      const std::vector<double>* bulges = bulgesOf(path++);
      if (!bulges || bulges->size() != k.points.size()) continue;
      const std::size_t n = k.points.size();
      const std::size_t pieces = n < 2 ? 0 : (k.closed ? n : n - 1);
      for (std::size_t i = 0; i < pieces; ++i) {
        if ((*bulges)[i] != 0 && !(k.points[i] == k.points[(i + 1) % n]))
          addArcExtremes(e, k.points[i], k.points[(i + 1) % n], (*bulges)[i]);
      }
    }
  }
  return e;
}

}  // namespace kerfline
