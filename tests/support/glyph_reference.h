#pragma once
// Measures rings against a glyph's true curves as fontTools reads them and shapely measures
// them (glyph_reference.py): the independent check of flattening and arc fitting.
#include <string>
#include <vector>

namespace kerfline::test {

/// A point of a ring under test, output units.
struct RingPoint {
  double x = 0;
  double y = 0;
};

/// One glyph and the rings that stand for its contours, in the font's contour order.
struct GlyphRings {
  std::string fontFile;  ///< the face's file
  int fontIndex = 0;     ///< face index within it
  char32_t code = 0;     ///< the character whose glyph it is
  double scale = 1;      ///< output units per font unit
  double tolerance = 0;  ///< for the fixed-chord search
  std::vector<std::vector<RingPoint>> rings;  ///< closed, last point not repeated
};

/// What the reference says of one glyph's rings.
struct GlyphMeasure {
  double hausdorff = -1;   ///< largest Hausdorff distance of a ring from its true contour
  int fixedChords = 0;     ///< fewest equal chords per piece within tolerance (0: none to 200)
  int fixedSegments = 0;   ///< segments of that fixed flattening
  std::string error;       ///< set when the case could not be measured
};

/// Measures every case in one run of the reference script.
std::vector<GlyphMeasure> measureGlyphRings(const std::vector<GlyphRings>& cases);

}  // namespace kerfline::test
