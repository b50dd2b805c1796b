#pragma once
// Copies of a job laid out on sheets of material, row by row from the sheet's top-left corner.
#include <cstddef>
#include <optional>
#include <vector>

#include "geometry/contour.h"

namespace kerfline {

/// A sheet and how items are set on it, in drawing units. The sheet runs from (0, 0) to
/// (width, height).
struct SheetSpec {
  double width = 0;
  double height = 0;
  double gap = 0;               ///< least space between two items
  std::optional<int> columns;   ///< set: a grid of this many columns
  std::optional<Vec2> cell;     ///< set: a grid of cells this wide (x) and high (y)
};

/// Where one item goes: the sheet (0-based) and the shift that moves it there.
struct SheetPlace {
  std::size_t sheet = 0;
  Vec2 offset;
  friend bool operator==(const SheetPlace&, const SheetPlace&) = default;
};

/// Places items (their extents, in order) on as many sheets as they need. Without a grid each
/// item follows the one before on its row, gap apart, a row as high as its tallest item, a new
/// row when the next does not fit the width and a new sheet when the row does not fit the
/// height. With columns or a cell, items sit in equal cells (the cell given, else the largest
/// item's extent), their top-left corners at the cell's, as many columns as asked or as fit.
/// Throws Error when an item is larger than the sheet or its cell, or the columns asked for
/// are wider than the sheet.
std::vector<SheetPlace> placeOnSheets(const std::vector<Extent>& items, const SheetSpec& spec);

}  // namespace kerfline
