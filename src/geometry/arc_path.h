#pragma once
// A path of straight lines and circular arcs, in the form every writer can take it from:
// vertices, each with the bulge of the piece that leaves it.
//
// How a writer uses it. A vertex's bulge is tan(sweep / 4) of the piece to the next vertex:
// 0 a line, positive an arc turning counter-clockwise (Y up), negative clockwise, 1 a half
// circle. That is the DXF bulge as it stands, group 42 of an R12 VERTEX or of an R2000
// LWPOLYLINE vertex. For SVG's `A` and G-code's G2/G3 with I J, arcGeometry() gives the centre
// and radius at full precision: take them from it, never recompute them from rounded numbers,
// so that start and end radius agree to far below a micrometre. Where a tool cannot take arcs
// (the job view, the reports, the checks), sampleArcPath() gives a polyline within a tolerance.
#include <cstddef>
#include <vector>

#include "geometry/contour.h"

namespace kerfline {

/// One vertex of a path of lines and arcs: where a piece starts, and how it bends.
struct ArcVertex {
  Vec2 at;            ///< drawing units
  double bulge = 0;   ///< tan(sweep / 4) of the piece to the next vertex; 0 a line
  friend bool operator==(const ArcVertex&, const ArcVertex&) = default;
};

/// A path of lines and arcs: closed (the last vertex's piece returns to the first vertex) or
/// open (the last vertex ends the path; its bulge is unused).
struct ArcPath {
  std::vector<ArcVertex> vertices;  ///< in cutting direction
  bool closed = true;               ///< as Contour::closed
  friend bool operator==(const ArcPath&, const ArcPath&) = default;
};

/// The circle of one arc piece.
struct ArcGeometry {
  Vec2 centre;             ///< drawing units, full precision
  double radius = 0;       ///< drawing units
  double startAngle = 0;   ///< radians, of the start point seen from the centre
  double sweep = 0;        ///< radians, positive counter-clockwise; 4 atan(bulge)
};

/// The circle of the arc from a to b with the given bulge (not 0, a and b distinct).
ArcGeometry arcGeometry(const Vec2& a, const Vec2& b, double bulge);

/// The centre and radius alone of the same arc.
struct ArcCircle {
  Vec2 centre;        ///< drawing units, full precision
  double radius = 0;  ///< drawing units
};

/// arcGeometry's centre and radius without its angles: no arc tangent taken, for a caller
/// that tries many arcs (the arc fitter).
ArcCircle arcCircle(const Vec2& a, const Vec2& b, double bulge);

/// Pieces of the path: lines and arcs (a closed path has as many as vertices).
std::size_t pieceCount(const ArcPath& path);

/// The path as a polyline whose chords stay within tolerance (drawing units, above 0) of
/// every arc; lines are kept as they are. Vertices are kept as points of the polyline.
Contour sampleArcPath(const ArcPath& path, double tolerance);

}  // namespace kerfline
