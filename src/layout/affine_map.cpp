#include "layout/affine_map.h"

namespace kerfline {

void transformDrawing(Drawing& drawing, const AffineMap& map) {
  if (map.isIdentity()) return;
  // A map that keeps horizontal lines horizontal and at their height moves an advance along.
  const bool keepsLines = map.yx == 0 && map.yy == 1 && map.dy == 0 && map.xx > 0;
  for (PlacedCharacter& c : drawing.characters) {
    for (Contour& k : c.contours)
      for (Vec2& p : k.points) p = map(p);
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
