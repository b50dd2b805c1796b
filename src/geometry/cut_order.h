#pragma once
#include "geometry/contour.h"

namespace kerfline {

/// Finds the nesting depth of every closed contour of the character geometrically (not from
/// the font's winding), turns outlines counter-clockwise and holes clockwise, and orders the
/// contours so that every hole comes before the outline that holds it (deepest first).
/// Open paths keep their direction and follow in their own order.
void orderForCutting(PlacedCharacter& character);

/// orderForCutting for every character of the drawing; the characters keep their order.
void orderForCutting(Drawing& drawing);

}  // namespace kerfline
