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

// Chords of the path's curves stray at most this far from them, in drawing units.
constexpr double kPathTolerance = 0.001;
// Warped edges are divided into pieces this long, in drawing units, to follow the path.
constexpr double kWarpStep = 0.25;

// A polyline measured by arc length.
class MeasuredPath {
 public:
  explicit MeasuredPath(std::vector<Vec2> points) : points_(std::move(points)) {
    lengths_.reserve(points_.size());
    double total = 0;
    lengths_.push_back(0);
    for (std::size_t i = 1; i < points_.size(); ++i) {
      total += std::hypot(points_[i].x - points_[i - 1].x, points_[i].y - points_[i - 1].y);
      lengths_.push_back(total);
    }
  }
  double length() const { return lengths_.back(); }
  // The segment holding arc length s (the later one at a vertex).
  std::size_t segment(double s) const {
    const auto it = std::upper_bound(lengths_.begin(), lengths_.end(), s);
    const std::size_t i = it == lengths_.begin() ? 0 : std::size_t(it - lengths_.begin()) - 1;
    return std::min(i, points_.size() - 2);
  }
  Vec2 at(double s) const {
    const std::size_t i = segment(s);
    const double piece = lengths_[i + 1] - lengths_[i];
    const double t = piece > 0 ? (s - lengths_[i]) / piece : 0;
    return {points_[i].x + (points_[i + 1].x - points_[i].x) * t,
            points_[i].y + (points_[i + 1].y - points_[i].y) * t};
  }
  Vec2 tangent(double s) const {
    std::size_t i = segment(s);
    // A segment of no length has no direction: the next one with length gives it.
    while (i + 2 < points_.size() && lengths_[i + 1] == lengths_[i]) ++i;
    const double dx = points_[i + 1].x - points_[i].x;
    const double dy = points_[i + 1].y - points_[i].y;
    const double d = std::hypot(dx, dy);
    return d > 0 ? Vec2{dx / d, dy / d} : Vec2{1, 0};
  }

 private:
  std::vector<Vec2> points_;
  std::vector<double> lengths_;
};

std::string lengthText(double v) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.3f", v);
  return buffer;
}

}  // namespace

void bendOntoPath(Drawing& drawing, const SignLayout& layout) {
  if (layout.pathData.empty()) return;
  std::vector<PathPolyline> paths = readSvgPath(layout.pathData, kPathTolerance);
  if (paths.empty()) throw Error("The path draws nothing to set the text on.");
  // SVG's Y runs down, the drawing's up.
  for (Vec2& p : paths.front()) p.y = -p.y;
  const auto path = std::make_shared<const MeasuredPath>(std::move(paths.front()));
  const double length = path->length();
  if (!(length > 0)) throw Error("The path draws nothing to set the text on.");
  const double offset = layout.pathOffset.value_or(
      layout.pathAlign == ArcAlign::Left ? 0 : layout.pathAlign == ArcAlign::Center ? length / 2 : length);
  if (!std::isfinite(offset)) throw Error("The path offset must be a number.");

  bendLines(drawing, layout.bend, layout.pathAlign,
            [&](std::int32_t line, const LineSpan& span, double anchorX) {
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
              bent.step = kWarpStep;
              return bent;
            });
}

}  // namespace kerfline
