#pragma once
#include "common/text_source.h"
#include "export/layout_walk.h"
#include "export/text_export.h"
#include "geometry/contour.h"

namespace kerfline {

/// The drawing the classic walk places: per character its contours in drawing units, exactly
/// the single-precision points the "Lines + Z moves" file writes, in outline order (not yet
/// nested or ordered for cutting). Single-line faces give open paths, and so does a closed
/// contour that runs out and back along itself (see retracedPath). observer, when given, is told of every character as the
/// exports tell it.
Drawing layoutDrawing(const TextSource& text, const ExportSettings& settings, GlyphSource& glyphs,
                      ExportObserver* observer = nullptr);

/// Collects placed strokes into a Drawing, one PlacedCharacter per converted character; a
/// closed contour that runs out and back along itself becomes the open path it retraces.
class DrawingBuilder final : public StrokeSink, public ExportObserver {
 public:
  /// next, when given, is told of every character after the builder.
  explicit DrawingBuilder(ExportObserver* next = nullptr) : next_(next) {}

  void characterBecameCurrent(std::int32_t pos, char32_t c, const TFontDescription& font,
                              float unitScale) override;
  void placeStroke(const PlacedStroke& stroke) override;
  void characterAdvance(double start, double end, double baseline) override;

  /// The drawing so far; characters without paths are left out.
  Drawing take();

  /// Keeps each character's advance as the placement tells it (for text to be bent);
  /// otherwise none is kept and the drawing is the walk's alone.
  void keepAdvances(bool keep) { keepAdvances_ = keep; }

 private:
  void closeContour();
  void closeCharacter();

  ExportObserver* next_;
  Drawing drawing_;
  PlacedCharacter current_;
  Contour contour_;
  bool contourOpen_ = false;
  std::int32_t line_ = 0;
  double retraceTolerance_ = 0;  // of the current character, in drawing units
  bool keepAdvances_ = false;
};

}  // namespace kerfline
