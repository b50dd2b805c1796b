// Conversions per second for the letters A-Z a-z of "Arial" with warm font caches.
#include <benchmark/benchmark.h>

#include <string>

#include "vectorizer/UTTF2Vct.h"

namespace {

void convertLetters(benchmark::State& state) {
  kerfline::TTTFToVectorConverter converter;
  kerfline::TFontDescription font;
  font.Name = "Arial";
  converter.SetPrecision(static_cast<int>(state.range(0)));
  std::string letters;
  for (char c = 'A'; c <= 'Z'; ++c) letters += c;
  for (char c = 'a'; c <= 'z'; ++c) letters += c;
  // Warm the match and face caches once; every timed conversion still loads its glyph afresh.
  converter.SetFont(font);
  converter.ConvertChar('A');

  std::int64_t strokes = 0;
  for (auto _ : state) {
    for (char c : letters) {
      converter.SetFont(font);
      auto result = converter.ConvertChar(static_cast<unsigned char>(c));
      strokes += result ? result->Count() : 0;
      benchmark::DoNotOptimize(result);
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(letters.size()));
  state.counters["strokes/conversion"] =
      static_cast<double>(strokes) / static_cast<double>(state.iterations() * letters.size());
}
BENCHMARK(convertLetters)->Arg(2)->Arg(8);

}  // namespace

BENCHMARK_MAIN();
