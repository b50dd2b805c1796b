#pragma once
#include "geometry/contour.h"
#include "layout/bend_lines.h"
#include "layout/sign_layout.h"

namespace kerfline {

/// Bends straight text along layout's SVG path (its first subpath, Y turned up): each line's
/// anchor at the path offset, X running as arc length along the path, later lines offset to
/// its right by their baseline; rigid letters turned to the path's direction at the middle of
/// their advance, or every point warped. Throws Error for path data that cannot be read or
/// draws nothing, and when a line runs off either end of the path, saying how much longer the
/// path must be. The path's curves are read, and warped edges divided, within tolerance
/// (drawing units, above 0); a warped edge strays by the stretch more above the path.
void bendOntoPath(Drawing& drawing, const SignLayout& layout, double tolerance = kSignChordTolerance);

/// The most bendOntoPath's warp lengthens a distance in drawing (the path's curvature at its
/// letters' heights); 1 without a warp. Throws Error as bendOntoPath.
double pathWarpStretch(const Drawing& drawing, const SignLayout& layout);

}  // namespace kerfline
