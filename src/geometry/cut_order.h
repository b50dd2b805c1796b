#pragma once
#include "geometry/contour.h"

namespace kerfline {

/// Finds the nesting depth of every closed contour of the character geometrically (not from
/// the font's winding), turns outlines counter-clockwise and holes clockwise, and orders the
/// contours so that every hole comes before the outline that holds it (deepest first).
/// Open paths keep their direction and follow in their own order.
void orderForCutting(PlacedCharacter& character);

/// Moves every character that lies inside another's ring (a letter in the counter of an "O",
/// letters in a frame) to just before the character holding it, so that nothing is cut after
/// the part around it has come loose; characters that nest in no other keep their order.
/// Reads the depths each character's own orderForCutting left, and costs about a box test per
/// character where nothing nests.
void orderAcrossCharacters(Drawing& drawing);

/// orderForCutting for every character of the drawing, then orderAcrossCharacters.
void orderForCutting(Drawing& drawing);

}  // namespace kerfline
