#include "geometry/sheet_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "common/error.h"

namespace kerfline {
namespace {

// Sizes are sums of typed decimals: a row that fits exactly must not be refused for the last
// bit of a double.
constexpr double kSlack = 1e-9;

std::string size(double w, double h) {
  char text[96];
  std::snprintf(text, sizeof text, "%.4g x %.4g", w, h);
  return text;
}

[[noreturn]] void tooLarge(std::size_t item, const Extent& e, const char* what,
                           double w, double h) {
  throw Error("item " + std::to_string(item + 1) + " (" + size(e.width(), e.height()) +
              ") is larger than the " + what + " (" + size(w, h) + ")");
}

std::vector<SheetPlace> inGrid(const std::vector<Extent>& items, const SheetSpec& spec) {
  double cellW = 0, cellH = 0;
  if (spec.cell) {
    cellW = spec.cell->x;
    cellH = spec.cell->y;
  } else {
    for (const Extent& e : items) {
      cellW = std::max(cellW, e.width());
      cellH = std::max(cellH, e.height());
    }
  }
  const double limitW = spec.cell ? cellW : spec.width, limitH = spec.cell ? cellH : spec.height;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i].width() > limitW + kSlack || items[i].height() > limitH + kSlack)
      tooLarge(i, items[i], spec.cell ? "cell" : "sheet", limitW, limitH);
  }
  const auto fitting = [&](double room, double cell) {
    return static_cast<long long>(std::floor((room + spec.gap + kSlack) / (cell + spec.gap)));
  };
  const long long across = spec.columns ? *spec.columns : fitting(spec.width, cellW);
  const long long down = fitting(spec.height, cellH);
  if (across * cellW + (across - 1) * spec.gap > spec.width + kSlack || across < 1)
    throw Error(std::to_string(across) + " columns of cells " + size(cellW, cellH) +
                " are wider than the sheet (" + size(spec.width, spec.height) + ")");
  if (down < 1)
    throw Error("a cell (" + size(cellW, cellH) + ") is higher than the sheet (" +
                size(spec.width, spec.height) + ")");
  const auto perSheet = static_cast<std::size_t>(across * down);
  std::vector<SheetPlace> places;
  places.reserve(items.size());
  for (std::size_t i = 0; i < items.size(); ++i) {
    const std::size_t k = i % perSheet;
    const double left = static_cast<double>(k % static_cast<std::size_t>(across)) * (cellW + spec.gap);
    const double top =
        spec.height - static_cast<double>(k / static_cast<std::size_t>(across)) * (cellH + spec.gap);
    const Extent& e = items[i];
    places.push_back({i / perSheet, e.empty() ? Vec2{left, top} : Vec2{left - e.minX, top - e.maxY}});
  }
  return places;
}

std::vector<SheetPlace> inRows(const std::vector<Extent>& items, const SheetSpec& spec) {
  std::vector<SheetPlace> places;
  places.reserve(items.size());
  std::size_t sheet = 0;
  double x = 0, top = spec.height, rowHeight = 0;
  bool rowEmpty = true, sheetEmpty = true;
  for (std::size_t i = 0; i < items.size(); ++i) {
    const Extent& e = items[i];
    const double w = e.width(), h = e.height();
    if (w > spec.width + kSlack || h > spec.height + kSlack)
      tooLarge(i, e, "sheet", spec.width, spec.height);
    if (!rowEmpty && x + w > spec.width + kSlack) {  // the next row
      top -= rowHeight + spec.gap;
      x = 0;
      rowHeight = 0;
      rowEmpty = true;
    }
    if (!sheetEmpty && top - h < -kSlack) {  // the next sheet
      ++sheet;
      x = 0;
      top = spec.height;
      rowHeight = 0;
      rowEmpty = sheetEmpty = true;
    }
    places.push_back({sheet, e.empty() ? Vec2{x, top} : Vec2{x - e.minX, top - e.maxY}});
    x += w + spec.gap;
    rowHeight = std::max(rowHeight, h);
    rowEmpty = sheetEmpty = false;
  }
  return places;
}

}  // namespace

std::vector<SheetPlace> placeOnSheets(const std::vector<Extent>& items, const SheetSpec& spec) {
  if (items.empty()) return {};
  return spec.columns || spec.cell ? inGrid(items, spec) : inRows(items, spec);
}

}  // namespace kerfline
