// Filled letters of a whole line: the pangram "The quick brown fox jumps over the lazy dog 1234"
// with 25 mm capitals, hatched at 0.1 mm, offset-filled at 0.2 mm and pocketed with a 1 mm bit,
// each from the finished drawing as an export fills it (weld, regions, pieces, runs).
#include <benchmark/benchmark.h>

#include <string>

#include "common/text_source.h"
#include "export/converter_glyph_source.h"
#include "export/drawing_layout.h"
#include "export/fill_export.h"
#include "vectorizer/UTTF2Vct.h"

namespace {

class Pangram final : public kerfline::TextSource {
 public:
  Pangram() { font_.Name = "DejaVu Sans"; font_.Size = 24; }
  std::int32_t length() const override { return static_cast<std::int32_t>(text_.size()); }
  char32_t charAt(std::int32_t pos) const override { return text_[static_cast<std::size_t>(pos - 1)]; }
  kerfline::TFontDescription fontAt(std::int32_t) const override { return font_; }

 private:
  std::u32string text_ = U"The quick brown fox jumps over the lazy dog 1234";
  kerfline::TFontDescription font_;
};

// The drawing in millimetres, scaled so that the "T" stands 25 mm tall.
kerfline::Drawing pangram() {
  const Pangram text;
  kerfline::TTTFToVectorConverter converter;
  kerfline::ConverterGlyphSource glyphs(converter);
  kerfline::Drawing d = kerfline::layoutDrawing(text, kerfline::ExportSettings{}, glyphs);
  kerfline::Drawing capital;
  capital.characters = {d.characters.front()};
  const double scale = 25 / capital.extent().height();
  for (kerfline::PlacedCharacter& c : d.characters)
    for (kerfline::Contour& k : c.contours)
      for (kerfline::Vec2& p : k.points) p = {p.x * scale, p.y * scale};
  return d;
}

void fill(benchmark::State& state, kerfline::ConversionOptions options) {
  const kerfline::Drawing drawing = pangram();
  options.format = kerfline::OutputFormat::Gcode;
  std::size_t pieces = 0;
  for (auto _ : state) {
    const kerfline::FilledDrawing filled = kerfline::fillDrawing(drawing, options);
    pieces = 0;
    for (const kerfline::PlacedCharacter& c : filled.pieces.characters) pieces += c.contours.size();
    benchmark::DoNotOptimize(pieces);
  }
  state.counters["pieces"] = static_cast<double>(pieces);
}

void BM_Hatch(benchmark::State& state) {
  kerfline::ConversionOptions o;
  o.cut = kerfline::CutOperation::Hatch;
  o.fill.interval = 0.1;
  fill(state, o);
}
BENCHMARK(BM_Hatch)->Name("BM_Fill_hatch_pangram_25mm_0.1")->Unit(benchmark::kMillisecond);

void BM_OffsetFill(benchmark::State& state) {
  kerfline::ConversionOptions o;
  o.cut = kerfline::CutOperation::OffsetFill;
  o.fill.interval = 0.2;
  fill(state, o);
}
BENCHMARK(BM_OffsetFill)->Name("BM_Fill_offset_pangram_25mm_0.2")->Unit(benchmark::kMillisecond);

void BM_Pocket(benchmark::State& state) {
  kerfline::ConversionOptions o;
  o.cut = kerfline::CutOperation::Pocket;
  o.fill.toolDiameter = 1;
  fill(state, o);
}
BENCHMARK(BM_Pocket)->Name("BM_Fill_pocket_pangram_25mm_1mm")->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
