// Font spacing against the classic walk: 20,000 characters of Latin prose in "Arial" 12 pt at
// resolution 2 written as "Lines + Z moves" both ways, and the shaping alone (HarfBuzz runs,
// bidi levels, placement; no outline conversion) per character.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "common/text_source.h"
#include "prose_text.h"
#include "export/text_export.h"
#include "typography/shaped_layout.h"
#include "typography/text_placement.h"
#include "vectorizer/UTTF2Vct.h"

namespace {

constexpr std::int32_t kCharacters = 20000;

using kerfline::bench::ProseText;

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
