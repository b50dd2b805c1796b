#pragma once
#include <cstdint>
#include <optional>

#include "common/font_description.h"
#include "common/text_source.h"
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
};

/// One stroke in drawing units at its place on the page, with its part in its contour.
struct PlacedStroke {
  float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  bool opensContour = false;   ///< marker "Begin": a plunge goes before it
  bool closesContour = false;  ///< marker "End": a retract goes after it
};

/// Receives the placed strokes in file order.
class StrokeSink {
 public:
  virtual ~StrokeSink() = default;
  /// One stroke of the current character.
  virtual void placeStroke(const PlacedStroke& stroke) = 0;
};

/// The character walk shared by both exports: every position of text in order, LF starting
/// a new line, CR and LF not converted, each other character converted in its own font and
/// its strokes scaled, placed and handed to sink.
void walkText(const TextSource& text, const LayoutParameters& layout, GlyphSource& glyphs,
              StrokeSink& sink, ExportObserver* observer);

}  // namespace kerfline
