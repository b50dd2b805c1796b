#include "export/toolpath_export.h"

#include "common/code_pages.h"
#include "geometry/weld.h"

namespace kerfline {

bool changesPaths(const ConversionOptions& options) {
  return options.weld || (options.kerf && options.kerfSide != KerfSide::On);
}

std::vector<VanishedPath> applyWeldAndKerf(Drawing& drawing, const ConversionOptions& options) {
  if (options.weld) weldOverlaps(drawing);
  if (!options.kerf || options.kerfSide == KerfSide::On) return {};
  const double half = *options.kerf / 2;
  return offsetForKerf(drawing, options.kerfSide == KerfSide::Outside ? half : -half);
}

std::string vanishedSummary(const std::vector<VanishedPath>& vanished) {
  if (vanished.empty()) return {};
  std::string out = "Kerf: " + std::to_string(vanished.size()) +
                    (vanished.size() == 1 ? " ring is" : " rings are") +
                    " narrower than the kerf and not cut:";
  for (std::size_t i = 0; i < vanished.size(); ++i) {
    const VanishedPath& v = vanished[i];
    out += i == 0 ? " " : "; ";
    out += v.hole ? "a hole of \"" : "a part of \"";
    appendUtf8(out, v.character);
    out += "\" at position " + std::to_string(v.position) + " (line " + std::to_string(v.line + 1) + ")";
  }
  out += '.';
  return out;
}

}  // namespace kerfline
