#include "typography/text_placement.h"

#include <algorithm>
#include <utility>

#include "export/converter_glyph_source.h"
#include "export/drawing_layout.h"
#include "export/dxf_export.h"
#include "export/dxf_layer.h"
#include "export/text_export.h"
#include "typography/line_placement.h"
#include "typography/shaped_layout.h"

namespace kerfline {
namespace {

constexpr char32_t kLf = 10;
constexpr char32_t kCr = 13;

double heightOfFonts(const std::vector<TFontDescription>& fonts, int scale,
                     TTTFToVectorConverter& converter) {
  double height = 0;
  for (const TFontDescription& f : fonts) height = std::max(height, autoLineHeight(f, scale, converter));
  return height;
}

// The classic walk, line by line: strokes and characters are held per line so that the line can
// be shifted or dropped to an automatic baseline afterwards.
class ClassicLineCollector final : public StrokeSink, public ExportObserver {
 public:
  ClassicLineCollector(LinePlacer& placer, const ConversionOptions& options,
                       TTTFToVectorConverter& converter, const TextSource& text)
      : placer_(placer), options_(options), converter_(converter), text_(text) {}

  void characterBecameCurrent(std::int32_t pos, char32_t c, const TFontDescription& font,
                              float unitScale) override {
    if (c == kLf) {
      finishLine();
      lineFeed_ = pos;
    } else if (c != kCr) {
      if (std::find(fonts_.begin(), fonts_.end(), font) == fonts_.end()) fonts_.push_back(font);
    }
    LineEvent e;
    e.position = pos;
    e.character = c;
    e.unitScale = unitScale;
    line_.events.push_back(e);
  }

  void placeStroke(const PlacedStroke& s) override {
    LineEvent e;
    e.isStroke = true;
    e.x1 = s.x1;
    e.y1 = s.y1;
    e.x2 = s.x2;
    e.y2 = s.y2;
    e.opensContour = s.opensContour;
    e.closesContour = s.closesContour;
    line_.extent.add({e.x1, e.y1});
    line_.extent.add({e.x2, e.y2});
    line_.events.push_back(e);
  }

  void finishLine() {
    if (options_.autoPitch) {
      // A line of nothing but its break takes the height of the break's own font.
      if (fonts_.empty() && lineFeed_ > 0) fonts_.push_back(text_.fontAt(lineFeed_));
      line_.height = heightOfFonts(fonts_, options_.classic.scale, converter_);
    }
    placer_.add(std::move(line_));
    line_ = HeldLine{};
    fonts_.clear();
  }

 private:
  LinePlacer& placer_;
  const ConversionOptions& options_;
  TTTFToVectorConverter& converter_;
  const TextSource& text_;
  HeldLine line_;
  std::vector<TFontDescription> fonts_;
  std::int32_t lineFeed_ = 0;
};

void placeClassicLines(const TextSource& text, const ConversionOptions& options,
                       TTTFToVectorConverter& converter, LinePlacer& placer) {
  LayoutParameters layout = layoutParametersOf(options.classic);
  // Automatic pitch drops each line afterwards; the walk keeps every line on baseline 0.
  if (options.autoPitch) layout.linePitch = 0.0f;
  ClassicLineCollector collector(placer, options, converter, text);
  ConverterGlyphSource glyphs(converter);
  walkText(text, layout, glyphs, collector, &collector);
  collector.finishLine();
}

// A shaped line's glyphs converted and placed: the same strokes and contour markers the
// classic walk gives a character, at the glyph's origin instead of the walk's.
HeldLine heldLineOf(const ShapedLine& line, const ShapedText& shaped, const TextSource& text,
                    const ConversionOptions& options, TTTFToVectorConverter& converter) {
  HeldLine held;
  auto character = [&](std::int32_t pos, char32_t c, float unitScale) {
    LineEvent e;
    e.position = pos;
    e.character = c;
    e.unitScale = unitScale;
    held.events.push_back(e);
  };
  if (line.lineFeed > 0) {
    const std::int32_t pos = line.lineFeed;
    character(pos, kLf, unitScaleFor(options.classic.scale, text.fontAt(pos).Size));
  }
  converter.SetPrecision(options.classic.resolution);
  std::int32_t lastPosition = 0;
  for (const PlacedGlyph& g : line.glyphs) {
    if (g.startsCluster || g.position != lastPosition) {
      character(g.position, g.character, g.unitScale);
      lastPosition = g.position;
    }
    const std::optional<TStrokeCollection> strokes = converter.ConvertGlyph(shaped.faces[g.face], g.glyph);
    if (!strokes) continue;
    const double k = drawingUnitsPerOutlineUnit(g.unitScale);
    bool contourOpen = false;
    std::int32_t startX = 0;
    std::int32_t startY = 0;
    for (const TStroke& s : strokes->strokes()) {
      LineEvent e;
      e.isStroke = true;
      if (!contourOpen) {
        contourOpen = true;
        startX = s.X1;
        startY = s.Y1;
        e.opensContour = true;
      }
      if (s.X2 == startX && s.Y2 == startY) {
        e.opensContour = false;  // a contour closed by its first stroke gets no plunge
        e.closesContour = true;
        contourOpen = false;
      }
      e.x1 = s.X1 * k + g.x;
      e.y1 = s.Y1 * k + g.y;
      e.x2 = s.X2 * k + g.x;
      e.y2 = s.Y2 * k + g.y;
      held.extent.add({e.x1, e.y1});
      held.extent.add({e.x2, e.y2});
      held.events.push_back(e);
    }
  }
  for (const std::int32_t pos : line.breaks) {
    character(pos, kCr, unitScaleFor(options.classic.scale, text.fontAt(pos).Size));
  }
  if (options.autoPitch) {
    std::vector<TFontDescription> fonts = line.fonts;
    if (fonts.empty() && line.lineFeed > 0) fonts.push_back(text.fontAt(line.lineFeed));
    held.height = heightOfFonts(fonts, options.classic.scale, converter);
  }
  return held;
}

void placeShapedLines(const TextSource& text, const ConversionOptions& options,
                      TTTFToVectorConverter& converter, LinePlacer& placer) {
  ShapingOptions shaping;
  shaping.scale = options.classic.scale;
  shaping.tracking = options.tracking;
  shaping.ligatures = options.ligatures;
  const ShapedText shaped = shapeText(text, shaping, converter);
  for (const ShapedLine& line : shaped.lines)
    placer.add(heldLineOf(line, shaped, text, options, converter));
}

}  // namespace

bool placesClassically(const ConversionOptions& options) {
  return options.spacing == SpacingMode::Classic && options.align == Alignment::Left &&
         !options.autoPitch;
}

double autoLineHeight(const TFontDescription& font, int scale, TTTFToVectorConverter& converter) {
  converter.SetFont(font);
  const std::optional<TFaceInfo> face = converter.MatchedFace();
  if (!face || face->unitsPerEm <= 0) return 0.0;
  const double fontUnits = static_cast<double>(face->ascender) - face->descender + face->lineGap;
  return fontUnits * kOutlineEm / face->unitsPerEm *
         drawingUnitsPerOutlineUnit(unitScaleFor(scale, font.Size));
}

void placeText(const TextSource& text, const ConversionOptions& options,
               TTTFToVectorConverter& converter, StrokeSink& sink, ExportObserver* observer) {
  if (placesClassically(options)) {
    ConverterGlyphSource glyphs(converter);
    walkText(text, layoutParametersOf(options.classic), glyphs, sink, observer);
    return;
  }
  LineRule rule;
  rule.align = options.align;
  rule.autoPitch = options.autoPitch;
  rule.pitch = layoutParametersOf(options.classic).linePitch;
  // The classic walk sets numeric pitch itself, exactly as without alignment.
  rule.yPlaced = options.spacing == SpacingMode::Classic && !options.autoPitch;
  LinePlacer placer(rule, text, sink, observer);
  if (options.spacing == SpacingMode::Font) {
    placeShapedLines(text, options, converter, placer);
  } else {
    placeClassicLines(text, options, converter, placer);
  }
  placer.finish();
}

Drawing placeDrawing(const TextSource& text, const ConversionOptions& options,
                     TTTFToVectorConverter& converter, ExportObserver* observer) {
  DrawingBuilder builder(observer);
  placeText(text, options, converter, builder, &builder);
  Drawing drawing = builder.take();
  drawing.layer = dxfLayerName(options.classic.layerText);
  return drawing;
}

void saveStrokeDxf(const std::string& path, const TextSource& text,
                   const ConversionOptions& options, TTTFToVectorConverter& converter,
                   ExportObserver* observer) {
  const bool poly = options.format == OutputFormat::PolyLines;
  if (placesClassically(options)) {
    if (poly) {
      SavePoly2(path, text, options.classic, converter, observer);
    } else {
      FileSave(path, text, options.classic, converter, observer);
    }
    return;
  }
  const StrokeWalk walk = [&](StrokeSink& sink) {
    placeText(text, options, converter, sink, observer);
  };
  if (poly) {
    savePolyLinesDxf(path, options.classic, walk);
  } else {
    saveLinesDxf(path, options.classic, walk);
  }
}

}  // namespace kerfline
