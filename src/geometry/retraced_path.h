#pragma once
// Outline faces made for engraving draw each stroke as a closed contour that runs out along
// the stroke and back along the same points: cut as it is, the tool would pass twice.
#include <optional>
#include <vector>

#include "geometry/contour.h"

namespace kerfline {

/// The open path a closed ring runs along and back, or nothing when it does not. A ring
/// retraces when, read from one of its points both ways round, it meets exactly equal points
/// (p[i+j] == p[i-j] for every j): the ring is then a path out and the same path back, and
/// the path runs from p[i] to p[i+n/2]. A ring of two points is a single stroke. A ring that
/// encloses area, however thin (a condensed "l"), has distinct points on its two sides and
/// never retraces.
std::optional<std::vector<Vec2>> retracedPath(const std::vector<Vec2>& ring);

/// Replaces every closed contour of the drawing that retraces itself by the open path it
/// retraces (cut once).
void openRetracingContours(Drawing& drawing);

}  // namespace kerfline
