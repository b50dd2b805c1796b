// Toolpath throughput: the weld of a 2,000-character text in a script face (URW "Z003"), and
// 20,000 characters to G-code without weld, through the real converter at resolution 2 or
// fitted with arcs at a tolerance.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "common/text_source.h"
#include "prose_text.h"
#include "export/converter_glyph_source.h"
#include "export/drawing_export.h"
#include "export/drawing_layout.h"
#include "export/gcode_writer.h"
#include "geometry/kerf_offset.h"
#include "geometry/weld.h"
#include "vectorizer/UTTF2Vct.h"

namespace {

using kerfline::bench::ProseText;

std::string benchTarget() { return "/tmp/kerfline-toolpath-bench-" + std::to_string(::getpid()) + ".nc"; }

// The script text as the classic walk places it (SPACE 0, lines 3 units apart at 24 points,
// so descenders reach into the next line), or with every letter drawn 0.8 units further into
// its neighbour as tight tracking sets it, so that nearly every letter overlaps the next.
kerfline::Drawing scriptDrawing(bool tight) {
  const ProseText text(2000, "Z003", 24);
  kerfline::ExportSettings settings;
  settings.spacePercent = 0;
  settings.pitchText = "-3";
  kerfline::TTTFToVectorConverter converter;
  kerfline::ConverterGlyphSource glyphs(converter);
  kerfline::Drawing d = kerfline::layoutDrawing(text, settings, glyphs);
  if (tight) {
    int index = 0;
    for (std::size_t i = 0; i < d.characters.size(); ++i) {
      index = i > 0 && d.characters[i].line == d.characters[i - 1].line ? index + 1 : 0;
      for (auto& k : d.characters[i].contours)
        for (auto& p : k.points) p.x -= 0.8 * index;
    }
  }
  return d;
}

void BM_Weld(benchmark::State& state) {
  const kerfline::Drawing source = scriptDrawing(state.range(0) != 0);
  std::size_t groups = 0;
  for (auto _ : state) {
    state.PauseTiming();
    kerfline::Drawing d = source;
    state.ResumeTiming();
    kerfline::weldOverlaps(d);
    groups = d.characters.size();
  }
  state.counters["characters"] = static_cast<double>(source.characters.size());
  state.counters["welded"] = static_cast<double>(groups);
}
BENCHMARK(BM_Weld)->Name("BM_Weld_2000_script_chars")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Kerf(benchmark::State& state) {
  const kerfline::Drawing source = scriptDrawing(false);
  for (auto _ : state) {
    state.PauseTiming();
    kerfline::Drawing d = source;
    state.ResumeTiming();
    benchmark::DoNotOptimize(kerfline::offsetForKerf(d, 0.1));
  }
}
BENCHMARK(BM_Kerf)->Name("BM_Kerf_2000_script_chars")->Unit(benchmark::kMillisecond);

void BM_WeldExport(benchmark::State& state) {
  const ProseText text(2000, "Z003", 24);
  kerfline::ConversionOptions options;
  options.format = kerfline::OutputFormat::Gcode;
  options.classic.spacePercent = 0;
  options.classic.pitchText = "-3";
  options.weld = true;
  kerfline::TTTFToVectorConverter converter;
  kerfline::ConverterGlyphSource glyphs(converter);
  const std::string target = benchTarget();
  for (auto _ : state) kerfline::exportDrawingFile(target, text, options, glyphs);
  std::remove(target.c_str());
}
BENCHMARK(BM_WeldExport)->Name("BM_Gcode_weld_2000_script_chars")->Unit(benchmark::kMillisecond);

void BM_GcodeWrite(benchmark::State& state) {
  const ProseText text(20000, "Arial", 12);
  kerfline::TTTFToVectorConverter converter;
  kerfline::ConverterGlyphSource glyphs(converter);
  const kerfline::ConversionOptions options;
  const kerfline::Drawing d = kerfline::cutReadyDrawing(text, options, glyphs);
  const std::string target = benchTarget();
  for (auto _ : state) kerfline::saveGcodeFile(target, d, options, "bench");
  if (FILE* f = std::fopen(target.c_str(), "rb")) {
    std::fseek(f, 0, SEEK_END);
    state.counters["MB"] = static_cast<double>(std::ftell(f)) / 1e6;
    std::fclose(f);
  }
  std::remove(target.c_str());
}
BENCHMARK(BM_GcodeWrite)->Name("BM_GcodeWrite_20000_chars")->Unit(benchmark::kMillisecond);

void BM_Layout(benchmark::State& state) {
  const ProseText text(20000, "Arial", 12);
  kerfline::TTTFToVectorConverter converter;
  kerfline::ConverterGlyphSource glyphs(converter);
  const kerfline::ConversionOptions options;
  for (auto _ : state) benchmark::DoNotOptimize(kerfline::cutReadyDrawing(text, options, glyphs));
}
BENCHMARK(BM_Layout)->Name("BM_CutReadyDrawing_20000_chars")->Unit(benchmark::kMillisecond);

// Argument: 0 the default program (lines, planned for travel), 1 the same fitted with arcs
// at a tolerance of 0.01 mm.
void BM_GcodeExport(benchmark::State& state) {
  const ProseText text(20000, "Arial", 12);
  kerfline::ConversionOptions options;
  options.format = kerfline::OutputFormat::Gcode;
  if (state.range(0) != 0) {
    options.tolerance = 0.01;
    options.arcs = true;
  }
  kerfline::TTTFToVectorConverter converter;
  kerfline::ConverterGlyphSource glyphs(converter);
  const std::string target = benchTarget();
  for (auto _ : state) kerfline::exportDrawingFile(target, text, options, glyphs);
  std::remove(target.c_str());
}
BENCHMARK(BM_GcodeExport)
    ->Name("BM_Gcode_20000_chars")
    ->ArgName("arcs")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
