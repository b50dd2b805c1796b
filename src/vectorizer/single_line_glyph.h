#pragma once
// A single-line glyph as open paths of straight strokes in outline units.
#include "vectorizer/single_line_font.h"
#include "vectorizer/stroke_collection.h"

namespace kerfline {

/// Height of the capital "H" of Liberation Sans in outline units (1409 of its 2048 units per
/// em, at the em of 1365): a single-line face's capitals are drawn this tall.
inline constexpr double kReferenceCapHeight = 1409.0 * 1365.0 / 2048.0;

/// How a single-line font's own units become outline units:
/// outline x = (x - glyph.left) * scale, outline y = (y - baseline) * scale (Y up) or
/// (baseline - y) * scale (Hershey, Y down).
struct SingleLineMetrics {
  double scale = 1;     ///< outline units per font unit
  double baseline = 0;  ///< the font's y of the baseline
  bool yDown = false;   ///< the font's Y grows downward
};

/// The mapping of font: its capital "H" (when it is a letter of about the usual size) or
/// the format's nominal capital (Hershey: y -12..9, LFF: 0..9) becomes kReferenceCapHeight
/// tall with its foot on the baseline.
SingleLineMetrics metricsOf(const SingleLineFont& font);

/// Appends glyph's strokes to out as open paths: contour i is path i, arcs flattened into
/// precision strokes each, paths that continue one another joined, a lone point a
/// zero-length stroke (a dot). Sets out's open-path mark and the advance: the glyph's
/// bounds for Hershey, its width plus the letter spacing for LFF.
void appendSingleLineStrokes(const SingleLineFont& font, const SingleLineMetrics& metrics,
                             const SingleLineGlyph& glyph, int precision, TStrokeCollection& out);

/// The points of the arc from a to b with the given bulge, in n straight pieces: n + 1 points,
/// the first a and the last b exactly.
std::vector<FontVertex> flattenArc(const FontVertex& a, const FontVertex& b, double bulge, int n);

}  // namespace kerfline
