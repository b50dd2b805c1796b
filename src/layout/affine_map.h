#pragma once
#include "geometry/contour.h"

namespace kerfline {

/// An affine map of the plane: (x, y) -> (xx x + xy y + dx, yx x + yy y + dy).
struct AffineMap {
  double xx = 1, xy = 0, yx = 0, yy = 1;
  double dx = 0, dy = 0;

  Vec2 operator()(const Vec2& p) const {
    return {xx * p.x + xy * p.y + dx, yx * p.x + yy * p.y + dy};
  }
  /// This map after first: p -> (*this)(first(p)).
  AffineMap after(const AffineMap& first) const {
    return {xx * first.xx + xy * first.yx, xx * first.xy + xy * first.yy,
            yx * first.xx + yy * first.yx, yx * first.xy + yy * first.yy,
            xx * first.dx + xy * first.dy + dx, yx * first.dx + yy * first.dy + dy};
  }
  /// The most the map lengthens a distance (the linear part's largest singular value).
  double largestStretch() const;
  bool isIdentity() const {
    return xx == 1 && xy == 0 && yx == 0 && yy == 1 && dx == 0 && dy == 0;
  }
};

/// Maps every point of every path of drawing. A character's advance is moved with its line
/// only by maps that keep lines straight and level (stretch and slant): others drop it.
void transformDrawing(Drawing& drawing, const AffineMap& map);

}  // namespace kerfline
