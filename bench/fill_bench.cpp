// Filled letters of a whole line: the pangram "The quick brown fox jumps over the lazy dog 1234"
// with 25 mm capitals, hatched at 0.1 mm, offset-filled at 0.2 mm and pocketed with a 1 mm bit,
// each from the finished drawing as an export fills it (weld, regions, pieces, runs).
#include <benchmark/benchmark.h>

#include <string>

#include "export/fill_export.h"
#include "pangram_drawing.h"

namespace {

kerfline::Drawing pangram() {
  return kerfline::bench::capitalsAt25mm(U"The quick brown fox jumps over the lazy dog 1234");
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
