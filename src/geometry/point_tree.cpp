#include "geometry/point_tree.h"

#include <algorithm>
#include <numeric>
#include <utility>

namespace kerfline {

PointTree::PointTree(std::vector<Vec2> points) : nodes_(points.size()), slot_(points.size()) {
  std::vector<std::uint32_t> order(points.size());
  std::iota(order.begin(), order.end(), 0u);
  build(order, points, 0, order.size(), 0);
  for (std::size_t i = 0; i < order.size(); ++i) {
    nodes_[i].p = points[order[i]];
    nodes_[i].id = order[i];
    slot_[order[i]] = static_cast<std::uint32_t>(i);
  }
}

void PointTree::build(std::vector<std::uint32_t>& order, const std::vector<Vec2>& points,
                      std::size_t lo, std::size_t hi, int depth) {
  if (lo >= hi) return;
  const std::size_t mid = lo + (hi - lo) / 2;
  // Ties broken by id, so the tree (and every answer) is the same on every run and machine.
  std::nth_element(order.begin() + static_cast<std::ptrdiff_t>(lo),
                   order.begin() + static_cast<std::ptrdiff_t>(mid),
                   order.begin() + static_cast<std::ptrdiff_t>(hi),
                   [&](std::uint32_t a, std::uint32_t b) {
                     const double ka = depth % 2 == 0 ? points[a].x : points[a].y;
                     const double kb = depth % 2 == 0 ? points[b].x : points[b].y;
                     return ka < kb || (ka == kb && a < b);
                   });
  nodes_[mid].liveCount = static_cast<std::uint32_t>(hi - lo);
  build(order, points, lo, mid, depth + 1);
  build(order, points, mid + 1, hi, depth + 1);
}

void PointTree::setLive(std::size_t id, bool live) {
  const std::size_t target = slot_[id];
  if ((nodes_[target].live != 0) == live) return;
  nodes_[target].live = live ? 1 : 0;
  std::size_t lo = 0, hi = nodes_.size();
  while (lo < hi) {
    const std::size_t mid = lo + (hi - lo) / 2;
    live ? ++nodes_[mid].liveCount : --nodes_[mid].liveCount;
    if (target == mid) break;
    if (target < mid) {
      hi = mid;
    } else {
      lo = mid + 1;
    }
  }
}

std::vector<std::size_t> PointTree::nearestK(const Vec2& p, std::size_t k) const {
  // The best so far, nearest first: k is a handful, so insertion beats a heap.
  std::vector<std::pair<double, std::size_t>> found;
  found.reserve(k + 1);
  if (k == 0) return {};
  double bound = std::numeric_limits<double>::infinity();
  search(p, 0, nodes_.size(), 0, bound, [&](std::uint32_t id, double d2, double& b) {
    if (found.size() == k && d2 >= found.back().first) return;
    auto at = std::upper_bound(found.begin(), found.end(), std::make_pair(d2, std::size_t{id}));
    found.insert(at, {d2, id});
    if (found.size() > k) found.pop_back();
    if (found.size() == k) b = found.back().first;
  });
  std::vector<std::size_t> ids;
  ids.reserve(found.size());
  for (const auto& f : found) ids.push_back(f.second);
  return ids;
}

}  // namespace kerfline
