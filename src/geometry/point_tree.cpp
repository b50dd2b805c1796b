#include "geometry/point_tree.h"

#include <algorithm>
#include <numeric>
#include <utility>

namespace kerfline {

PointTree::PointTree(std::vector<Vec2> points)
    : points_(std::move(points)),
      order_(points_.size()),
      slot_(points_.size()),
      liveCount_(points_.size()),
      live_(points_.size(), 1) {
  std::iota(order_.begin(), order_.end(), 0u);
  build(0, order_.size(), 0);
  for (std::size_t i = 0; i < order_.size(); ++i) slot_[order_[i]] = static_cast<std::uint32_t>(i);
}

void PointTree::build(std::size_t lo, std::size_t hi, int depth) {
  if (lo >= hi) return;
  const std::size_t mid = lo + (hi - lo) / 2;
  // Ties broken by id, so the tree (and every answer) is the same on every run and machine.
  std::nth_element(order_.begin() + static_cast<std::ptrdiff_t>(lo),
                   order_.begin() + static_cast<std::ptrdiff_t>(mid),
                   order_.begin() + static_cast<std::ptrdiff_t>(hi),
                   [&](std::uint32_t a, std::uint32_t b) {
                     const double ka = depth % 2 == 0 ? points_[a].x : points_[a].y;
                     const double kb = depth % 2 == 0 ? points_[b].x : points_[b].y;
                     return ka < kb || (ka == kb && a < b);
                   });
  liveCount_[mid] = static_cast<std::uint32_t>(hi - lo);
  build(lo, mid, depth + 1);
  build(mid + 1, hi, depth + 1);
}

void PointTree::setLive(std::size_t id, bool live) {
  if ((live_[id] != 0) == live) return;
  live_[id] = live ? 1 : 0;
  const std::size_t target = slot_[id];
  std::size_t lo = 0, hi = order_.size();
  while (lo < hi) {
    const std::size_t mid = lo + (hi - lo) / 2;
    live ? ++liveCount_[mid] : --liveCount_[mid];
    if (target == mid) break;
    if (target < mid) {
      hi = mid;
    } else {
      lo = mid + 1;
    }
  }
}

std::vector<std::size_t> PointTree::nearestK(const Vec2& p, std::size_t k) const {
  std::vector<std::pair<double, std::size_t>> found;  // a max-heap of the k best so far
  if (k == 0) return {};
  double bound = std::numeric_limits<double>::infinity();
  search(p, 0, order_.size(), 0, bound, [&](std::uint32_t id, double d2, double& b) {
    if (found.size() == k && d2 >= found.front().first) return;
    found.push_back({d2, id});
    std::push_heap(found.begin(), found.end());
    if (found.size() > k) {
      std::pop_heap(found.begin(), found.end());
      found.pop_back();
    }
    if (found.size() == k) b = found.front().first;
  });
  std::sort_heap(found.begin(), found.end());
  std::vector<std::size_t> ids;
  for (const auto& f : found) ids.push_back(f.second);
  return ids;
}

}  // namespace kerfline
