#pragma once
// Outline faces made for engraving draw each stroke as a closed contour that runs out along
// the stroke and back along the same points: cut as it is, the tool would pass twice.
#include <optional>
#include <vector>

#include "geometry/contour.h"

namespace kerfline {

/// The open path a closed ring runs along and back, or nothing when it does not. A ring
/// retraces when, read from one of its points both ways round, it meets the same points
/// (p[i+j] and p[i-j] within tolerance in x and in y, for every j): the ring is then a path
/// out and the same path back, and the path runs p[i], p[i+1], ... p[i+n/2]. A ring of two
/// points is a single stroke. The tolerance allows for the rounding of each flattened point to
/// whole outline units, which may round a curve's way back one unit off its way out; a ring
/// that encloses area (the thin "l" of a condensed face, a stroke some twenty units wide) has
/// its two sides far further apart and never retraces.
std::optional<std::vector<Vec2>> retracedPath(const std::vector<Vec2>& ring, double tolerance = 0);

/// Replaces every closed contour of the character that retraces itself (within tolerance,
/// in drawing units) by the open path it retraces, so that it is cut once.
void openRetracingContours(PlacedCharacter& character, double tolerance);

}  // namespace kerfline
