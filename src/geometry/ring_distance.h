#pragma once
#include "geometry/contour.h"

namespace kerfline {

/// The extent of the points of c's closed rings.
Extent closedExtent(const PlacedCharacter& c);

/// True when an edge of a closed ring of a comes within distance (drawing units) of an edge of
/// a closed ring of b, crossing included; boxA and boxB are their closedExtent. Looks only at
/// the edges near the other character's extent, so two letters that merely share a corner of
/// their boxes cost a few edges.
bool closedRingsWithin(const PlacedCharacter& a, const Extent& boxA, const PlacedCharacter& b,
                       const Extent& boxB, double distance);

}  // namespace kerfline
