// Single-line fonts: reading the largest installed LFF file (the first use of a face) and
// converting letters of a single-line face with the face already read.
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>
#include <string>

#include "vectorizer/UTTF2Vct.h"
#include "vectorizer/single_line_font.h"

namespace {

void readLargestLff(benchmark::State& state) {
  std::ifstream in("/usr/share/librecad/fonts/azomix.lff", std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  const std::string bytes = s.str();
  if (bytes.empty()) {
    state.SkipWithError("azomix.lff not installed (librecad-data)");
    return;
  }
  std::size_t glyphs = 0;
  for (auto _ : state) {
    const kerfline::SingleLineFont font = kerfline::readLff(bytes);
    glyphs = font.glyphs.size();
    benchmark::DoNotOptimize(glyphs);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
  state.counters["glyphs"] = static_cast<double>(glyphs);
}
BENCHMARK(readLargestLff)->Unit(benchmark::kMillisecond);

void convertSingleLineLetters(benchmark::State& state) {
  kerfline::TTTFToVectorConverter converter;
  kerfline::TFontDescription font;
  font.Name = "ISO 3098";
  converter.SetFont(font);
  converter.SetUNICODE(true);
  converter.SetPrecision(static_cast<int>(state.range(0)));
  converter.ConvertChar('A');  // reads the face once
  std::string letters;
  for (char c = 'A'; c <= 'Z'; ++c) letters += c;
  for (char c = 'a'; c <= 'z'; ++c) letters += c;
  for (auto _ : state) {
    for (char c : letters) {
      converter.SetFont(font);
      auto result = converter.ConvertChar(static_cast<unsigned char>(c));
      benchmark::DoNotOptimize(result);
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(letters.size()));
}
BENCHMARK(convertSingleLineLetters)->Arg(2)->Arg(8);

}  // namespace

BENCHMARK_MAIN();
