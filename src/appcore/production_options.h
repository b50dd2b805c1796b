#pragma once
// A production run: many items from one text (serial numbers, a merge file's rows), each to a
// file of its own or laid out on sheets.
#include <optional>
#include <string>

#include "geometry/contour.h"

namespace kerfline {

/// What a command line asks of a production run; nothing set: one text, one file, as ever.
struct ProductionOptions {
  std::optional<long long> serialStart;  ///< {n} of the first item (default 1)
  std::optional<long long> serialStep;   ///< added to {n} per item (default 1)
  std::optional<int> copies;             ///< items without a merge file (default 1)
  std::optional<std::string> mergeFile;  ///< one item per row of this CSV file
  std::optional<Vec2> sheet;             ///< set: items laid out on sheets this wide and high
  std::optional<double> gap;             ///< least space between items on a sheet (default 0)
  std::optional<int> columns;            ///< a grid of this many columns
  std::optional<Vec2> cell;              ///< a grid of cells this wide and high
  bool oneFile = false;                  ///< every sheet in one G-code program, paused between

  /// True when the text is a template of items rather than the text itself.
  bool active() const { return serialStart || serialStep || copies || mergeFile || sheet; }
};

}  // namespace kerfline
