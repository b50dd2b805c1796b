#include "layout/circle_bend.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <limits>
#include <numbers>
#include <string>

#include "common/error.h"

namespace kerfline {
namespace {

// Largest distance a warped edge may stray from the true arc, in drawing units: a tenth of the
// finest kerf a field offers is invisible in any cut.
constexpr double kWarpTolerance = 0.001;

struct LineSpan {
  double start = std::numeric_limits<double>::infinity();
  double end = -std::numeric_limits<double>::infinity();
  double baseline = 0;
  bool hasBaseline = false;
};

// Where a character's advance runs: as its placement told, else its ink's width.
CharacterAdvance advanceOf(const PlacedCharacter& c) {
  if (c.advance) return *c.advance;
  CharacterAdvance a{std::numeric_limits<double>::infinity(),
                     -std::numeric_limits<double>::infinity(), 0};
  for (const Contour& k : c.contours)
    for (const Vec2& p : k.points) {
      a.start = std::min(a.start, p.x);
      a.end = std::max(a.end, p.x);
    }
  return a;
}

std::string lengthText(double v) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.3f", v);
  return buffer;
}

// One line's circle: the frame (point, tangent, normal) at arc length s from the anchor.
class LineCircle {
 public:
  LineCircle(double radius, double anchorAngle, bool top)
      : radius_(radius), anchor_(anchorAngle), sense_(top ? -1.0 : 1.0) {}

  // Point on the circle at arc length s, moved by h along the normal (away from the centre on
  // the top side, towards it on the bottom).
  Vec2 at(double s, double h) const {
    const double phi = anchor_ + sense_ * s / radius_;
    const double r = radius_ - sense_ * h;
    return {r * std::cos(phi), r * std::sin(phi)};
  }
  // Unit tangent in reading direction at arc length s.
  Vec2 tangent(double s) const {
    const double phi = anchor_ + sense_ * s / radius_;
    return {-sense_ * std::sin(phi), sense_ * std::cos(phi)};
  }
  // Unit normal, the letters' up: the tangent turned a quarter counter-clockwise.
  Vec2 up(double s) const {
    const Vec2 t = tangent(s);
    return {-t.y, t.x};
  }
  double radius() const { return radius_; }

 private:
  double radius_;
  double anchor_;  // radians, counter-clockwise from +X
  double sense_;   // -1: clockwise (top), +1: counter-clockwise (bottom)
};

// A closed ring or open path with no edge longer than step, so that warping it bends its
// edges too.
std::vector<Vec2> divided(const Contour& k, double step) {
  std::vector<Vec2> out;
  const std::size_t n = k.points.size();
  const std::size_t edges = k.closed ? n : (n == 0 ? 0 : n - 1);
  out.reserve(n);
  for (std::size_t i = 0; i < n; ++i) {
    const Vec2 a = k.points[i];
    out.push_back(a);
    if (i >= edges) continue;
    const Vec2 b = k.points[(i + 1) % n];
    const double length = std::hypot(b.x - a.x, b.y - a.y);
    const int pieces = static_cast<int>(std::min(std::ceil(length / step), 100000.0));
    for (int j = 1; j < pieces; ++j) {
      const double t = double(j) / pieces;
      out.push_back({a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t});
    }
  }
  return out;
}

}  // namespace

void bendOntoCircle(Drawing& drawing, const SignLayout& layout) {
  if (!layout.arcRadius) return;
  const double radius = *layout.arcRadius;
  if (!std::isfinite(radius) || radius <= 0) throw Error("The arc radius must be above 0.");
  const bool top = layout.arcSide == ArcSide::Top;
  const double compass = layout.arcAngle.value_or(top ? 0.0 : 180.0);
  // Compass degrees (clockwise from up) to radians counter-clockwise from +X.
  const double anchorAngle = (90.0 - compass) * std::numbers::pi / 180.0;

  std::map<std::int32_t, LineSpan> lines;
  for (const PlacedCharacter& c : drawing.characters) {
    const CharacterAdvance a = advanceOf(c);
    LineSpan& line = lines[c.line];
    line.start = std::min(line.start, a.start);
    line.end = std::max(line.end, a.end);
    if (c.advance && !line.hasBaseline) {
      line.baseline = c.advance->baseline;
      line.hasBaseline = true;
    }
  }

  for (PlacedCharacter& c : drawing.characters) {
    const LineSpan& line = lines[c.line];
    // Lower lines (a more negative baseline) go inside on the top side, outside on the bottom.
    const double lineRadius = top ? radius + line.baseline : radius - line.baseline;
    if (!(lineRadius > 0)) {
      throw Error("Line " + std::to_string(c.line + 1) + " has no room inside the circle: the arc radius must be above " +
                  lengthText(radius - lineRadius) + ".");
    }
    const double length = line.end - line.start;
    if (length > 2 * std::numbers::pi * lineRadius) {
      throw Error("Line " + std::to_string(c.line + 1) + " is longer than its circle: it needs a radius of " +
                  lengthText(length / (2 * std::numbers::pi)) + " or more on that line.");
    }
    const double anchorX = layout.arcAlign == ArcAlign::Left    ? line.start
                           : layout.arcAlign == ArcAlign::Right ? line.end
                                                                : (line.start + line.end) / 2;
    const LineCircle circle(lineRadius, anchorAngle, top);
    if (layout.bend == BendMode::Rigid) {
      const CharacterAdvance a = advanceOf(c);
      const double middle = (a.start + a.end) / 2;
      const double s = middle - anchorX;
      const Vec2 origin = circle.at(s, 0);
      const Vec2 t = circle.tangent(s);
      const Vec2 n = circle.up(s);
      for (Contour& k : c.contours)
        for (Vec2& p : k.points) {
          const double dx = p.x - middle;
          const double dy = p.y - line.baseline;
          p = {origin.x + dx * t.x + dy * n.x, origin.y + dx * t.y + dy * n.y};
        }
    } else {
      // Chords of this length stray at most the tolerance from the baseline's arc.
      const double step = std::sqrt(8 * lineRadius * kWarpTolerance);
      for (Contour& k : c.contours) {
        std::vector<Vec2> points = divided(k, step);
        for (Vec2& p : points) p = circle.at(p.x - anchorX, p.y - line.baseline);
        k.points = std::move(points);
      }
    }
    c.advance.reset();
  }
}

}  // namespace kerfline
