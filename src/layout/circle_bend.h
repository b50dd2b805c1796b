#pragma once
#include "geometry/contour.h"
#include "layout/bend_lines.h"
#include "layout/sign_layout.h"

namespace kerfline {

/// Bends straight text onto circles about the origin as layout's arc options say: line k on
/// the circle of radius arcRadius + its baseline (top side) or arcRadius - its baseline
/// (bottom side), so that later lines lie inside (top) or outside (bottom) by the pitch.
/// A line's X runs along its circle as arc length from the line's anchor (its start, middle or
/// end), clockwise on the top side and counter-clockwise on the bottom, whose letters face the
/// centre. Rigid letters are turned whole about the middle of their advance on the baseline;
/// warped ones have every point (their edges first divided finely enough to follow the
/// circle) moved to its arc length and radius. Throws Error when a line does not fit on its
/// circle or its circle has no radius left. Warped edges stray at most tolerance (drawing
/// units, above 0) from their arcs where they stand on the baseline, by the stretch more above
/// it.
void bendOntoCircle(Drawing& drawing, const SignLayout& layout, double tolerance = kSignChordTolerance);

/// The most bendOntoCircle's warp lengthens a distance in drawing (its lines' circles at
/// their letters' heights against their baselines); 1 without a warp. Throws Error as
/// bendOntoCircle.
double circleWarpStretch(const Drawing& drawing, const SignLayout& layout);

}  // namespace kerfline
