#pragma once
// Qt-free choice of the job view's grid and ruler steps, and the ruler's number texts.
#include <cstdint>
#include <string>

namespace kerfline {

/// Grid spacing in drawing units.
struct GridSpacing {
  double major = 1;  ///< 1, 2 or 5 times a power of ten: labelled ruler ticks, darker lines
  double minor = 1;  ///< major divided into 4 (for a 2) or 5 equal parts
  int decimals = 0;  ///< decimals that print every major tick exactly enough
};

/// The finest spacing whose major steps lie at least minPixels apart at pixelsPerUnit.
GridSpacing gridSpacingFor(double pixelsPerUnit, double minPixels);

/// The grid indices k (k * step in [lo, hi]) as first and last; last < first when none.
/// A range holding more than limit steps gives none, so a degenerate call cannot hang.
void gridIndices(double lo, double hi, double step, std::int64_t limit, std::int64_t& first,
                 std::int64_t& last);

/// k * step with the given decimals, '.' as separator, never "-0".
std::string rulerLabel(std::int64_t k, double step, int decimals);

}  // namespace kerfline
