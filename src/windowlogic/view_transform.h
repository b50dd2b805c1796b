#pragma once
// Qt-free zoom and pan arithmetic of the job view: drawing units (Y up) to screen pixels (Y down).
#include "geometry/contour.h"

namespace kerfline {

/// A point on the screen in pixels, Y growing downward.
struct ScreenPoint {
  double x = 0;
  double y = 0;
  friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

/// A rectangle on the screen in pixels: left, top, width, height.
struct ScreenRect {
  double x = 0;
  double y = 0;
  double width = 0;
  double height = 0;
};

/// Maps drawing units to screen pixels by one scale and one offset: screen x = ox + s * x,
/// screen y = oy - s * y. The scale stays inside the limits whatever zoom asks for.
class ViewTransform {
 public:
  /// Pixels per drawing unit.
  double scale() const { return scale_; }
  /// Screen position of the drawing's origin.
  ScreenPoint origin() const { return {originX_, originY_}; }
  /// The smallest and largest scale zooming may reach.
  double minScale() const { return minScale_; }
  double maxScale() const { return maxScale_; }

  /// Sets scale and origin directly (the scale clamped to the limits).
  void set(double scale, ScreenPoint origin);
  /// Sets the zoom limits (0 < lo <= hi); the current scale is clamped into them.
  void setLimits(double lo, double hi);

  /// Where a drawing point lands on the screen, and back.
  ScreenPoint toScreen(const Vec2& p) const;
  Vec2 toDrawing(const ScreenPoint& s) const;
  /// The drawing area a screen rectangle shows.
  Extent visibleArea(const ScreenRect& view) const;

  /// Scales by factor about anchor: the drawing point under anchor stays under it. A factor
  /// that would leave the limits is cut to reach the limit exactly; false when nothing changed.
  bool zoomAbout(const ScreenPoint& anchor, double factor);
  /// Moves the drawing by dx, dy pixels.
  void panBy(double dx, double dy);

  /// Shows all of extent centred in view with margin pixels on every side (an empty extent:
  /// the area around the origin at ten pixels per unit), and sets the limits for it.
  void fit(const Extent& extent, const ScreenRect& view, double margin);
  /// Sets the limits for extent in view without moving (after a new layout or a resize):
  /// an eighth of the fitting scale at the far end; at the near end 10 pixels for a
  /// thousandth of a unit (a micrometre in millimetre drawings), or eight fits if nearer.
  void limitFor(const Extent& extent, const ScreenRect& view, double margin);

  /// The scale at which extent fills view less margin pixels on every side.
  static double fittingScale(const Extent& extent, const ScreenRect& view, double margin);

 private:
  double scale_ = 10;
  double originX_ = 0;
  double originY_ = 0;
  double minScale_ = 1e-6;
  double maxScale_ = 1e6;
};

}  // namespace kerfline
