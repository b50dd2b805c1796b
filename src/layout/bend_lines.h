#pragma once
// What bending text onto a circle and onto a path share: each line's span, its anchor, and
// letters kept rigid or warped point by point along the line's bent baseline.
#include <cstdint>
#include <functional>

#include "geometry/contour.h"
#include "layout/sign_layout.h"

namespace kerfline {

/// One line of straight text: where its advances run and its baseline.
struct LineSpan {
  double start = 0;     ///< X where the first advance begins
  double end = 0;       ///< X where the last ends
  double baseline = 0;  ///< Y of the baseline
};

/// A line's baseline once bent, by arc length s from the line's anchor: the point there and the
/// unit tangent in reading direction (the letters' up is the tangent turned a quarter turn
/// counter-clockwise); warped edges are first divided into pieces of at most step.
struct BentBaseline {
  std::function<Vec2(double s)> at;
  std::function<Vec2(double s)> tangent;
  double step = 1;
  /// The most the warp lengthens a piece along the line at arc length s and height h above
  /// the baseline (|1 - k h| for the bend's curvature k there), unset where it is 1.
  std::function<double(double s, double h)> stretch;
};

/// Makes the bent baseline of line number line (0-based) from its span; anchorX is the X of
/// the line that goes to arc length 0. May throw Error when the line does not fit.
using BaselineMaker =
    std::function<BentBaseline(std::int32_t line, const LineSpan& span, double anchorX)>;

/// Bends every line of drawing along the baseline makeBaseline gives it, anchored at its start,
/// middle or end by align: rigid letters turned whole about the middle of their advance (their
/// ink's width without one), or every point moved to its arc length and height. Advances are
/// dropped: they no longer run straight.
void bendLines(Drawing& drawing, BendMode mode, ArcAlign align, const BaselineMaker& makeBaseline);

/// The most bendLines, warping, would lengthen a distance anywhere in drawing (1 for none,
/// never less): a curve flattened before the warp strays from its chords by as much more.
/// May throw Error as makeBaseline.
double warpStretch(const Drawing& drawing, ArcAlign align, const BaselineMaker& makeBaseline);

}  // namespace kerfline
