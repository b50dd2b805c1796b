#include "export/drawing_layout.h"

#include <utility>

#include "export/dxf_layer.h"
#include "geometry/ring_math.h"
#include "geometry/retraced_path.h"

namespace kerfline {

void DrawingBuilder::characterBecameCurrent(std::int32_t pos, char32_t c,
                                            const TFontDescription& font, float unitScale) {
  closeCharacter();
  // One and a half outline units: a curve's way back may round one unit off its way out.
  retraceTolerance_ = 1.5 * double(kOutlineFactor) * double(unitScale);
  if (c == 10) ++line_;
  current_.position = pos;
  current_.character = c;
  current_.line = line_;
  if (next_) next_->characterBecameCurrent(pos, c, font, unitScale);
}

void DrawingBuilder::placeStroke(const PlacedStroke& s) {
  const Vec2 start{s.x1, s.y1};
  const Vec2 end{s.x2, s.y2};
  if (!contourOpen_ || s.opensContour) {
    closeContour();
    contourOpen_ = true;
    contour_.closed = !s.openPath;
    contour_.points.push_back(start);
  } else if (contour_.points.back() != start) {
    contour_.points.push_back(start);
  }
  if (s.closesContour && s.openPath) {
    // An open path keeps its last point; a dot is its one point.
    if (contour_.points.back() != end) contour_.points.push_back(end);
    closeContour();
    return;
  }
  if (s.closesContour) {
    // The closing point is the ring's first point; a ring does not repeat it.
    closeContour();
    return;
  }
  if (contour_.points.back() != end) contour_.points.push_back(end);
}

void DrawingBuilder::characterAdvance(double start, double end, double baseline) {
  if (keepAdvances_) current_.advance = CharacterAdvance{start, end, baseline};
}

void DrawingBuilder::closeContour() {
  if (contourOpen_) {
    removeRepeatedPoints(contour_);
    // A ring of a single point came from zero-length strokes only: no edge to cut, only a
    // plunge that would drill the material where no letter is. An open path of one point is a
    // single-line face's dot, which is meant to be drilled.
    if (contour_.points.size() > 1 || (!contour_.closed && !contour_.points.empty()))
      current_.contours.push_back(std::move(contour_));
  }
  contour_ = Contour{};
  contourOpen_ = false;
}

void DrawingBuilder::closeCharacter() {
  closeContour();
  // An outline face made for engraving is cut along its strokes once, not around them.
  openRetracingContours(current_, retraceTolerance_);
  if (!current_.contours.empty()) drawing_.characters.push_back(std::move(current_));
  current_ = PlacedCharacter{};
}

Drawing DrawingBuilder::take() {
  closeCharacter();
  Drawing out = std::move(drawing_);
  drawing_ = Drawing{};
  line_ = 0;
  return out;
}

Drawing layoutDrawing(const TextSource& text, const ExportSettings& settings, GlyphSource& glyphs,
                      ExportObserver* observer) {
  DrawingBuilder builder(observer);
  walkText(text, layoutParametersOf(settings), glyphs, builder, &builder);
  Drawing drawing = builder.take();
  drawing.layer = dxfLayerName(settings.layerText);
  return drawing;
}

}  // namespace kerfline
