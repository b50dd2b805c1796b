#pragma once
// The area a set of rings bounds, on Clipper's grid, and its inward offsets (fill sources only).
#include <vector>

#include "geometry/clipper_scale.h"

namespace kerfline {

/// The area the closed rings bound by the even-odd rule (rings that do not cross, as the weld
/// leaves them, whichever way each runs), as Clipper's union gives it: outlines counter-
/// clockwise, holes clockwise. Open contours are left out.
ClipperLib::Paths evenOddRegion(const std::vector<Contour>& rings);

/// region moved inward by distance (drawing units, >= 0) with round joins whose chords stray
/// at most tolerance from the true arcs, always toward the inside: every point of the result
/// is at least distance from the region's edge.
void insetTree(const ClipperLib::Paths& region, double distance, double tolerance,
               ClipperLib::PolyTree& tree);

/// The same as paths.
ClipperLib::Paths inset(const ClipperLib::Paths& region, double distance, double tolerance);

/// Area of the paths (outlines positive, holes negative), in square drawing units.
double areaOf(const ClipperLib::Paths& paths);

/// The ring of a tree node in drawing units, closed, its grid-noise edges dropped.
Contour ringOf(const ClipperLib::Path& path, int depth);

}  // namespace kerfline

namespace kerfline {

/// region moved outward by distance (drawing units, >= 0) with round joins (their chords lie
/// inside the true arcs, so the result never reaches further than distance).
ClipperLib::Paths outset(const ClipperLib::Paths& region, double distance, double tolerance);

}  // namespace kerfline
