#pragma once
#include <vector>

#include "geometry/contour.h"

namespace kerfline {

/// Concentric offsets inside the area the closed rings bound (even-odd): the first half the
/// interval inside the edge, so that a beam as wide as the interval reaches the edge and no
/// further, then an interval apart inward until nothing is left. Every offset is one closed
/// ring; depth counts its nesting within its own offset (0 an outline, 1 a hole ...), outer
/// offsets first.
std::vector<Contour> offsetFill(const std::vector<Contour>& rings, double interval,
                                double tolerance = 0.01);

}  // namespace kerfline
