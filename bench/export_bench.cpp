// Export throughput: DxfReal formatting, and the whole "Lines + Z moves" / "PolyLines" export
// of a 20,000-character text through the real converter ("Arial", resolution 2).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "common/text_source.h"
#include "export/converter_glyph_source.h"
#include "export/dxf_real.h"
#include "export/layout_walk.h"
#include "export/text_export.h"
#include "vectorizer/UTTF2Vct.h"

namespace {

// Prose in lines of about 70 characters, CR LF between lines, one font throughout.
class ProseText final : public kerfline::TextSource {
 public:
  explicit ProseText(std::int32_t length) {
    const std::u32string words =
        U"The quick brown fox jumps over the lazy dog while Kerfline cuts 0123456789 letters. ";
    std::size_t column = 0;
    while (text_.size() < static_cast<std::size_t>(length)) {
      for (const char32_t c : words) {
        if (text_.size() >= static_cast<std::size_t>(length)) break;
        if (column >= 70 && c == U' ') {
          text_ += U"\r\n";
          column = 0;
          continue;
        }
        text_ += c;
        ++column;
      }
    }
    text_.resize(static_cast<std::size_t>(length));
    font_.Name = "Arial";
    font_.Size = 12;
  }
  std::int32_t length() const override { return static_cast<std::int32_t>(text_.size()); }
  char32_t charAt(std::int32_t pos) const override { return text_[static_cast<std::size_t>(pos - 1)]; }
  kerfline::TFontDescription fontAt(std::int32_t) const override { return font_; }

 private:
  std::u32string text_;
  kerfline::TFontDescription font_;
};

std::string benchTarget() { return "/tmp/kerfline-export-bench-" + std::to_string(::getpid()) + ".dxf"; }

void BM_DxfReal(benchmark::State& state) {
  std::mt19937 rng(1);
  std::uniform_real_distribution<float> drawing(-500.0f, 500.0f);
  std::vector<float> values(4096);
  for (auto& v : values) v = drawing(rng);
  char buffer[kerfline::kDxfRealMaxLength];
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(kerfline::writeDxfReal(buffer, values[i++ & 4095]));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DxfReal);

void BM_ConvertOnly(benchmark::State& state) {
  const ProseText text(20000);
  kerfline::TTTFToVectorConverter converter;
  kerfline::ConverterGlyphSource glyphs(converter);
  for (auto _ : state) {
    std::size_t strokes = 0;
    for (std::int32_t pos = 1; pos <= text.length(); ++pos) {
      const auto c = text.charAt(pos);
      if (c == 13 || c == 10) continue;
      const auto collection = glyphs.strokesOf(text.fontAt(pos), c, 2);
      if (collection) strokes += collection->strokes().size();
    }
    benchmark::DoNotOptimize(strokes);
    state.counters["strokes"] = static_cast<double>(strokes);
  }
}
BENCHMARK(BM_ConvertOnly)->Unit(benchmark::kMillisecond);

template <bool kPoly>
void BM_Save20000(benchmark::State& state) {
  const ProseText text(20000);
  kerfline::TTTFToVectorConverter converter;
  kerfline::ExportSettings settings;
  const std::string target = benchTarget();
  for (auto _ : state) {
    if (kPoly) {
      kerfline::SavePoly2(target, text, settings, converter);
    } else {
      kerfline::FileSave(target, text, settings, converter);
    }
  }
  if (FILE* f = std::fopen(target.c_str(), "rb")) {
    std::fseek(f, 0, SEEK_END);
    const long bytes = std::ftell(f);
    std::fclose(f);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * bytes);
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
  }
  std::remove(target.c_str());
}
BENCHMARK(BM_Save20000<false>)->Name("BM_FileSave_20000_chars")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Save20000<true>)->Name("BM_SavePoly2_20000_chars")->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
