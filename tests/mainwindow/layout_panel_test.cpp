// The Layout panel on a real (offscreen) window: the job view lays the sign out as the command
// line writes it (ezdxf reads that file), edits re-lay it live, and the panel's fields come
// back after a restart.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDockWidget>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSettings>

#include "form_test_support.h"
#include "mainwindow/job_scene.h"
#include "mainwindow/job_view.h"
#include "mainwindow/layout_panel.h"
#include "mainwindow/rich_edit.h"
#include "richtext/styled_text.h"

namespace kerfline {
namespace {

class LayoutPanelTest : public formtest::FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder() + QStringLiteral("settings"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return view().scene() != nullptr; }, 10000));
  }
  JobView& view() { return *testing::child<JobView>(form(), "JobView1"); }
  LayoutPanel& panel() { return *testing::child<LayoutPanel>(form(), "LayoutPanel1"); }
  QString answerPath_;
};

struct FileExtent {
  Extent extent;
  int contours = 0;
  bool allClosed = false;
};

// The closed DXF as ezdxf reads it: every polyline's vertices, and whether each is closed.
FileExtent readByEzdxf(const QString& dxf) {
  const char* script =
      "import sys, ezdxf\n"
      "xs, ys, n, closed = [], [], 0, True\n"
      "for e in ezdxf.readfile(sys.argv[1]).modelspace():\n"
      "    if e.dxftype() == 'LWPOLYLINE':\n"
      "        pts, c = [p[:2] for p in e.get_points('xy')], e.closed\n"
      "    elif e.dxftype() == 'POLYLINE':\n"
      "        pts, c = [(v.dxf.location.x, v.dxf.location.y) for v in e.vertices], e.is_closed\n"
      "    else:\n"
      "        continue\n"
      "    n += 1; closed = closed and c\n"
      "    xs += [p[0] for p in pts]; ys += [p[1] for p in pts]\n"
      "print('%.9f %.9f %.9f %.9f %d %d' % (min(xs), min(ys), max(xs), max(ys), n, closed))\n";
  QProcess python;
  python.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QString::fromLatin1(script), dxf});
  python.waitForFinished(60000);
  const QStringList f = QString::fromUtf8(python.readAllStandardOutput()).split(u' ');
  FileExtent out;
  if (f.size() != 6) {
    ADD_FAILURE() << python.readAllStandardError().toStdString();
    return out;
  }
  out.extent.add({f[0].toDouble(), f[1].toDouble()});
  out.extent.add({f[2].toDouble(), f[3].toDouble()});
  out.contours = f[4].toInt();
  out.allClosed = f[5].trimmed() == QLatin1String("1");
  return out;
}

// kerfline-convert's closed DXF of the badge; the window's defaults are the command line's.
FileExtent convertedBadge(const QString& dxf, const QString& radius) {
  QProcess convert;
  convert.start(QStringLiteral(KERFLINE_CONVERT_EXE),
                {"--text", "KERFLINE WORKSHOP", "--font", "DejaVu Sans", "--size", "36", "--spacing",
                 "font", "--arc-radius", radius, "--frame", "ellipse", "--frame-margin", "8",
                 "--holes", "2,4", "-f", "closed", "-o", dxf});
  convert.waitForFinished(60000);
  EXPECT_EQ(convert.exitCode(), 0) << convert.readAllStandardError().toStdString();
  return readByEzdxf(dxf);
}

bool near(const Extent& a, const Extent& b, double d) {
  return std::abs(a.minX - b.minX) <= d && std::abs(a.minY - b.minY) <= d &&
         std::abs(a.maxX - b.maxX) <= d && std::abs(a.maxY - b.maxY) <= d;
}

TEST_F(LayoutPanelTest, the_job_view_shows_the_badge_the_command_line_writes_and_follows_edits) {
  testing::child<QAction>(form(), "LayoutPanelCmd")->trigger();
  EXPECT_TRUE(testing::child<QDockWidget>(form(), "LayoutDock")->isVisible());
  StyledText text;
  text.append(U"KERFLINE WORKSHOP", testing::font("DejaVu Sans", 36));
  form().editor()->setStyledText(text);
  testing::child<QComboBox>(form(), "SpacingBox")->setCurrentIndex(1);
  panel().follow->setCurrentIndex(LayoutPanel::Circle);
  panel().arcRadius->setValue(60);
  panel().frame->setCurrentIndex(static_cast<int>(FrameShape::Ellipse));
  panel().frameMargin->setValue(8);
  panel().holes->setCurrentIndex(1);
  panel().holeDiameter->setValue(4);

  for (const char* radius : {"60", "90"}) {
    SCOPED_TRACE(radius);
    panel().arcRadius->setValue(QString::fromLatin1(radius).toDouble());
    const FileExtent file = convertedBadge(folder() + QStringLiteral("badge.dxf"), QString::fromLatin1(radius));
    // Letters, their counters, the frame and two holes, each a closed ring.
    EXPECT_TRUE(file.allClosed);
    EXPECT_GT(file.contours, 16 + 3);
    // The frame is the outermost ring: its box is the drawing's, in the view as in the file
    // (which holds single-precision numbers).
    ASSERT_TRUE(QTest::qWaitFor([&] { return near(view().scene()->extent, file.extent, 1e-3); }, 10000))
        << view().scene()->extent.minX << " " << view().scene()->extent.maxX << " vs "
        << file.extent.minX << " " << file.extent.maxX;
    EXPECT_TRUE(near(view().scene()->extent, file.extent, 2e-5));
    EXPECT_EQ(view().scene()->contourCount, file.contours);
  }
}

TEST_F(LayoutPanelTest, every_field_survives_a_restart_and_a_bad_path_file_is_named) {
  const QString svg = folder() + QStringLiteral("wave.svg");
  testing::writeBytes(svg, "<svg><path id='a' d='M 0 0 L 10 0'/><path id='wave' d='M 0 0 C 30 -20 60 20 90 0'/></svg>");
  panel().follow->setCurrentIndex(LayoutPanel::Path);
  panel().letters->setCurrentIndex(1);
  answerPath_ = svg;
  panel().browsePath = [this] { return answerPath_; };
  QTest::mouseClick(panel().browse, Qt::LeftButton);
  panel().pathId->setText(QStringLiteral("wave"));
  emit panel().pathId->editingFinished();
  panel().pathOffset->setValue(12.5);
  panel().pathAlign->setCurrentIndex(static_cast<int>(ArcAlign::Right));
  panel().arcSide->setCurrentIndex(1);
  panel().arcAngle->setValue(30);
  panel().rotate->setValue(15);
  panel().mirror->setCurrentIndex(static_cast<int>(MirrorAxis::X));
  panel().slant->setValue(-10);
  panel().stretchX->setValue(0.8);
  panel().fitBox->setChecked(true);
  panel().boxWidth->setValue(120);
  panel().boxHeight->setValue(80);
  panel().margin->setValue(5);
  panel().anchor->setCurrentIndex(static_cast<int>(BoxAnchor::TopLeft));
  panel().stretch->setChecked(true);
  panel().frame->setCurrentIndex(static_cast<int>(FrameShape::Rounded));
  panel().frameSize->setValue(3);
  panel().frameMargin->setValue(6);
  panel().holes->setCurrentIndex(2);
  panel().holeDiameter->setValue(3.5);
  panel().holeInset->setValue(7);
  EXPECT_EQ(panel().pathProblem->text(), QString());

  // What the fields say, written out by hand.
  SignLayout expected;
  expected.bend = BendMode::Warp;
  expected.pathData = "M 0 0 C 30 -20 60 20 90 0";
  expected.pathOffset = 12.5;
  expected.pathAlign = ArcAlign::Right;
  expected.arcSide = ArcSide::Bottom;
  expected.arcAngle = 30;
  expected.rotate = 15;
  expected.mirror = MirrorAxis::X;
  expected.slant = -10;
  expected.stretchX = 0.8;
  expected.boxWidth = 120;
  expected.boxHeight = 80;
  expected.margin = 5;
  expected.anchor = BoxAnchor::TopLeft;
  expected.stretch = true;
  expected.frame = FrameShape::Rounded;
  expected.frameSize = 3;
  expected.frameMargin = 6;
  expected.holeCount = 4;
  expected.holeDiameter = 3.5;
  expected.holeInset = 7;
  EXPECT_EQ(panel().signLayout(), expected);
  // The settings file is written once the edits pause; the window closes without a save.
  ASSERT_TRUE(QTest::qWaitFor([&] { return testing::readBytes(folder() + "Reg.ini").value_or("").find("PathId=wave") != std::string::npos; }, 5000));
  form().close();

  QStringList errors;
  auto again = testing::makeTestForm(dir_.path(), errors);
  again->Loadini();  // the program does this at start-up
  LayoutPanel& back = *testing::child<LayoutPanel>(*again, "LayoutPanel1");
  EXPECT_EQ(back.signLayout(), expected);
  EXPECT_EQ(back.pathFile(), (LayoutPathFile{svg.toStdString(), "wave"}));

  // A path the file does not hold is named beside the field, and the text goes straight.
  back.pathId->setText(QStringLiteral("missing"));
  emit back.pathId->editingFinished();
  EXPECT_TRUE(back.pathProblem->text().contains(QStringLiteral("wave.svg"))) << back.pathProblem->text().toStdString();
  EXPECT_EQ(back.signLayout().pathData, "");
  EXPECT_TRUE(errors.isEmpty());
}

}  // namespace
}  // namespace kerfline
