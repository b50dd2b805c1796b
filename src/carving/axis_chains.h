#pragma once
// The medial axis as few continuous strokes as possible: the V-bit stays in the material along
// a whole stroke, so every stroke saved is a lift, a rapid and a plunge saved.
#include <functional>
#include <vector>

#include "carving/medial_axis.h"

namespace kerfline {

/// One continuous stroke along the axis: consecutive points are joined, a point may repeat
/// where the stroke runs back along a branch it has just cut.
using AxisChain = std::vector<AxisPoint>;

/// Every edge of axis in as few chains as the rule allows, each edge cut forward once and
/// at most once more backward. In each connected piece a chain runs from one end of its
/// longest route to the other; a side branch whose whole length is at most
/// retraceLimit(radius) (drawing units, radius the clearance where it branches off) is cut
/// there and back within the chain (cheaper than lifting out and plunging back there); a
/// longer one becomes a chain of its own from the vertex where it branches off.
std::vector<AxisChain> axisChains(const MedialAxis& axis,
                                  const std::function<double(double)>& retraceLimit);

}  // namespace kerfline
