#pragma once
#include "geometry/contour.h"
#include "layout/bend_lines.h"
#include "layout/sign_layout.h"

namespace kerfline {

/// Sets a placed drawing (straight lines from the layout, not yet made ready to cut) as a sign:
/// stretched and slanted along its lines, bent onto a circle or a path, turned and mirrored about the
/// origin, fitted into the box, then given its frame and holes. Throws Error, before changing
/// anything, for a value no sign can have (a stretch not above 0, a slant of 90 degrees or
/// more, a box not above 0), and as the steps do. The sign's own chords stray at most
/// chordTolerance (drawing units, above 0): a path's curves and warped edges before the box
/// scales them (warped ones by their stretch more), the frame's and holes' round parts.
void placeSign(Drawing& drawing, const SignLayout& layout,
               double chordTolerance = kSignChordTolerance);

/// The most placeSign's stretch and slant lengthen a distance (1 for none, never less): a
/// curve flattened before them strays from its polyline by as much more. The turn, the
/// mirror and rigid letters on a bend keep lengths. Throws Error as placeSign.
double signShapeStretch(const SignLayout& layout);

/// The most placeSign's warp (of letters on a circle or a path) lengthens a distance in
/// drawing, shaped first: a curve flattened before it strays from its chords by as much more.
/// 1 for rigid letters or no bend, never less. Throws Error as placeSign.
double signWarpStretch(const Drawing& drawing, const SignLayout& layout);

/// The larger of the factors by which placeSign's fit box scales drawing: how much a curve's
/// flattening error grows in the sign. 1 without a box. Throws Error as placeSign.
double signBoxScale(const Drawing& drawing, const SignLayout& layout);

}  // namespace kerfline
