#pragma once
#include "geometry/contour.h"
#include "layout/sign_layout.h"

namespace kerfline {

/// Adds the frame and mounting holes layout asks for, as one more character on a line of its
/// own after the text: the frame ring around everything (so the cut order puts it last) and
/// the holes inside it (cut before it). The frame keeps frameMargin from the fit box when one
/// is given, else from every point of the text: a rectangle around the extent, its corners
/// rounded (the sides pushed out where a corner larger than the margin would come closer), an
/// ellipse of the extent's proportions around every point (for text on a circle without a
/// box, a circle about the circle's centre), or the letters welded and grown by
/// frameSize. Two holes sit left and right at mid-height, four in the corners, holeInset
/// from the frame's extent (on an ellipse, along its axes and diagonals). Round parts are cut
/// into chords that stray at most tolerance (drawing units, above 0) from them: outside a
/// frame's curve, inside a hole's. Throws Error for a size that is not above 0.
void addFrameAndHoles(Drawing& drawing, const SignLayout& layout,
                      double tolerance = kSignChordTolerance);

/// The chords of a circle of radius r about centre (counter-clockwise from angle 0), inside
/// it and at most tolerance from it.
Contour circleRing(const Vec2& centre, double r, double tolerance = kSignChordTolerance);

}  // namespace kerfline
