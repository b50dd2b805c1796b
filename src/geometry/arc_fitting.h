#pragma once
// A polyline that samples smooth curves -> tangent-continuous arcs (biarcs) and lines.
//
// How to call it. For a glyph at tolerance T, split T between the two steps so that the arcs
// stay within T of the true outline (the triangle inequality: the polyline is within the
// flattening share of the curve, the arcs within the fitting share of the polyline):
//
//   const ToleranceShares t = arcToleranceShares(T);
//   for (FlatContour& ring : flattenOutline(outline, map, t.flattening)) {
//     Contour polyline = ...ring.points as Vec2...;
//     PolylineTangents tangents{...ring.tangentIn..., ...ring.tangentOut...};
//     ArcPath path = fitArcs(polyline, t.fitting, &tangents);   // one path per ring
//   }
//
// With the curve's own tangents the corners are exactly the outline's; without them (a
// polyline from elsewhere) the tangents are estimated and a vertex where the polyline turns
// more than the corner angle is a corner. Arcs never run across a corner. Consecutive
// pieces meet with the same tangent except at corners and at lines: an arc whose radius
// exceeds kLineRadiusFactor x tolerance is written as its chord, kept only where that turns
// from the curve's tangents by at most about half a degree, and a point no arc can pass
// keeps the polyline's own chord. Pieces meet on the polyline's points or anywhere between
// within the tolerance: a band used both ways takes fewer arcs. The path starts at the polyline's first point when that is a corner (or
// the path is open), else at the corner found first after it.
#include <vector>

#include "geometry/arc_path.h"
#include "geometry/contour.h"

namespace kerfline {

/// How far the fitted path may stray and where it must keep a corner.
struct ArcFitting {
  double tolerance = 0.01;     ///< drawing units, above 0: most distance from the polyline
  double cornerDegrees = 15;   ///< a tangent break above this many degrees is a corner
};

/// Above this many tolerances of radius an arc is a line: its sagitta over any chord a glyph
/// holds stays within the tolerance, and machines treat such arcs badly.
inline constexpr double kLineRadiusFactor = 1e4;

/// The two shares of a tolerance when a curve is flattened and then fitted with arcs.
struct ToleranceShares {
  double flattening = 0;  ///< the flattening's tolerance
  double fitting = 0;     ///< the arc fitter's tolerance
};

/// How tolerance is shared between flattening and arc fitting; the shares add up to it.
ToleranceShares arcToleranceShares(double tolerance);

/// Lines and arcs within fit.tolerance of polyline (open or closed as it says), with the
/// curve's tangents where known. Throws Error for a tolerance that is not above 0 or
/// tangents of the wrong length.
ArcPath fitArcs(const Contour& polyline, const ArcFitting& fit,
                const PolylineTangents* tangents = nullptr);

}  // namespace kerfline
