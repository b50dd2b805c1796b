#include "export/cut_ready_drawing.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "common/error.h"
#include "export/arc_drawing.h"
#include "export/drawing_layout.h"
#include "export/dxf_layer.h"
#include "export/single_precision.h"
#include "export/toolpath_export.h"
#include "geometry/arc_fitting.h"
#include "geometry/cut_order.h"
#include "geometry/nesting.h"
#include "geometry/retraced_path.h"
#include "geometry/ring_math.h"
#include "vectorizer/tolerance_flattening.h"

namespace kerfline {
namespace {

std::optional<double> factorFor(const std::optional<double>& size, double current,
                                const char* what) {
  if (!size) return std::nullopt;
  if (!std::isfinite(*size) || *size <= 0) {
    throw Error(std::string("The fit ") + what + " must be a number above 0.");
  }
  if (!(current > 0)) {
    throw Error(std::string("The drawing has no ") + what + " to fit.");
  }
  return *size / current;
}

}  // namespace

// A glyph made ready to cut once, at the walk's origin: converted, its contours built, any
// retracing ring opened, nested, turned and ordered. Placing it again is a translation.
struct CutReadyGlyph {
  // The corners of one path's bounds, each a point of the path's own X or Y at 0.
  struct Bounds {
    float minX, maxX, minY, maxY;
    bool closed;
  };
  std::vector<Contour> contours;  // in drawing units, X and Y as the walk computes them at 0
  std::vector<Bounds> bounds;     // one per contour that has points
  float width = 0;                // what the walk advances by after it
  // Flattened at a tolerance: placed in double precision, since the walk's single-precision
  // rule would add its rounding to an error already measured out to the tolerance.
  bool flattened = false;
};

namespace {

// X and Y of a point of a ready glyph moved to origin, by the walk's own single-precision rule.
float placedX(const GlyphOrigin& origin, double x) {
  return mulAddToFloat(origin.shift, origin.spaceFactor, static_cast<float>(x));
}
float placedY(const GlyphOrigin& origin, double y) {
  return static_cast<float>(y) + origin.originY;
}

}  // namespace

// A text repeats a few dozen glyphs thousands of times: each is converted and made ready once
// per face, size (through its scale), character and precision (or tolerance), then only moved
// into place. Each point of a fixed-count glyph is placed by the walk's own single-precision
// rule, so the drawing holds exactly the numbers the "Lines + Z moves" file writes.
class CutReadyWalker::Glyphs {
 public:
  explicit Glyphs(GlyphSource& source) : source_(source) {}

  // tolerance above 0: outline glyphs flattened within it (drawing units); 0: at precision.
  const std::optional<CutReadyGlyph>& glyphOf(const TFontDescription& font, char32_t c,
                                              float unitScale, int precision, double tolerance) {
    // Text mostly runs in one font: while it does, its ASCII glyphs are found by code alone,
    // without hashing the face name.
    runFont_.Color = font.Color;  // the colour does not change the outline
    const bool sameRun =
        unitScale == runScale_ && precision == runPrecision_ && tolerance == runTolerance_ &&
        font == runFont_;
    if (!sameRun) {
      runFont_ = font;
      runScale_ = unitScale;
      runPrecision_ = precision;
      runTolerance_ = tolerance;
      run_.fill(nullptr);
    }
    const bool ascii = c < run_.size();
    if (ascii && run_[c]) return *run_[c];
    const std::optional<CutReadyGlyph>& glyph = lookUp(font, c, unitScale, precision, tolerance);
    if (ascii) run_[c] = &glyph;
    return glyph;
  }

  // Per contour of glyph, the ring that immediately holds it (-1: none), found once.
  const std::vector<int>& holdersOf(const CutReadyGlyph& glyph) {
    const auto [it, fresh] = holders_.try_emplace(&glyph);
    if (fresh) it->second = findNesting(glyph.contours).parent;
    return it->second;
  }

  // The fitter of tolerance: it fits each ring of a glyph once and moves the fit to every
  // copy of the ring (the same points moved).
  PathFitter& fitterFor(double tolerance) {
    if (!fitter_ || tolerance != fitTolerance_) {
      fitter_ = std::make_unique<PathFitter>(tolerance);
      fitTolerance_ = tolerance;
    }
    return *fitter_;
  }

 private:
  const std::optional<CutReadyGlyph>& lookUp(const TFontDescription& font, char32_t c,
                                             float unitScale, int precision, double tolerance) {
    Key key{font, c, precision, unitScale, tolerance};
    key.font.Color = 0;
    if (const auto it = byKey_.find(key); it != byKey_.end()) return it->second;
    std::optional<CutReadyGlyph> made;
    if (const std::optional<TStrokeCollection> strokes = source_.strokesOf(font, c, precision)) {
      // The walk's own strokes at origin 0 through the drawing's own builder: the same rings,
      // open paths, dots and retrace test as a character placed anywhere. The advance stays
      // the strokes' own with a tolerance too, so that only the curves change, never the layout.
      DrawingBuilder builder;
      builder.characterBecameCurrent(0, c, font, unitScale);
      made.emplace();
      made->width = placeGlyphStrokes(*strokes, unitScale, GlyphOrigin{}, builder);
      Drawing one = builder.take();
      if (tolerance > 0 && source_.outlineOf(font, c, outline_)) {
        one.characters.assign(1, flattenedCharacter(c, unitScale, tolerance));
        made->flattened = true;
      }
      if (!one.characters.empty()) {
        orderForCutting(one.characters.front());
        made->contours = std::move(one.characters.front().contours);
      }
      for (const Contour& k : made->contours) {
        if (k.points.empty()) continue;
        Extent e;
        for (const Vec2& p : k.points) e.add(p);
        made->bounds.push_back(
            {float(e.minX), float(e.maxX), float(e.minY), float(e.maxY), k.closed});
      }
    }
    return byKey_.emplace(std::move(key), std::move(made)).first->second;
  }

  struct Key {
    TFontDescription font;  // colour zeroed: it does not change the outline
    char32_t c;
    int precision;
    float unitScale;
    double tolerance;
    friend bool operator==(const Key&, const Key&) = default;
  };
  struct KeyHash {
    std::size_t operator()(const Key& k) const {
      std::size_t h = std::hash<std::string>{}(k.font.Name);
      for (const std::size_t v :
           {std::size_t{k.c}, std::size_t(k.precision), std::hash<float>{}(k.unitScale),
            std::hash<double>{}(k.tolerance), std::size_t(k.font.Size),
            std::size_t(k.font.Bold) << 1 | k.font.Italic})
        h = h * 1000003u ^ v;
      return h;
    }
  };

  // outline_ flattened within tolerance at the walk's origin, as the character the builder
  // would give: closed rings, a retracing one opened.
  PlacedCharacter flattenedCharacter(char32_t c, float unitScale, double tolerance) const {
    const double k = double(kOutlineFactor) * double(unitScale);
    PlacedCharacter character;
    character.character = c;
    for (const FlatContour& ring : flattenOutline(outline_, OutlineTransform::scaling(k), tolerance)) {
      Contour contour;
      contour.points.reserve(ring.points.size());
      for (const OutlinePoint& p : ring.points) contour.points.push_back({p.x, p.y});
      auto tangents = std::make_shared<PolylineTangents>();
      tangents->in.reserve(ring.points.size());
      tangents->out.reserve(ring.points.size());
      for (std::size_t i = 0; i < ring.points.size(); ++i) {
        tangents->in.push_back({ring.tangentIn[i].x, ring.tangentIn[i].y});
        tangents->out.push_back({ring.tangentOut[i].x, ring.tangentOut[i].y});
      }
      contour.tangents = std::move(tangents);
      removeRepeatedPoints(contour);
      if (contour.points.size() > 1) character.contours.push_back(std::move(contour));
    }
    // As the builder's test, widened by the chords' own error on each of the two ways.
    openRetracingContours(character, 1.5 * k + 2 * tolerance);
    return character;
  }

  GlyphSource& source_;
  Outline outline_;  // the glyph being flattened; kept so its storage serves the next one
  std::unordered_map<Key, std::optional<CutReadyGlyph>, KeyHash> byKey_;  // nodes never move
  TFontDescription runFont_;  // the font, scale, precision and tolerance of run_
  float runScale_ = -1;
  int runPrecision_ = -1;
  double runTolerance_ = -1;
  std::array<const std::optional<CutReadyGlyph>*, 128> run_{};
  std::unique_ptr<PathFitter> fitter_;  // of fitTolerance_
  double fitTolerance_ = 0;
  std::unordered_map<const CutReadyGlyph*, std::vector<int>> holders_;  // byKey_'s never move
};

namespace {

// One walk: every character's ready glyph moved into place and handed to the sink, or with
// a fitted sink, its paths fitted with arcs (the polylines only ever in one character's
// buffer).
class CutReadyPlacer final : public GlyphPlacer, public ExportObserver {
 public:
  CutReadyPlacer(CutReadyWalker::Glyphs& glyphs, double factor, double tolerance,
                 ExportObserver* next, const CharacterSink& sink)
      : glyphs_(glyphs), factor_(factor), tolerance_(tolerance), next_(next), sink_(&sink) {}
  // fitTolerance: the whole curve tolerance the fit keeps, above 0.
  CutReadyPlacer(CutReadyWalker::Glyphs& glyphs, double tolerance, double fitTolerance,
                 ExportObserver* next, const FittedCharacterSink& sink)
      : glyphs_(glyphs), factor_(1.0), tolerance_(tolerance), fitTolerance_(fitTolerance),
        next_(next), fittedSink_(&sink) {}

  void characterBecameCurrent(std::int32_t pos, char32_t c, const TFontDescription& font,
                              float unitScale) override {
    if (c == 10) ++line_;
    position_ = pos;
    if (next_) next_->characterBecameCurrent(pos, c, font, unitScale);
  }

  std::optional<float> placeGlyph(const TFontDescription& font, char32_t c, float unitScale,
                                  int precision, const GlyphOrigin& origin) override {
    const std::optional<CutReadyGlyph>& glyph =
        glyphs_.glyphOf(font, c, unitScale, precision, tolerance_);
    if (!glyph) return std::nullopt;
    if (placePolylines(*glyph, c, origin)) {
      if (fittedSink_) {
        fitPlaced(*glyph);
      } else {
        sink_->operator()(std::move(placed_));
      }
    }
    return glyph->width;
  }

 private:
  void startCharacter(PlacedCharacter& placed, char32_t c) const {
    placed.position = position_;
    placed.character = c;
    placed.line = line_;
  }

  // Fills placed_ with the glyph's polylines moved to origin (and scaled by the factor);
  // false when none is left.
  bool placePolylines(const CutReadyGlyph& glyph, char32_t c, const GlyphOrigin& origin) {
    // One character is filled again and again: its vectors keep their room between characters
    // unless the sink takes them.
    PlacedCharacter& placed = placed_;
    startCharacter(placed, c);
    placed.contours.resize(glyph.contours.size());
    std::size_t kept = 0;
    for (const Contour& k : glyph.contours) {
      Contour& moved = placed.contours[kept];
      std::vector<Vec2> room = std::move(moved.points);
      moved = Contour{};  // every other field as a fresh path has it
      moved.points = std::move(room);
      moved.points.clear();
      moved.closed = k.closed;
      moved.depth = k.depth;
      // Moving and scaling by a factor above 0 leaves every direction as it was.
      moved.tangents = k.tangents;
      moved.points.reserve(k.points.size());
      if (glyph.flattened) {
        const double x0 = double(origin.shift) * double(origin.spaceFactor);
        for (const Vec2& p : k.points) moved.points.push_back({x0 + p.x, p.y + origin.originY});
      } else {
        for (const Vec2& p : k.points)
          moved.points.push_back({placedX(origin, p.x), placedY(origin, p.y)});
      }
      // Far from the origin two neighbouring points may round to one; the walk's drawing
      // would not hold the repeat, nor a ring it leaves a single point.
      removeRepeatedPoints(moved);
      if (moved.points.size() > 1 || (!moved.closed && !moved.points.empty())) ++kept;
    }
    placed.contours.resize(kept);
    if (kept != 0 && factor_ != 1.0) {
      for (Contour& k : placed.contours)
        for (Vec2& p : k.points) p = {p.x * factor_, p.y * factor_};
    }
    return kept != 0;
  }

  // placed_ (which stays the walk's buffer) fitted path by path; glyph's nesting holds while
  // every contour of it is kept.
  void fitPlaced(const CutReadyGlyph& glyph) {
    PathFitter& fitter = glyphs_.fitterFor(fitTolerance_);
    FittedCharacter out;
    startCharacter(out.character, placed_.character);
    const std::size_t n = placed_.contours.size();
    out.character.contours.resize(n);
    bulges_.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
      fitter.fit(placed_.contours[i], out.character.contours[i], bulges_[i]);
      for (const Vec2& p : placed_.contours[i].points) out.outline.add(p);
    }
    out.bulges = bulges_;
    if (n == glyph.contours.size()) {
      out.holders = glyphs_.holdersOf(glyph);
    } else {
      holders_ = findNesting(placed_.contours).parent;
      out.holders = holders_;
    }
    fittedSink_->operator()(std::move(out));
  }

  CutReadyWalker::Glyphs& glyphs_;
  double factor_;
  double tolerance_;  // flattening, before factor; 0: the glyph source's precision
  double fitTolerance_ = 0;
  ExportObserver* next_;
  const CharacterSink* sink_ = nullptr;
  const FittedCharacterSink* fittedSink_ = nullptr;
  std::int32_t position_ = 0;
  std::int32_t line_ = 0;
  PlacedCharacter placed_;
  std::vector<std::vector<double>> bulges_;  // fitPlaced's, kept for their room
  std::vector<int> holders_;
};

// A walk that only counts: each ready glyph's path bounds moved into place.
class MeasuringPlacer final : public GlyphPlacer {
 public:
  explicit MeasuringPlacer(CutReadyWalker::Glyphs& glyphs) : glyphs_(glyphs) {}

  std::optional<float> placeGlyph(const TFontDescription& font, char32_t c, float unitScale,
                                  int precision, const GlyphOrigin& origin) override {
    // Only fixed-count glyphs are streamed (drawingRoute): a tolerance holds the drawing.
    const std::optional<CutReadyGlyph>& glyph = glyphs_.glyphOf(font, c, unitScale, precision, 0);
    if (!glyph) return std::nullopt;
    for (const CutReadyGlyph::Bounds& b : glyph->bounds) {
      // Placing never reverses two coordinates, so the placed bounds are the bounds' corners
      // placed. A ring whose bounds meet in one point has become one point: it is dropped.
      const Vec2 low{placedX(origin, b.minX), placedY(origin, b.minY)};
      const Vec2 high{placedX(origin, b.maxX), placedY(origin, b.maxY)};
      if (b.closed && low == high) continue;
      measure_.extent.add(low);
      measure_.extent.add(high);
      ++measure_.paths;
    }
    return glyph->width;
  }

  const WalkMeasure& result() const { return measure_; }

 private:
  CutReadyWalker::Glyphs& glyphs_;
  WalkMeasure measure_;
};

}  // namespace

double fitFactor(const Extent& extent, const ConversionOptions& options) {
  if (!options.fitWidth && !options.fitHeight) return 1.0;
  // An empty drawing has nothing to scale; any factor leaves it empty.
  if (extent.empty()) {
    factorFor(options.fitWidth, 1.0, "width");
    factorFor(options.fitHeight, 1.0, "height");
    return 1.0;
  }
  const std::optional<double> byWidth = factorFor(options.fitWidth, extent.width(), "width");
  const std::optional<double> byHeight = factorFor(options.fitHeight, extent.height(), "height");
  if (byWidth && byHeight) return std::min(*byWidth, *byHeight);
  return byWidth ? *byWidth : *byHeight;
}

void scaleDrawing(Drawing& drawing, double factor) {
  if (factor == 1.0) return;
  for (PlacedCharacter& c : drawing.characters) {
    for (Contour& k : c.contours) {
      for (Vec2& p : k.points) p = {p.x * factor, p.y * factor};
    }
  }
}

void makeCutReady(Drawing& drawing, const ConversionOptions& options) {
  if (options.fitWidth || options.fitHeight) {
    scaleDrawing(drawing, fitFactor(drawing.extent(), options));
  }
  orderForCutting(drawing);
}

CutReadyWalker::CutReadyWalker(const TextSource& text, const ConversionOptions& options,
                               GlyphSource& glyphs)
    : text_(text), options_(options), glyphs_(std::make_unique<Glyphs>(glyphs)) {}

CutReadyWalker::~CutReadyWalker() = default;

void CutReadyWalker::walk(const CharacterSink& sink, double factor, ExportObserver* observer) {
  // The tolerance holds after the factor: the glyphs are flattened that much finer.
  const std::optional<double> tolerance = flatteningTolerance(options_);
  CutReadyPlacer placer(*glyphs_, factor, tolerance ? *tolerance / factor : 0.0, observer, sink);
  walkGlyphs(text_, layoutParametersOf(options_.classic), placer, &placer);
}

void CutReadyWalker::walkFitted(const FittedCharacterSink& sink, ExportObserver* observer) {
  const std::optional<double> tolerance = flatteningTolerance(options_);
  CutReadyPlacer placer(*glyphs_, tolerance.value_or(0.0), curveTolerance(options_).value_or(0.0),
                        observer, sink);
  walkGlyphs(text_, layoutParametersOf(options_.classic), placer, &placer);
}

WalkMeasure CutReadyWalker::measure() {
  MeasuringPlacer placer(*glyphs_);
  walkGlyphs(text_, layoutParametersOf(options_.classic), placer, nullptr);
  return placer.result();
}

namespace {

// The polylines' share of the curve tolerance: all of it, or the flattening's share when arcs
// are fitted afterwards.
std::optional<double> polylineShare(const ConversionOptions& options) {
  const std::optional<double> tolerance = curveTolerance(options);
  if (!tolerance) return std::nullopt;
  if (!(std::isfinite(*tolerance) && *tolerance > 0))
    throw Error("The tolerance must be a number above 0.");
  return options.arcs ? arcToleranceShares(*tolerance).flattening : *tolerance;
}

bool offsetsForKerf(const ConversionOptions& options) {
  return options.kerf && options.kerfSide != KerfSide::On;
}

}  // namespace

// A kerf offset strays from the true offset of the glyphs' polylines by its round joins' chords
// and by two clean-ups of the rings it makes (after the offset, and after the weld that may
// follow it): these take a third of the polylines' share, a ninth each, the glyphs the rest.
std::optional<double> flatteningTolerance(const ConversionOptions& options) {
  const std::optional<double> share = polylineShare(options);
  if (!share || !offsetsForKerf(options)) return share;
  return *share * 2 / 3;
}

std::optional<double> kerfTolerance(const ConversionOptions& options) {
  const std::optional<double> share = polylineShare(options);
  if (!share || !offsetsForKerf(options)) return std::nullopt;
  return *share / 9;
}

bool fitsGlyphsOnce(const ConversionOptions& options) {
  return options.arcs && curveTolerance(options) && placesClassically(options) &&
         !options.fitWidth && !options.fitHeight && options.cut == CutOperation::Profile &&
         !changesPaths(options) && !shapesForProduction(options) && !asksForLeads(options);
}

FittedCutReadyDrawing fittedCutReadyDrawing(const TextSource& text,
                                            const ConversionOptions& options, GlyphSource& glyphs,
                                            ExportObserver* observer) {
  FittedCutReadyDrawing out;
  Drawing& drawing = out.drawing;
  drawing.layer = dxfLayerName(options.classic.layerText);
  // At most one per character of the text: no copying of a growing array of them (room
  // reserved is only address space until it is filled; a huge text grows past the cap).
  drawing.characters.reserve(std::min<std::size_t>(std::max(0, text.length()), 1u << 20));
  std::size_t paths = 0;
  CutReadyWalker walker(text, options, glyphs);
  walker.walkFitted(
      [&](FittedCharacter&& c) {
        const std::size_t n = c.character.contours.size();
        for (std::size_t k = 0; k < n; ++k) {
          drawing.bulges.push_back(std::move(c.bulges[k]));
          if (c.holders[k] >= 0)
            out.holes.push_back({paths + k, paths + static_cast<std::size_t>(c.holders[k])});
        }
        paths += n;
        out.outlineExtent.add({c.outline.minX, c.outline.minY});
        out.outlineExtent.add({c.outline.maxX, c.outline.maxY});
        drawing.characters.push_back(std::move(c.character));
      },
      observer);
  return out;
}

Drawing cutReadyDrawing(const TextSource& text, const ConversionOptions& options,
                        GlyphSource& glyphs, ExportObserver* observer) {
  Drawing drawing;
  CutReadyWalker walker(text, options, glyphs);
  walker.walk([&](PlacedCharacter&& c) { drawing.characters.push_back(std::move(c)); }, 1.0,
              observer);
  drawing.layer = dxfLayerName(options.classic.layerText);
  if (options.fitWidth || options.fitHeight) {
    double factor = fitFactor(drawing.extent(), options);
    if (flatteningTolerance(options) && factor != 1.0) {
      // A tolerance holds in the fitted drawing: the curves are flattened again for the
      // factor. Their extremes may move by a chord's error, so the last fit is measured anew
      // (a factor within that error of 1, which leaves the tolerance as good as kept).
      drawing.characters.clear();
      walker.walk([&](PlacedCharacter&& c) { drawing.characters.push_back(std::move(c)); },
                  factor);
      factor = fitFactor(drawing.extent(), options);
    }
    scaleDrawing(drawing, factor);
  }
  return drawing;
}

}  // namespace kerfline
