#include "export/layout_walk.h"

#include "export/number_rule.h"
#include "export/single_precision.h"
#include "export/text_export.h"
#include "vectorizer/tolerance_flattening.h"

namespace kerfline {

LayoutParameters layoutParametersOf(const ExportSettings& settings) {
  LayoutParameters layout;
  layout.linePitch = parseFiniteNumber(settings.pitchText).value_or(-2.0f);
  layout.spacePercent = settings.spacePercent;
  layout.resolution = settings.resolution;
  layout.scale = settings.scale;
  return layout;
}

float placeGlyphStrokes(const TStrokeCollection& strokes, float unitScale,
                        const GlyphOrigin& origin, StrokeSink& sink) {
  const ScaledToFloat scaled(kOutlineFactor, unitScale);
  const float shift = origin.shift;
  const float spaceFactor = origin.spaceFactor;
  const float originY = origin.originY;
  float charWidth = 0.0f;
  const bool open = strokes.openPaths();
  const std::vector<TStroke>& all = strokes.strokes();
  bool contourOpen = false;
  float startX = 0.0f;
  float startY = 0.0f;
  // A stroke mostly starts where the one before ended: the same outline integers give
  // the same values, so those of the previous end are taken instead of computed again.
  bool havePrevious = false;
  TStroke previous{};
  float previousX2 = 0.0f, previousY2 = 0.0f, previousPlacedX2 = 0.0f;
  for (std::size_t i = 0; i < all.size(); ++i) {
    const TStroke& s = all[i];
    PlacedStroke placed;
    const bool continues = havePrevious && s.X1 == previous.X2 && s.Y1 == previous.Y2;
    const float x1 = continues ? previousX2 : scaled(s.X1);
    const float y1 = continues ? previousY2 : scaled(s.Y1);
    const float x2 = scaled(s.X2);
    const float y2 = scaled(s.Y2);
    if (open) {
      // An open path never returns to its start: its contour number says where it ends.
      placed.openPath = true;
      placed.opensContour = i == 0 || all[i - 1].Contour != s.Contour;
      placed.closesContour = i + 1 == all.size() || all[i + 1].Contour != s.Contour;
    } else {
      if (!contourOpen) {
        contourOpen = true;
        startX = x1;
        startY = y1;
        placed.opensContour = true;
      }
      // Equal DxfReal texts are equal floats (+0 and -0 both read "0", and compare equal).
      if (x2 == startX && y2 == startY) {
        placed.opensContour = false;  // a contour closed by its first stroke gets no plunge
        placed.closesContour = true;
        contourOpen = false;
      }
    }
    if (x1 > charWidth) charWidth = x1;
    if (x2 > charWidth) charWidth = x2;
    placed.x1 = continues ? previousPlacedX2 : mulAddToFloat(shift, spaceFactor, x1);
    placed.y1 = y1 + originY;
    placed.x2 = mulAddToFloat(shift, spaceFactor, x2);
    placed.y2 = y2 + originY;
    havePrevious = true;
    previous = s;
    previousX2 = x2;
    previousY2 = y2;
    previousPlacedX2 = placed.x2;
    sink.placeStroke(placed);
  }
  return charWidth;
}

void walkGlyphs(const TextSource& text, const LayoutParameters& layout, GlyphPlacer& placer,
                ExportObserver* observer) {
  constexpr char32_t kLf = 10;
  constexpr char32_t kCr = 13;
  // All in single precision, each step rounded once, as the file's numbers must not depend
  // on how a compiler keeps intermediates.
  float originX = 0.0f;
  float originY = 0.0f;
  float maxCharWidth = 0.0f;
  const float spaceFactor =
      layout.spacePercent > 0 ? quotientToFloat(std::int64_t{layout.spacePercent} + 100, 100)
                              : 1.0f;

  const std::int32_t length = text.length();
  for (std::int32_t pos = 1; pos <= length; ++pos) {
    const char32_t c = text.charAt(pos);
    if (c == kLf) {
      originX = 0.0f;
      originY = originY + layout.linePitch;
    }
    const TFontDescription font = text.fontAt(pos);
    const float unitScale = unitScaleFor(layout.scale, font.Size);
    if (observer) observer->characterBecameCurrent(pos, c, font, unitScale);
    if (c == kLf || c == kCr) continue;  // advances by a CharWidth of 0

    const std::optional<float> width =
        placer.placeGlyph(font, c, unitScale, layout.resolution,
                          GlyphOrigin{originX, spaceFactor, originY});
    const float charWidth = width ? *width : maxCharWidth;
    if (charWidth > maxCharWidth) maxCharWidth = charWidth;
    originX = originX + charWidth;
  }
}

namespace {

class NoStrokes final : public StrokeSink {
 public:
  void placeStroke(const PlacedStroke&) override {}
};

// The classic walk's placing: the glyph source's strokes, placed into a stroke sink; with a
// tolerance, an outline glyph's rings flattened within it instead, at the same advance.
class StrokePlacer final : public GlyphPlacer {
 public:
  StrokePlacer(GlyphSource& glyphs, StrokeSink& sink, double tolerance)
      : glyphs_(glyphs), sink_(sink), tolerance_(tolerance) {}

  std::optional<float> placeGlyph(const TFontDescription& font, char32_t c, float unitScale,
                                  int precision, const GlyphOrigin& origin) override {
    const std::optional<TStrokeCollection> strokes = glyphs_.strokesOf(font, c, precision);
    if (!strokes) return std::nullopt;
    if (!(tolerance_ > 0) || !glyphs_.outlineOf(font, c, outline_))
      return placeGlyphStrokes(*strokes, unitScale, origin, sink_);
    NoStrokes measure;
    const float width = placeGlyphStrokes(*strokes, unitScale, origin, measure);
    const double k = double(kOutlineFactor) * double(unitScale);
    const double x0 = double(origin.shift) * double(origin.spaceFactor);
    for (const FlatContour& ring : flattenOutline(outline_, OutlineTransform::scaling(k), tolerance_)) {
      const std::vector<OutlinePoint>& p = ring.points;
      if (p.size() < 2) continue;
      for (std::size_t i = 0; i < p.size(); ++i) {
        const OutlinePoint& a = p[i];
        const OutlinePoint& b = p[(i + 1) % p.size()];
        PlacedStroke s;
        s.x1 = static_cast<float>(x0 + a.x);
        s.y1 = static_cast<float>(a.y + origin.originY);
        s.x2 = static_cast<float>(x0 + b.x);
        s.y2 = static_cast<float>(b.y + origin.originY);
        s.opensContour = i == 0;
        s.closesContour = i + 1 == p.size();
        sink_.placeStroke(s);
      }
    }
    return width;
  }

 private:
  GlyphSource& glyphs_;
  StrokeSink& sink_;
  double tolerance_;
  Outline outline_;  // kept so its storage serves the next glyph
};

}  // namespace

void walkText(const TextSource& text, const LayoutParameters& layout, GlyphSource& glyphs,
              StrokeSink& sink, ExportObserver* observer) {
  StrokePlacer placer(glyphs, sink, layout.tolerance);
  walkGlyphs(text, layout, placer, observer);
}

}  // namespace kerfline
