// Pictures of the window to look at (not a test): a three-line text in two fonts fitted in
// the job view, the view zoomed on one letter with the cut order shown, and the bundled
// example opened. Writes window_fitted.png, job_fitted.png, job_letter_cut_order.png,
// window_letter_cut_order.png, window_shaped_kerf.png, job_shaped_kerf.png, job_fill_hatch.png,
// window_fill_hatch.png, job_fill_pocket.png, job_fill_raised.png, job_fill_offset.png,
// job_vcarve.png, job_vcarve_floors.png, gcode_dialog_vcarve.png, window_sample.png,
// window_long_text.png and window_layout_panel.png into the folder given; with "production"
// after the folder only window_production_panel.png.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QSpinBox>
#include <QComboBox>
#include <QToolButton>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QPixmap>
#include <QLineEdit>
#include <QSplitter>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "mainwindow/Unit1.h"
#include "mainwindow/fill_settings_widget.h"
#include "mainwindow/gcode_export_dialog.h"
#include "mainwindow/job_scene.h"
#include "mainwindow/job_view.h"
#include "mainwindow/layout_panel.h"
#include "mainwindow/production_panel.h"
#include "mainwindow/rich_edit.h"
#include "richtext/styled_text.h"

namespace {

// The window's widget of that object name (the name of the window's member that holds it).
template <class T>
T* child(const QObject& window, const char* name) {
  T* found = window.findChild<T*>(QString::fromLatin1(name));
  if (found == nullptr) {
    std::fprintf(stderr, "the window has no %s\n", name);
    std::abort();
  }
  return found;
}

kerfline::TFontDescription face(const char* name, int size, bool bold = false) {
  kerfline::TFontDescription f;
  f.Name = name;
  f.Size = size;
  f.Bold = bold;
  return f;
}

// Waits until the job view shows a scene laid out after the last change.
void waitForLayout(kerfline::TMainForm& form, const kerfline::JobScene* before) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < 10000 && child<kerfline::JobView>(form, "JobView1")->scene().get() == before) QTest::qWait(20);
  QTest::qWait(100);
}

}  // namespace

// The Production panel with the bundled team list loaded, its third row in the job view:
// window_production_panel.png.
int productionPicture(kerfline::TMainForm& form, const QString& folder) {
  kerfline::StyledText t;
  t.append(U"{name}\r\n{role}", face("DejaVu Sans", 24));
  child<QCheckBox>(form, "AutoPitchBox")->setChecked(true);
  const kerfline::JobScene* before = child<kerfline::JobView>(form, "JobView1")->scene().get();
  form.editor()->setStyledText(t);
  waitForLayout(form, before);
  child<QAction>(form, "ProductionPanel1")->trigger();
  kerfline::ProductionPanel* panel = form.productionPanel();
  before = child<kerfline::JobView>(form, "JobView1")->scene().get();
  panel->openMergeFile(QStringLiteral(KERFLINE_SOURCE_DIR "/examples/team.csv"));
  child<QDoubleSpinBox>(*panel, "SheetWidth")->setValue(300);
  child<QDoubleSpinBox>(*panel, "SheetHeight")->setValue(200);
  child<QDoubleSpinBox>(*panel, "SheetGap")->setValue(5);
  child<QSpinBox>(*panel, "TabCount")->setValue(2);
  panel->setCurrentRow(2);
  waitForLayout(form, before);
  QTest::qWait(300);
  child<kerfline::JobView>(form, "JobView1")->fitToView();
  QTest::qWait(300);
  form.grab().save(folder + QStringLiteral("/window_production_panel.png"));
  return 0;
}

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: job_view_screenshots FOLDER\n");
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(folder);
  kerfline::TMainForm form;
  child<QTimer>(form, "StartupTimer1")->stop();
  form.resize(1100, 720);
  form.show();
  if (!QTest::qWaitForWindowExposed(&form)) return 1;
  child<QSplitter>(form, "JobSplitter")->setSizes({240, 420});
  if (argc > 2 && QString::fromLocal8Bit(argv[2]) == QLatin1String("production"))
    return productionPicture(form, folder);

  kerfline::StyledText t;
  t.append(U"Kerfline", face("Liberation Sans", 28, true));
  t.append(U"\r\n", face("Liberation Sans", 28, true));
  t.append(U"Signs & Letters", face("Liberation Serif", 20));
  t.append(U"\r\n", face("Liberation Serif", 20));
  t.append(U"No. 42: ", face("Liberation Serif", 16));
  t.append(U"Oak 18mm", face("Liberation Sans", 16));
  const kerfline::JobScene* before = child<kerfline::JobView>(form, "JobView1")->scene().get();
  form.editor()->setStyledText(t);
  waitForLayout(form, before);
  child<kerfline::JobView>(form, "JobView1")->fitToView();
  form.CharPos = 3;
  form.NextCharBtnClick();  // the "r" of the first line is current
  QTest::qWait(100);
  form.grab().save(folder + QStringLiteral("/window_fitted.png"));
  child<kerfline::JobView>(form, "JobView1")->grab().save(folder + QStringLiteral("/job_fitted.png"));

  // Zoomed on the "B"-like letter with holes: the "e" of "Letters" on the second line.
  const auto& scene = *child<kerfline::JobView>(form, "JobView1")->scene();
  const std::int32_t index = scene.characterAt(20);  // the "e" of "Letters", with its hole
  if (index >= 0) {
    const QRectF box = scene.characterBoxes[static_cast<std::size_t>(index)];
    const kerfline::Vec2 centre{box.center().x(), box.center().y()};
    child<kerfline::JobView>(form, "JobView1")->setShowCutOrder(true);
    child<kerfline::JobView>(form, "JobView1")->fitToView();
    const kerfline::ScreenPoint at = child<kerfline::JobView>(form, "JobView1")->transform().toScreen(centre);
    const QRect area = child<kerfline::JobView>(form, "JobView1")->drawingArea();
    // Bring the letter to the middle, then zoom until it fills most of the view's height.
    child<kerfline::JobView>(form, "JobView1")->zoomAt(QPointF(at.x, at.y), 1.0);
    const double want = area.height() * 0.6 / (box.height() * child<kerfline::JobView>(form, "JobView1")->transform().scale());
    child<kerfline::JobView>(form, "JobView1")->zoomAt(QPointF(at.x, at.y), want);
    const kerfline::ScreenPoint now = child<kerfline::JobView>(form, "JobView1")->transform().toScreen(centre);
    QTest::mousePress(child<kerfline::JobView>(form, "JobView1"), Qt::LeftButton, {}, QPoint(int(now.x), int(now.y)));
    QTest::mouseMove(child<kerfline::JobView>(form, "JobView1"), area.center());
    QTest::mouseRelease(child<kerfline::JobView>(form, "JobView1"), Qt::LeftButton, {}, area.center());
  }
  QTest::qWait(100);
  child<kerfline::JobView>(form, "JobView1")->grab().save(folder + QStringLiteral("/job_letter_cut_order.png"));
  form.grab().save(folder + QStringLiteral("/window_letter_cut_order.png"));

  // The same text in font spacing, centred, welded and cut with a 0.3 kerf, as the export
  // dialogs would leave it: the view shows the offset paths the closed export writes.
  kerfline::ConversionOptions cut = form.storedExportOptions();
  cut.weld = true;
  cut.kerf = 0.3;
  form.storeExportOptions(cut);
  child<QComboBox>(form, "SpacingBox")->setCurrentIndex(1);
  child<QToolButton>(form, "AlignCenterBtn")->click();
  const kerfline::JobScene* placed = child<kerfline::JobView>(form, "JobView1")->scene().get();
  form.requestJobLayout();
  waitForLayout(form, placed);
  child<kerfline::JobView>(form, "JobView1")->fitToView();
  QTest::qWait(100);
  form.grab().save(folder + QStringLiteral("/window_shaped_kerf.png"));
  child<kerfline::JobView>(form, "JobView1")->grab().save(folder + QStringLiteral("/job_shaped_kerf.png"));
  cut.weld = false;
  cut.kerf.reset();
  form.storeExportOptions(cut);
  form.useClassicPlacement();

  // Filled letters chosen for the G-code export: the view draws the hatch, the pocket, the
  // raised letters' background and the offset fill (its rings fitted with arcs).
  const struct {
    kerfline::CutOperation cut;
    bool background, arcs;
    QString file;
  } fills[] = {{kerfline::CutOperation::Hatch, false, false, QStringLiteral("/job_fill_hatch.png")},
               {kerfline::CutOperation::Pocket, false, false, QStringLiteral("/job_fill_pocket.png")},
               {kerfline::CutOperation::Pocket, true, false, QStringLiteral("/job_fill_raised.png")},
               {kerfline::CutOperation::OffsetFill, false, true, QStringLiteral("/job_fill_offset.png")}};
  for (const auto& f : fills) {
    kerfline::ConversionOptions fill = cut;
    fill.cut = f.cut;
    fill.arcs = f.arcs;
    fill.fill.background = f.background;
    fill.fill.margin = 2.0;
    fill.fill.interval = 0.3;
    fill.fill.hatchAngle = 45;
    fill.fill.toolDiameter = 0.4;
    form.storeExportOptions(fill);
    const kerfline::JobScene* before = child<kerfline::JobView>(form, "JobView1")->scene().get();
    form.requestJobLayout();
    waitForLayout(form, before);
    child<kerfline::JobView>(form, "JobView1")->fitToView();
    QTest::qWait(100);
    child<kerfline::JobView>(form, "JobView1")->grab().save(folder + f.file);
    // The whole window once, for the fill's travel in the status bar.
    if (f.cut == kerfline::CutOperation::Hatch) form.grab().save(folder + QStringLiteral("/window_fill_hatch.png"));
  }
  // A house sign carved by a 60-degree V-bit at most 3 deep, then at most 1 deep (flat floors
  // in the stems), and the G-code dialog with the V-carve chosen.
  {
    child<kerfline::JobView>(form, "JobView1")->setShowCutOrder(false);
    kerfline::StyledText house;
    house.append(U"House 12", face("DejaVu Serif", 72));
    const kerfline::JobScene* before = child<kerfline::JobView>(form, "JobView1")->scene().get();
    form.editor()->setStyledText(house);
    waitForLayout(form, before);
    kerfline::ConversionOptions carve = cut;
    carve.cut = kerfline::CutOperation::VCarve;
    carve.vcarve.bitAngle = 60;
    for (const double depth : {3.0, 1.0}) {
      carve.vcarve.maxDepth = depth;
      form.storeExportOptions(carve);
      before = child<kerfline::JobView>(form, "JobView1")->scene().get();
      form.requestJobLayout();
      waitForLayout(form, before);
      child<kerfline::JobView>(form, "JobView1")->fitToView();
      QTest::qWait(100);
      QElapsedTimer frame;
      frame.start();
      const QPixmap picture = child<kerfline::JobView>(form, "JobView1")->grab();
      const auto& shading = child<kerfline::JobView>(form, "JobView1")->scene()->carving;
      std::fprintf(stderr, "V-carve at most %g deep: %zu bands, frame painted in %lld ms\n",
                   depth, shading.bands.size(),
                   static_cast<long long>(frame.elapsed()));
      picture.save(folder + (depth > 2 ? QStringLiteral("/job_vcarve.png") : QStringLiteral("/job_vcarve_floors.png")));
    }
    carve.vcarve.maxDepth = 3;
    carve.format = kerfline::OutputFormat::Gcode;
    kerfline::GcodeExportDialog dialog(carve, &form);
    dialog.fill->clearOutput->setText(QStringLiteral("house-clear.nc"));
    dialog.show();
    if (QTest::qWaitForWindowExposed(&dialog)) {
      QTest::qWait(100);
      dialog.grab().save(folder + QStringLiteral("/gcode_dialog_vcarve.png"));
    }
  }
  form.storeExportOptions(cut);

  // The bundled example, opened as File > Open does: the view fits it.
  const kerfline::JobScene* shown = child<kerfline::JobView>(form, "JobView1")->scene().get();
  form.openDocument(QStringLiteral(KERFLINE_SOURCE_DIR "/examples/sample.rtf"));
  waitForLayout(form, shown);
  form.grab().save(folder + QStringLiteral("/window_sample.png"));

  // A long text: 20,000 characters of prose fitted, most letters too small to show their shape.
  kerfline::StyledText prose;
  const std::u32string words = U"The quick brown fox jumps over the lazy dog. ";
  std::size_t column = 0;
  while (prose.length() < 20000) {
    for (const char32_t c : words) {
      if (column >= 70 && c == U' ') {
        prose.append(U"\r\n", face("Liberation Sans", 12));
        column = 0;
      } else {
        prose.append(c, face(column < 35 ? "Liberation Sans" : "Liberation Serif", 12));
        ++column;
      }
    }
  }
  child<kerfline::JobView>(form, "JobView1")->setShowCutOrder(false);
  shown = child<kerfline::JobView>(form, "JobView1")->scene().get();
  form.editor()->setStyledText(prose);
  waitForLayout(form, shown);
  child<kerfline::JobView>(form, "JobView1")->fitToView();
  QTest::qWait(100);
  form.grab().save(folder + QStringLiteral("/window_long_text.png"));

  // A badge set in the Layout panel: the text round the top of a circle of radius 60 in an
  // ellipse with two holes, the panel open beside the job view.
  child<QAction>(form, "LayoutPanelCmd")->trigger();
  form.resize(1400, 940);
  kerfline::StyledText badge;
  badge.append(U"KERFLINE WORKSHOP", face("DejaVu Sans", 36));
  shown = child<kerfline::JobView>(form, "JobView1")->scene().get();
  form.editor()->setStyledText(badge);
  child<QComboBox>(form, "SpacingBox")->setCurrentIndex(1);
  auto& panel = *child<kerfline::LayoutPanel>(form, "LayoutPanel1");
  panel.follow->setCurrentIndex(kerfline::LayoutPanel::Circle);
  panel.arcRadius->setValue(60);
  panel.frame->setCurrentIndex(static_cast<int>(kerfline::FrameShape::Ellipse));
  panel.frameMargin->setValue(8);
  panel.holes->setCurrentIndex(1);
  panel.holeDiameter->setValue(4);
  waitForLayout(form, shown);
  QTest::qWait(600);  // the last edits' layout
  form.CharPos = 0;
  form.NextCharBtnClick();  // the preview shows the first letter
  child<kerfline::JobView>(form, "JobView1")->fitToView();
  QTest::qWait(100);
  form.grab().save(folder + QStringLiteral("/window_layout_panel.png"));
  // The settings beside the program go back to a straight text.
  panel.setSignLayout({}, {});
  form.saveLayout(form.settingsFile());
  return 0;
}
