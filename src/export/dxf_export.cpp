#include "export/dxf_export.h"

#include <algorithm>
#include <bit>

#include "export/dxf_layer.h"
#include "export/dxf_writer.h"
#include "export/number_rule.h"
#include "export/output_file.h"
#include "export/single_precision.h"

namespace kerfline {
namespace {

// Stroke lines with a plunge before each contour and a retract after it. A stroke usually
// starts where the previous one ended, so that end's texts are kept and reused.
class LineSink final : public StrokeSink {
 public:
  LineSink(DxfWriter& writer, float zMove, float zLevel)
      : writer_(writer), zMove_(zMove), zLevel_(zLevel) {}

  void placeStroke(const PlacedStroke& s) override {
    reuseOrFormat(startX_, s.x1, endX_);
    reuseOrFormat(startY_, s.y1, endY_);
    endX_ = DxfNumber(s.x2);
    endY_ = DxfNumber(s.y2);
    if (s.opensContour) writer_.DxfLine(startX_, startY_, zMove_, startX_, startY_, zLevel_);
    // A dot of a single-line face is its plunge and retract; it has no line to cut.
    const bool dot = s.openPath && s.x1 == s.x2 && s.y1 == s.y2;
    if (!dot) writer_.DxfLine(startX_, startY_, zLevel_, endX_, endY_, zLevel_);
    if (s.closesContour) writer_.DxfLine(endX_, endY_, zLevel_, endX_, endY_, zMove_);
  }

 private:
  static void reuseOrFormat(DxfNumber& slot, float v, const DxfNumber& previousEnd) {
    if (std::bit_cast<std::uint32_t>(v) == std::bit_cast<std::uint32_t>(previousEnd.value)) {
      slot = previousEnd;
    } else {
      slot = DxfNumber(v);
    }
  }

  DxfWriter& writer_;
  DxfNumber zMove_;
  DxfNumber zLevel_;
  DxfNumber startX_, startY_, endX_, endY_;
};

class PolyLineSink final : public StrokeSink {
 public:
  PolyLineSink(DxfWriter& writer, float zLevel) : writer_(writer), zLevel_(zLevel) {}

  void placeStroke(const PlacedStroke& s) override {
    startX_ = std::bit_cast<std::uint32_t>(s.x1) == std::bit_cast<std::uint32_t>(endX_.value)
                  ? endX_
                  : DxfNumber(s.x1);
    startY_ = std::bit_cast<std::uint32_t>(s.y1) == std::bit_cast<std::uint32_t>(endY_.value)
                  ? endY_
                  : DxfNumber(s.y1);
    endX_ = DxfNumber(s.x2);
    endY_ = DxfNumber(s.y2);
    writer_.DxfPolyLine(startX_, startY_, zLevel_, endX_, endY_, zLevel_);
  }

 private:
  DxfWriter& writer_;
  DxfNumber zLevel_;
  DxfNumber startX_, startY_, endX_, endY_;
};

// Multiplies every placed point by one factor about the origin, for a fit size; each value
// rounded once to single precision, as the walk places them.
class ScaledSink final : public StrokeSink {
 public:
  ScaledSink(StrokeSink& next, double factor) : next_(next), factor_(factor) {}

  void placeStroke(const PlacedStroke& s) override {
    PlacedStroke t = s;
    t.x1 = static_cast<float>(s.x1 * factor_);
    t.y1 = static_cast<float>(s.y1 * factor_);
    t.x2 = static_cast<float>(s.x2 * factor_);
    t.y2 = static_cast<float>(s.y2 * factor_);
    next_.placeStroke(t);
  }

 private:
  StrokeSink& next_;
  double factor_;
};

void walkScaled(const TextSource& text, const LayoutParameters& layout, GlyphSource& glyphs,
                StrokeSink& sink, ExportObserver* observer, double scale) {
  if (scale == 1.0) {
    walkText(text, layout, glyphs, sink, observer);
  } else {
    ScaledSink scaled(sink, scale);
    walkText(text, layout, glyphs, scaled, observer);
  }
}

// Hands the drawing's paths to sink as the walk would have placed them: one stroke per edge,
// the first opening its path, the last closing it.
void strokesOfDrawing(const Drawing& drawing, StrokeSink& sink) {
  for (const PlacedCharacter& c : drawing.characters) {
    for (const Contour& k : c.contours) {
      const std::size_t n = k.points.size();
      if (n == 0 || (n == 1 && k.closed)) continue;
      // An open path of one point is a single-line face's dot: one stroke from the point to
      // itself, a plunge and a retract as the walk writes it.
      const std::size_t edges = k.closed ? n : std::max<std::size_t>(n - 1, 1);
      for (std::size_t i = 0; i < edges; ++i) {
        const Vec2& a = k.points[i];
        const Vec2& b = k.points[(i + 1) % n];
        PlacedStroke s;
        s.openPath = !k.closed;
        s.x1 = static_cast<float>(a.x);
        s.y1 = static_cast<float>(a.y);
        s.x2 = static_cast<float>(b.x);
        s.y2 = static_cast<float>(b.y);
        s.opensContour = i == 0;
        s.closesContour = i + 1 == edges;
        sink.placeStroke(s);
      }
    }
  }
}

}  // namespace

StrokeWalk scaledWalk(StrokeWalk walk, double factor) {
  if (factor == 1.0) return walk;
  return [walk = std::move(walk), factor](StrokeSink& sink) {
    ScaledSink scaled(sink, factor);
    walk(scaled);
  };
}

float unitScaleFor(int scale, int pointSize) {
  if (scale <= 0) return 1.0f;
  return quotientToFloat(std::int64_t{scale} * pointSize, 100000);
}

void saveLinesDxf(const std::string& path, const TextSource& text, const ExportSettings& settings,
                  GlyphSource& glyphs, ExportObserver* observer, double scale) {
  const LayoutParameters layout = layoutParametersOf(settings);
  saveLinesDxf(path, settings, [&](StrokeSink& sink) {
    walkScaled(text, layout, glyphs, sink, observer, scale);
  });
}

void savePolyLinesDxf(const std::string& path, const TextSource& text,
                      const ExportSettings& settings, GlyphSource& glyphs,
                      ExportObserver* observer, double scale) {
  const LayoutParameters layout = layoutParametersOf(settings);
  savePolyLinesDxf(path, settings, [&](StrokeSink& sink) {
    walkScaled(text, layout, glyphs, sink, observer, scale);
  });
}

void saveLinesDxf(const std::string& path, const Drawing& drawing, const ExportSettings& settings) {
  saveLinesDxf(path, settings, [&](StrokeSink& sink) { strokesOfDrawing(drawing, sink); });
}

void savePolyLinesDxf(const std::string& path, const Drawing& drawing,
                      const ExportSettings& settings) {
  savePolyLinesDxf(path, settings, [&](StrokeSink& sink) { strokesOfDrawing(drawing, sink); });
}

void saveLinesDxf(const std::string& path, const ExportSettings& settings, const StrokeWalk& walk) {
  const float zMove = parseFiniteNumber(settings.zMoveText).value_or(0.0f);
  const float zLevel = parseFiniteNumber(settings.zLevelText).value_or(0.0f);
  OutputFile file(path);
  DxfWriter writer(file, dxfLayerName(settings.layerText));
  writer.lineFrameHeader();
  LineSink sink(writer, zMove, zLevel);
  walk(sink);
  writer.lineFrameFooter();
  writer.flush();
  file.commit();
}

void savePolyLinesDxf(const std::string& path, const ExportSettings& settings,
                      const StrokeWalk& walk) {
  const float zLevel = parseFiniteNumber(settings.zLevelText).value_or(0.0f);
  OutputFile file(path);
  DxfWriter writer(file, dxfLayerName(settings.layerText));
  writer.polyFrameHeader();
  PolyLineSink sink(writer, zLevel);
  walk(sink);
  writer.polyFrameFooter();
  writer.flush();
  file.commit();
}

}  // namespace kerfline
