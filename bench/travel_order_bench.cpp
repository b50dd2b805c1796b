// Travel planning: 20,000 characters of prose (Arial's metric twin at 12 points, lines of about
// 70 characters) as the real converter places them; the ordering alone, then the figures.
#include <benchmark/benchmark.h>

#include "export/converter_glyph_source.h"
#include "export/drawing_layout.h"
#include "geometry/cut_order.h"
#include "geometry/travel_order.h"
#include "prose_text.h"
#include "vectorizer/UTTF2Vct.h"

namespace {

const kerfline::Drawing& proseDrawing() {
  static const kerfline::Drawing drawing = [] {
    const kerfline::bench::ProseText text(20000);
    kerfline::TTTFToVectorConverter converter;
    kerfline::ConverterGlyphSource glyphs(converter);
    kerfline::Drawing d = kerfline::layoutDrawing(text, kerfline::ExportSettings{}, glyphs);
    kerfline::orderForCutting(d);
    return d;
  }();
  return drawing;
}

void BM_PlanTravel(benchmark::State& state) {
  const kerfline::Drawing& d = proseDrawing();
  const auto addresses = kerfline::pathAddresses(d);
  const auto paths = kerfline::pathsAt(d, addresses);
  const auto before = kerfline::holesBeforeOutlines(d, addresses);
  kerfline::TravelPlan plan;
  for (auto _ : state) benchmark::DoNotOptimize(plan = kerfline::planTravel(paths, before));
  const kerfline::TravelFigures f = kerfline::travelFigures(paths, plan, {});
  state.counters["paths"] = static_cast<double>(paths.size());
  state.counters["travel_share"] = f.travel / f.textOrderTravel;
  state.counters["over_bound"] = f.travel / f.lowerBound;
}
BENCHMARK(BM_PlanTravel)->Name("BM_PlanTravel_20000_chars")->Unit(benchmark::kMillisecond);

void BM_TravelFigures(benchmark::State& state) {
  const kerfline::Drawing& d = proseDrawing();
  const auto addresses = kerfline::pathAddresses(d);
  const auto paths = kerfline::pathsAt(d, addresses);
  const kerfline::TravelPlan plan = kerfline::planTravel(paths, kerfline::holesBeforeOutlines(d, addresses));
  for (auto _ : state) benchmark::DoNotOptimize(kerfline::travelFigures(paths, plan, {}));
}
BENCHMARK(BM_TravelFigures)->Name("BM_TravelFigures_20000_chars")->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
