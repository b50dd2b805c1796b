#include "windowlogic/view_transform.h"

#include <algorithm>
#include <cmath>

namespace kerfline {
namespace {

// Scale of an empty drawing: ten pixels per unit shows a few characters' worth of page.
constexpr double kDefaultScale = 10;
// Near zoom limit: 10 pixels per thousandth of a unit.
constexpr double kNearestScale = 10 / 0.001;

}  // namespace

void ViewTransform::set(double scale, ScreenPoint origin) {
  scale_ = std::clamp(scale, minScale_, maxScale_);
  originX_ = origin.x;
  originY_ = origin.y;
}

void ViewTransform::setLimits(double lo, double hi) {
  minScale_ = lo;
  maxScale_ = std::max(lo, hi);
  scale_ = std::clamp(scale_, minScale_, maxScale_);
}

ScreenPoint ViewTransform::toScreen(const Vec2& p) const {
  return {originX_ + scale_ * p.x, originY_ - scale_ * p.y};
}

Vec2 ViewTransform::toDrawing(const ScreenPoint& s) const {
  return {(s.x - originX_) / scale_, (originY_ - s.y) / scale_};
}

Extent ViewTransform::visibleArea(const ScreenRect& view) const {
  Extent e;
  e.add(toDrawing({view.x, view.y}));
  e.add(toDrawing({view.x + view.width, view.y + view.height}));
  return e;
}

bool ViewTransform::zoomAbout(const ScreenPoint& anchor, double factor) {
  if (!(factor > 0) || !std::isfinite(factor)) return false;
  const double target = std::clamp(scale_ * factor, minScale_, maxScale_);
  if (target == scale_) return false;
  // The drawing point under the anchor, kept there: anchor = origin' + target * p.
  const Vec2 p = toDrawing(anchor);
  scale_ = target;
  originX_ = anchor.x - target * p.x;
  originY_ = anchor.y + target * p.y;
  return true;
}

void ViewTransform::panBy(double dx, double dy) {
  originX_ += dx;
  originY_ += dy;
}

double ViewTransform::fittingScale(const Extent& extent, const ScreenRect& view, double margin) {
  if (extent.empty()) return kDefaultScale;
  const double w = std::max(1.0, view.width - 2 * margin);
  const double h = std::max(1.0, view.height - 2 * margin);
  // A drawing of one point (or a straight line) has no size in one or both directions.
  const double sx = extent.width() > 0 ? w / extent.width() : HUGE_VAL;
  const double sy = extent.height() > 0 ? h / extent.height() : HUGE_VAL;
  const double s = std::min(sx, sy);
  return std::isfinite(s) && s > 0 ? s : kDefaultScale;
}

void ViewTransform::limitFor(const Extent& extent, const ScreenRect& view, double margin) {
  const double s = fittingScale(extent, view, margin);
  setLimits(s / 8, std::max(kNearestScale, s * 8));
}

void ViewTransform::fit(const Extent& extent, const ScreenRect& view, double margin) {
  limitFor(extent, view, margin);
  const double s = fittingScale(extent, view, margin);
  const double cx = extent.empty() ? 0 : (extent.minX + extent.maxX) / 2;
  const double cy = extent.empty() ? 0 : (extent.minY + extent.maxY) / 2;
  scale_ = std::clamp(s, minScale_, maxScale_);
  originX_ = view.x + view.width / 2 - scale_ * cx;
  originY_ = view.y + view.height / 2 + scale_ * cy;
}

}  // namespace kerfline
