#include "layout/sign_placement.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "common/error.h"
#include "layout/affine_map.h"
#include "layout/circle_bend.h"
#include "layout/fit_box.h"
#include "layout/path_bend.h"
#include "layout/sign_frame.h"

namespace kerfline {
namespace {

double radians(double degrees) { return degrees * std::numbers::pi / 180.0; }

void checkLayout(const SignLayout& l) {
  if (!std::isfinite(l.rotate)) throw Error("The rotation must be a number.");
  if (!std::isfinite(l.slant) || std::abs(l.slant) >= 90)
    throw Error("The slant must be less than 90 degrees either way.");
  if (!std::isfinite(l.stretchX) || !(l.stretchX > 0)) throw Error("The stretch must be above 0.");
  if (l.boxWidth.has_value() != l.boxHeight.has_value() ||
      (l.boxWidth && (!std::isfinite(*l.boxWidth) || !(*l.boxWidth > 0) ||
                      !std::isfinite(*l.boxHeight) || !(*l.boxHeight > 0))))
    throw Error("The fit box needs a width and a height above 0.");
  if (!std::isfinite(l.margin) || l.margin < 0) throw Error("The margin must be 0 or more.");
  if (l.arcAngle && !std::isfinite(*l.arcAngle)) throw Error("The arc angle must be a number.");
}

// The shape along the lines: the stretch and the slant.
AffineMap shapeOf(const SignLayout& layout) {
  AffineMap shape;
  shape.xx = layout.stretchX;
  shape.xy = std::tan(radians(layout.slant));
  return shape;
}

void checkOneBend(const SignLayout& layout) {
  if (layout.arcRadius && !layout.pathData.empty())
    throw Error("The text goes on a circle or on a path, not both.");
}

// Every step before the fit box: the shape along the lines, the bend, the turn and mirror.
void shapeBendAndTurn(Drawing& drawing, const SignLayout& layout, double bendTolerance) {
  // Along the lines first, so that bent letters keep their slant and width against the arc.
  transformDrawing(drawing, shapeOf(layout));
  checkOneBend(layout);
  bendOntoCircle(drawing, layout, bendTolerance);
  bendOntoPath(drawing, layout, bendTolerance);
  AffineMap flip;
  if (layout.mirror == MirrorAxis::X) flip.xx = -1;
  if (layout.mirror == MirrorAxis::Y) flip.yy = -1;
  const double a = radians(layout.rotate);
  AffineMap turn;
  turn.xx = std::cos(a);
  turn.xy = -std::sin(a);
  turn.yx = std::sin(a);
  turn.yy = std::cos(a);
  transformDrawing(drawing, turn.after(flip));
}

}  // namespace

void placeSign(Drawing& drawing, const SignLayout& layout, double chordTolerance) {
  if (!layout.active()) return;
  checkLayout(layout);
  shapeBendAndTurn(drawing, layout, chordTolerance);
  fitIntoBox(drawing, layout);
  addFrameAndHoles(drawing, layout, chordTolerance);
  for (PlacedCharacter& c : drawing.characters) c.advance.reset();
}

double signShapeStretch(const SignLayout& layout) {
  if (!layout.active()) return 1;
  checkLayout(layout);
  return shapeOf(layout).largestStretch();
}

double signWarpStretch(const Drawing& drawing, const SignLayout& layout) {
  if (layout.bend != BendMode::Warp || !layout.bends()) return 1;
  checkLayout(layout);
  checkOneBend(layout);
  // The warp stretches by the letters' heights, which the shape keeps, and by the curvature
  // where they stand, which it moves.
  Drawing shaped = drawing;
  transformDrawing(shaped, shapeOf(layout));
  return std::max(circleWarpStretch(shaped, layout), pathWarpStretch(shaped, layout));
}

double signBoxScale(const Drawing& drawing, const SignLayout& layout) {
  if (!layout.boxWidth || !layout.boxHeight) return 1;
  checkLayout(layout);
  Drawing shaped = drawing;
  shapeBendAndTurn(shaped, layout, kSignChordTolerance);
  const auto [sx, sy] = boxScales(shaped.extent(), layout);
  return std::max(sx, sy);
}

}  // namespace kerfline
