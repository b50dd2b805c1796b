#include "geometry/box_grid.h"

#include <algorithm>
#include <cmath>

namespace kerfline {
namespace {

// A box binned into more cells than this goes to a list every query looks at instead.
constexpr std::size_t kMostCellsPerBox = 16;
// Cells per box at most, so that a drawing of far-flung small boxes keeps a small grid.
constexpr double kCellsPerBox = 4;

}  // namespace

BoxGrid::BoxGrid(std::vector<Extent> boxes) : boxes_(std::move(boxes)), seen_(boxes_.size(), 0) {
  std::vector<double> sizes;
  sizes.reserve(boxes_.size());
  for (const Extent& b : boxes_) {
    if (b.empty()) continue;
    all_.add({b.minX, b.minY});
    all_.add({b.maxX, b.maxY});
    sizes.push_back(std::max(b.width(), b.height()));
  }
  if (sizes.empty()) {
    cellStart_.assign(2, 0);
    return;
  }
  // Cells the size of the median box, so that a letter spans one to four of them; larger
  // where the boxes lie far apart, so that there are never many more cells than boxes
  // (width x height / cell^2 and (width + height) / cell each at most kCellsPerBox per box).
  std::nth_element(sizes.begin(), sizes.begin() + sizes.size() / 2, sizes.end());
  const double n = static_cast<double>(sizes.size());
  const double w = all_.width(), h = all_.height();
  cell_ = std::max({sizes[sizes.size() / 2], std::sqrt(w * h / (kCellsPerBox * n)),
                    (w + h) / (kCellsPerBox * n)});
  if (std::isfinite(cell_) && cell_ > 0) {
    columns_ = static_cast<std::size_t>(w / cell_) + 1;
    rows_ = static_cast<std::size_t>(h / cell_) + 1;
  } else {
    cell_ = 1;  // every box a point, or sizes beyond a double: one cell holds them all
  }

  // Two passes, counting and then filling: one array for every cell.
  cellStart_.assign(columns_ * rows_ + 1, 0);
  for (int pass = 0; pass < 2; ++pass) {
    std::vector<std::size_t> fill;
    if (pass == 1) {
      for (std::size_t k = 1; k < cellStart_.size(); ++k) cellStart_[k] += cellStart_[k - 1];
      members_.resize(cellStart_.back());
      fill.assign(cellStart_.begin(), cellStart_.end() - 1);
    }
    for (std::size_t i = 0; i < boxes_.size(); ++i) {
      if (boxes_[i].empty()) continue;
      const Cells c = cellsOf(boxes_[i]);
      if (wide(c)) {
        if (pass == 0) wide_.push_back(i);
        continue;
      }
      for (std::size_t y = c.y0; y <= c.y1; ++y)
        for (std::size_t x = c.x0; x <= c.x1; ++x) {
          const std::size_t cell = y * columns_ + x;
          if (pass == 0)
            ++cellStart_[cell + 1];
          else
            members_[fill[cell]++] = i;
        }
    }
  }
}

BoxGrid::Cells BoxGrid::cellsOf(const Extent& box) const {
  const auto axis = [&](double v, double lo, std::size_t count) {
    const double t = std::floor((v - lo) / cell_);
    if (!(t > 0)) return std::size_t{0};  // NaN too
    return std::min(count - 1, static_cast<std::size_t>(std::min(t, 1e9)));
  };
  return {axis(box.minX, all_.minX, columns_), axis(box.minY, all_.minY, rows_),
          axis(box.maxX, all_.minX, columns_), axis(box.maxY, all_.minY, rows_)};
}

bool BoxGrid::wide(const Cells& c) const {
  return (c.x1 - c.x0 + 1) * (c.y1 - c.y0 + 1) > kMostCellsPerBox;
}

}  // namespace kerfline
