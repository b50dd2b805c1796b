#include "vectorizer/single_line_glyph.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "vectorizer/outline_walk.h"

namespace kerfline {
namespace {

struct Nominal {
  double foot;    // y of the capital's foot (the baseline)
  double height;  // capital height
};

Nominal nominalOf(SingleLineFormat format) {
  // Every text face of the Hershey set draws "H" from y -12 to 9 (Y down); LFF files are made
  // for a capital height of 9 above a baseline at 0.
  return format == SingleLineFormat::Hershey ? Nominal{9, 21} : Nominal{0, 9};
}

}  // namespace

SingleLineMetrics metricsOf(const SingleLineFont& font) {
  const Nominal nominal = nominalOf(font.format);
  const bool yDown = font.format == SingleLineFormat::Hershey;
  Nominal use = nominal;
  // Some faces set their letters a little off the format's grid (ISO3098 draws "H" from 1.25
  // to 10); their own "H" then gives the size and the baseline. Where "H" is far from a
  // capital's usual size or place it is a symbol (marker, music and map faces) or a letter
  // with a descender, and the format's grid is the better guess.
  if (const auto it = font.glyphs.find(U'H'); it != font.glyphs.end()) {
    double lo = INFINITY, hi = -INFINITY;
    for (const FontPolyline& line : it->second.lines)
      for (const FontVertex& v : line.vertices) {
        lo = std::min(lo, v.y);
        hi = std::max(hi, v.y);
      }
    if (lo <= hi) {
      const Nominal measured{yDown ? hi : lo, hi - lo};
      constexpr double kTolerance = 0.15;
      if (std::fabs(measured.height - nominal.height) <= kTolerance * nominal.height &&
          std::fabs(measured.foot - nominal.foot) <= kTolerance * nominal.height)
        use = measured;
    }
  }
  return SingleLineMetrics{kReferenceCapHeight / use.height, use.foot, yDown};
}

namespace {

struct Arc {
  double cx, cy, r, start, angle;  // centre, radius, start angle and signed sweep (radians)
};

// The circle of the arc from a to b with the given bulge; nothing for a straight segment.
std::optional<Arc> arcOf(const FontVertex& a, const FontVertex& b, double bulge) {
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  const double chord = std::hypot(dx, dy);
  if (bulge == 0 || !(chord > 0)) return std::nullopt;
  // The bulge is tan(angle / 4); the centre lies on the chord's perpendicular bisector,
  // to the left of a->b for a counter-clockwise arc of less than a half turn.
  const double angle = 4 * std::atan(bulge);
  const double h = (chord / 2) / std::tan(angle / 2);
  const double cx = (a.x + b.x) / 2 - dy / chord * h;
  const double cy = (a.y + b.y) / 2 + dx / chord * h;
  return Arc{cx, cy, std::hypot(a.x - cx, a.y - cy), std::atan2(a.y - cy, a.x - cx), angle};
}

// The largest x the arc reaches, whatever the resolution it is cut with: its circle's
// rightmost point when the sweep passes angle 0, else the larger end.
double rightmostOf(const FontVertex& a, const FontVertex& b, double bulge) {
  double x = std::max(a.x, b.x);
  const std::optional<Arc> arc = arcOf(a, b, bulge);
  if (!arc) return x;
  const double lo = std::min(arc->start, arc->start + arc->angle);
  const double hi = std::max(arc->start, arc->start + arc->angle);
  const double twoPi = 2 * std::acos(-1.0);
  if (std::floor(hi / twoPi) * twoPi >= lo) x = std::max(x, arc->cx + arc->r);
  return x;
}

}  // namespace

std::vector<FontVertex> flattenArc(const FontVertex& a, const FontVertex& b, double bulge, int n) {
  n = std::max(n, 1);
  std::vector<FontVertex> out;
  out.push_back(FontVertex{a.x, a.y, 0});
  if (const std::optional<Arc> arc = arcOf(a, b, bulge)) {
    for (int k = 1; k < n; ++k) {
      const double t = arc->start + arc->angle * k / n;
      out.push_back(FontVertex{arc->cx + arc->r * std::cos(t), arc->cy + arc->r * std::sin(t), 0});
    }
  }
  // The last point is b itself, so the next piece starts exactly where this one ends.
  out.push_back(FontVertex{b.x, b.y, 0});
  return out;
}

void appendSingleLineStrokes(const SingleLineFont& font, const SingleLineMetrics& m,
                             const SingleLineGlyph& glyph, int precision,
                             TStrokeCollection& out) {
  // Flatten every polyline, joining one that starts exactly where the previous one ended.
  // The width counts the arcs' true extremes, so that the advance does not change with the
  // resolution.
  double width = 0;
  std::vector<std::vector<FontVertex>> paths;
  for (const FontPolyline& line : glyph.lines) {
    if (line.vertices.empty()) continue;
    width = std::max(width, line.vertices.front().x - glyph.left);
    for (std::size_t i = 1; i < line.vertices.size(); ++i)
      width = std::max(width, rightmostOf(line.vertices[i - 1], line.vertices[i], line.vertices[i].bulge) -
                                  glyph.left);
    std::vector<FontVertex> points{line.vertices.front()};
    for (std::size_t i = 1; i < line.vertices.size(); ++i) {
      const FontVertex& to = line.vertices[i];
      if (to.bulge == 0) {
        points.push_back(to);
      } else {
        std::vector<FontVertex> arc = flattenArc(points.back(), to, to.bulge, precision);
        points.insert(points.end(), arc.begin() + 1, arc.end());
      }
    }
    if (!paths.empty() && paths.back().back().x == points.front().x &&
        paths.back().back().y == points.front().y) {
      paths.back().insert(paths.back().end(), points.begin() + 1, points.end());
    } else {
      paths.push_back(std::move(points));
    }
  }

  std::int32_t contour = 0;
  for (const std::vector<FontVertex>& path : paths) {
    std::vector<std::pair<std::int32_t, std::int32_t>> q;
    for (const FontVertex& v : path) {
      const double y = m.yDown ? m.baseline - v.y : v.y - m.baseline;
      const std::pair<std::int32_t, std::int32_t> p{roundOutlineUnit((v.x - glyph.left) * m.scale),
                                                    roundOutlineUnit(y * m.scale)};
      if (q.empty() || q.back() != p) q.push_back(p);
    }
    if (q.size() == 1) {
      out.Add(TStroke{contour, q[0].first, q[0].second, q[0].first, q[0].second});
    } else {
      for (std::size_t i = 1; i < q.size(); ++i)
        out.Add(TStroke{contour, q[i - 1].first, q[i - 1].second, q[i].first, q[i].second});
    }
    ++contour;
  }
  out.setOpenPaths(true);
  if (font.format == SingleLineFormat::Hershey) {
    out.setAdvance((glyph.right - glyph.left) * m.scale);
  } else {
    out.setAdvance((width + font.letterSpacing) * m.scale);
  }
}

}  // namespace kerfline
