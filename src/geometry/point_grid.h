#pragma once
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "geometry/contour.h"

namespace kerfline {

/// A uniform grid over a fixed set of points, each of which can be switched off and on again,
/// for nearest-point questions while a route eats up its points. A question searches square
/// rings of cells outwards from the asker's cell and stops once no nearer point can lie
/// further out; blocks of 8 x 8 cells count their live points, so the rings of a long search
/// through eaten-up text pass empty blocks whole.
class PointGrid {
 public:
  /// Indexes points (ids are their indices); every point starts live. Points with a coordinate
  /// that is not finite are indexed but never found.
  explicit PointGrid(const std::vector<Vec2>& points);

  /// Switches the point off (it is no longer found) or back on; O(1).
  void setLive(std::size_t id, bool live);
  bool isLive(std::size_t id) const { return live_[slotOf_[id]] != 0; }

  /// The live point nearest to p (among equals the smallest id), or -1 when none is live.
  std::ptrdiff_t nearest(const Vec2& p) const;

  /// Up to k live points nearest to p as (squared distance, id), nearest first (among equals
  /// the smaller id), written to out (cleared first; it keeps its storage, so a loop of
  /// questions allocates nothing).
  void nearestK(const Vec2& p, std::size_t k, std::vector<std::pair<double, std::size_t>>& out) const;

  std::size_t size() const { return slotOf_.size(); }

 private:
  struct Slot {
    Vec2 p;
    std::uint32_t id = 0;
  };
  static constexpr int kBlockShift = 3;  // blocks of 8 x 8 cells

  std::size_t cellIndex(double v, double origin, std::size_t count) const;
  // The least distance from p to any cell of ring r round cell (cx, cy) or further out;
  // infinity when the ring lies wholly outside the grid.
  double ringBound(const Vec2& p, std::size_t cx, std::size_t cy, std::size_t r) const;
  // Calls visit(slot) for every live point in ring r round cell (cx, cy).
  template <typename Visit>
  void visitRing(std::size_t cx, std::size_t cy, std::size_t r, const Visit& visit) const;
  template <typename Visit>
  void visitRow(std::size_t y, std::size_t x0, std::size_t x1, const Visit& visit) const;
  template <typename Visit>
  void visitColumn(std::size_t x, std::size_t y0, std::size_t y1, const Visit& visit) const;
  template <typename Visit>
  void visitCell(std::size_t x, std::size_t y, const Visit& visit) const;
  // Rings outwards from p's cell, until bound (a squared distance visit may lower) rules out
  // every further ring.
  template <typename Visit>
  void search(const Vec2& p, double& bound, const Visit& visit) const;

  Vec2 origin_;
  double cell_ = 1, inverse_ = 1;
  std::size_t columns_ = 1, rows_ = 1, blockColumns_ = 1;
  std::vector<std::uint32_t> cellStart_;  // per cell: its first slot; one more at the end
  std::vector<Slot> slots_;               // the points cell by cell
  std::vector<std::uint8_t> live_;        // per slot
  std::vector<std::uint32_t> slotOf_;     // per id
  std::vector<std::uint32_t> cellLive_;   // per cell: live points
  std::vector<std::uint32_t> blockLive_;  // per block: live points
};

}  // namespace kerfline
