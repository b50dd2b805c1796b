#include "layout/bend_lines.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <memory>
#include <vector>

namespace kerfline {
namespace {

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

// Tangents of a glyph set upright along t (its up the normal n): (x, y) -> x t + y n.
std::shared_ptr<const PolylineTangents> turnedTangents(const PolylineTangents& was, const Vec2& t,
                                                       const Vec2& n) {
  auto turned = std::make_shared<PolylineTangents>();
  const auto turn = [&](const Vec2& d) { return Vec2{d.x * t.x + d.y * n.x, d.x * t.y + d.y * n.y}; };
  for (const Vec2& d : was.in) turned->in.push_back(turn(d));
  for (const Vec2& d : was.out) turned->out.push_back(turn(d));
  return turned;
}

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

Vec2 up(const Vec2& t) { return {-t.y, t.x}; }

struct Line {
  LineSpan span{std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(), 0};
  bool hasBaseline = false;
  std::optional<BentBaseline> bent;
  double anchorX = 0;
};

// Each line of drawing with its span, anchor and bent baseline.
std::map<std::int32_t, Line> bentLines(const Drawing& drawing, ArcAlign align,
                                       const BaselineMaker& makeBaseline) {
  std::map<std::int32_t, Line> lines;
  for (const PlacedCharacter& c : drawing.characters) {
    const CharacterAdvance a = advanceOf(c);
    Line& line = lines[c.line];
    line.span.start = std::min(line.span.start, a.start);
    line.span.end = std::max(line.span.end, a.end);
    if (c.advance && !line.hasBaseline) {
      line.span.baseline = c.advance->baseline;
      line.hasBaseline = true;
    }
  }
  for (auto& [number, line] : lines) {
    line.anchorX = align == ArcAlign::Left    ? line.span.start
                   : align == ArcAlign::Right ? line.span.end
                                              : (line.span.start + line.span.end) / 2;
    line.bent = makeBaseline(number, line.span, line.anchorX);
  }
  return lines;
}

}  // namespace

double warpStretch(const Drawing& drawing, ArcAlign align, const BaselineMaker& makeBaseline) {
  double most = 1;
  const std::map<std::int32_t, Line> lines = bentLines(drawing, align, makeBaseline);
  for (const PlacedCharacter& c : drawing.characters) {
    const Line& line = lines.at(c.line);
    if (!line.bent->stretch) continue;
    for (const Contour& k : c.contours)
      for (const Vec2& p : k.points)
        most = std::max(most, line.bent->stretch(p.x - line.anchorX, p.y - line.span.baseline));
  }
  return most;
}

void bendLines(Drawing& drawing, BendMode mode, ArcAlign align, const BaselineMaker& makeBaseline) {
  std::map<std::int32_t, Line> lines = bentLines(drawing, align, makeBaseline);
  for (PlacedCharacter& c : drawing.characters) {
    const Line& line = lines[c.line];
    const BentBaseline& bent = *line.bent;
    const double baseline = line.span.baseline;
    if (mode == BendMode::Rigid) {
      const CharacterAdvance a = advanceOf(c);
      const double middle = (a.start + a.end) / 2;
      const double s = middle - line.anchorX;
      const Vec2 origin = bent.at(s);
      const Vec2 t = bent.tangent(s);
      const Vec2 n = up(t);
      for (Contour& k : c.contours) {
        // Turned about the glyph's middle: its directions turn with it.
        if (k.tangents) k.tangents = turnedTangents(*k.tangents, t, n);
        for (Vec2& p : k.points) {
          const double dx = p.x - middle;
          const double dy = p.y - baseline;
          p = {origin.x + dx * t.x + dy * n.x, origin.y + dx * t.y + dy * n.y};
        }
      }
    } else {
      for (Contour& k : c.contours) {
        std::vector<Vec2> points = divided(k, bent.step);
        for (Vec2& p : points) {
          const double s = p.x - line.anchorX;
          const double h = p.y - baseline;
          const Vec2 o = bent.at(s);
          const Vec2 n = up(bent.tangent(s));
          p = {o.x + h * n.x, o.y + h * n.y};
        }
        k.points = std::move(points);
        k.tangents.reset();
      }
    }
    c.advance.reset();
  }
}

}  // namespace kerfline
