// Font spacing against the classic walk: 20,000 characters of Latin prose in "Arial" 12 pt at
// resolution 2 written as "Lines + Z moves" both ways, and the shaping alone (HarfBuzz runs,
// bidi levels, placement; no outline conversion) per character.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "common/text_source.h"
#include "export/text_export.h"
#include "typography/shaped_layout.h"
#include "typography/text_placement.h"
#include "vectorizer/UTTF2Vct.h"

namespace {

constexpr std::int32_t kCharacters = 20000;

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

std::string benchTarget() {
  return "/tmp/kerfline-typography-bench-" + std::to_string(::getpid()) + ".dxf";
}

void exportWith(benchmark::State& state, kerfline::ConversionOptions options) {
  const ProseText text(kCharacters);
  kerfline::TTTFToVectorConverter converter;
  const std::string target = benchTarget();
  for (auto _ : state) kerfline::saveStrokeDxf(target, text, options, converter);
  std::remove(target.c_str());
  state.SetItemsProcessed(state.iterations() * kCharacters);
}

void BM_LinesClassic(benchmark::State& state) { exportWith(state, {}); }

void BM_LinesFontSpacing(benchmark::State& state) {
  kerfline::ConversionOptions options;
  options.spacing = kerfline::SpacingMode::Font;
  exportWith(state, options);
}

void BM_LinesFontSpacingCentred(benchmark::State& state) {
  kerfline::ConversionOptions options;
  options.spacing = kerfline::SpacingMode::Font;
  options.align = kerfline::Alignment::Center;
  options.autoPitch = true;
  exportWith(state, options);
}

void BM_ShapingOnly(benchmark::State& state) {
  const ProseText text(kCharacters);
  kerfline::TTTFToVectorConverter converter;
  for (auto _ : state) {
    kerfline::ShapedText shaped = kerfline::shapeText(text, {}, converter);
    benchmark::DoNotOptimize(shaped);
  }
  state.SetItemsProcessed(state.iterations() * kCharacters);
}

BENCHMARK(BM_LinesClassic)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LinesFontSpacing)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LinesFontSpacingCentred)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShapingOnly)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
