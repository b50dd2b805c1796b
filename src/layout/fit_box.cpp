#include "layout/fit_box.h"

#include <algorithm>
#include <cmath>

#include "common/error.h"
#include "layout/affine_map.h"

namespace kerfline {
namespace {

// Where along one direction the text goes: against the low side, centred, or the high side.
double placeAlong(int side, double low, double high, double textLow, double textHigh) {
  if (side < 0) return low - textLow;
  if (side > 0) return high - textHigh;
  return (low + high) / 2 - (textLow + textHigh) / 2;
}

}  // namespace

std::pair<double, double> boxScales(const Extent& e, const SignLayout& layout) {
  if (!layout.boxWidth || !layout.boxHeight) return {1, 1};
  const double width = *layout.boxWidth - 2 * layout.margin;
  const double height = *layout.boxHeight - 2 * layout.margin;
  if (!(width > 0) || !(height > 0)) throw Error("The margin leaves no room inside the fit box.");
  if (e.empty()) return {1, 1};
  const double w = e.width();
  const double h = e.height();
  if (layout.stretch && (!(w > 0) || !(h > 0)))
    throw Error("The text has no width or height to stretch into the fit box.");
  if (!(w > 0) && !(h > 0)) throw Error("The text has no size to fit into the box.");
  if (layout.stretch) return {width / w, height / h};
  // A text with no height (one rule) fits by its width alone, and the reverse.
  const double k = !(h > 0) ? width / w : !(w > 0) ? height / h : std::min(width / w, height / h);
  return {k, k};
}

void fitIntoBox(Drawing& drawing, const SignLayout& layout) {
  if (!layout.boxWidth || !layout.boxHeight) return;
  const Extent e = drawing.extent();
  const auto [sx, sy] = boxScales(e, layout);
  if (e.empty()) return;
  // The anchors run row by row from the top left: their column and row follow from the index.
  const int anchor = static_cast<int>(layout.anchor);
  const int column = anchor % 3 - 1;  // -1 left, 0 centre, 1 right
  const int row = 1 - anchor / 3;     // 1 top, 0 middle, -1 bottom
  AffineMap map;
  map.xx = sx;
  map.yy = sy;
  map.dx = placeAlong(column, layout.margin, *layout.boxWidth - layout.margin, e.minX * sx, e.maxX * sx);
  map.dy = placeAlong(row, layout.margin, *layout.boxHeight - layout.margin, e.minY * sy, e.maxY * sy);
  transformDrawing(drawing, map);
}

}  // namespace kerfline
