#include "geometry/segment_grid.h"

#include <algorithm>
#include <cmath>

namespace kerfline {
namespace {

double cross(double ax, double ay, double bx, double by) { return ax * by - ay * bx; }

// Where a->b meets c->d, as t along a->b, or a negative value when they do not meet.
double meet(const Vec2& a, const Vec2& b, const Vec2& c, const Vec2& d) {
  const double rx = b.x - a.x, ry = b.y - a.y, sx = d.x - c.x, sy = d.y - c.y;
  const double denom = cross(rx, ry, sx, sy);
  const double qx = c.x - a.x, qy = c.y - a.y;
  const double rr = rx * rx + ry * ry;
  if (rr == 0) return -1;
  if (std::fabs(denom) <= 1e-12 * std::sqrt(rr * (sx * sx + sy * sy))) {
    // Parallel: they meet only when collinear, from the first overlapping point on.
    if (std::fabs(cross(qx, qy, rx, ry)) > 1e-12 * rr) return -1;
    const double t0 = (qx * rx + qy * ry) / rr;
    const double t1 = ((d.x - a.x) * rx + (d.y - a.y) * ry) / rr;
    const double lo = std::max(0.0, std::min(t0, t1)), hi = std::min(1.0, std::max(t0, t1));
    return lo <= hi ? lo : -1;
  }
  const double t = cross(qx, qy, sx, sy) / denom;
  const double u = cross(qx, qy, rx, ry) / denom;
  constexpr double kSlack = 1e-12;
  if (t < -kSlack || t > 1 + kSlack || u < -kSlack || u > 1 + kSlack) return -1;
  return std::clamp(t, 0.0, 1.0);
}

}  // namespace

SegmentGrid::SegmentGrid(const std::vector<const Contour*>& paths) {
  for (std::size_t p = 0; p < paths.size(); ++p) {
    const std::vector<Vec2>& pts = paths[p]->points;
    for (std::size_t i = 0; i + 1 < pts.size(); ++i) edges_.push_back({pts[i], pts[i + 1], p});
    if (paths[p]->closed && pts.size() > 2) edges_.push_back({pts.back(), pts.front(), p});
    for (const Vec2& v : pts) extent_.add(v);
  }
  if (edges_.empty()) return;
  // About one edge per cell; the grid never exceeds 1024 cells a side.
  const double side = std::max({extent_.width(), extent_.height(), 1e-9});
  columns_ = std::clamp<long>(static_cast<long>(std::sqrt(static_cast<double>(edges_.size()))), 1, 1024);
  cell_ = side / static_cast<double>(columns_);
  columns_ = std::clamp<long>(static_cast<long>(extent_.width() / cell_) + 1, 1, 1025);
  rows_ = std::clamp<long>(static_cast<long>(extent_.height() / cell_) + 1, 1, 1025);
  cells_.resize(static_cast<std::size_t>(columns_ * rows_));
  for (std::size_t e = 0; e < edges_.size(); ++e) {
    long x0, y0, x1, y1;
    cellOf(std::min(edges_[e].a.x, edges_[e].b.x), std::min(edges_[e].a.y, edges_[e].b.y), x0, y0);
    cellOf(std::max(edges_[e].a.x, edges_[e].b.x), std::max(edges_[e].a.y, edges_[e].b.y), x1, y1);
    for (long y = y0; y <= y1; ++y)
      for (long x = x0; x <= x1; ++x) cells_[static_cast<std::size_t>(y * columns_ + x)].push_back(e);
  }
}

std::size_t SegmentGrid::cellOf(double x, double y, long& cx, long& cy) const {
  cx = std::clamp<long>(static_cast<long>(std::floor((x - extent_.minX) / cell_)), 0, columns_ - 1);
  cy = std::clamp<long>(static_cast<long>(std::floor((y - extent_.minY) / cell_)), 0, rows_ - 1);
  return static_cast<std::size_t>(cy * columns_ + cx);
}

std::optional<SegmentHit> SegmentGrid::firstHit(const Vec2& a, const Vec2& b, double ignoreBelow) const {
  std::optional<SegmentHit> best;
  if (edges_.empty()) return best;
  // Beyond the extent there is no edge to meet: clamping the cells is enough.
  long x0, y0, x1, y1;
  cellOf(std::min(a.x, b.x), std::min(a.y, b.y), x0, y0);
  cellOf(std::max(a.x, b.x), std::max(a.y, b.y), x1, y1);
  for (long y = y0; y <= y1; ++y)
    for (long x = x0; x <= x1; ++x)
      for (const std::size_t e : cells_[static_cast<std::size_t>(y * columns_ + x)]) {
        const double t = meet(a, b, edges_[e].a, edges_[e].b);
        if (t < 0 || t <= ignoreBelow) continue;
        if (!best || t < best->t) best = SegmentHit{t, edges_[e].owner};
      }
  return best;
}

}  // namespace kerfline
