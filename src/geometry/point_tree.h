#pragma once
#include <cstddef>
#include <cstdint>
#include <limits>
#include <type_traits>
#include <vector>

#include "geometry/contour.h"

namespace kerfline {

/// A 2-d tree over a fixed set of points, each of which can be switched off and on again, for
/// nearest-point questions while a route eats up its points (no quadratic scan: a subtree
/// without a live point is skipped whole).
class PointTree {
 public:
  /// Builds the tree over points; every point starts live. Point ids are their indices.
  explicit PointTree(std::vector<Vec2> points);

  /// Switches the point off (it is no longer found) or back on; O(log n).
  void setLive(std::size_t id, bool live);
  bool isLive(std::size_t id) const { return nodes_[slot_[id]].live != 0; }

  /// The live point nearest to p, or -1 when none is live. skip, when not null, is asked about
  /// every candidate id and a true answer passes over it.
  template <typename Skip = std::nullptr_t>
  std::ptrdiff_t nearest(const Vec2& p, const Skip& skip = nullptr) const;

  /// Up to k live points nearest to p, nearest first.
  std::vector<std::size_t> nearestK(const Vec2& p, std::size_t k) const;

  std::size_t size() const { return nodes_.size(); }

 private:
  // Implicit tree: the node of range [lo, hi) of nodes_ is its middle element, split on x at
  // even depth and y at odd depth. Each node holds its point, so a search reads one array.
  struct Node {
    Vec2 p;
    std::uint32_t id = 0;
    std::uint32_t liveCount = 0;  // live points in the node's range
    std::uint8_t live = 1;
  };
  void build(std::vector<std::uint32_t>& order, const std::vector<Vec2>& points, std::size_t lo,
             std::size_t hi, int depth);
  template <typename Visit>
  void search(const Vec2& p, std::size_t lo, std::size_t hi, int depth, double& bound,
              const Visit& visit) const;

  std::vector<Node> nodes_;
  std::vector<std::uint32_t> slot_;  // id -> its node
};

template <typename Visit>
void PointTree::search(const Vec2& p, std::size_t lo, std::size_t hi, int depth, double& bound,
                       const Visit& visit) const {
  // Iterative descent would save little: the depth is log2(n), under 40 for any drawing.
  if (lo >= hi) return;
  const std::size_t mid = lo + (hi - lo) / 2;
  const Node& node = nodes_[mid];
  if (node.liveCount == 0) return;
  const Vec2& q = node.p;
  if (node.live) {
    const double dx = q.x - p.x, dy = q.y - p.y;
    visit(node.id, dx * dx + dy * dy, bound);
  }
  const double diff = depth % 2 == 0 ? p.x - q.x : p.y - q.y;
  const bool leftFirst = diff < 0;
  if (leftFirst) {
    search(p, lo, mid, depth + 1, bound, visit);
    if (diff * diff < bound) search(p, mid + 1, hi, depth + 1, bound, visit);
  } else {
    search(p, mid + 1, hi, depth + 1, bound, visit);
    if (diff * diff < bound) search(p, lo, mid, depth + 1, bound, visit);
  }
}

template <typename Skip>
std::ptrdiff_t PointTree::nearest(const Vec2& p, const Skip& skip) const {
  std::ptrdiff_t best = -1;
  double bound = std::numeric_limits<double>::infinity();
  search(p, 0, nodes_.size(), 0, bound, [&](std::uint32_t id, double d2, double& b) {
    if constexpr (!std::is_same_v<Skip, std::nullptr_t>) {
      if (skip(id)) return;
    }
    if (d2 < b || (d2 == b && static_cast<std::ptrdiff_t>(id) < best)) {
      b = d2;
      best = id;
    }
  });
  return best;
}

}  // namespace kerfline
