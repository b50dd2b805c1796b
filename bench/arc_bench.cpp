// Flattening at a tolerance and fitting arcs, for 20,000 characters of prose: the geometry
// part of a conversion with a tolerance and arcs. The records are read once per distinct
// character beforehand (loading glyphs is the vectorizer benchmark's business); every
// character is then flattened and fitted afresh, as without a cache of fitted glyphs.
#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

#include "geometry/arc_fitting.h"
#include "vectorizer/UTTF2Vct.h"
#include "vectorizer/tolerance_flattening.h"

namespace {

using namespace kerfline;

constexpr int kCharacters = 20000;

std::vector<const Outline*> proseOutlines(std::map<char32_t, Outline>& outlines) {
  const std::u32string words =
      U"The quick brown fox jumps over the lazy dog while Kerfline cuts 0123456789 letters. ";
  TTTFToVectorConverter converter;
  TFontDescription font;
  font.Name = "DejaVu Sans";
  converter.SetFont(font);
  converter.SetUNICODE(true);
  std::vector<const Outline*> text;
  for (int i = 0; i < kCharacters; ++i) {
    const char32_t c = words[static_cast<std::size_t>(i) % words.size()];
    auto it = outlines.find(c);
    if (it == outlines.end()) {
      Outline outline;
      converter.OutlineOfChar(static_cast<std::int32_t>(c), outline);
      it = outlines.emplace(c, std::move(outline)).first;
    }
    if (!it->second.empty()) text.push_back(&it->second);
  }
  return text;
}

// Arguments: the em in micrometres, whether arcs are fitted.
void flattenAndFit(benchmark::State& state) {
  std::map<char32_t, Outline> outlines;
  const std::vector<const Outline*> text = proseOutlines(outlines);
  const double tolerance = 0.01;
  const OutlineTransform map = OutlineTransform::scaling(state.range(0) / 1000.0 / kOutlineEm);
  const bool arcs = state.range(1) != 0;
  const ToleranceShares shares = arcs ? arcToleranceShares(tolerance) : ToleranceShares{tolerance, 0};
  std::int64_t pieces = 0;
  for (auto _ : state) {
    for (const Outline* outline : text) {
      for (const FlatContour& ring : flattenOutline(*outline, map, shares.flattening)) {
        if (!arcs) {
          pieces += static_cast<std::int64_t>(ring.points.size());
          continue;
        }
        Contour polyline;
        PolylineTangents tangents;
        polyline.points.reserve(ring.points.size());
        for (std::size_t i = 0; i < ring.points.size(); ++i) {
          polyline.points.push_back({ring.points[i].x, ring.points[i].y});
          tangents.in.push_back({ring.tangentIn[i].x, ring.tangentIn[i].y});
          tangents.out.push_back({ring.tangentOut[i].x, ring.tangentOut[i].y});
        }
        const ArcPath path = fitArcs(polyline, {shares.fitting}, &tangents);
        pieces += static_cast<std::int64_t>(pieceCount(path));
        benchmark::DoNotOptimize(path);
      }
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
  state.counters["pieces/character"] =
      static_cast<double>(pieces) / static_cast<double>(state.iterations() * text.size());
}
BENCHMARK(flattenAndFit)
    ->ArgNames({"em_um", "arcs"})
    ->Args({5000, 0})
    ->Args({5000, 1})
    ->Args({35000, 0})
    ->Args({35000, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
