// The medial axis and the V-carve of a whole line: the pangram "The quick brown fox jumps over the lazy dog" in
// DejaVu Sans with 25 mm capitals, each letter's region built as the product builds it.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "carving/medial_axis.h"
#include "carving/vcarve.h"
#include "common/text_source.h"
#include "export/converter_glyph_source.h"
#include "export/drawing_layout.h"
#include "vectorizer/UTTF2Vct.h"

namespace {

class Pangram final : public kerfline::TextSource {
 public:
  Pangram() { font_.Name = "DejaVu Sans"; font_.Size = 24; }
  std::int32_t length() const override { return static_cast<std::int32_t>(text_.size()); }
  char32_t charAt(std::int32_t pos) const override { return text_[static_cast<std::size_t>(pos - 1)]; }
  kerfline::TFontDescription fontAt(std::int32_t) const override { return font_; }

 private:
  std::u32string text_ = U"The quick brown fox jumps over the lazy dog";
  kerfline::TFontDescription font_;
};

// Each letter's region in millimetres: the drawing scaled so that the "T" stands 25 mm tall.
std::vector<std::vector<kerfline::GridRing>> pangramRegions() {
  const Pangram text;
  kerfline::TTTFToVectorConverter converter;
  kerfline::ConverterGlyphSource glyphs(converter);
  kerfline::Drawing d = kerfline::layoutDrawing(text, kerfline::ExportSettings{}, glyphs);
  kerfline::Drawing capital;
  capital.characters = {d.characters.front()};
  const double scale = 25 / capital.extent().height();
  std::vector<std::vector<kerfline::GridRing>> regions;
  for (kerfline::PlacedCharacter& c : d.characters) {
    for (kerfline::Contour& k : c.contours)
      for (kerfline::Vec2& p : k.points) p = {p.x * scale, p.y * scale};
    regions.push_back(kerfline::regionRingsOf(c));
  }
  return regions;
}

void BM_MedialAxisPangram(benchmark::State& state) {
  const auto regions = pangramRegions();
  std::size_t edges = 0;
  for (auto _ : state) {
    edges = 0;
    for (const auto& rings : regions) edges += kerfline::medialAxis(rings, 0.01).edges.size();
    benchmark::DoNotOptimize(edges);
  }
  state.counters["letters"] = static_cast<double>(regions.size());
  state.counters["edges"] = static_cast<double>(edges);
}
BENCHMARK(BM_MedialAxisPangram)->Name("BM_MedialAxis_pangram_25mm")->Unit(benchmark::kMillisecond);

// The V-carve of the same line: the axis at the product's tolerance, chained into strokes,
// with a depth limit of 1.5 mm so that the wider strokes get a flat floor cleared by the V-bit.
void BM_VCarvePangram(benchmark::State& state) {
  const auto regions = pangramRegions();
  kerfline::VCarveSettings settings;
  settings.tolerance = 0.002;
  settings.retraceLimit = 3;  // Z up 1 at a feed three times the plunge feed
  settings.retracePerDepth = 3;
  if (state.range(0)) settings.maxDepth = 1.5;
  std::size_t strokes = 0;
  for (auto _ : state) {
    strokes = 0;
    for (const auto& rings : regions) strokes += kerfline::carveRegion(rings, settings).vbit.size();
    benchmark::DoNotOptimize(strokes);
  }
  state.counters["strokes"] = static_cast<double>(strokes);
}
BENCHMARK(BM_VCarvePangram)->Name("BM_VCarve_pangram_25mm")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
