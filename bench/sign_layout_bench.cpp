// Sign layout: 2,000 characters of prose in font spacing bent onto a cubic wave path and onto
// a circle (rigid letters), against copying the straight drawing alone; the difference is
// what the placement costs beyond the straight layout.
#include <benchmark/benchmark.h>

#include "prose_text.h"
#include "layout/sign_placement.h"
#include "typography/text_placement.h"
#include "vectorizer/UTTF2Vct.h"

namespace {

constexpr std::int32_t kCharacters = 2000;

// The straight drawing, with the advances a bent layout keeps, placed once.
const kerfline::Drawing& straightDrawing() {
  static const kerfline::Drawing drawing = [] {
    const kerfline::bench::ProseText text(kCharacters);
    kerfline::TTTFToVectorConverter converter;
    kerfline::ConversionOptions options;
    options.spacing = kerfline::SpacingMode::Font;
    options.layout.arcRadius = 1;  // asks the placement to keep the advances
    return kerfline::placeDrawing(text, options, converter);
  }();
  return drawing;
}

void bendWith(benchmark::State& state, const kerfline::SignLayout& layout) {
  const kerfline::Drawing& straight = straightDrawing();
  for (auto _ : state) {
    kerfline::Drawing d = straight;
    if (layout.active()) kerfline::placeSign(d, layout);
    benchmark::DoNotOptimize(d.characters.data());
  }
}

void BM_StraightCopy(benchmark::State& state) { bendWith(state, {}); }

void BM_OnWavePath(benchmark::State& state) {
  kerfline::SignLayout layout;
  std::string wave = "M 0 0";
  for (int i = 0; i < 400; ++i) wave += " c 50 -30 100 -30 150 0 s 100 30 150 0";
  layout.pathData = wave;
  bendWith(state, layout);
}

void BM_OnCircle(benchmark::State& state) {
  kerfline::SignLayout layout;
  layout.arcRadius = 100000;
  bendWith(state, layout);
}

BENCHMARK(BM_StraightCopy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OnWavePath)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OnCircle)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
