#pragma once
// The medial axis of a letter region: the centre line a V-bit follows so that its flanks just
// touch the outline, with the distance to the outline at every point.
//
// How the V-carve step calls it:
//   1. Weld the drawing (geometry/weld.h) so that touching letters form one region.
//   2. For each welded character: rings = regionRingsOf(character), the region exactly as the
//      polygon library's union left it on its integer grid (no second rounding, so no two
//      boundary segments cross).
//   3. axis = medialAxis(rings, tolerance), tolerance in drawing units (the chord deviation the
//      flattening allows). Each point carries r, its distance to the outline in drawing units.
//   4. Depth at a point: z = -min(r / tan(angle / 2), maxDepth). Where r exceeds the depth the
//      bit can reach, the flat floor between is a pocket, not this module's concern.
//   5. Chain axis.edges into paths: edges meet at shared vertex indices; a vertex with one edge
//      is a corner tip (r = 0 at a sharp convex corner), three or more edges a branch point.
// Refuses (Error) a region whose extent does not fit the voronoi builder's 32-bit coordinates.
#include <cstdint>
#include <vector>

#include "geometry/contour.h"

namespace kerfline {

/// A point of the integer grid the polygon library computes on (kClipperScale steps per unit).
struct GridPoint {
  std::int64_t x = 0;
  std::int64_t y = 0;
  friend bool operator==(const GridPoint&, const GridPoint&) = default;
};

/// A closed ring on the grid: outlines counter-clockwise (Y up), holes clockwise, so the region
/// lies left of every segment. Rings never cross; they may touch at a corner (also one lying on
/// another segment) or run along one stretch in opposite directions, as a union leaves them.
using GridRing = std::vector<GridPoint>;

/// A point of the axis with its clearance.
struct AxisPoint {
  Vec2 position;    ///< drawing units
  double radius = 0;  ///< distance to the outline, drawing units
  friend bool operator==(const AxisPoint&, const AxisPoint&) = default;
};

/// One edge of the axis between two vertices, as a polyline.
struct AxisEdge {
  int from = 0;                   ///< index into MedialAxis::vertices
  int to = 0;                     ///< index into MedialAxis::vertices
  std::vector<AxisPoint> points;  ///< from's point first, to's point last, at least two
};

/// The medial axis as a graph.
struct MedialAxis {
  std::vector<AxisPoint> vertices;  ///< every end of an edge, each once
  std::vector<AxisEdge> edges;      ///< each edge once, in no particular order
};

/// The region of character's closed contours by the non-zero rule, as the polygon library's
/// union leaves it on its grid. Throws Error for a coordinate beyond the grid.
std::vector<GridRing> regionRingsOf(const PlacedCharacter& character);

/// The medial axis of the region the rings bound. Curved (parabolic) edges are flattened so that
/// neither the polyline nor its linearly interpolated radius departs from the exact axis by more
/// than tolerance (drawing units, > 0). Throws Error when the rings' extent exceeds 2^31 - 1
/// grid steps in x or y (about 2,147 drawing units), or tolerance is not positive.
MedialAxis medialAxis(const std::vector<GridRing>& rings, double tolerance);

}  // namespace kerfline
