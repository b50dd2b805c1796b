// One repaint of the glyph preview (conversion, labels, rasterised strokes) into an image,
// for complex glyphs at the highest resolution; a frame at 60 Hz leaves 16.7 ms.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QTimer>

#include "mainwindow/Unit1.h"
#include "mainwindow/spin_edit.h"

namespace {

QApplication& application() {
  static int argc = 3;
  static char name[] = "preview_bench";
  static char platform[] = "-platform";
  static char offscreen[] = "offscreen";
  static char* argv[] = {name, platform, offscreen, nullptr};
  static QApplication app(argc, argv);
  return app;
}

void paintPreview(benchmark::State& state, char32_t c, const char* face) {
  application();
  kerfline::TMainForm form;
  form.findChild<QTimer*>(QStringLiteral("StartupTimer1"))->stop();
  form.ConversionFont.Name = face;
  form.CurChar = c;
  form.findChild<kerfline::TSpinEdit*>(QStringLiteral("Resolution1"))->SetValue(static_cast<int>(state.range(0)));
  QImage image(800, 600, QImage::Format_RGB32);
  for (auto _ : state) {
    image.fill(Qt::white);
    QPainter painter(&image);
    form.PaintBoxPaint(painter, image.height());
  }
  state.counters["strokes"] = form.findChild<QLabel*>(QStringLiteral("Label3"))->text().toDouble() + 1;
}

BENCHMARK_CAPTURE(paintPreview, at_sign_serif, U'@', "Liberation Serif")->Arg(2)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(paintPreview, ampersand_sans, U'&', "Liberation Sans")->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(paintPreview, at_sign_dejavu, U'@', "DejaVu Sans")->Arg(100)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
