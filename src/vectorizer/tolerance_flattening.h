#pragma once
// Outline records -> closed polylines in output coordinates, each curve piece cut into as few
// equal-parameter chords as keep every point of the true curve within a tolerance.
//
// How to call it. The fixed-count walk (walkOutline, the converter's Precision) stays what the
// classic files are made of; this is the other way to the same contours:
//
//   Outline outline;                                   // records in outline units
//   converter.OutlineOfChar(code, outline);            // the glyph ConvertChar would take
//   const OutlineTransform map =                       // outline units -> drawing units
//       OutlineTransform::scaling(unitScale * fit).then(placement);
//   for (FlatContour& ring : flattenOutline(outline, map, T)) ...  // polygon i -> ring i
//
// The map must be the whole way to the coordinates the machine cuts in (scale from outline
// units, fit factor, rotation, slant, mirror), because the tolerance is a distance there: a
// glyph flattened at the outline em and scaled afterwards would carry the error times the scale.
// Records are cheap to keep (a few hundred points a glyph), so a cache may keep them per glyph
// and flatten once per size. Each vertex carries the true curve's unit tangents on both sides,
// which the arc fitter (geometry/arc_fitting.h) uses to find corners and to join its arcs.
#include <cstddef>
#include <vector>

#include "vectorizer/outline_records.h"

namespace kerfline {

/// An affine map from outline units to output coordinates:
/// (x, y) -> (xx x + xy y + dx, yx x + yy y + dy).
struct OutlineTransform {
  double xx = 1, xy = 0, yx = 0, yy = 1;  ///< linear part
  double dx = 0, dy = 0;                  ///< translation

  /// A uniform scale about the origin.
  static OutlineTransform scaling(double s) { return {s, 0, 0, s, 0, 0}; }
  /// This map followed by next.
  OutlineTransform then(const OutlineTransform& next) const;
  /// The image of p.
  OutlinePoint apply(const OutlinePoint& p) const {
    return {xx * p.x + xy * p.y + dx, yx * p.x + yy * p.y + dy};
  }
  friend bool operator==(const OutlineTransform&, const OutlineTransform&) = default;
};

/// One polygon of the outline flattened: a closed ring (the last point joins the first and is
/// not repeated), consecutive points distinct. tangentIn[i] is the unit direction in which the
/// true outline arrives at points[i], tangentOut[i] the one in which it leaves; they differ
/// only at a corner. (0, 0) where the outline has no direction there (a cusp).
struct FlatContour {
  std::vector<OutlinePoint> points;      ///< output coordinates
  std::vector<OutlinePoint> tangentIn;   ///< one per point
  std::vector<OutlinePoint> tangentOut;  ///< one per point
  friend bool operator==(const FlatContour&, const FlatContour&) = default;
};

/// Chords a curve piece is cut into so that it stays within tolerance of them, from
/// maxSecondDerivative, a bound of |B''(t)| over the piece in output units. At least 1; a
/// bound that is not a finite number gives 1, a huge one stops at kMaxChordsPerPiece.
int chordsForTolerance(double maxSecondDerivative, double tolerance);

/// The most chords one piece is cut into, whatever the font says (a hostile outline must
/// not exhaust memory); at 1 um tolerance that still covers a piece 6 m across.
inline constexpr int kMaxChordsPerPiece = 1 << 16;

/// Every polygon of outline mapped by map and flattened within tolerance (output units, a
/// number above 0; throws Error otherwise). Polygon i gives ring i; a polygon whose points
/// all coincide gives a ring of one point, one without records a ring of its start point.
std::vector<FlatContour> flattenOutline(const Outline& outline, const OutlineTransform& map,
                                        double tolerance);

}  // namespace kerfline
