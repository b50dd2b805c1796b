#include "export/dxf_export.h"

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
    writer_.DxfLine(startX_, startY_, zLevel_, endX_, endY_, zLevel_);
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

}  // namespace

float unitScaleFor(int scale, int pointSize) {
  if (scale <= 0) return 1.0f;
  return quotientToFloat(std::int64_t{scale} * pointSize, 100000);
}

void saveLinesDxf(const std::string& path, const TextSource& text, const ExportSettings& settings,
                  GlyphSource& glyphs, ExportObserver* observer) {
  const LayoutParameters layout = layoutParametersOf(settings);
  saveLinesDxf(path, settings,
               [&](StrokeSink& sink) { walkText(text, layout, glyphs, sink, observer); });
}

void savePolyLinesDxf(const std::string& path, const TextSource& text,
                      const ExportSettings& settings, GlyphSource& glyphs,
                      ExportObserver* observer) {
  const LayoutParameters layout = layoutParametersOf(settings);
  savePolyLinesDxf(path, settings,
                   [&](StrokeSink& sink) { walkText(text, layout, glyphs, sink, observer); });
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
