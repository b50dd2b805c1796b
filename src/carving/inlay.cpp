#include "carving/inlay.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "common/error.h"
#include "geometry/clipper_scale.h"

namespace kerfline {

InlayDepths inlayDepths(double depth, double glueGap) {
  if (!(std::isfinite(depth) && depth > 0))
    throw Error("An inlay needs a finite depth: give --inlay-depth, --max-depth or --bit-diameter.");
  if (!(std::isfinite(glueGap) && glueGap > 0 && glueGap < depth))
    throw Error("The glue gap must lie above 0 and below the inlay's depth.");
  return {depth, depth - glueGap, depth, glueGap};
}

PlugRegion plugRegion(const std::vector<std::vector<GridRing>>& letters, double margin) {
  if (!(std::isfinite(margin) && margin >= 0) || !withinGrid(margin))
    throw Error("The inlay's margin must be a number of at least 0.");
  constexpr auto kMax = std::numeric_limits<std::int64_t>::max();
  std::int64_t x0 = kMax, y0 = kMax, x1 = -kMax, y1 = -kMax;
  for (const std::vector<GridRing>& rings : letters)
    for (const GridRing& ring : rings)
      for (const GridPoint& p : ring) {
        x0 = std::min(x0, p.x), x1 = std::max(x1, p.x);
        y0 = std::min(y0, p.y), y1 = std::max(y1, p.y);
      }
  if (x0 > x1) throw Error("An inlay needs letters with an area: single-line faces have none.");
  // Mirrored about the box's centre, x -> x0 + x1 - x, the points stay on the grid exactly.
  ClipperLib::Paths mirrored;
  for (const std::vector<GridRing>& rings : letters)
    for (const GridRing& ring : rings) {
      ClipperLib::Path& path = mirrored.emplace_back();
      for (const GridPoint& p : ring) path.push_back({x0 + x1 - p.x, p.y});
    }
  const auto m = static_cast<ClipperLib::cInt>(std::llround(margin * kClipperScale));
  const ClipperLib::Path box = {{x0 - m, y0 - m}, {x1 + m, y0 - m}, {x1 + m, y1 + m}, {x0 - m, y1 + m}};
  // Mirroring turns each ring's direction; the non-zero rule takes either. A strictly simple
  // result, as regionRingsOf's, touches itself only at segment ends.
  ClipperLib::Clipper clipper;
  clipper.StrictlySimple(true);
  ClipperLib::Paths region;
  clipperCall([&] {
    clipper.AddPath(box, ClipperLib::ptSubject, true);
    clipper.AddPaths(mirrored, ClipperLib::ptClip, true);
    clipper.Execute(ClipperLib::ctDifference, region, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
  });
  PlugRegion out;
  for (const ClipperLib::Path& path : region) {
    GridRing& ring = out.rings.emplace_back();
    ring.reserve(path.size());
    for (const ClipperLib::IntPoint& p : path) ring.push_back({p.X, p.Y});
  }
  out.mirrorX = (static_cast<double>(x0) + static_cast<double>(x1)) / 2 / kClipperScale;
  out.left = static_cast<double>(x0 - m) / kClipperScale;
  out.right = static_cast<double>(x1 + m) / kClipperScale;
  out.bottom = static_cast<double>(y0 - m) / kClipperScale;
  out.top = static_cast<double>(y1 + m) / kClipperScale;
  return out;
}

}  // namespace kerfline
