// The medial axis and the V-carve of a whole line: the pangram "The quick brown fox jumps over the lazy dog" in
// DejaVu Sans with 25 mm capitals, each letter's region built as the product builds it.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "carving/medial_axis.h"
#include "carving/vcarve.h"
#include "pangram_drawing.h"

namespace {

// Each letter's region, built as the product builds it.
std::vector<std::vector<kerfline::GridRing>> pangramRegions() {
  const kerfline::Drawing d = kerfline::bench::capitalsAt25mm(U"The quick brown fox jumps over the lazy dog");
  std::vector<std::vector<kerfline::GridRing>> regions;
  for (const kerfline::PlacedCharacter& c : d.characters) regions.push_back(kerfline::regionRingsOf(c));
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
