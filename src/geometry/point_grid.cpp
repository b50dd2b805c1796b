#include "geometry/point_grid.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace kerfline {

namespace {
constexpr double kInfinity = std::numeric_limits<double>::infinity();
// About two points a cell: fewer makes a question walk more empty cells, more makes it
// measure more points.
constexpr double kPointsPerCell = 2;
}  // namespace

PointGrid::PointGrid(const std::vector<Vec2>& points) : slotOf_(points.size()) {
  Extent e;
  for (const Vec2& p : points)
    if (std::isfinite(p.x) && std::isfinite(p.y)) e.add(p);
  const double n = static_cast<double>(std::max<std::size_t>(points.size(), 1));
  if (!e.empty()) {
    origin_ = {e.minX, e.minY};
    // Square cells for the extent's area; no smaller than its longer side shared out, so
    // points on one line (an extent without area) still get a grid of about n cells.
    cell_ = std::max(std::sqrt(e.width() * e.height() * kPointsPerCell / n),
                     std::max(e.width(), e.height()) * kPointsPerCell / n);
    if (!(cell_ > 0) || !std::isfinite(cell_)) cell_ = 1;
    inverse_ = 1 / cell_;
    columns_ = static_cast<std::size_t>(e.width() * inverse_) + 1;
    rows_ = static_cast<std::size_t>(e.height() * inverse_) + 1;
  }
  blockColumns_ = ((columns_ - 1) >> kBlockShift) + 1;
  const std::size_t blockRows = ((rows_ - 1) >> kBlockShift) + 1;

  // Counting sort into cells, ids ascending within a cell.
  std::vector<std::uint32_t> cellOf(points.size());
  cellStart_.assign(columns_ * rows_ + 1, 0);
  for (std::size_t i = 0; i < points.size(); ++i) {
    const std::size_t c = cellIndex(points[i].y, origin_.y, rows_) * columns_ +
                          cellIndex(points[i].x, origin_.x, columns_);
    cellOf[i] = static_cast<std::uint32_t>(c);
    ++cellStart_[c + 1];
  }
  cellLive_.resize(columns_ * rows_);
  for (std::size_t c = 0; c < cellLive_.size(); ++c) {
    cellLive_[c] = cellStart_[c + 1];
    cellStart_[c + 1] += cellStart_[c];
  }
  blockLive_.assign(blockColumns_ * blockRows, 0);
  for (std::size_t y = 0; y < rows_; ++y)
    for (std::size_t x = 0; x < columns_; ++x)
      blockLive_[(y >> kBlockShift) * blockColumns_ + (x >> kBlockShift)] += cellLive_[y * columns_ + x];
  slots_.resize(points.size());
  live_.assign(points.size(), 1);
  std::vector<std::uint32_t> fill(cellStart_.begin(), cellStart_.end() - 1);
  for (std::size_t i = 0; i < points.size(); ++i) {
    const std::uint32_t s = fill[cellOf[i]]++;
    slots_[s] = {points[i], static_cast<std::uint32_t>(i)};
    slotOf_[i] = s;
  }
  // A point that is not finite has no distance to anything: never live.
  for (std::size_t i = 0; i < points.size(); ++i)
    if (!std::isfinite(points[i].x) || !std::isfinite(points[i].y)) setLive(i, false);
}

std::size_t PointGrid::cellIndex(double v, double origin, std::size_t count) const {
  const double c = (v - origin) * inverse_;
  if (!(c > 0)) return 0;  // below the grid, or not a number
  if (c >= static_cast<double>(count - 1)) return count - 1;
  return static_cast<std::size_t>(c);
}

void PointGrid::setLive(std::size_t id, bool live) {
  const std::uint32_t s = slotOf_[id];
  if ((live_[s] != 0) == live) return;
  if (live && !(std::isfinite(slots_[s].p.x) && std::isfinite(slots_[s].p.y))) return;
  live_[s] = live ? 1 : 0;
  const std::size_t x = cellIndex(slots_[s].p.x, origin_.x, columns_);
  const std::size_t y = cellIndex(slots_[s].p.y, origin_.y, rows_);
  const std::uint32_t step = live ? 1u : ~0u;  // +1 or -1 in unsigned arithmetic
  cellLive_[y * columns_ + x] += step;
  blockLive_[(y >> kBlockShift) * blockColumns_ + (x >> kBlockShift)] += step;
}

double PointGrid::ringBound(const Vec2& p, std::size_t cx, std::size_t cy, std::size_t r) const {
  if (r == 0) return 0;
  // Every cell of ring r or beyond lies on a side of the ring that is inside the grid, and
  // is at least that side's gap from p along one axis.
  double bound = kInfinity;
  if (cx + r < columns_) bound = std::min(bound, origin_.x + static_cast<double>(cx + r) * cell_ - p.x);
  if (cx >= r) bound = std::min(bound, p.x - (origin_.x + static_cast<double>(cx - r + 1) * cell_));
  if (cy + r < rows_) bound = std::min(bound, origin_.y + static_cast<double>(cy + r) * cell_ - p.y);
  if (cy >= r) bound = std::min(bound, p.y - (origin_.y + static_cast<double>(cy - r + 1) * cell_));
  return std::max(bound, 0.0);
}

template <typename Visit>
void PointGrid::visitCell(std::size_t x, std::size_t y, const Visit& visit) const {
  const std::size_t c = y * columns_ + x;
  if (cellLive_[c] == 0) return;
  for (std::uint32_t s = cellStart_[c]; s < cellStart_[c + 1]; ++s)
    if (live_[s]) visit(s);
}

template <typename Visit>
void PointGrid::visitRow(std::size_t y, std::size_t x0, std::size_t x1, const Visit& visit) const {
  const std::size_t blockRow = (y >> kBlockShift) * blockColumns_;
  for (std::size_t x = x0; x <= x1;) {
    if (blockLive_[blockRow + (x >> kBlockShift)] == 0) {
      x = ((x >> kBlockShift) + 1) << kBlockShift;
      continue;
    }
    visitCell(x, y, visit);
    ++x;
  }
}

template <typename Visit>
void PointGrid::visitColumn(std::size_t x, std::size_t y0, std::size_t y1, const Visit& visit) const {
  const std::size_t blockColumn = x >> kBlockShift;
  for (std::size_t y = y0; y <= y1;) {
    if (blockLive_[(y >> kBlockShift) * blockColumns_ + blockColumn] == 0) {
      y = ((y >> kBlockShift) + 1) << kBlockShift;
      continue;
    }
    visitCell(x, y, visit);
    ++y;
  }
}

template <typename Visit>
void PointGrid::visitRing(std::size_t cx, std::size_t cy, std::size_t r, const Visit& visit) const {
  if (r == 0) {
    visitCell(cx, cy, visit);
    return;
  }
  const std::size_t x0 = cx >= r ? cx - r : 0, x1 = std::min(cx + r, columns_ - 1);
  if (cy + r < rows_) visitRow(cy + r, x0, x1, visit);
  if (cy >= r) visitRow(cy - r, x0, x1, visit);
  // The columns without the corners the rows had.
  const std::size_t y0 = cy + 1 >= r ? cy + 1 - r : 0, y1 = std::min(cy + r - 1, rows_ - 1);
  if (y0 > y1) return;
  if (cx + r < columns_) visitColumn(cx + r, y0, y1, visit);
  if (cx >= r) visitColumn(cx - r, y0, y1, visit);
}

template <typename Visit>
void PointGrid::search(const Vec2& p, double& bound, const Visit& visit) const {
  const std::size_t cx = cellIndex(p.x, origin_.x, columns_);
  const std::size_t cy = cellIndex(p.y, origin_.y, rows_);
  for (std::size_t r = 0;; ++r) {
    const double gap = ringBound(p, cx, cy, r);
    // Equal distances go on, so the smallest id among equals is found.
    if (gap == kInfinity || gap * gap > bound) return;
    visitRing(cx, cy, r, visit);
  }
}

std::ptrdiff_t PointGrid::nearest(const Vec2& p) const {
  std::ptrdiff_t best = -1;
  double bound = kInfinity;
  search(p, bound, [&](std::uint32_t s) {
    const Slot& slot = slots_[s];
    const double dx = slot.p.x - p.x, dy = slot.p.y - p.y;
    const double d2 = dx * dx + dy * dy;
    if (d2 < bound || (d2 == bound && static_cast<std::ptrdiff_t>(slot.id) < best)) {
      bound = d2;
      best = slot.id;
    }
  });
  return best;
}

void PointGrid::nearestK(const Vec2& p, std::size_t k,
                         std::vector<std::pair<double, std::size_t>>& out) const {
  out.clear();
  if (k == 0) return;
  // The best so far, nearest first: k is a handful, so insertion beats a heap.
  double bound = kInfinity;
  search(p, bound, [&](std::uint32_t s) {
    const Slot& slot = slots_[s];
    const std::pair<double, std::size_t> found{
        (slot.p.x - p.x) * (slot.p.x - p.x) + (slot.p.y - p.y) * (slot.p.y - p.y), slot.id};
    if (out.size() == k && !(found < out.back())) return;
    if (out.size() == k) out.pop_back();
    out.insert(std::upper_bound(out.begin(), out.end(), found), found);
    if (out.size() == k) bound = out.back().first;
  });
}

}  // namespace kerfline
