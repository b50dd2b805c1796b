#include "layout/path_bend.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "common/error.h"
#include "layout/bend_lines.h"
#include "layout/svg_path.h"

namespace kerfline {
namespace {

// Warped edges are divided into pieces at most this long, in drawing units, to follow the path
// (shorter where it bends tightly).
constexpr double kWarpStep = 0.25;

Vec2 unit(const Vec2& v) {
  const double l = std::hypot(v.x, v.y);
  return l > 0 ? Vec2{v.x / l, v.y / l} : Vec2{1, 0};
}

// The path's chords measured by arc length, with a direction that turns smoothly where the
// chords follow a curve: it turns at an even rate from the middle of one chord to the middle of
// the next, as a circle's tangent does between the middles of its chords. Warped letters stay
// whole there; a tangent that jumped at each vertex would tear their tops apart by their height
// times the turn. A vertex where the path has a corner keeps the jump: no bend of letters
// across a corner is true.
class MeasuredPath {
 public:
  MeasuredPath(const std::vector<Vec2>& points, double tolerance) {
    // A chord of no length has no direction and bends nothing.
    for (const Vec2& p : points)
      if (points_.empty() || p.x != points_.back().x || p.y != points_.back().y) points_.push_back(p);
    lengths_.push_back(0);
    for (std::size_t i = 1; i < points_.size(); ++i) {
      const Vec2 d{points_[i].x - points_[i - 1].x, points_[i].y - points_[i - 1].y};
      lengths_.push_back(lengths_.back() + std::hypot(d.x, d.y));
      directions_.push_back(unit(d));
    }
    // Turn (radians, left positive) over the span between the neighbouring chords' middles, at
    // each inner vertex where the path runs smooth; 0 at ends and corners.
    turns_.assign(points_.size(), 0);
    curvatures_.assign(points_.size(), 0);
    for (std::size_t i = 1; i + 1 < points_.size(); ++i) {
      const Vec2 a = directions_[i - 1], b = directions_[i];
      const double turn = std::atan2(a.x * b.y - a.y * b.x, a.x * b.x + a.y * b.y);
      const double before = lengths_[i] - lengths_[i - 1], after = lengths_[i + 1] - lengths_[i];
      // The circle that turns so over the two half chords; a curve flattened within tolerance
      // keeps the shorter chord within it of that circle, a corner does not (twice, for the
      // curve's own changes).
      const double curvature = 2 * turn / (before + after);
      const double shorter = std::min(before, after);
      if (!(std::fabs(curvature) * shorter * shorter / 8 <= 2 * tolerance)) continue;
      turns_[i] = turn;
      curvatures_[i] = curvature;
      sharpest_ = std::max(sharpest_, std::fabs(curvature));
    }
  }
  bool empty() const { return points_.size() < 2; }
  double length() const { return lengths_.back(); }
  // The largest curvature where the path runs smooth (0 for a polyline of straight chords).
  double sharpest() const { return sharpest_; }

  Vec2 at(double s) const {
    const std::size_t i = segment(s);
    const double t = (s - lengths_[i]) / (lengths_[i + 1] - lengths_[i]);
    return {points_[i].x + (points_[i + 1].x - points_[i].x) * t,
            points_[i].y + (points_[i + 1].y - points_[i].y) * t};
  }
  Vec2 tangent(double s) const {
    const std::size_t i = segment(s);
    // The vertex whose turn this half of the chord takes part in: from the middle of the chord
    // before it to the middle of the chord after, the direction turns at an even rate. At an end
    // or a corner the turn of the chord's other vertex runs on: the curve goes on bending there.
    std::size_t v = s < middleOf(i) ? i : i + 1;
    if (turns_[v] == 0) v = v == i ? i + 1 : i;
    if (turns_[v] == 0) return directions_[i];
    const double share = (s - middleOf(v - 1)) / (middleOf(v) - middleOf(v - 1));
    const double angle = turns_[v] * share, c = std::cos(angle), n = std::sin(angle);
    const Vec2& d = directions_[v - 1];
    return {c * d.x - n * d.y, n * d.x + c * d.y};
  }
  // The most a piece along the path at arc length s and height h (to the left) is lengthened:
  // |1 - k h| for the curvatures k the direction turns with on the chord holding s.
  double stretch(double s, double h) const {
    const std::size_t i = segment(s);
    return std::max(std::fabs(1 - curvatures_[i] * h), std::fabs(1 - curvatures_[i + 1] * h));
  }

 private:
  // The chord holding arc length s (the later one at a vertex).
  std::size_t segment(double s) const {
    const auto it = std::upper_bound(lengths_.begin(), lengths_.end(), s);
    const std::size_t i = it == lengths_.begin() ? 0 : std::size_t(it - lengths_.begin()) - 1;
    return std::min(i, points_.size() - 2);
  }

  double middleOf(std::size_t chord) const { return (lengths_[chord] + lengths_[chord + 1]) / 2; }

  std::vector<Vec2> points_;
  std::vector<double> lengths_;
  std::vector<Vec2> directions_;
  std::vector<double> turns_, curvatures_;
  double sharpest_ = 0;
};

std::string lengthText(double v) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.3f", v);
  return buffer;
}

// Each line's baseline along the path (read within tolerance), warped edges divided so that
// they stray at most tolerance from their bend where they stand on the path.
BaselineMaker pathBaselines(const SignLayout& layout, double tolerance) {
  std::vector<PathPolyline> paths = readSvgPath(layout.pathData, tolerance);
  if (paths.empty()) throw Error("The path draws nothing to set the text on.");
  // SVG's Y runs down, the drawing's up.
  for (Vec2& p : paths.front()) p.y = -p.y;
  const auto path = std::make_shared<const MeasuredPath>(paths.front(), tolerance);
  if (path->empty()) throw Error("The path draws nothing to set the text on.");
  const double length = path->length();
  const double offset = layout.pathOffset.value_or(
      layout.pathAlign == ArcAlign::Left ? 0 : layout.pathAlign == ArcAlign::Center ? length / 2 : length);
  if (!std::isfinite(offset)) throw Error("The path offset must be a number.");
  // A piece of length L on a bend of curvature k strays L^2 k / 8 from it.
  const double step = path->sharpest() > 0
                          ? std::min(kWarpStep, std::sqrt(8 * tolerance / path->sharpest()))
                          : kWarpStep;
  return [=](std::int32_t line, const LineSpan& span, double anchorX) {
    const double first = offset + span.start - anchorX;
    const double last = offset + span.end - anchorX;
    const double missing = std::max(0.0, -first) + std::max(0.0, last - length);
    if (missing > 0) {
      throw Error("Line " + std::to_string(line + 1) + " runs " + lengthText(missing) +
                  " past the path (" + lengthText(length) +
                  " long): the path must be at least that much longer.");
    }
    const double below = span.baseline;
    BentBaseline bent;
    bent.at = [path, offset, below](double s) {
      const Vec2 p = path->at(offset + s);
      const Vec2 t = path->tangent(offset + s);
      return Vec2{p.x - below * t.y, p.y + below * t.x};
    };
    bent.tangent = [path, offset](double s) { return path->tangent(offset + s); };
    bent.step = step;
    // A height h above the line's baseline (below the path's for later lines) is below + h
    // to the path's left.
    bent.stretch = [path, offset, below](double s, double h) { return path->stretch(offset + s, below + h); };
    return bent;
  };
}

}  // namespace

void bendOntoPath(Drawing& drawing, const SignLayout& layout, double tolerance) {
  if (layout.pathData.empty()) return;
  bendLines(drawing, layout.bend, layout.pathAlign, pathBaselines(layout, tolerance));
}

double pathWarpStretch(const Drawing& drawing, const SignLayout& layout) {
  if (layout.pathData.empty() || layout.bend != BendMode::Warp) return 1;
  return warpStretch(drawing, layout.pathAlign, pathBaselines(layout, kSignChordTolerance));
}

}  // namespace kerfline
