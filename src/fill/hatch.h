#pragma once
#include <vector>

#include "geometry/contour.h"

namespace kerfline {

/// How a region is hatched.
struct HatchSettings {
  double interval = 0.1;         ///< distance between neighbouring lines, drawing units (> 0)
  double angleDegrees = 0;       ///< direction of the lines, counter-clockwise from X
  bool crossHatch = false;       ///< a second set of lines at the angle + 90 after the first
  bool unidirectional = false;   ///< every line cut the same way (else back and forth)
};

/// Parallel lines inside the area the closed rings bound (read even-odd: rings that do not
/// cross, as the weld leaves them, so holes stay empty), each an open two-point contour in its
/// cutting direction. Lines lie at whole multiples of the interval from the origin across
/// their direction, so neighbouring letters share one set of lines. Each line is clipped
/// exactly where it crosses a ring edge (in doubles, no grid). Back and forth, the lines are
/// ordered in zigzag chains: each line followed by an overlapping line on the next row, run the
/// other way. Open contours are ignored.
std::vector<Contour> hatchLines(const std::vector<Contour>& rings, const HatchSettings& settings);

}  // namespace kerfline
