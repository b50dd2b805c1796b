#pragma once
#include <cstddef>
#include <optional>
#include <vector>

#include "geometry/contour.h"

namespace kerfline {

/// Where a segment first meets the edges of a set of paths.
struct SegmentHit {
  double t = 0;           ///< along the segment asked about, 0 at its start and 1 at its end
  std::size_t owner = 0;  ///< the path whose edge it meets
};

/// The edges of many paths in a uniform grid, for the first edge a short segment meets without
/// testing every edge.
class SegmentGrid {
 public:
  /// Indexes every edge of paths (a closed ring's closing edge too); owner ids are indices.
  explicit SegmentGrid(const std::vector<const Contour*>& paths);

  /// The first point of a->b (smallest t) on any edge, ignoring meetings with t <= ignoreBelow
  /// (where a path being led away from starts). A segment running along an edge meets it
  /// where their overlap begins.
  std::optional<SegmentHit> firstHit(const Vec2& a, const Vec2& b, double ignoreBelow) const;

 private:
  struct Edge {
    Vec2 a, b;
    std::size_t owner;
  };
  std::size_t cellOf(double x, double y, long& cx, long& cy) const;

  std::vector<Edge> edges_;
  std::vector<std::vector<std::size_t>> cells_;
  Extent extent_;
  double cell_ = 1;
  long columns_ = 1, rows_ = 1;
};

}  // namespace kerfline
