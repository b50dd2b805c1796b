#include "layout/affine_map.h"

#include <cmath>
#include <memory>

namespace kerfline {
namespace {

// A direction goes through the linear part of the map alone; stretch and slant change its
// length, so it is made a unit again.
Vec2 mappedDirection(const Vec2& t, const AffineMap& map) {
  const Vec2 d{map.xx * t.x + map.xy * t.y, map.yx * t.x + map.yy * t.y};
  const double length = std::hypot(d.x, d.y);
  return length > 0 ? Vec2{d.x / length, d.y / length} : Vec2{};
}

std::shared_ptr<const PolylineTangents> mappedTangents(const PolylineTangents& was,
                                                       const AffineMap& map) {
  auto mapped = std::make_shared<PolylineTangents>();
  mapped->in.reserve(was.in.size());
  mapped->out.reserve(was.out.size());
  for (const Vec2& t : was.in) mapped->in.push_back(mappedDirection(t, map));
  for (const Vec2& t : was.out) mapped->out.push_back(mappedDirection(t, map));
  return mapped;
}

}  // namespace

double AffineMap::largestStretch() const {
  // The square of the largest singular value is the larger root of
  // s^2 - (xx^2 + xy^2 + yx^2 + yy^2) s + det^2 = 0.
  const double sum = xx * xx + xy * xy + yx * yx + yy * yy;
  const double det = xx * yy - xy * yx;
  return std::sqrt((sum + std::sqrt(std::fmax(0, sum * sum - 4 * det * det))) / 2);
}

void transformDrawing(Drawing& drawing, const AffineMap& map) {
  if (map.isIdentity()) return;
  // A map that keeps horizontal lines horizontal and at their height moves an advance along.
  const bool keepsLines = map.yx == 0 && map.yy == 1 && map.dy == 0 && map.xx > 0;
  for (PlacedCharacter& c : drawing.characters) {
    for (Contour& k : c.contours) {
      for (Vec2& p : k.points) p = map(p);
      if (k.tangents) k.tangents = mappedTangents(*k.tangents, map);
    }
    if (!c.advance) continue;
    if (keepsLines) {
      CharacterAdvance& a = *c.advance;
      a.start = map({a.start, a.baseline}).x;
      a.end = map({a.end, a.baseline}).x;
    } else {
      c.advance.reset();
    }
  }
}

}  // namespace kerfline
