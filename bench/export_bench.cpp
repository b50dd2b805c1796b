// Export throughput: DxfReal formatting, and the whole export of a 20,000-character text
// through the real converter ("Arial", resolution 2) in the classic forms, the closed-polyline
// DXF (R12 and R2000) and SVG, with each file's size against the "Lines + Z moves" file.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "common/text_source.h"
#include "prose_text.h"
#include "export/converter_glyph_source.h"
#include "export/drawing_export.h"
#include "export/drawing_layout.h"
#include "export/dxf_real.h"
#include "export/layout_walk.h"
#include "export/shortest_float.h"
#include "export/text_export.h"
#include "geometry/cut_order.h"
#include "vectorizer/UTTF2Vct.h"

namespace {

using kerfline::bench::ProseText;

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

// The SVG's numbers: the shortest text that reads back, against the standard library's.
template <bool kLibrary>
void BM_ShortestFixed(benchmark::State& state) {
  std::mt19937 rng(1);
  std::uniform_real_distribution<float> drawing(-500.0f, 500.0f);
  std::vector<float> values(4096);
  for (auto& v : values) v = drawing(rng);
  char buffer[kerfline::kShortestFixedMaxLength];
  std::size_t i = 0;
  for (auto _ : state) {
    const float v = values[i++ & 4095];
    if (kLibrary) {
      benchmark::DoNotOptimize(
          std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed).ptr);
    } else {
      benchmark::DoNotOptimize(kerfline::writeShortestFixed(buffer, v));
    }
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ShortestFixed<false>)->Name("BM_ShortestFixed");
BENCHMARK(BM_ShortestFixed<true>)->Name("BM_ShortestFixed_library");

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

long fileSize(const std::string& path) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return 0;
  std::fseek(f, 0, SEEK_END);
  const long bytes = std::ftell(f);
  std::fclose(f);
  return bytes;
}

// The stages of the closed-contour forms before any writing.
void BM_ContourModel(benchmark::State& state) {
  const ProseText text(20000);
  kerfline::TTTFToVectorConverter converter;
  kerfline::ConverterGlyphSource glyphs(converter);
  const kerfline::ExportSettings settings;
  const bool order = state.range(0) != 0;
  for (auto _ : state) {
    kerfline::Drawing d = kerfline::layoutDrawing(text, settings, glyphs);
    if (order) kerfline::orderForCutting(d);
    benchmark::DoNotOptimize(d);
  }
}
BENCHMARK(BM_ContourModel)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The closed-contour forms, timed whole (conversion, contour model, writing), with the file
// size as a share of the "Lines + Z moves" file of the same text.
void BM_ExportForm(benchmark::State& state, kerfline::OutputFormat format, int dxfVersion) {
  const ProseText text(20000);
  kerfline::TTTFToVectorConverter converter;
  kerfline::ConverterGlyphSource glyphs(converter);
  kerfline::ConversionOptions options;
  const std::string target = benchTarget();
  kerfline::FileSave(target, text, options.classic, converter);
  const long linesBytes = fileSize(target);
  options.format = format;
  options.dxfVersion = dxfVersion;
  for (auto _ : state) {
    kerfline::exportDrawingFile(target, text, options, glyphs);
  }
  const long bytes = fileSize(target);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * bytes);
  state.counters["MB"] = static_cast<double>(bytes) / 1e6;
  state.counters["of_lines"] = static_cast<double>(bytes) / static_cast<double>(linesBytes);
  std::remove(target.c_str());
}
BENCHMARK_CAPTURE(BM_ExportForm, closed_r12_20000_chars, kerfline::OutputFormat::Closed, 12)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ExportForm, closed_r2000_20000_chars, kerfline::OutputFormat::Closed, 2000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ExportForm, svg_20000_chars, kerfline::OutputFormat::Svg, 12)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
