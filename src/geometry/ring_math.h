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

/// Shortest edge, in drawing units, of a ring the contour model makes from a union or an
/// offset: a micrometre in millimetres. Clipper's sweep leaves edges of a few grid steps where
/// it splits an edge at a crossing; no machine resolves them, and a G-code file written to
/// four decimals would turn them into moves of length zero.
inline constexpr double kShortestEdge = 1e-3;

/// How far, in drawing units, dropping a short edge may at least move a ring: ten grid steps.
/// An offset may move it as far as its round joins already stray from the true arc; a short
/// edge that bends the ring further (the chords of a round join of a tiny kerf) is shape, not
/// noise, and stays.
inline constexpr double kShortEdgeBend = 1e-5;

/// Drops every point closer than shortest to the point kept before it whose removal moves
/// the ring by at most bend (its distance from the line joining its neighbours); points
/// closer than bend always go. The first point is kept; a closed ring also loses the points
/// at its end that are that close to its first.
void dropShortEdges(Contour& contour, double shortest, double bend);

/// Reverses the running direction of a closed ring, keeping its first point first (its
/// tangents turned with it).
void reverseRing(Contour& contour);

/// Turns a closed ring to start at its point number start, its tangents with it; an open
/// path or a start past the end is left as it is.
void startRingAt(Contour& ring, std::size_t start);

}  // namespace kerfline
