#pragma once
#include <cstddef>
#include <vector>

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

/// The order orderAcrossCharacters puts characters in.
struct CrossCharacterOrder {
  std::vector<std::size_t> order;  ///< indices into the characters, in cutting order
  /// Per entry of order, the smallest index of its run: characters lying in one another are
  /// cut in one run that ends with the outermost, and runs follow in the order of their
  /// smallest indices. Orders of sets of characters none of which lies in another set's
  /// merge so into the order of their union.
  std::vector<std::size_t> tree;
};

/// How orderAcrossCharacters orders characters, without moving them.
CrossCharacterOrder crossCharacterOrder(const std::vector<PlacedCharacter>& characters);

/// orderForCutting for every character of the drawing, then orderAcrossCharacters.
void orderForCutting(Drawing& drawing);

}  // namespace kerfline
