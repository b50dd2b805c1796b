#include "fill/offset_fill.h"

#include <string>

#include "common/error.h"
#include "fill/region_offsets.h"
#include "geometry/clipper_region.h"

namespace kerfline {
namespace {

// More offsets than this in one region are refused: an interval far too small for the letters.
constexpr int kMaxOffsets = 20000;

}  // namespace

std::vector<Contour> offsetFill(const std::vector<Contour>& rings, double interval,
                                double tolerance) {
  std::vector<Contour> out;
  if (!(interval > 0)) return out;
  const ClipperLib::Paths region = evenOddRegion(rings);
  if (region.empty()) return out;
  for (int k = 0;; ++k) {
    if (k >= kMaxOffsets)
      throw Error("The offset fill needs more than " + std::to_string(kMaxOffsets) +
                  " offsets: the interval is too small for the letters.");
    ClipperLib::PolyTree tree;
    insetTree(region, interval / 2 + k * interval, tolerance, tree);
    std::vector<Contour> level = contoursOf(tree, 0);
    if (level.empty()) break;
    for (Contour& c : level) out.push_back(std::move(c));
  }
  return out;
}

}  // namespace kerfline
