#pragma once
#include <cstdint>
#include <optional>

#include "common/font_description.h"
#include "common/text_source.h"
#include "vectorizer/outline_records.h"
#include "vectorizer/stroke_collection.h"

namespace kerfline {

class ExportObserver;
struct ExportSettings;
class TTTFToVectorConverter;

/// The layout values both exports read before their walk.
struct LayoutParameters {
  float linePitch = -2.0f;  ///< added to OriginY at every LF
  int spacePercent = 10;    ///< SpacePc: origins stretch by 1 + SpacePc/100 when above 0
  int resolution = 2;       ///< the converter's Precision
  int scale = 100;          ///< ScaleEdit1: UnitScale = scale / 100000 * point size
  /// Above 0: outline glyphs are flattened within this many drawing units (their advance
  /// still the resolution's strokes'), else converted at the resolution. Never set for the
  /// classic files.
  double tolerance = 0;
};

/// The layout values of the window fields (a pitch that is not a number is -2).
LayoutParameters layoutParametersOf(const ExportSettings& settings);

/// Where the walk gets a character's strokes (the converter; hand-made outlines in tests).
class GlyphSource {
 public:
  virtual ~GlyphSource() = default;
  /// The strokes of code point c in font at the given precision, or nothing without outline.
  virtual std::optional<TStrokeCollection> strokesOf(const TFontDescription& font, char32_t c,
                                                     int precision) = 0;
  /// The outline records (outline units) of the glyph strokesOf converts, for flattening at a
  /// tolerance; false, dest empty, where there are none (no outline, or a single-line face's
  /// open paths, which are lines already: take the strokes).
  virtual bool outlineOf(const TFontDescription& font, char32_t c, Outline& dest) {
    (void)font;
    (void)c;
    dest.clear();
    return false;
  }
};

/// One stroke in drawing units at its place on the page, with its part in its contour.
struct PlacedStroke {
  float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  bool opensContour = false;   ///< marker "Begin": a plunge goes before it
  bool closesContour = false;  ///< marker "End": a retract goes after it
  /// Part of an open path (a single-line face): the path ends with the stroke marked
  /// closesContour, wherever that ends; a stroke of zero length opening and closing a path
  /// is a dot. Outline contours never carry it.
  bool openPath = false;
};

/// Receives the placed strokes in file order.
class StrokeSink {
 public:
  virtual ~StrokeSink() = default;
  /// One stroke of the current character.
  virtual void placeStroke(const PlacedStroke& stroke) = 0;
  /// Where the current character's advance runs (drawing units): told only by the placements
  /// that know it, for a sink that bends text; others ignore it.
  virtual void characterAdvance(double /*start*/, double /*end*/, double /*baseline*/) {}
};

/// Where the walk puts one character's glyph, in single precision.
struct GlyphOrigin {
  float shift = 0;        ///< the walk's X origin: X is placed as shift * spaceFactor + x
  float spaceFactor = 1;  ///< 1 + SpacePc / 100 when SpacePc is above 0, else 1
  float originY = 0;      ///< added to every Y
};

/// Hands the strokes of one converted glyph, scaled by unitScale and placed at origin, to sink
/// with the classic walk's contour markers; returns the glyph's width (its rightmost X before
/// placing, at least 0), by which the walk advances.
float placeGlyphStrokes(const TStrokeCollection& strokes, float unitScale,
                        const GlyphOrigin& origin, StrokeSink& sink);

/// Places the characters the walk reaches.
class GlyphPlacer {
 public:
  virtual ~GlyphPlacer() = default;
  /// Places code point c of font (converted at precision, scaled by unitScale) at origin;
  /// returns its width as placeGlyphStrokes does, or nothing when it has no outline.
  virtual std::optional<float> placeGlyph(const TFontDescription& font, char32_t c,
                                          float unitScale, int precision,
                                          const GlyphOrigin& origin) = 0;
};

/// The character walk, each character's placing left to placer: every position of text in
/// order, LF starting a new line, CR and LF not placed; a character without outline advances
/// by the widest character so far.
void walkGlyphs(const TextSource& text, const LayoutParameters& layout, GlyphPlacer& placer,
                ExportObserver* observer);

/// The character walk shared by both exports: every position of text in order, LF starting
/// a new line, CR and LF not converted, each other character converted in its own font and
/// its strokes scaled, placed and handed to sink.
void walkText(const TextSource& text, const LayoutParameters& layout, GlyphSource& glyphs,
              StrokeSink& sink, ExportObserver* observer);

}  // namespace kerfline
