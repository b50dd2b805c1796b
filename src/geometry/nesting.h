#pragma once
#include <vector>

#include "geometry/contour.h"

namespace kerfline {

/// How the closed rings of one character lie inside each other.
struct Nesting {
  std::vector<int> depth;   ///< per contour: 0 when no ring holds it, else its holder's + 1
                            ///< (how many rings hold it, for rings that do not cross)
  std::vector<int> parent;  ///< per contour: the innermost closed ring holding it, or -1
};

/// Finds which closed ring holds which from the geometry alone (never from the running
/// direction, which TrueType and CFF fonts choose oppositely). Rings may touch; a ring that
/// shares every point with another counts as inside the larger one (or the earlier one when
/// both are equal). Open paths hold nothing and lie in nothing.
Nesting findNesting(const std::vector<Contour>& contours);

/// For every character, the other characters (ascending) one of whose closed rings is the
/// innermost ring holding one of its outlines (its closed rings at depth 0, as each
/// character's own nesting left them): a letter in the counter of an "O", every letter in a
/// frame. Empty for a character that lies in no other.
std::vector<std::vector<std::size_t>> findCharacterHolders(
    const std::vector<PlacedCharacter>& characters);

}  // namespace kerfline
