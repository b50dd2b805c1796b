#pragma once
#include <utility>

#include "geometry/contour.h"
#include "layout/sign_layout.h"

namespace kerfline {

/// Scales and moves drawing into the box from the origin to (boxWidth, boxHeight) less the
/// margin on every side: uniformly to the largest size that fits (or, with stretch, each
/// direction filling the box), then set against the anchor's sides. Nothing happens without a
/// box. Throws Error when the margins leave no room or the text has no width or height to fit.
void fitIntoBox(Drawing& drawing, const SignLayout& layout);

/// The factors along X and Y by which fitIntoBox scales a drawing of extent e; (1, 1) without
/// a box or for an empty extent. Throws Error as fitIntoBox.
std::pair<double, double> boxScales(const Extent& e, const SignLayout& layout);

}  // namespace kerfline
