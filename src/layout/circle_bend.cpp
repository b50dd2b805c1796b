#include "layout/circle_bend.h"

#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>

#include "common/error.h"
#include "layout/bend_lines.h"

namespace kerfline {
namespace {

std::string lengthText(double v) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.3f", v);
  return buffer;
}

// Each line's baseline on its circle, warped edges divided so that they stray at most
// tolerance from their arcs.
BaselineMaker circleBaselines(const SignLayout& layout, double tolerance) {
  const double radius = *layout.arcRadius;
  if (!std::isfinite(radius) || radius <= 0) throw Error("The arc radius must be above 0.");
  const bool top = layout.arcSide == ArcSide::Top;
  const double compass = layout.arcAngle.value_or(top ? 0.0 : 180.0);
  // Compass degrees (clockwise from up) to radians counter-clockwise from +X.
  const double anchorAngle = (90.0 - compass) * std::numbers::pi / 180.0;
  // Clockwise over the top, counter-clockwise along the bottom.
  const double sense = top ? -1.0 : 1.0;
  return [=](std::int32_t line, const LineSpan& span, double) {
    // Lower lines (a more negative baseline) go inside on the top side, outside on the bottom.
    const double r = top ? radius + span.baseline : radius - span.baseline;
    const std::string name = "Line " + std::to_string(line + 1);
    if (!(r > 0)) {
      throw Error(name + " has no room inside the circle: the arc radius must be above " +
                  lengthText(radius - r) + ".");
    }
    if (span.end - span.start > 2 * std::numbers::pi * r) {
      throw Error(name + " is longer than its circle: it needs a radius of " +
                  lengthText((span.end - span.start) / (2 * std::numbers::pi)) +
                  " or more on that line.");
    }
    BentBaseline bent;
    bent.at = [=](double s) {
      const double phi = anchorAngle + sense * s / r;
      return Vec2{r * std::cos(phi), r * std::sin(phi)};
    };
    bent.tangent = [=](double s) {
      const double phi = anchorAngle + sense * s / r;
      return Vec2{-sense * std::sin(phi), sense * std::cos(phi)};
    };
    // Chords of this length stray at most the tolerance from the baseline's arc, and from an
    // arc at height h by the stretch there.
    bent.step = std::sqrt(8 * r * tolerance);
    // Up points away from the centre on top, towards it at the bottom.
    bent.stretch = [=](double, double h) { return std::fabs(1 - sense * h / r); };
    return bent;
  };
}

}  // namespace

void bendOntoCircle(Drawing& drawing, const SignLayout& layout, double tolerance) {
  if (!layout.arcRadius) return;
  bendLines(drawing, layout.bend, layout.arcAlign, circleBaselines(layout, tolerance));
}

double circleWarpStretch(const Drawing& drawing, const SignLayout& layout) {
  if (!layout.arcRadius || layout.bend != BendMode::Warp) return 1;
  return warpStretch(drawing, layout.arcAlign, circleBaselines(layout, kSignChordTolerance));
}

}  // namespace kerfline
