// The job view on a 20,000-character document: re-layout after an edit (the editor's text
// snapshot, the walk with every glyph already converted, cut order, the paths to paint) and
// one pan or zoom frame. An edit must be shown within 100 ms, a frame within 16 ms (60 Hz).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <string>

#include "common/freed_memory.h"
#include "export/converter_glyph_source.h"
#include "export/glyph_cache.h"
#include "typography/job_drawing.h"
#include "mainwindow/job_scene.h"
#include "mainwindow/job_view_paint.h"
#include "mainwindow/rich_edit.h"
#include "richtext/styled_text.h"
#include "vectorizer/UTTF2Vct.h"

namespace {

QApplication& application() {
  static int argc = 3;
  static char name[] = "job_view_bench";
  static char platform[] = "-platform";
  static char offscreen[] = "offscreen";
  static char* argv[] = {name, platform, offscreen, nullptr};
  static QApplication app(argc, argv);
  return app;
}

kerfline::TFontDescription face(const char* name, int size, bool bold = false) {
  kerfline::TFontDescription f;
  f.Name = name;
  f.Size = size;
  f.Bold = bold;
  return f;
}

// Prose in lines of about 70 characters; every third line in a second face, every fifth
// word bold, so that the walk changes font as a real mixed document does.
kerfline::StyledText document(std::size_t length) {
  const std::u32string words =
      U"The quick brown fox jumps over the lazy dog while Kerfline cuts 0123456789 letters. ";
  kerfline::StyledText t;
  std::size_t column = 0, line = 0, word = 0, n = 0;
  while (n < length) {
    for (const char32_t c : words) {
      if (n >= length) break;
      const bool serif = line % 3 == 2;
      const auto f = face(serif ? "Liberation Serif" : "Liberation Sans", serif ? 14 : 12, word % 5 == 4);
      if (column >= 70 && c == U' ' && n + 2 <= length) {
        t.append(U"\r\n", f);
        n += 2;
        column = 0;
        ++line;
        continue;
      }
      if (c == U' ') ++word;
      t.append(c, f);
      ++n;
      ++column;
    }
  }
  return t;
}

kerfline::ConversionOptions options() { return kerfline::ConversionOptions{}; }

// Everything between an edit and a new picture but the editor snapshot: the worker's part.
void BM_RelayoutWarm(benchmark::State& state) {
  const kerfline::StyledText text = document(20000);
  kerfline::TTTFToVectorConverter converter;
  kerfline::ConverterGlyphSource source(converter);
  kerfline::GlyphCache cache(source);
  (void)kerfline::jobDrawing(text, options(), converter, cache);  // every glyph converted once, as after typing
  std::size_t points = 0;
  for (auto _ : state) {
    kerfline::JobScene scene = kerfline::buildJobScene(kerfline::jobDrawing(text, options(), converter, cache), "mm");
    points = static_cast<std::size_t>(scene.contourCount);
    benchmark::DoNotOptimize(scene);
  }
  state.counters["contours"] = static_cast<double>(points);
  state.counters["glyphs"] = static_cast<double>(cache.size());
}
BENCHMARK(BM_RelayoutWarm)->Unit(benchmark::kMillisecond);

// A warm re-layout with other options than the defaults.
void relayoutWith(benchmark::State& state, const kerfline::ConversionOptions& o) {
  const kerfline::StyledText text = document(20000);
  kerfline::TTTFToVectorConverter converter;
  kerfline::ConverterGlyphSource source(converter);
  kerfline::GlyphCache cache(source);
  (void)kerfline::jobDrawing(text, o, converter, cache);
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        kerfline::buildJobScene(kerfline::jobDrawing(text, o, converter, cache), "mm"));
  }
}

// Font spacing with centred lines: shaping, and each glyph converted by index once per layout
// (the character cache does not serve shaped glyphs).
void BM_RelayoutFontSpacing(benchmark::State& state) {
  kerfline::ConversionOptions shaped = options();
  shaped.spacing = kerfline::SpacingMode::Font;
  shaped.align = kerfline::Alignment::Center;
  relayoutWith(state, shaped);
}
BENCHMARK(BM_RelayoutFontSpacing)->Unit(benchmark::kMillisecond);

// The same text with c inserted before position pos (1-based) in the face of the character
// there: what one keystroke makes of it.
kerfline::StyledText withInserted(const kerfline::StyledText& text, std::int32_t pos, char32_t c) {
  kerfline::StyledText out;
  for (std::int32_t p = 1; p <= text.length(); ++p) {
    if (p == pos) out.append(c, text.fontAt(p));
    out.append(text.charAt(p), text.fontAt(p));
  }
  return out;
}

// With weld and a kerf from the export dialog, after a one-character edit in the middle of
// the text: each layout alternates between the text with and without the character, so every
// one follows an edit of the one before, as the view's worker sees typing.
void BM_RelayoutWeldKerf(benchmark::State& state) {
  kerfline::ConversionOptions cut = options();
  cut.weld = true;
  cut.kerf = 0.05;
  const kerfline::StyledText texts[] = {document(20000), withInserted(document(20000), 10000, U'x')};
  kerfline::TTTFToVectorConverter converter;
  kerfline::ConverterGlyphSource source(converter);
  kerfline::GlyphCache cache(source);
  kerfline::WeldKerfCache weldKerf;
  (void)kerfline::jobDrawing(texts[1], cut, converter, cache, nullptr, {}, &weldKerf);
  std::size_t edit = 0;
  for (auto _ : state) {
    const kerfline::StyledText& text = texts[edit++ % 2];
    benchmark::DoNotOptimize(kerfline::buildJobScene(
        kerfline::jobDrawing(text, cut, converter, cache, nullptr, {}, &weldKerf), "mm"));
  }
  state.counters["groups"] = static_cast<double>(weldKerf.groups());
  state.counters["rewelded"] = static_cast<double>(weldKerf.recomputedGroups());
}
BENCHMARK(BM_RelayoutWeldKerf)->Unit(benchmark::kMillisecond);

// The two halves of it: the walk with cached glyphs, and the paths built from its drawing.
void BM_WalkWarm(benchmark::State& state) {
  const kerfline::StyledText text = document(20000);
  kerfline::TTTFToVectorConverter converter;
  kerfline::ConverterGlyphSource source(converter);
  kerfline::GlyphCache cache(source);
  (void)kerfline::jobDrawing(text, options(), converter, cache);
  for (auto _ : state) benchmark::DoNotOptimize(kerfline::jobDrawing(text, options(), converter, cache));
}
BENCHMARK(BM_WalkWarm)->Unit(benchmark::kMillisecond);

void BM_SceneOnly(benchmark::State& state) {
  const kerfline::StyledText text = document(20000);
  kerfline::TTTFToVectorConverter converter;
  kerfline::ConverterGlyphSource source(converter);
  const kerfline::Drawing drawing = kerfline::jobDrawing(text, options(), converter, source);
  for (auto _ : state) {
    state.PauseTiming();  // the window's thread hands its drawing over; it copies nothing
    kerfline::Drawing copy = drawing;
    state.ResumeTiming();
    benchmark::DoNotOptimize(kerfline::buildJobScene(std::move(copy), "mm"));
  }
}
BENCHMARK(BM_SceneOnly)->Unit(benchmark::kMillisecond);

// The same without a cache: every character converted again (the cost the cache removes).
void BM_RelayoutCold(benchmark::State& state) {
  const kerfline::StyledText text = document(20000);
  kerfline::TTTFToVectorConverter converter;
  kerfline::ConverterGlyphSource source(converter);
  for (auto _ : state) benchmark::DoNotOptimize(kerfline::jobDrawing(text, options(), converter, source));
}
BENCHMARK(BM_RelayoutCold)->Unit(benchmark::kMillisecond);

// The part on the window's thread: the snapshot of the editor's text and formats.
void BM_EditorSnapshot(benchmark::State& state) {
  application();
  kerfline::TRichEdit editor;
  editor.setStyledText(document(20000));
  for (auto _ : state) benchmark::DoNotOptimize(editor.styledText());
}
BENCHMARK(BM_EditorSnapshot)->Unit(benchmark::kMillisecond);

// One frame of a 1280 x 800 view: fitted (every path visible), and zoomed 16x about the
// middle with the cut order shown (most paths culled, numbers and travel moves drawn).
void BM_Frame(benchmark::State& state) {
  application();
  const kerfline::StyledText text = document(20000);
  kerfline::TTTFToVectorConverter converter;
  kerfline::ConverterGlyphSource source(converter);
  const kerfline::JobScene scene = kerfline::buildJobScene(kerfline::jobDrawing(text, options(), converter, source), "mm");
  const QSize size(1280, 800);
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  kerfline::ViewTransform t;
  const kerfline::ScreenRect area{22, 22, double(size.width() - 22), double(size.height() - 22)};
  t.fit(scene.extent, area, 12);
  const double zoom = static_cast<double>(state.range(0));
  t.zoomAbout({area.x + area.width / 2, area.y + area.height / 2}, zoom);
  kerfline::JobPaintOptions o;
  o.cutOrder = zoom > 1;
  o.highlight = 300;
  int frame = 0;
  for (auto _ : state) {
    t.panBy(frame % 2 ? 3 : -3, 0);  // a pan frame: the picture moves a little each time
    ++frame;
    QPainter p(&image);
    kerfline::paintJobFrame(p, size, &scene, t, o);
  }
}
BENCHMARK(BM_Frame)->Arg(1)->Arg(16)->Unit(benchmark::kMillisecond);

}  // namespace

// The window's program keeps freed memory for its next layout; so does this one, so that a
// layout costs here what it costs there.
int main(int argc, char** argv) {
  kerfline::keepFreedMemoryForReuse();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
