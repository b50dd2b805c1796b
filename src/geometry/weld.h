#pragma once
#include <cstddef>
#include <limits>
#include <utility>
#include <vector>

#include "geometry/contour.h"

namespace kerfline {

/// Welds overlapping outlines so that no cut runs through a neighbouring letter: the closed
/// contours of characters whose areas overlap (on one line, or across lines) become the outline
/// of their union by the non-zero rule, holes kept. Each group of overlapping characters becomes
/// one PlacedCharacter with the position, code point and line of its first character; a
/// character that overlaps nothing stays on its own (its own overlapping contours still merge).
/// Open paths are never welded: they keep their points and follow their character's rings.
/// The result is ordered for cutting. Throws Error for a coordinate beyond the integer grid.
/// checkpoint is called between characters. A short edge of the union may go where dropping it
/// moves the outline by at most bend (drawing units; never less than kShortEdgeBend): the
/// stray a kerf's round joins are allowed, when welding paths already offset.
/// Works on any subset of a drawing's characters (one line of text, say) alike.
void weldOverlaps(Drawing& drawing, const Checkpoint& checkpoint = {}, double bend = 0);

/// The first limit pairs of characters (indices into drawing.characters, first < second, in
/// that order) whose closed contours' areas overlap: cutting them one by one cuts each into
/// the other. Stops at the limit-th pair: text stacked on itself has pairs by the million.
/// checkpoint is called between characters.
std::vector<std::pair<std::size_t, std::size_t>> overlappingCharacters(
    const Drawing& drawing, const Checkpoint& checkpoint = {},
    std::size_t limit = std::numeric_limits<std::size_t>::max());

}  // namespace kerfline
