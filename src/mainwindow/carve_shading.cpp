#include "mainwindow/carve_shading.h"

#include <algorithm>
#include <atomic>
#include <cmath>

#include "export/carve_export.h"

namespace kerfline {

CarveShading buildCarveShading(const CarveJob& job, const VCarveSettings& settings) {
  static std::atomic<std::uint64_t> built{0};
  CarveShading out;
  out.serial = ++built;
  for (const CarvePath& s : job.vbit.strokes)
    for (const CarvePoint& p : s) out.deepest = std::max(out.deepest, -p.z);
  for (const Contour& ring : job.floors) {
    QPolygonF& own = out.floors.emplace_back();
    own.reserve(static_cast<qsizetype>(ring.points.size()));
    for (const Vec2& p : ring.points) own.append(QPointF(p.x, p.y));
  }
  if (!(out.deepest > 0)) return out;
  // Each stroke is cut where its depth crosses from one level to the next (depth runs
  // linearly along a segment), so that no piece is drawn wider than the cut it stands for: a
  // long edge from a corner's tip down into a stem would otherwise round off past the outline.
  const double step = out.deepest / kCarveDepthLevels;
  const auto levelOf = [&](double depth) {
    return std::clamp(static_cast<int>(std::lround(depth / step)), 0, kCarveDepthLevels);
  };
  std::vector<CarvePoint> fine;
  std::vector<double> depths;  // of the runs
  for (const CarvePath& s : job.vbit.strokes) {
    fine.clear();
    for (std::size_t i = 0; i < s.size(); ++i) {
      if (i > 0) {
        const CarvePoint& a = s[i - 1];
        const CarvePoint& b = s[i];
        const int pieces = std::max(1, static_cast<int>(std::ceil(std::abs(a.z - b.z) / step)));
        for (int k = 1; k < pieces; ++k) {
          const double t = double(k) / pieces;
          fine.push_back({a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, a.z + (b.z - a.z) * t});
        }
      }
      fine.push_back(s[i]);
    }
    const auto level = [&](std::size_t j) { return levelOf(-(fine[j - 1].z + fine[j].z) / 2); };
    for (std::size_t i = 1; i < fine.size();) {
      const int own = level(i);
      QPolygonF& run = out.runs.emplace_back();
      run.append(QPointF(fine[i - 1].x, fine[i - 1].y));
      for (; i < fine.size() && level(i) == own; ++i) run.append(QPointF(fine[i].x, fine[i].y));
      depths.push_back(own * step);
    }
  }
  // The cone's flanks rise linearly from the stroke to the rim: band k of n reaches k / n of
  // the way out, where the surface is 1 - k / n of the stroke's depth; it is shaded with the
  // depth halfway across the ring it adds.
  for (std::size_t r = 0; r < out.runs.size(); ++r) {
    if (!(depths[r] > 0)) continue;
    const double width = 2 * halfWidthAt(settings, depths[r]);
    for (int k = kCarveBands; k >= 1; --k) {
      const double reach = double(k) / kCarveBands;
      out.bands.push_back({static_cast<std::int32_t>(r), width * reach,
                           depths[r] * (1 - reach + 0.5 / kCarveBands)});
    }
  }
  std::stable_sort(out.bands.begin(), out.bands.end(),
                   [](const CarveBand& a, const CarveBand& b) { return a.depth < b.depth; });
  return out;
}

}  // namespace kerfline
