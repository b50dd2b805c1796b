// The job view and the workshop window on a real (offscreen) window: the drawing shown is the
// one the export writes, zoom, pan and fit, live updates, the highlighted character, dropped
// files, recent files and window state across a restart, menus holding every shortcut, and a
// V-carve shaded by depth.
#include <QAction>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QImage>
#include <QPainter>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QComboBox>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QToolButton>
#include <QWheelEvent>
#include <cmath>
#include <fstream>
#include <iostream>
#include <sstream>

#include "form_test_support.h"
#include "export/carve_export.h"
#include "mainwindow/job_scene.h"
#include "mainwindow/job_view_paint.h"
#include "mainwindow/job_view.h"
#include "mainwindow/rich_edit.h"
#include "mainwindow/spin_edit.h"
#include "richtext/styled_text.h"

namespace kerfline {
namespace {

using testing::font;

class JobViewTest : public formtest::FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    // The window's own settings go to this test's folder, never to the user's.
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder() + QStringLiteral("settings"));
    form().resize(900, 700);
    waitForLayout();
  }

  JobView& view() { return *testing::child<JobView>(form(), "JobView1"); }

  // Until the view shows a first layout.
  void waitForLayout() {
    ASSERT_TRUE(QTest::qWaitFor([&] { return view().scene() != nullptr; }, 10000));
  }

  void setText(const StyledText& t) {
    const JobScene* before = view().scene().get();
    form().editor()->setStyledText(t);
    waitForScene(before);
  }
  void waitForScene(const JobScene* before) {
    ASSERT_TRUE(QTest::qWaitFor([&] { return view().scene().get() != before; }, 10000));
  }

  QPointF middle() { return QRectF(view().drawingArea()).center(); }
};

// Three lines in two faces and three sizes, as a sign maker would type them.
StyledText mixedText() {
  StyledText t;
  t.append(U"Kerfline\r\n", font("Liberation Sans", 28, true));
  t.append(U"Signs & Letters\r\n", font("DejaVu Serif", 20));
  t.append(U"No. 42: ", font("DejaVu Serif", 12));
  t.append(U"Oak 18mm @ gj", font("Liberation Sans", 16));
  return t;
}

// The XY extent of every LINE of a DXF file, read from its group codes 10/20/11/21 (each
// value read back as the single-precision number the file spells out exactly).
Extent dxfExtent(const QString& path) {
  std::ifstream in(QFile::encodeName(path).toStdString(), std::ios::binary);
  std::string code, value;
  Extent e;
  double x = 0;
  while (std::getline(in, code) && std::getline(in, value)) {
    const int c = std::stoi(code);
    if (c != 10 && c != 11 && c != 20 && c != 21) continue;
    const double v = static_cast<double>(std::stof(value));
    if (c == 10 || c == 11) x = v;
    if (c == 20 || c == 21) e.add({x, v});
  }
  return e;
}

// The view as it paints itself, without its buttons over the drawing.
QImage painted(JobView& view) {
  QImage img(view.size(), QImage::Format_RGB32);
  view.render(&img, QPoint(), QRegion(), QWidget::DrawWindowBackground);
  return img;
}

// The drawing area less the rulers' edge lines.
QRect inner(const JobView& view) { return view.drawingArea().adjusted(2, 2, 0, 0); }

// The bounding box of pixels matching a test, inside a rectangle of an image.
QRect pixelsWhere(const QImage& img, const QRect& inside, const std::function<bool(QRgb)>& test) {
  QRect box;
  for (int y = inside.top(); y <= inside.bottom(); ++y)
    for (int x = inside.left(); x <= inside.right(); ++x)
      if (test(img.pixel(x, y))) box |= QRect(x, y, 1, 1);
  return box;
}

bool ink(QRgb p) { return qRed(p) < 90 && qGreen(p) < 90 && qBlue(p) < 90; }

TEST_F(JobViewTest, drawn_extent_equals_the_exported_files_extent) {
  setText(mixedText());
  form().editor()->setSelStart(0);  // the caret before the first character: nothing lit
  form().editor()->setSelLength(0);
  const QString dxf = folder() + QStringLiteral("job.dxf");
  form().FileSave(dxf);
  form().editor()->setSelStart(0);  // the export leaves the caret after the last character
  form().editor()->setSelLength(0);
  const Extent file = dxfExtent(dxf);
  ASSERT_FALSE(file.empty());

  // What the view hands the painter, point by point.
  Extent drawn;
  for (const SceneChunk& c : view().scene()->chunks)
    for (const QPointF& p : c.points) drawn.add({p.x(), p.y()});
  EXPECT_EQ(drawn, file);
  EXPECT_EQ(view().scene()->extent, file);
  EXPECT_EQ(testing::child<QLabel>(form(), "JobSize")->text(), QStringLiteral("Job %1 x %2 mm")
                                        .arg(file.width(), 0, 'f', 3)
                                        .arg(file.height(), 0, 'f', 3));

  // And the ink on the screen: the fitted picture's dark pixels span the file's extent.
  view().fitToView();
  const QRect ink = pixelsWhere(painted(view()), inner(view()), kerfline::ink);
  const ScreenPoint lo = view().transform().toScreen({file.minX, file.maxY});
  const ScreenPoint hi = view().transform().toScreen({file.maxX, file.minY});
  EXPECT_NEAR(ink.left(), lo.x, 1.5);
  EXPECT_NEAR(ink.top(), lo.y, 1.5);
  EXPECT_NEAR(ink.right(), hi.x, 1.5);
  EXPECT_NEAR(ink.bottom(), hi.y, 1.5);
}

// The view follows the typography controls and the export dialogs' fit, weld and kerf: what
// Save DXF Closed Polylines then writes has the view's extent.
TEST_F(JobViewTest, view_shows_the_placement_weld_and_kerf_the_closed_export_writes) {
  setText(mixedText());
  ConversionOptions stored;
  stored.format = OutputFormat::Closed;
  stored.weld = true;
  stored.kerf = 0.4;
  stored.fitWidth = 150.0;
  form().storeExportOptions(stored);
  const JobScene* before = view().scene().get();
  QTest::mouseClick(testing::child<QToolButton>(form(), "AlignCenterBtn"), Qt::LeftButton);
  waitForScene(before);
  before = view().scene().get();
  testing::child<QComboBox>(form(), "SpacingBox")->setCurrentIndex(1);
  waitForScene(before);
  const Extent shown = view().scene()->extent;
  // The fitted width grows by the kerf (half of it each side).
  EXPECT_NEAR(shown.width(), 150.4, 1e-3);

  const QString dxf = folder() + QStringLiteral("job.dxf");
  form().exportDrawing(dxf, stored);
  std::ifstream in(QFile::encodeName(dxf).toStdString(), std::ios::binary);
  std::string code, value, entity;
  Extent file;
  double x = 0;
  while (std::getline(in, code) && std::getline(in, value)) {
    const int c = std::stoi(code);
    if (c == 0) entity = value;
    // The vertices alone: a POLYLINE's own point is a dummy at the origin.
    if (entity.rfind("VERTEX", 0) != 0 || (c != 10 && c != 20)) continue;
    if (c == 10) x = std::stod(value);
    if (c == 20) file.add({x, std::stod(value)});
  }
  ASSERT_FALSE(file.empty());
  // The file holds each coordinate in single precision.
  EXPECT_NEAR(file.minX, shown.minX, 2e-5);
  EXPECT_NEAR(file.minY, shown.minY, 2e-5);
  EXPECT_NEAR(file.maxX, shown.maxX, 2e-5);
  EXPECT_NEAR(file.maxY, shown.maxY, 2e-5);

  // A kerf wider than the small letters' holes: the view names what it leaves out.
  stored.fitWidth.reset();
  stored.kerf = 1.5;
  form().storeExportOptions(stored);
  before = view().scene().get();
  form().requestJobLayout();
  waitForScene(before);
  EXPECT_TRUE(testing::child<QStatusBar>(form(), "StatusBar1")->currentMessage().startsWith(QStringLiteral("Kerf")))
      << testing::child<QStatusBar>(form(), "StatusBar1")->currentMessage().toStdString();
  // Without the kerf the words go with it.
  stored.kerf.reset();
  form().storeExportOptions(stored);
  before = view().scene().get();
  form().requestJobLayout();
  waitForScene(before);
  EXPECT_EQ(testing::child<QStatusBar>(form(), "StatusBar1")->currentMessage(), QString());
}

// The view draws the order the export cuts in, and its status bar gives that order's rapid
// travel: the moves drawn, added up from the origin; planned, less than in text order.
TEST_F(JobViewTest, view_draws_the_planned_order_and_gives_its_travel) {
  setText(mixedText());
  ConversionOptions stored;
  stored.format = OutputFormat::Closed;
  std::vector<double> travels;
  for (const CutOrder order : {CutOrder::Text, CutOrder::Travel}) {
    stored.order = order;
    form().storeExportOptions(stored);
    const JobScene* before = view().scene().get();
    form().requestJobLayout();
    waitForScene(before);
    const JobScene& scene = *view().scene();
    ASSERT_FALSE(scene.chunks.empty());
    const QPointF first = scene.chunks.front().points.front();
    double drawn = std::hypot(first.x(), first.y());
    for (const SceneChunk& c : scene.chunks)
      for (const QLineF& move : c.travels) drawn += move.length();
    EXPECT_NEAR(scene.travel, drawn, 1e-6);
    EXPECT_EQ(testing::child<QLabel>(form(), "JobTravel")->text(), QStringLiteral("Travel %1 mm").arg(drawn, 0, 'f', 1));
    travels.push_back(drawn);
  }
  EXPECT_LT(travels[1], travels[0]);
}

// A fill chosen for the G-code export is what the view draws: its lines, many more paths
// than the outlines, all within them.
TEST_F(JobViewTest, view_draws_the_fill_the_gcode_export_cuts) {
  setText(mixedText());
  ConversionOptions stored;
  stored.format = OutputFormat::Closed;
  const auto paths = [&](const ConversionOptions& o) {
    form().storeExportOptions(o);
    const JobScene* before = view().scene().get();
    form().requestJobLayout();
    waitForScene(before);
    std::size_t n = 0;
    for (const SceneChunk& c : view().scene()->chunks) n += c.contourEnds.size();
    return std::pair(n, view().scene()->extent);
  };
  const auto [outlinePaths, outline] = paths(stored);
  stored.cut = CutOperation::Hatch;
  stored.fill.interval = 0.2;
  const auto [hatchPaths, hatch] = paths(stored);
  EXPECT_GT(hatchPaths, 5 * outlinePaths);
  // The status bar gives the fill program's own travel, not none.
  EXPECT_GT(view().scene()->travel, 0);
  EXPECT_EQ(testing::child<QLabel>(form(), "JobTravel")->text(),
            QStringLiteral("Travel %1 mm").arg(view().scene()->travel, 0, 'f', 1));
  constexpr double kRounding = 1e-6;  // the weld puts the outlines on Clipper's grid
  EXPECT_GE(hatch.minX, outline.minX - kRounding);
  EXPECT_LE(hatch.maxX, outline.maxX + kRounding);
  EXPECT_GE(hatch.minY, outline.minY - kRounding);
  EXPECT_LE(hatch.maxY, outline.maxY + kRounding);
}

TEST_F(JobViewTest, a_vcarve_is_shaded_by_depth_as_wide_as_it_cuts_with_its_floors_hatched) {
  // The view of typed letters carries the carving, no deeper than asked.
  setText(mixedText());
  ConversionOptions carve;
  carve.cut = CutOperation::VCarve;
  carve.vcarve.maxDepth = 0.3;
  const JobScene* before = view().scene().get();
  form().storeExportOptions(carve);
  waitForScene(before);
  ASSERT_FALSE(view().scene()->carving.bands.empty());
  EXPECT_LE(view().scene()->carving.deepest, 0.3 + 1e-9);
  EXPECT_GT(view().scene()->travel, 0);  // the V-bit's rapid travel, as for any program

  // A 10 x 2 bar carved by a 90-degree bit: its axis is the ridge y = 1 from x = 1 to 9 at
  // depth 1, with branches down to the corners; the cone there is as wide as the bar. Held to
  // 0.5 deep, the floor is the bar inset by 0.5.
  Drawing bar;
  bar.characters.push_back({1, U'I', 0, {Contour{{{0, 0}, {10, 0}, {10, 2}, {0, 2}}, true, 0}}});
  carve.format = OutputFormat::Gcode;
  carve.vcarve.bitAngle = 90;
  ViewTransform t;
  t.set(40, {60, 300});  // a drawing unit is 40 pixels; the bar spans x 60..460, y 220..300
  const auto paint = [&](std::optional<double> maxDepth) {
    carve.vcarve.maxDepth = maxDepth;
    JobScene scene = buildJobScene(bar, "mm");
    scene.carving = buildCarveShading(carveDrawing(bar, carve), carveSettings(carve));
    QImage img(600, 400, QImage::Format_RGB32);
    QPainter p(&img);
    paintJobFrame(p, img.size(), &scene, t, {});
    return img;
  };
  const auto at = [&](const QImage& img, double x, double y) {
    const ScreenPoint s = t.toScreen({x, y});
    return img.pixel(int(s.x), int(s.y));
  };
  const auto carved = [](QRgb c) { return qRed(c) - qBlue(c) > 40; };  // the wood's shades
  const QImage full = paint(std::nullopt);
  // Across the groove the surface is as deep as the point is far from the nearer edge.
  const QRgb ridge = at(full, 5, 1), flank = at(full, 5, 0.5), rim = at(full, 5, 0.1);
  EXPECT_LT(qGray(ridge), qGray(flank) - 20);
  EXPECT_LT(qGray(flank), qGray(rim) - 20);
  EXPECT_LT(qGray(at(full, 5, 1.5)), qGray(at(full, 5, 1.9)) - 20);
  for (const double y : {0.06, 1.94}) EXPECT_TRUE(carved(at(full, 5, y))) << y;  // as wide...
  for (const double y : {-0.1, 2.1}) EXPECT_FALSE(carved(at(full, 5, y))) << y;  // ...no wider
  EXPECT_TRUE(pixelsWhere(full, full.rect(), [](QRgb c) { return qBlue(c) - qRed(c) > 40; }).isEmpty());

  const QImage floored = paint(0.5);
  const QRect floor = pixelsWhere(floored, floored.rect(), [](QRgb c) { return qBlue(c) - qRed(c) > 40; });
  ASSERT_FALSE(floor.isEmpty()) << "the floor is hatched";
  EXPECT_NEAR(floor.left(), 60 + 0.5 * 40, 2);
  EXPECT_NEAR(floor.right(), 60 + 9.5 * 40, 2);
  EXPECT_NEAR(floor.top(), 300 - 1.5 * 40, 2);
  EXPECT_NEAR(floor.bottom(), 300 - 0.5 * 40, 2);
}

TEST_F(JobViewTest, wheel_zoom_keeps_the_point_under_the_pointer_and_drag_pans) {
  setText(mixedText());
  view().fitToView();
  const QPointF at(view().drawingArea().left() + 97.0, view().drawingArea().top() + 41.0);
  const Vec2 under = view().transform().toDrawing({at.x(), at.y()});
  const double scale = view().transform().scale();
  QWheelEvent notch(at, view().mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(&view(), &notch);
  EXPECT_DOUBLE_EQ(view().transform().scale(), scale * JobView::kZoomStep);
  const Vec2 still = view().transform().toDrawing({at.x(), at.y()});
  EXPECT_NEAR(still.x, under.x, 1e-9);
  EXPECT_NEAR(still.y, under.y, 1e-9);
  EXPECT_FALSE(view().followsFit());

  // The status bar tells where the pointer is in the drawing.
  QTest::mouseMove(&view(), at.toPoint());
  const QLabel* pointer = form().findChild<QLabel*>(QStringLiteral("JobPointer"));
  ASSERT_NE(pointer, nullptr);
  const Vec2 p = view().transform().toDrawing({double(at.toPoint().x()), double(at.toPoint().y())});
  EXPECT_EQ(pointer->text(), QStringLiteral("X %1  Y %2").arg(p.x, 0, 'f', 3).arg(p.y, 0, 'f', 3));

  const ScreenPoint origin = view().transform().origin();
  QTest::mousePress(&view(), Qt::LeftButton, {}, QPoint(300, 200));
  QTest::mouseMove(&view(), QPoint(340, 170));
  QTest::mouseRelease(&view(), Qt::LeftButton, {}, QPoint(340, 170));
  EXPECT_DOUBLE_EQ(view().transform().origin().x, origin.x + 40);
  EXPECT_DOUBLE_EQ(view().transform().origin().y, origin.y - 30);
}

TEST_F(JobViewTest, fit_shows_the_whole_drawing_by_double_click_and_keys) {
  setText(mixedText());
  view().zoomAt(middle(), 40);
  QTest::mousePress(&view(), Qt::LeftButton, {}, QPoint(300, 200));
  QTest::mouseMove(&view(), QPoint(100, 100));
  QTest::mouseRelease(&view(), Qt::LeftButton, {}, QPoint(100, 100));
  auto wholeDrawingShown = [&] {
    const Extent e = view().scene()->extent;
    const QRectF area = QRectF(view().drawingArea()).adjusted(JobView::kFitMargin - 1e-6, JobView::kFitMargin - 1e-6,
                                                               -JobView::kFitMargin + 1e-6, -JobView::kFitMargin + 1e-6);
    // Inside the margin, and filling the room in one direction.
    const ScreenPoint lo = view().transform().toScreen({e.minX, e.maxY});
    const ScreenPoint hi = view().transform().toScreen({e.maxX, e.minY});
    return area.contains(QPointF(lo.x, lo.y)) && area.contains(QPointF(hi.x, hi.y)) &&
           (hi.x - lo.x > area.width() - 1e-3 || hi.y - lo.y > area.height() - 1e-3);
  };
  EXPECT_FALSE(wholeDrawingShown());
  QTest::mouseDClick(&view(), Qt::LeftButton, {}, QPoint(200, 150));
  EXPECT_TRUE(wholeDrawingShown());

  view().setFocus();
  const double fitted = view().transform().scale();
  QTest::keyClick(&view(), Qt::Key_Plus);
  EXPECT_DOUBLE_EQ(view().transform().scale(), fitted * JobView::kZoomStep);
  QTest::keyClick(&view(), Qt::Key_Equal);  // "+" without Shift
  QTest::keyClick(&view(), Qt::Key_Minus);
  QTest::keyClick(&view(), Qt::Key_Minus);
  QTest::keyClick(&view(), Qt::Key_Minus);
  EXPECT_NEAR(view().transform().scale(), fitted / JobView::kZoomStep, 1e-9 * fitted);
  EXPECT_FALSE(wholeDrawingShown() && view().followsFit());
  QTest::keyClick(&view(), Qt::Key_0);
  EXPECT_TRUE(wholeDrawingShown());
  // The fit is kept as the window grows.
  form().resize(1200, 800);
  QTest::qWait(50);
  EXPECT_TRUE(wholeDrawingShown());
}

TEST_F(JobViewTest, an_edit_or_a_format_change_updates_the_view) {
  setText(mixedText());
  const std::size_t characters = view().scene()->drawing.characters.size();
  const Extent before = view().scene()->extent;

  QTextCursor end = form().editor()->textCursor();
  end.movePosition(QTextCursor::End);
  form().editor()->setTextCursor(end);
  form().editor()->setFocus();
  const JobScene* scene = view().scene().get();
  QTest::keyClicks(form().editor(), QStringLiteral("WW"));
  waitForScene(scene);
  ASSERT_TRUE(QTest::qWaitFor([&] { return view().scene()->drawing.characters.size() == characters + 2; }, 10000));
  EXPECT_GT(view().scene()->extent.maxX, before.maxX);

  // Bold on the first line's word: another outline, the same number of characters.
  form().editor()->setSelStart(0);
  form().editor()->setSelLength(8);
  form().SelectionChange();  // the toolbar shows the selection's style
  ASSERT_TRUE(testing::child<QToolButton>(form(), "BoldButton")->isChecked());
  const QRectF k = view().scene()->characterBoxes[0];
  scene = view().scene().get();
  testing::child<QToolButton>(form(), "BoldButton")->click();  // "Kerfline" was bold: now regular
  waitForScene(scene);
  EXPECT_NE(view().scene()->characterBoxes[0], k);

  // A panel field: a larger scale enlarges the whole drawing.
  const double width = view().scene()->extent.width();
  scene = view().scene().get();
  testing::child<TSpinEdit>(form(), "ScaleEdit1")->SetValue(200);
  waitForScene(scene);
  EXPECT_NEAR(view().scene()->extent.width(), 2 * width, 0.05 * width);
}

TEST_F(JobViewTest, the_highlighted_character_follows_next_prev_and_the_caret) {
  setText(mixedText());
  view().fitToView();
  form().CharPos = 0;
  for (const std::int32_t expected : {1, 2, 3}) {
    testing::child<QToolButton>(form(), "NextCharBtn")->click();
    EXPECT_EQ(form().CharPos, expected);
    EXPECT_EQ(view().highlight(), expected);
  }
  testing::child<QToolButton>(form(), "PrevCharBtn")->click();
  EXPECT_EQ(view().highlight(), 2);

  // Painted where that character is: the highlight's fill lies around its box.
  const std::int32_t index = view().scene()->characterAt(2);
  ASSERT_GE(index, 0);
  const QRectF box = view().scene()->characterBoxes[static_cast<std::size_t>(index)];
  const ScreenPoint lo = view().transform().toScreen({box.left(), box.bottom()});
  const ScreenPoint hi = view().transform().toScreen({box.right(), box.top()});
  const QImage img = painted(view());
  const QRect lit = pixelsWhere(img, view().drawingArea(), [](QRgb p) { return p == qRgb(255, 236, 150); });
  ASSERT_FALSE(lit.isEmpty());
  EXPECT_NEAR(lit.left(), lo.x - 3, 2);
  EXPECT_NEAR(lit.right(), hi.x + 3, 2);
  EXPECT_NEAR(lit.top(), lo.y - 3, 2);
  EXPECT_NEAR(lit.bottom(), hi.y + 3, 2);

  // A click in the editor moves it too: the character before the caret, or the selection's first.
  form().editor()->setSelLength(0);
  form().editor()->setSelStart(12);
  EXPECT_EQ(view().highlight(), 12);
  form().editor()->setSelLength(3);
  EXPECT_EQ(view().highlight(), 13);
  // A click on a letter of the drawing steps to it; a drag does not.
  const std::int32_t kIndex = view().scene()->characterAt(13);  // the "g" of "Signs"
  const QRectF g = view().scene()->characterBoxes[static_cast<std::size_t>(kIndex)];
  const ScreenPoint gAt = view().transform().toScreen({g.center().x(), g.center().y()});
  QTest::mouseClick(&view(), Qt::LeftButton, {}, QPoint(int(gAt.x), int(gAt.y)));
  EXPECT_EQ(form().CharPos, 13);
  EXPECT_EQ(form().CurChar, U'g');
  EXPECT_EQ(view().highlight(), 13);
  EXPECT_EQ(form().RichEdit2.font.Name, "DejaVu Serif");
  EXPECT_TRUE(view().hasFocus());
  QTest::mousePress(&view(), Qt::LeftButton, {}, QPoint(int(gAt.x), int(gAt.y)));
  QTest::mouseMove(&view(), QPoint(int(gAt.x) + 30, int(gAt.y)));
  QTest::mouseRelease(&view(), Qt::LeftButton, {}, QPoint(int(gAt.x) + 30, int(gAt.y)));
  EXPECT_EQ(form().CharPos, 13);
  // View > Next Character is the Next button.
  QAction* next = form().findChild<QAction*>(QStringLiteral("NextChar1"));
  ASSERT_NE(next, nullptr);
  form().CharPos = 5;
  next->trigger();
  EXPECT_EQ(view().highlight(), 6);
}

TEST_F(JobViewTest, cut_order_numbers_every_contour_of_a_large_letter) {
  StyledText t;
  t.append(U"B8", font("Liberation Sans", 40));
  setText(t);
  view().setShowCutOrder(true);
  view().fitToView();
  const QImage img = painted(view());
  // Start markers and labels are drawn in their own colour; travel moves in theirs.
  const QRect numbers = pixelsWhere(img, view().drawingArea(), [](QRgb p) { return p == qRgb(150, 60, 0); });
  const QRect travels = pixelsWhere(img, view().drawingArea(), [](QRgb p) { return p == qRgb(0, 150, 90); });
  EXPECT_FALSE(numbers.isEmpty());
  EXPECT_FALSE(travels.isEmpty());
  EXPECT_EQ(view().scene()->contourCount, 3 + 3);  // B and 8: an outline and two holes each
  view().setShowCutOrder(false);
  const QImage plain = painted(view());
  EXPECT_TRUE(pixelsWhere(plain, view().drawingArea(), [](QRgb p) { return p == qRgb(0, 150, 90); }).isEmpty());
}

TEST_F(JobViewTest, a_dropped_rtf_or_txt_file_opens_as_file_open_would) {
  const QString rtf = folder() + QStringLiteral("dropped.rtf");
  testing::writeBytes(rtf, "{\\rtf1\\ansi{\\fonttbl{\\f0 Liberation Serif;}}\\f0\\fs40 Drop me\\par}");
  const QString png = folder() + QStringLiteral("picture.png");
  testing::writeBytes(png, "not a text");
  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile(rtf)});
  QWidget* target = form().editor()->viewport();
  const QPoint at(20, 20);

  QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &enter);
  EXPECT_TRUE(enter.isAccepted());
  const JobScene* scene = view().scene().get();
  QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &drop);
  EXPECT_TRUE(drop.isAccepted());
  ASSERT_TRUE(QTest::qWaitFor([&] { return !form().recentFiles().isEmpty(); }, 5000));
  EXPECT_EQ(form().editor()->text(), U"Drop me");
  EXPECT_EQ(form().editor()->selAttributes().Name, "Liberation Serif");
  EXPECT_EQ(form().recentFiles(), QStringList{rtf});
  waitForScene(scene);
  EXPECT_TRUE(view().followsFit());

  // Over the preview (which takes no drops) the window itself takes the file.
  const QString txt = folder() + QStringLiteral("notes.TXT");
  testing::writeBytes(txt, "plain words");
  QMimeData plain;
  plain.setUrls({QUrl::fromLocalFile(txt)});
  QDragEnterEvent enterWindow(at, Qt::CopyAction, &plain, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(testing::child<QFrame>(form(), "Panel3"), &enterWindow);
  EXPECT_TRUE(enterWindow.isAccepted());
  QDropEvent onWindow(at, Qt::CopyAction, &plain, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(testing::child<QFrame>(form(), "Panel3"), &onWindow);
  ASSERT_TRUE(QTest::qWaitFor([&] { return form().recentFiles().size() == 2; }, 5000)) << QString::fromStdU32String(form().editor()->text()).toStdString();

  // Anything else is not the window's to open.
  QMimeData other;
  other.setUrls({QUrl::fromLocalFile(png)});
  QDragEnterEvent enterPicture(at, Qt::CopyAction, &other, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(testing::child<QFrame>(form(), "Panel3"), &enterPicture);
  EXPECT_FALSE(enterPicture.isAccepted());
  QDropEvent picture(at, Qt::CopyAction, &other, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(testing::child<QFrame>(form(), "Panel3"), &picture);
  QTest::qWait(50);
  EXPECT_EQ(form().editor()->text(), U"plain words");
  EXPECT_EQ(form().recentFiles().size(), 2);

  // A file that cannot be read is reported, as File > Open reports it.
  QMimeData gone;
  gone.setUrls({QUrl::fromLocalFile(folder() + QStringLiteral("missing.rtf"))});
  QDragEnterEvent enterMissing(at, Qt::CopyAction, &gone, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &enterMissing);
  QDropEvent missing(at, Qt::CopyAction, &gone, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &missing);
  ASSERT_TRUE(QTest::qWaitFor([&] { return errors_.size() == 1; }, 5000));
  EXPECT_EQ(form().recentFiles().size(), 2);
}

TEST_F(JobViewTest, recent_files_size_splits_and_folder_survive_a_restart) {
  std::vector<QString> files;
  for (int i = 0; i < 10; ++i) {
    files.push_back(folder() + QStringLiteral("doc%1.txt").arg(i));
    testing::writeBytes(files.back(), "text " + std::to_string(i));
  }
  form().restoreWindowState();  // the program does this at start-up
  for (const QString& f : files) {
    openAnswer_ = f;
    testing::child<QAction>(form(), "FileOpen1")->trigger();
  }
  ASSERT_EQ(form().recentFiles().size(), 8);
  EXPECT_EQ(form().recentFiles().first(), files[9]);
  form().resize(1000, 760);
  testing::child<QSplitter>(form(), "WorkSplitter")->setSizes({300, 700});
  QTest::qWait(20);
  const QList<int> split = testing::child<QSplitter>(form(), "WorkSplitter")->sizes();
  const QSize size = form().size();
  form().close();

  QStringList errors;
  auto again = testing::makeTestForm(dir_.path(), errors);
  again->restoreWindowState();
  again->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(again.get()));
  EXPECT_EQ(again->recentFiles(), form().recentFiles());
  EXPECT_EQ(again->size(), size);
  EXPECT_EQ(testing::child<QSplitter>(*again, "WorkSplitter")->sizes(), split);
  EXPECT_EQ(QDir(testing::child<QFileDialog>(*again, "OpenDialog1")->directory()).absolutePath(), QDir(dir_.path()).absolutePath());

  // The menu lists them newest first, and choosing one opens it.
  testing::child<QMenu>(*again, "RecentMenu")->popup(QPoint(0, 0));
  QList<QAction*> entries = testing::child<QMenu>(*again, "RecentMenu")->actions();
  ASSERT_GE(entries.size(), 8);
  EXPECT_EQ(entries[0]->text(), QStringLiteral("&1 doc9.txt"));
  EXPECT_EQ(entries[7]->text(), QStringLiteral("&8 doc2.txt"));
  entries[2]->trigger();
  EXPECT_EQ(again->editor()->text(), U"text 7");
  EXPECT_EQ(again->recentFiles().first(), files[7]);
  // A listed file that has gone is reported and leaves the list.
  QFile::remove(files[8]);
  testing::child<QMenu>(*again, "RecentMenu")->hide();
  testing::child<QMenu>(*again, "RecentMenu")->popup(QPoint(0, 0));
  entries = testing::child<QMenu>(*again, "RecentMenu")->actions();
  entries[2]->trigger();  // doc8.txt, now third after doc7 and doc9
  EXPECT_EQ(errors.size(), 1);
  EXPECT_FALSE(again->recentFiles().contains(files[8]));
  testing::child<QMenu>(*again, "RecentMenu")->hide();
  again.reset();
}

TEST_F(JobViewTest, every_pane_grows_with_the_window) {
  const int editor = form().editor()->width();
  const int preview = testing::child<QFrame>(form(), "Panel3")->width();
  const int job = view().height();
  form().resize(form().width() + 400, form().height() + 300);
  QTest::qWait(50);
  EXPECT_GT(form().editor()->width(), editor + 100);
  EXPECT_GT(testing::child<QFrame>(form(), "Panel3")->width(), preview + 100);
  EXPECT_GT(view().height(), job + 100);
  EXPECT_GT(view().width(), form().editor()->width() + testing::child<QFrame>(form(), "Panel3")->width() - 10);
}

TEST_F(JobViewTest, every_shortcut_is_shown_in_a_menu) {
  // What the menus show: an item's own shortcut, or the key its caption names after a tab.
  QList<QKeySequence> shown;
  QList<const QAction*> inMenus;
  std::function<void(QMenu*)> collect = [&](QMenu* menu) {
    for (QAction* a : menu->actions()) {
      inMenus << a;
      if (a->menu()) collect(a->menu());
      if (!a->shortcut().isEmpty()) shown << a->shortcut();
      const qsizetype tab = a->text().indexOf(u'\t');
      if (tab >= 0) shown << QKeySequence(a->text().mid(tab + 1));
    }
  };
  for (QAction* top : form().menuBar()->actions())
    if (top->menu()) collect(top->menu());
  QList<QAction*> keyed = form().actions();
  keyed += view().actions();
  int checked = 0;
  for (const QAction* a : keyed) {
    if (a->shortcut().isEmpty()) continue;
    ++checked;
    EXPECT_TRUE(shown.contains(a->shortcut())) << a->objectName().toStdString() << " "
                                               << a->shortcut().toString().toStdString();
  }
  EXPECT_GE(checked, 14);
  // The commands of buttons without a key are in the menus too (their toolbar buttons alone
  // would not do: a button is an associated object of its action as much as a menu is).
  for (const char* name : {"Undo1", "Bold1", "Italic1", "PrevChar1", "NextChar1", "Scan1", "Paste1", "SuggestPitch1"}) {
    const QAction* a = form().findChild<QAction*>(QString::fromLatin1(name));
    ASSERT_NE(a, nullptr) << name;
    EXPECT_TRUE(inMenus.contains(a)) << name;
  }
  // Format > Bold acts as the Bold button does.
  form().editor()->setText(U"abc");
  form().editor()->setSelStart(0);
  form().editor()->setSelLength(3);
  form().SelectionChange();
  form().findChild<QAction*>(QStringLiteral("Bold1"))->trigger();
  EXPECT_TRUE(form().editor()->selAttributes().Bold);
  // The new keys work from the editor, which has uses of its own for many keys.
  form().editor()->setFocus();
  QTest::keyClick(form().editor(), Qt::Key_I, Qt::ControlModifier);
  EXPECT_TRUE(form().editor()->selAttributes().Italic);
  EXPECT_EQ(form().editor()->text(), U"abc");
  form().CharPos = 1;
  QTest::keyClick(form().editor(), Qt::Key_Right, Qt::AltModifier);
  EXPECT_EQ(form().CharPos, 2);
  QTest::keyClick(form().editor(), Qt::Key_Left, Qt::AltModifier);
  EXPECT_EQ(form().CharPos, 1);
  // A digit typed in the editor is text, not the job view's Fit.
  view().zoomAt(middle(), 3);
  QTest::keyClick(form().editor(), Qt::Key_0);
  EXPECT_FALSE(view().followsFit());
}

}  // namespace
}  // namespace kerfline
