#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "geometry/contour.h"

namespace kerfline {

/// Boxes binned on a uniform grid whose cells are about as large as a typical box, so that the
/// boxes meeting one box are found in a few cells: near-constant work per box where the boxes
/// are letters of a text, however many lines lie on top of each other.
class BoxGrid {
 public:
  /// Bins boxes (drawing units; empty ones are never found). The grid keeps no reference.
  explicit BoxGrid(std::vector<Extent> boxes);

  /// Calls found(j) once for every box j other than box i that meets it (closed boxes: sharing
  /// an edge or a corner counts), in no particular order. Not for two threads at once.
  template <class Found>
  void forEachMeeting(std::size_t i, Found found);

  /// Calls found(j) once for every box j that meets box (any box, binned or not).
  template <class Found>
  void forEachMeetingBox(const Extent& box, Found found);

 private:
  static bool meet(const Extent& a, const Extent& b) {
    return a.minX <= b.maxX && b.minX <= a.maxX && a.minY <= b.maxY && b.minY <= a.maxY;
  }
  struct Cells {
    std::size_t x0, y0, x1, y1;
  };
  Cells cellsOf(const Extent& box) const;
  bool wide(const Cells& c) const;

  std::vector<Extent> boxes_;
  Extent all_;
  double cell_ = 1;
  std::size_t columns_ = 1, rows_ = 1;
  std::vector<std::size_t> cellStart_;  // per cell, its first entry in members_; one more at the end
  std::vector<std::size_t> members_;
  std::vector<std::size_t> wide_;       // boxes spanning too many cells to bin
  std::vector<std::uint32_t> seen_;     // per box, the query that last reported it
  std::uint32_t query_ = 0;
};

template <class Found>
void BoxGrid::forEachMeeting(std::size_t i, Found found) {
  if (boxes_[i].empty()) return;
  forEachMeetingBox(boxes_[i], [&](std::size_t j) {
    if (j != i) found(j);
  });
}

template <class Found>
void BoxGrid::forEachMeetingBox(const Extent& box, Found found) {
  if (box.empty() || all_.empty()) return;
  if (++query_ == 0) {  // the stamps wrapped: forget them all once
    std::fill(seen_.begin(), seen_.end(), 0);
    query_ = 1;
  }
  const auto consider = [&](std::size_t j) {
    if (seen_[j] == query_) return;
    seen_[j] = query_;
    if (meet(box, boxes_[j])) found(j);
  };
  const Cells c = cellsOf(box);
  if ((c.x1 - c.x0 + 1) * (c.y1 - c.y0 + 1) > boxes_.size()) {
    // A box over more cells than there are boxes (a frame): every box once is quicker.
    for (std::size_t j = 0; j < boxes_.size(); ++j)
      if (!boxes_[j].empty()) consider(j);
    return;
  }
  for (std::size_t y = c.y0; y <= c.y1; ++y)
    for (std::size_t x = c.x0; x <= c.x1; ++x) {
      const std::size_t cell = y * columns_ + x;
      for (std::size_t k = cellStart_[cell]; k < cellStart_[cell + 1]; ++k) consider(members_[k]);
    }
  for (const std::size_t j : wide_) consider(j);
}

}  // namespace kerfline
