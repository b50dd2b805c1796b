#pragma once
#include "geometry/contour.h"
#include "layout/sign_layout.h"

namespace kerfline {

/// Sets a placed drawing (straight lines from the layout, not yet made ready to cut) as a sign:
/// stretched and slanted along its lines, bent onto a circle or a path, turned and mirrored about the
/// origin, fitted into the box, then given its frame and holes. Throws Error, before changing
/// anything, for a value no sign can have (a stretch not above 0, a slant of 90 degrees or
/// more, a box not above 0), and as the steps do.
void placeSign(Drawing& drawing, const SignLayout& layout);

/// The most placeSign's stretch and slant lengthen a distance (1 for none, never less): a
/// curve flattened before them strays from its polyline by as much more. The turn, the
/// mirror and rigid letters on a bend keep lengths. Throws Error as placeSign.
double signShapeStretch(const SignLayout& layout);

/// The larger of the factors by which placeSign's fit box scales drawing: how much a curve's
/// flattening error grows in the sign. 1 without a box. Throws Error as placeSign.
double signBoxScale(const Drawing& drawing, const SignLayout& layout);

}  // namespace kerfline
