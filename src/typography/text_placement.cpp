#include "typography/text_placement.h"

#include <algorithm>
#include <map>
#include <optional>
#include <tuple>
#include <utility>

#include "export/converter_glyph_source.h"
#include "export/cut_ready_drawing.h"
#include "export/drawing_layout.h"
#include "export/dxf_export.h"
#include "export/dxf_layer.h"
#include "export/text_export.h"
#include "typography/line_placement.h"
#include "typography/shaped_layout.h"
#include "vectorizer/tolerance_flattening.h"

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
                       TTTFToVectorConverter& converter, const TextSource& text, float linePitch)
      : placer_(placer), options_(options), converter_(converter), text_(text),
        linePitch_(linePitch) {}

  void characterBecameCurrent(std::int32_t pos, char32_t c, const TFontDescription& font,
                              float unitScale) override {
    current_ = line_.events.size();
    if (c == kLf) {
      finishLine();
      lineFeed_ = pos;
      current_ = 0;
      // The walk's own single-precision sum, so that a character's baseline is its strokes'.
      originY_ = originY_ + linePitch_;
    } else if (c != kCr) {
      if (std::find(fonts_.begin(), fonts_.end(), font) == fonts_.end()) fonts_.push_back(font);
    }
    LineEvent e;
    e.position = pos;
    e.character = c;
    e.unitScale = unitScale;
    e.advanceBaseline = originY_;
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
    e.openPath = s.openPath;
    line_.extent.add({e.x1, e.y1});
    line_.extent.add({e.x2, e.y2});
    line_.events.push_back(e);
    // The classic walk sets characters ink to ink: a character's advance is its ink's width.
    if (current_ < line_.events.size()) {
      LineEvent& c = line_.events[current_];
      const bool first = c.advanceStart > c.advanceEnd;
      c.advanceStart = first ? std::min(e.x1, e.x2) : std::min({c.advanceStart, e.x1, e.x2});
      c.advanceEnd = first ? std::max(e.x1, e.x2) : std::max({c.advanceEnd, e.x1, e.x2});
    }
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
  float linePitch_;
  float originY_ = 0.0f;
  std::size_t current_ = 0;  // the current character's event in line_
};

void placeClassicLines(const TextSource& text, const ConversionOptions& options,
                       TTTFToVectorConverter& converter, GlyphSource& glyphs, LinePlacer& placer) {
  LayoutParameters layout = layoutParametersOf(options.classic);
  layout.tolerance = flatteningTolerance(options).value_or(0);
  // Automatic pitch drops each line afterwards; the walk keeps every line on baseline 0.
  if (options.autoPitch) layout.linePitch = 0.0f;
  ClassicLineCollector collector(placer, options, converter, text, layout.linePitch);
  walkText(text, layout, glyphs, collector, &collector);
  collector.finishLine();
}

// The strokes of one converted glyph at origin (x, y), with the contour markers the classic walk
// gives them: a closed contour opens with a plunge and closes where it returns to its start;
// a single-line face's open path opens and closes with its contour number.
void appendGlyphStrokes(const TStrokeCollection& strokes, double k, double x, double y,
                        HeldLine& held) {
  const std::vector<TStroke>& all = strokes.strokes();
  const bool open = strokes.openPaths();
  bool contourOpen = false;
  std::int32_t startX = 0;
  std::int32_t startY = 0;
  for (std::size_t i = 0; i < all.size(); ++i) {
    const TStroke& s = all[i];
    LineEvent e;
    e.isStroke = true;
    if (open) {
      e.openPath = true;
      e.opensContour = i == 0 || all[i - 1].Contour != s.Contour;
      e.closesContour = i + 1 == all.size() || all[i + 1].Contour != s.Contour;
    } else {
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
    }
    e.x1 = s.X1 * k + x;
    e.y1 = s.Y1 * k + y;
    e.x2 = s.X2 * k + x;
    e.y2 = s.Y2 * k + y;
    held.extent.add({e.x1, e.y1});
    held.extent.add({e.x2, e.y2});
    held.events.push_back(e);
  }
}

// The glyphs of one shaped text by face and glyph index, each converted once: a text repeats
// its few dozen glyphs thousands of times.
class ShapedGlyphCache {
 public:
  ShapedGlyphCache(const ShapedText& shaped, TTTFToVectorConverter& converter)
      : shaped_(shaped), converter_(converter) {}

  // The glyph's rings flattened within tolerance at k drawing units per outline unit; empty
  // when it has no outline records.
  const std::vector<FlatContour>& ringsOf(std::size_t face, std::uint32_t glyph, double k,
                                          double tolerance) {
    const auto key = std::make_tuple(face, glyph, k);
    auto found = rings_.find(key);
    if (found == rings_.end()) {
      std::vector<FlatContour> rings;
      if (converter_.OutlineOfGlyph(shaped_.faces[face], glyph, outline_))
        rings = flattenOutline(outline_, OutlineTransform::scaling(k), tolerance);
      found = rings_.emplace(key, std::move(rings)).first;
    }
    return found->second;
  }

  const std::optional<TStrokeCollection>& strokesOf(std::size_t face, std::uint32_t glyph) {
    const auto key = std::make_pair(face, glyph);
    auto found = glyphs_.find(key);
    if (found == glyphs_.end())
      found = glyphs_.emplace(key, converter_.ConvertGlyph(shaped_.faces[face], glyph)).first;
    return found->second;
  }

 private:
  const ShapedText& shaped_;
  TTTFToVectorConverter& converter_;
  std::map<std::pair<std::size_t, std::uint32_t>, std::optional<TStrokeCollection>> glyphs_;
  std::map<std::tuple<std::size_t, std::uint32_t, double>, std::vector<FlatContour>> rings_;
  Outline outline_;
};

// A glyph's flattened rings at origin (x, y), each one closed contour as the classic walk
// marks it.
void appendFlatRings(const std::vector<FlatContour>& rings, double x, double y, HeldLine& held) {
  for (const FlatContour& ring : rings) {
    const std::vector<OutlinePoint>& p = ring.points;
    if (p.size() < 2) continue;
    for (std::size_t i = 0; i < p.size(); ++i) {
      const OutlinePoint& a = p[i];
      const OutlinePoint& b = p[(i + 1) % p.size()];
      LineEvent e;
      e.isStroke = true;
      e.opensContour = i == 0;
      e.closesContour = i + 1 == p.size();
      e.x1 = a.x + x;
      e.y1 = a.y + y;
      e.x2 = b.x + x;
      e.y2 = b.y + y;
      held.extent.add({e.x1, e.y1});
      held.events.push_back(e);
    }
  }
}

// A shaped line's glyphs converted and placed: the same strokes and contour markers the
// classic walk gives a character, at the glyph's origin instead of the walk's.
HeldLine heldLineOf(const ShapedLine& line, const TextSource& text,
                    const ConversionOptions& options, TTTFToVectorConverter& converter,
                    ShapedGlyphCache& outlines, GlyphSource& byCharacter) {
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
  const int precision = options.classic.resolution;
  const double tolerance = flatteningTolerance(options).value_or(0);
  std::int32_t lastPosition = 0;
  std::size_t current = 0;  // the event of the character the glyph belongs to
  for (std::size_t i = 0; i < line.glyphs.size(); ++i) {
    const PlacedGlyph& g = line.glyphs[i];
    if (g.startsCluster || g.position != lastPosition) {
      character(g.position, g.character, g.unitScale);
      current = held.events.size() - 1;
      held.events[current].advanceStart = g.x;
      lastPosition = g.position;
    }
    // A character's advance runs to the next glyph's origin (the line's end after the last).
    held.events[current].advanceEnd =
        i + 1 < line.glyphs.size() ? line.glyphs[i + 1].x : line.advance;
    const double k = drawingUnitsPerOutlineUnit(g.unitScale);
    if (g.singleLine) {
      const std::optional<TStrokeCollection> strokes =
          byCharacter.strokesOf(text.fontAt(g.position), g.character, precision);
      if (strokes) appendGlyphStrokes(*strokes, k, g.x, g.y, held);
    } else {
      const std::optional<TStrokeCollection>& strokes = outlines.strokesOf(g.face, g.glyph);
      if (strokes && tolerance > 0 && !strokes->openPaths()) {
        appendFlatRings(outlines.ringsOf(g.face, g.glyph, k, tolerance), g.x, g.y, held);
      } else if (strokes) {
        appendGlyphStrokes(*strokes, k, g.x, g.y, held);
      }
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
                      TTTFToVectorConverter& converter, GlyphSource& byCharacter,
                      LinePlacer& placer) {
  ShapingOptions shaping;
  shaping.scale = options.classic.scale;
  shaping.tracking = options.tracking;
  shaping.ligatures = options.ligatures;
  const ShapedText shaped = shapeText(text, shaping, converter);
  converter.SetPrecision(options.classic.resolution);
  ShapedGlyphCache outlines(shaped, converter);
  for (const ShapedLine& line : shaped.lines)
    placer.add(heldLineOf(line, text, options, converter, outlines, byCharacter));
}

}  // namespace

double autoLineHeight(const TFontDescription& font, int scale, TTTFToVectorConverter& converter) {
  converter.SetFont(font);
  const std::optional<TFaceInfo> face = converter.MatchedFace();
  if (!face || face->unitsPerEm <= 0) return 0.0;
  const double fontUnits = static_cast<double>(face->ascender) - face->descender + face->lineGap;
  return fontUnits * kOutlineEm / face->unitsPerEm *
         drawingUnitsPerOutlineUnit(unitScaleFor(scale, font.Size));
}

void placeText(const TextSource& text, const ConversionOptions& options,
               TTTFToVectorConverter& converter, StrokeSink& sink, ExportObserver* observer,
               GlyphSource* glyphs) {
  ConverterGlyphSource converted(converter);
  GlyphSource& byCharacter = glyphs ? *glyphs : converted;
  if (placesClassically(options)) {
    walkText(text, layoutParametersOf(options.classic), byCharacter, sink, observer);
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
    placeShapedLines(text, options, converter, byCharacter, placer);
  } else {
    placeClassicLines(text, options, converter, byCharacter, placer);
  }
  placer.finish();
}

Drawing placeDrawing(const TextSource& text, const ConversionOptions& options,
                     TTTFToVectorConverter& converter, ExportObserver* observer,
                     GlyphSource* glyphs) {
  DrawingBuilder builder(observer);
  builder.keepAdvances(options.layout.bends());
  placeText(text, options, converter, builder, &builder, glyphs);
  Drawing drawing = builder.take();
  drawing.layer = dxfLayerName(options.classic.layerText);
  return drawing;
}

void saveStrokeDxf(const std::string& path, const TextSource& text,
                   const ConversionOptions& options, TTTFToVectorConverter& converter,
                   ExportObserver* observer, double scale) {
  const bool poly = options.format == OutputFormat::PolyLines;
  ConverterGlyphSource glyphs(converter);
  if (placesClassically(options)) {
    if (poly) {
      savePolyLinesDxf(path, text, options.classic, glyphs, observer, scale);
    } else {
      saveLinesDxf(path, text, options.classic, glyphs, observer, scale);
    }
    return;
  }
  const StrokeWalk walk = scaledWalk(
      [&](StrokeSink& sink) { placeText(text, options, converter, sink, observer, &glyphs); },
      scale);
  if (poly) {
    savePolyLinesDxf(path, options.classic, walk);
  } else {
    saveLinesDxf(path, options.classic, walk);
  }
}

}  // namespace kerfline
