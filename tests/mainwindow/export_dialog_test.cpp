// The export dialog on a real offscreen window: clicked and typed into, the file it makes
// read back by ezdxf and Python's XML parser, and its settings remembered in [Export].
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <functional>

#include "appcore/settings_file.h"
#include "mainwindow/Unit1.h"
#include "mainwindow/export_dialog.h"
#include "mainwindow/toolpath_settings_widget.h"
#include "mainwindow/rich_edit.h"
#include "richtext/styled_text.h"
#include "save_test_support.h"

namespace kerfline {
namespace {

using testing::font;

// What ezdxf made of a file (tests/export/read_closed_dxf.py): its lines.
QStringList ezdxfView(const QString& file) {
  QProcess python;
  python.start(QStringLiteral("/usr/bin/python3"),
               {QStringLiteral(KERFLINE_SOURCE_DIR "/tests/export/read_closed_dxf.py"), file});
  python.waitForFinished(60000);
  const QString out = QString::fromUtf8(python.readAllStandardOutput());
  EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
  return out.split(u'\n', Qt::SkipEmptyParts);
}

QString fact(const QStringList& view, const QString& name) {
  for (const QString& line : view) {
    if (line.startsWith(name + u' ')) return line.mid(name.size() + 1);
  }
  return QStringLiteral("(missing)");
}

class ExportDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    form_ = testing::makeTestForm(dir_.path(), errors_);
    form_->saveFileName = [this] {
      ++fileDialogs_;
      return fileAnswer_;
    };
    StyledText text;
    text.append(U"o%\r\n", font("Liberation Sans", 20));
    text.append(U"B", font("Cantarell", 20));
    form_->editor()->setStyledText(text);
    testing::child<QLineEdit>(*form_, "Layername")->setText(QStringLiteral("CUT"));
    testing::child<QLineEdit>(*form_, "ZmoveEdit")->setText(QStringLiteral("3"));
    testing::child<QLineEdit>(*form_, "ZlevelEdit")->setText(QStringLiteral("-0.5"));
    form_->show();
  }

  // Triggers command and, once its dialog is up, lets act fill it in; returns the dialog's
  // fields as act found them (before changing them).
  void runDialog(QAction* command, const std::function<void(ExportDialog&)>& act) {
    bool seen = false;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
      auto* dialog = qobject_cast<ExportDialog*>(QApplication::activeModalWidget());
      if (!dialog || seen) return;
      seen = true;
      act(*dialog);
    });
    poll.start();
    command->trigger();
    EXPECT_TRUE(seen) << "no export dialog";
  }

  static QComboBox& box(ExportDialog& d, const char* name) {
    return *d.findChild<QComboBox*>(QString::fromLatin1(name));
  }
  static void choose(ExportDialog& d, const char* name, int row) {
    // As a user does: open the list, go to the row, take it.
    QComboBox& b = box(d, name);
    b.setFocus();
    QTest::keyClick(&b, Qt::Key_Home);
    for (int i = 0; i < row; ++i) QTest::keyClick(&b, Qt::Key_Down);
  }
  static void typeSize(ExportDialog& d, const QString& text) {
    auto* size = d.findChild<QDoubleSpinBox*>(QStringLiteral("FitSizeEdit"));
    size->setFocus();
    size->selectAll();
    QTest::keyClicks(size, text);
  }
  static void click(ExportDialog& d, QDialogButtonBox::StandardButton which) {
    QTest::mouseClick(d.findChild<QDialogButtonBox*>()->button(which), Qt::LeftButton);
  }

  QString path(const char* name) const { return dir_.path() + "/" + name; }
  std::string ini() const { return form_->settingsFile(); }

  QTemporaryDir dir_;
  QStringList errors_;
  std::unique_ptr<TMainForm> form_;
  QString fileAnswer_;
  int fileDialogs_ = 0;
};

TEST_F(ExportDialogTest, closed_polylines_as_asked_in_the_dialog_and_remembered) {
  fileAnswer_ = path("sign.dxf");
  runDialog(testing::child<QAction>(*form_, "SaveClosedCmd"), [](ExportDialog& d) {
    EXPECT_EQ(box(d, "FormatBox").currentIndex(), 0);  // first run: R12, mm, as drawn
    EXPECT_EQ(box(d, "UnitsBox").currentIndex(), 0);
    EXPECT_EQ(box(d, "FitBox").currentIndex(), 0);
    EXPECT_FALSE(d.findChild<QDoubleSpinBox*>(QStringLiteral("FitSizeEdit"))->isEnabled());
    choose(d, "FormatBox", 1);  // R2000
    choose(d, "UnitsBox", 1);   // inches
    choose(d, "FitBox", 1);     // fit to width
    typeSize(d, QStringLiteral("4.1"));
    click(d, QDialogButtonBox::Ok);
  });
  ASSERT_TRUE(errors_.isEmpty()) << errors_.join('|').toStdString();
  EXPECT_EQ(fileDialogs_, 1);
  const QStringList view = ezdxfView(fileAnswer_);
  EXPECT_EQ(fact(view, "version"), "AC1015");
  EXPECT_EQ(fact(view, "audit"), "0 0");
  EXPECT_EQ(fact(view, "insunits"), "1");
  EXPECT_EQ(fact(view, "layers"), "0 CUT");
  const QStringList lo = fact(view, "extmin").split(u' ');
  const QStringList hi = fact(view, "extmax").split(u' ');
  EXPECT_NEAR(hi[0].toDouble() - lo[0].toDouble(), 4.1, 1e-5);
  EXPECT_EQ(lo[2], "-0.5");  // Z cutting, not scaled
  int closed = 0;
  for (const QString& line : view) {
    if (line.startsWith(QStringLiteral("entity "))) {
      EXPECT_TRUE(line.startsWith(QStringLiteral("entity LWPOLYLINE CUT 1 1 -0.5 "))) << line.toStdString();
      ++closed;
    }
  }
  // o: 2 rings, %: 5, B: 3.
  EXPECT_EQ(closed, 10);
  EXPECT_TRUE(testing::child<QStatusBar>(*form_, "StatusBar1")->currentMessage().startsWith(QStringLiteral("Saved 10 paths, 4.1 x ")))
      << testing::child<QStatusBar>(*form_, "StatusBar1")->currentMessage().toStdString();

  // Remembered in its own section; the classic keys as every save writes them.
  EXPECT_EQ(readProfileString(ini(), "Export", "DxfVersion"), "2000");
  EXPECT_EQ(readProfileString(ini(), "Export", "Units"), "in");
  EXPECT_EQ(readProfileString(ini(), "Export", "Fit"), "width");
  EXPECT_EQ(readProfileString(ini(), "Export", "FitSize"), "4.1");
  EXPECT_EQ(Loadini(ini()), (LayerSettings{"CUT", "3", "-0.5"}));

  // The next time the dialog shows them; cancelling writes nothing and asks for no name.
  QFile::remove(fileAnswer_);
  runDialog(testing::child<QAction>(*form_, "SaveClosedCmd"), [](ExportDialog& d) {
    EXPECT_EQ(box(d, "FormatBox").currentIndex(), 1);
    EXPECT_EQ(box(d, "UnitsBox").currentIndex(), 1);
    EXPECT_EQ(box(d, "FitBox").currentIndex(), 1);
    EXPECT_EQ(d.findChild<QDoubleSpinBox*>(QStringLiteral("FitSizeEdit"))->value(), 4.1);
    click(d, QDialogButtonBox::Cancel);
  });
  EXPECT_EQ(fileDialogs_, 1);
  EXPECT_FALSE(QFile::exists(fileAnswer_));
  // The stored size comes back exactly as typed, not rounded to single precision.
  EXPECT_EQ(form_->storedExportOptions().fitWidth, 4.1);
}

// The curve fields: typed and clicked in the dialog, written to the file as arcs (group 42
// bulges), remembered in [Export] and shown again the next time.
TEST_F(ExportDialogTest, tolerance_and_arcs_as_asked_written_and_remembered) {
  fileAnswer_ = path("arcs.dxf");
  runDialog(testing::child<QAction>(*form_, "SaveClosedCmd"), [](ExportDialog& d) {
    auto* tolerance = d.findChild<QDoubleSpinBox*>(QStringLiteral("Tolerance"));
    auto* arcs = d.findChild<QCheckBox*>(QStringLiteral("Arcs"));
    EXPECT_EQ(tolerance->value(), tolerance->minimum());  // first run: the resolution's chords
    EXPECT_FALSE(arcs->isChecked());
    tolerance->setFocus();
    tolerance->selectAll();
    QTest::keyClicks(tolerance, QStringLiteral("0.02"));
    QTest::mouseClick(arcs, Qt::LeftButton, {}, QPoint(4, arcs->height() / 2));
    click(d, QDialogButtonBox::Ok);
  });
  ASSERT_TRUE(errors_.isEmpty()) << errors_.join('|').toStdString();
  QFile file(fileAnswer_);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_GT(file.readAll().count(QByteArrayLiteral("\n 42\r\n")), 10);
  EXPECT_EQ(readProfileString(ini(), "Export", "Tolerance"), "0.02");
  EXPECT_EQ(readProfileString(ini(), "Export", "Arcs"), "1");
  EXPECT_EQ(form_->storedExportOptions().tolerance, 0.02);
  EXPECT_TRUE(form_->storedExportOptions().arcs);
  runDialog(testing::child<QAction>(*form_, "SaveClosedCmd"), [](ExportDialog& d) {
    EXPECT_EQ(d.findChild<QDoubleSpinBox*>(QStringLiteral("Tolerance"))->value(), 0.02);
    EXPECT_TRUE(d.findChild<QCheckBox*>(QStringLiteral("Arcs"))->isChecked());
    click(d, QDialogButtonBox::Cancel);
  });
}

TEST_F(ExportDialogTest, svg_from_its_own_command_and_stored_nonsense_ignored) {
  writeProfileString(ini(), "Export", "Units", "furlongs");
  writeProfileString(ini(), "Export", "Fit", "height");
  writeProfileString(ini(), "Export", "FitSize", "-7");
  fileAnswer_ = path("sign.svg");
  runDialog(testing::child<QAction>(*form_, "ExportSvgCmd"), [](ExportDialog& d) {
    EXPECT_EQ(box(d, "FormatBox").currentIndex(), 2);  // the command's form
    EXPECT_EQ(box(d, "UnitsBox").currentIndex(), 0);
    EXPECT_EQ(box(d, "FitBox").currentIndex(), 0);
    click(d, QDialogButtonBox::Ok);
  });
  ASSERT_TRUE(errors_.isEmpty()) << errors_.join('|').toStdString();
  const auto svg = testing::readBytes(fileAnswer_);
  ASSERT_TRUE(svg);
  EXPECT_NE(svg->find("width=\""), std::string::npos);
  EXPECT_NE(svg->find("mm\" height=\""), std::string::npos);
  // One path per character with outlines: o, % and B.
  std::size_t paths = 0;
  for (std::size_t at = svg->find("<path "); at != std::string::npos; at = svg->find("<path ", at + 1)) ++paths;
  EXPECT_EQ(paths, 3u);
  EXPECT_EQ(readProfileString(ini(), "Export", "Format"), "svg");
  EXPECT_EQ(readProfileString(ini(), "Export", "Units"), "mm");
}

}  // namespace
}  // namespace kerfline

namespace kerfline {
namespace {

// Weld and kerf belong to the closed and SVG forms as to the G-code: the dialog shows them,
// hides the machine settings, and gives back exactly what was clicked and typed.
TEST_F(ExportDialogTest, weld_and_kerf_fields_round_trip_without_the_gcode_group) {
  ExportDialog dialog;
  ConversionOptions shown;
  shown.format = OutputFormat::Svg;
  shown.weld = true;
  shown.kerf = 0.25;
  shown.kerfSide = KerfSide::Inside;
  dialog.setOptions(shown);
  auto* toolpath = dialog.findChild<ToolpathSettingsWidget*>(QStringLiteral("ToolpathSettings"));
  ASSERT_NE(toolpath, nullptr);
  EXPECT_TRUE(toolpath->weld->isChecked());
  EXPECT_FALSE(toolpath->feed->isVisibleTo(&dialog));
  ConversionOptions read = dialog.options(ConversionOptions{});
  EXPECT_TRUE(read.weld);
  ASSERT_TRUE(read.kerf.has_value());
  EXPECT_DOUBLE_EQ(*read.kerf, 0.25);
  EXPECT_EQ(read.kerfSide, KerfSide::Inside);

  QTest::mouseClick(toolpath->weld, Qt::LeftButton);
  toolpath->kerfEnabled->setChecked(false);
  read = dialog.options(ConversionOptions{});
  EXPECT_FALSE(read.weld);
  EXPECT_FALSE(read.kerf.has_value());
}

}  // namespace
}  // namespace kerfline
