#pragma once
#include <vector>

#include "geometry/contour.h"

namespace kerfline {

/// Where a point lies against a closed ring.
enum class RingSide { Outside, Inside, OnBoundary };

/// Signed area of the closed ring (last point joined to the first): positive when
/// the ring runs counter-clockwise in Y-up drawing units, negative clockwise, 0 without area.
double signedArea(const std::vector<Vec2>& ring);

/// Where p lies against the closed ring by the even-odd rule; a point on an edge or vertex
/// is OnBoundary.
RingSide locatePoint(const Vec2& p, const std::vector<Vec2>& ring);

/// The extent of the points.
Extent extentOf(const std::vector<Vec2>& points);

/// Removes consecutive equal points (the zero-length edges); for a closed ring also the points
/// at its end that repeat its first point, since the ring joins back to it anyway.
void removeRepeatedPoints(Contour& contour);

/// Reverses the running direction of a closed ring, keeping its first point first.
void reverseRing(Contour& contour);

}  // namespace kerfline
