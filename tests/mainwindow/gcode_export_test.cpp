// The G-code export in the window: the settings fields clicked and typed into and read back,
// the dialog's units, and File > "Export G-code..." writing a program, remembering its
// settings and naming in the status bar what the kerf closed up; a V-carve chosen there
// writing the command line's programs.
#include <memory>
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "appcore/option_table.h"
#include "appcore/settings_file.h"
#include "appcore/toolpath_settings.h"
#include "mainwindow/Unit1.h"
#include "mainwindow/export_dialog.h"
#include "mainwindow/fill_settings_widget.h"
#include "mainwindow/gcode_export_dialog.h"
#include "mainwindow/rich_edit.h"
#include "mainwindow/toolpath_settings_widget.h"
#include "richtext/styled_text.h"
#include "save_test_support.h"

namespace kerfline {
namespace {

using testing::application;
using testing::font;
using testing::readBytes;

void typeInto(QAbstractSpinBox* box, const QString& text) {
  box->setFocus();
  box->selectAll();
  QTest::keyClicks(box, text);
  QTest::keyClick(box, Qt::Key_Tab);
}

TEST(toolpath_settings_widget_test, clicked_and_typed_fields_fill_the_options) {
  application();
  ToolpathSettingsWidget w;
  w.show();
  ConversionOptions o;
  w.setOptions(o);
  EXPECT_EQ(w.feed->text(), QStringLiteral("default (600 mm/min)"));
  EXPECT_EQ(w.plungeFeed->text(), QStringLiteral("default (200 mm/min)"));
  EXPECT_FALSE(w.kerfWidth->isEnabled());
  EXPECT_FALSE(w.power->isEnabled());

  QTest::mouseClick(w.weld, Qt::LeftButton, {}, QPoint(4, w.weld->height() / 2));
  QTest::mouseClick(w.kerfEnabled, Qt::LeftButton, {}, QPoint(4, w.kerfEnabled->height() / 2));
  ASSERT_TRUE(w.kerfWidth->isEnabled());
  typeInto(w.kerfWidth, QStringLiteral("0.15"));
  w.kerfSide->setCurrentIndex(1);
  typeInto(w.feed, QStringLiteral("900"));
  QTest::mouseClick(w.passes, Qt::LeftButton, {}, QPoint(4, w.passes->height() / 2));
  typeInto(w.depthPerPass, QStringLiteral("0.3"));
  w.applyTo(o);
  EXPECT_TRUE(o.weld);
  EXPECT_EQ(o.kerf, 0.15);
  EXPECT_EQ(o.kerfSide, KerfSide::Inside);
  EXPECT_EQ(o.gcode.feed, 900);
  EXPECT_EQ(o.gcode.plungeFeed, std::nullopt) << "left at default";
  EXPECT_EQ(o.gcode.depthPerPass, 0.3);
  EXPECT_EQ(o.gcode.spindleRpm, std::nullopt);

  // A laser has neither plunge nor spindle nor passes; its power becomes editable.
  QTest::mouseClick(w.laser, Qt::LeftButton, {}, QPoint(4, w.laser->height() / 2));
  EXPECT_FALSE(w.plungeFeed->isEnabled());
  EXPECT_FALSE(w.spindle->isEnabled());
  EXPECT_FALSE(w.depthPerPass->isEnabled());
  EXPECT_TRUE(w.power->isEnabled());

  // The fields show back what they were given.
  ToolpathSettingsWidget again;
  again.setOptions(o);
  ConversionOptions back;
  again.applyTo(back);
  EXPECT_EQ(back.kerf, o.kerf);
  EXPECT_EQ(back.gcode.feed, o.gcode.feed);
  EXPECT_EQ(back.gcode.depthPerPass, o.gcode.depthPerPass);
}

// The order and the leads as chosen and typed; "none" and the form's own order stay unset.
TEST(toolpath_settings_widget_test, order_and_lead_fields_fill_the_options) {
  application();
  ToolpathSettingsWidget w;
  w.show();
  w.setOptions(ConversionOptions{});
  EXPECT_EQ(w.leadIn->text(), QStringLiteral("none"));
  EXPECT_FALSE(w.kerfSide->isEnabled());
  EXPECT_FALSE(w.leadShape->isEnabled());
  struct Case {
    int order;
    const char* leadIn;
    std::optional<CutOrder> wantOrder;
    std::optional<double> wantLeadIn;
  };
  const Case cases[] = {{0, "0", std::nullopt, std::nullopt},
                        {1, "0.25", CutOrder::Text, 0.25},
                        {2, "1.5", CutOrder::Travel, 1.5}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.order);
    w.order->setCurrentIndex(c.order);
    typeInto(w.leadIn, QString::fromLatin1(c.leadIn));
    ConversionOptions o;
    w.applyTo(o);
    EXPECT_EQ(o.order, c.wantOrder);
    EXPECT_EQ(o.leadIn, c.wantLeadIn);
    // A lead needs the side of the scrap, which the kerf side names, and a form.
    EXPECT_EQ(w.kerfSide->isEnabled(), c.wantLeadIn.has_value());
    EXPECT_EQ(w.leadShape->isEnabled(), c.wantLeadIn.has_value());
  }
  w.leadShape->setCurrentIndex(1);
  typeInto(w.overcut, QStringLiteral("0.1"));
  ConversionOptions o;
  w.applyTo(o);
  EXPECT_EQ(o.leadShape, LeadShape::Arc);
  EXPECT_EQ(o.overcut, 0.1);
  EXPECT_EQ(o.leadOut, std::nullopt);
  ToolpathSettingsWidget again;
  again.setOptions(o);
  ConversionOptions back;
  again.applyTo(back);
  EXPECT_EQ(back.order, o.order);
  EXPECT_EQ(back.leadIn, o.leadIn);
  EXPECT_EQ(back.overcut, o.overcut);
  EXPECT_EQ(back.leadShape, o.leadShape);
}

TEST(toolpath_settings_widget_test, every_field_takes_the_option_tables_range) {
  application();
  ToolpathSettingsWidget w;
  ExportDialog d;
  struct Field {
    const QAbstractSpinBox* box;
    const char* option;
    bool defaultBelow;  // the feeds read "default", the leads "none", below their smallest value
  };
  const Field fields[] = {
      {w.kerfWidth, "--kerf", false},   {w.feed, "--feed", true},
      {w.plungeFeed, "--plunge-feed", true}, {w.spindleRpm, "--spindle", false},
      {w.depthPerPass, "--depth-per-pass", false}, {w.power, "--power", false},
      {w.leadIn, "--lead-in", true}, {w.leadOut, "--lead-out", true},
      {w.overcut, "--overcut", true},
      {d.findChild<QDoubleSpinBox*>(QStringLiteral("FitSizeEdit")), "--fit-width", false},
  };
  for (const Field& f : fields) {
    SCOPED_TRACE(f.option);
    const OptionDescriptor& limits = optionNamed(f.option);
    ASSERT_NE(f.box, nullptr);
    if (const auto* real = qobject_cast<const QDoubleSpinBox*>(f.box)) {
      EXPECT_EQ(real->minimum(), f.defaultBelow ? 0.0 : limits.min);
      EXPECT_EQ(real->maximum(), limits.max);
      EXPECT_EQ(real->decimals(), limits.decimals);
    } else {
      const auto* whole = qobject_cast<const QSpinBox*>(f.box);
      ASSERT_NE(whole, nullptr);
      EXPECT_EQ(whole->minimum(), limits.min);
      EXPECT_EQ(whole->maximum(), limits.max);
    }
  }
}

TEST(toolpath_settings_widget_test, the_dialog_units_change_the_default_feeds_shown) {
  application();
  ConversionOptions o;
  o.gcode.spindleRpm = 16000;
  GcodeExportDialog dialog(o);
  dialog.show();
  dialog.units->setCurrentIndex(1);
  EXPECT_EQ(dialog.toolpath->feed->text(), QStringLiteral("default (24 in/min)"));
  const ConversionOptions chosen = dialog.options();
  EXPECT_EQ(chosen.units, DrawingUnits::Inch);
  EXPECT_EQ(chosen.gcode.spindleRpm, 16000);
}

class GcodeExportCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    form_ = testing::makeTestForm(dir_.path(), errors_);
    StyledText t;
    t.append(U"il o", font("Liberation Sans", 10));
    form_->editor()->setStyledText(t);
    testing::child<QLineEdit>(*form_, "ZmoveEdit")->setText(QStringLiteral("3"));
    testing::child<QLineEdit>(*form_, "ZlevelEdit")->setText(QStringLiteral("-0.5"));
    form_->askGcodeSettings = [this](const ConversionOptions& shown) {
      shownOptions_ = shown;
      return answer_;
    };
    form_->gcodeFileName = [this] { return fileAnswer_; };
  }

  QAction* menuItem() {
    for (QAction* a : form_->menuBar()->actions())
      if (a->menu())
        for (QAction* item : a->menu()->actions())
          if (item->text() == QStringLiteral("Export G-code...")) return item;
    return nullptr;
  }

  QTemporaryDir dir_;
  QStringList errors_;
  std::unique_ptr<TMainForm> form_;
  std::optional<ConversionOptions> answer_;
  ConversionOptions shownOptions_;
  QString fileAnswer_;
};

TEST_F(GcodeExportCommandTest, writes_the_program_remembers_the_settings_and_names_vanished_parts) {
  ConversionOptions chosen;
  chosen.kerf = 0.5;  // wider than the strokes of 10-point letters
  chosen.kerfSide = KerfSide::Inside;
  chosen.gcode.feed = 450;
  answer_ = chosen;
  fileAnswer_ = dir_.path() + "/sign.nc";
  QAction* item = menuItem();
  ASSERT_NE(item, nullptr);
  item->trigger();
  EXPECT_TRUE(errors_.isEmpty()) << errors_.join("; ").toStdString();
  const auto program = readBytes(fileAnswer_);
  ASSERT_TRUE(program.has_value());
  EXPECT_TRUE(program->starts_with("(Kerfline G-code)\n"));
  EXPECT_NE(program->find("Z up 3.0000, Z cutting -0.5000"), std::string::npos) << *program;
  EXPECT_TRUE(program->ends_with("M2\n"));
  EXPECT_EQ(testing::child<QStatusBar>(*form_, "StatusBar1")->currentMessage().toStdString(),
            "Kerf: 4 rings are narrower than the kerf and not cut: a part of \"i\" at position 1 "
            "(line 1); a part of \"i\" at position 1 (line 1); a part of \"l\" at position 2 "
            "(line 1); a part of \"o\" at position 4 (line 1).");

  // The next time the dialog shows what was chosen.
  const std::string ini = settingsPath(form_->ProgramFolder);
  EXPECT_EQ(readProfileString(ini, "Export", "Kerf"), "0.5");
  answer_.reset();
  item->trigger();
  EXPECT_EQ(shownOptions_.kerf, 0.5);
  EXPECT_EQ(shownOptions_.kerfSide, KerfSide::Inside);
  EXPECT_EQ(shownOptions_.gcode.feed, 450);
}

// A fill settings widget on screen with the default options.
std::unique_ptr<FillSettingsWidget> shownFillSettings() {
  application();
  auto w = std::make_unique<FillSettingsWidget>();
  w->show();
  w->setOptions(ConversionOptions{});
  return w;
}

// Whether a field shows in its window.
bool shown(QWidget* field) { return field->isVisibleTo(field->window()); }

TEST(fill_settings_widget_test, the_carve_choice_and_its_fields_fill_the_options) {
  const std::unique_ptr<FillSettingsWidget> w = shownFillSettings();
  EXPECT_EQ(w->carve->currentIndex(), FillSettingsWidget::Profile);
  EXPECT_FALSE(w->toolDiameter->isEnabled());
  EXPECT_FALSE(w->interval->isEnabled());
  ConversionOptions profile;
  w->applyTo(profile);
  EXPECT_EQ(profile.cut, CutOperation::Profile);
  EXPECT_EQ(profile.fill, FillOptions{});  // a profile job stores no fill numbers

  struct Case {
    FillSettingsWidget::Carve carve;
    CutOperation cut;
    bool background;
  };
  for (const Case& c : {Case{FillSettingsWidget::Raised, CutOperation::Pocket, true},
                        Case{FillSettingsWidget::Hatch, CutOperation::Hatch, false}}) {
    w->carve->setCurrentIndex(c.carve);
    EXPECT_EQ(w->toolDiameter->isEnabled(), c.background);
    EXPECT_EQ(w->margin->isEnabled(), c.background);
    EXPECT_EQ(w->hatchAngle->isEnabled(), !c.background);
    if (c.background) {
      typeInto(w->toolDiameter, QStringLiteral("3.175"));
      typeInto(w->margin, QStringLiteral("6"));
    } else {
      typeInto(w->interval, QStringLiteral("0.08"));
      typeInto(w->hatchAngle, QStringLiteral("45"));
      QTest::mouseClick(w->crossHatch, Qt::LeftButton, {}, QPoint(4, w->crossHatch->height() / 2));
    }
    ConversionOptions o;
    w->applyTo(o);
    EXPECT_EQ(o.cut, c.cut);
    EXPECT_EQ(o.fill.background, c.background);
    if (c.background) {
      EXPECT_EQ(o.fill.toolDiameter, 3.175);
      EXPECT_EQ(o.fill.margin, 6);
      EXPECT_EQ(o.fill.interval, std::nullopt);
    } else {
      EXPECT_EQ(o.fill.interval, 0.08);
      EXPECT_EQ(o.fill.hatchAngle, 45);
      EXPECT_TRUE(o.fill.crossHatch);
      EXPECT_EQ(o.fill.overscan, std::nullopt);  // left at "none"
    }
    // Shown again, the fields read the same.
    FillSettingsWidget again;
    again.setOptions(o);
    ConversionOptions back;
    again.applyTo(back);
    EXPECT_EQ(back.cut, o.cut);
    EXPECT_EQ(back.fill, o.fill);
  }
}

TEST_F(GcodeExportCommandTest, a_pocket_chosen_in_the_dialog_is_cut_and_its_loss_named) {
  ConversionOptions chosen;
  chosen.cut = CutOperation::Pocket;
  chosen.fill.toolDiameter = 0.5;  // wider than the strokes of 10-point letters
  answer_ = chosen;
  fileAnswer_ = dir_.path() + "/pocket.nc";
  menuItem()->trigger();
  EXPECT_TRUE(errors_.isEmpty()) << errors_.join("; ").toStdString();
  const auto program = readBytes(fileAnswer_);
  ASSERT_TRUE(program.has_value());
  EXPECT_NE(program->find("pocket"), std::string::npos) << *program;
  EXPECT_TRUE(program->ends_with("M2\n"));
  const std::string status =
      testing::child<QStatusBar>(*form_, "StatusBar1")->currentMessage().toStdString();
  EXPECT_TRUE(status.starts_with("Pocket: the 0.5 mm tool cannot reach")) << status;
  EXPECT_EQ(readProfileString(settingsPath(form_->ProgramFolder), "Export", "Cut"), "pocket");
}

TEST(fill_settings_widget_test, vcarve_shows_its_own_fields_and_keeps_them_in_the_settings_file) {
  const std::unique_ptr<FillSettingsWidget> w = shownFillSettings();
  // Which fields each choice shows: the step-over is the pocket's and the carved floors' one.
  struct Case {
    FillSettingsWidget::Carve carve;
    bool toolDiameter, stepOver, interval, bitAngle;
  };
  for (const Case& c : {Case{FillSettingsWidget::Profile, false, false, false, false},
                        Case{FillSettingsWidget::Pocket, true, true, false, false},
                        Case{FillSettingsWidget::Hatch, false, false, true, false},
                        Case{FillSettingsWidget::VCarve, false, true, false, true}}) {
    w->carve->setCurrentIndex(c.carve);
    SCOPED_TRACE(c.carve);
    EXPECT_EQ(shown(w->toolDiameter), c.toolDiameter);
    EXPECT_EQ(shown(w->stepOver), c.stepOver);
    EXPECT_EQ(shown(w->interval), c.interval);
    for (QWidget* field : {static_cast<QWidget*>(w->bitAngle), static_cast<QWidget*>(w->maxDepth),
                           static_cast<QWidget*>(w->clearOutput), static_cast<QWidget*>(w->clearTool)})
      EXPECT_EQ(shown(field), c.bitAngle);
  }
  // V-carve stays chosen. Without a clearing program's file the V-bit clears: no end mill.
  EXPECT_FALSE(w->clearTool->isEnabled());
  typeInto(w->bitAngle, QStringLiteral("90"));
  typeInto(w->maxDepth, QStringLiteral("2.5"));
  ConversionOptions o;
  w->applyTo(o);
  EXPECT_EQ(o.cut, CutOperation::VCarve);
  EXPECT_EQ(o.vcarve.bitAngle, 90);
  EXPECT_EQ(o.vcarve.maxDepth, 2.5);
  EXPECT_EQ(o.vcarve.bitDiameter, std::nullopt);  // left at "none"
  EXPECT_EQ(o.vcarve.clearTool, std::nullopt);
  w->clearOutput->setFocus();
  QTest::keyClicks(w->clearOutput, QStringLiteral("floor.nc"));
  EXPECT_TRUE(w->clearTool->isEnabled());
  typeInto(w->clearTool, QStringLiteral("6"));
  w->applyTo(o);
  EXPECT_EQ(o.vcarve.clearTool, 6);
  EXPECT_EQ(o.vcarve.clearOutput, "floor.nc");

  // Through the settings file and back into a fresh widget, the same choice.
  QTemporaryDir dir;
  const std::string ini = QFile::encodeName(dir.path() + "/Reg.ini").toStdString();
  saveToolpathSettings(ini, o);
  EXPECT_EQ(readProfileString(ini, "Carve", "BitAngle"), "90");
  EXPECT_EQ(readProfileString(ini, "Carve", "ClearOutput"), "floor.nc");
  ConversionOptions read;
  EXPECT_TRUE(loadToolpathSettings(ini, read).empty());
  FillSettingsWidget again;
  again.setOptions(read);
  ConversionOptions back;
  again.applyTo(back);
  EXPECT_EQ(back.cut, CutOperation::VCarve);
  EXPECT_EQ(back.vcarve.bitAngle, 90);
  EXPECT_EQ(back.vcarve.maxDepth, 2.5);
  EXPECT_EQ(back.vcarve.clearTool, 6);
  EXPECT_EQ(back.vcarve.clearOutput, "floor.nc");
}

TEST(fill_settings_widget_test, an_inlay_shows_its_fields_and_keeps_them_in_the_settings_file) {
  const std::unique_ptr<FillSettingsWidget> w = shownFillSettings();
  // The depth and glue gap serve both parts; the margin only the plug's box.
  struct Case {
    FillSettingsWidget::Carve carve;
    FillSettingsWidget::Inlay inlay;
    bool choice, depthAndGap, margin;
  };
  for (const Case& c :
       {Case{FillSettingsWidget::Pocket, FillSettingsWidget::InlayPlug, false, false, false},
        Case{FillSettingsWidget::VCarve, FillSettingsWidget::NoInlay, true, false, false},
        Case{FillSettingsWidget::VCarve, FillSettingsWidget::InlayPocket, true, true, false},
        Case{FillSettingsWidget::VCarve, FillSettingsWidget::InlayPlug, true, true, true}}) {
    w->carve->setCurrentIndex(c.carve);
    w->inlay->setCurrentIndex(c.inlay);
    SCOPED_TRACE(::testing::Message() << "carve " << c.carve << ", inlay " << c.inlay);
    EXPECT_EQ(shown(w->inlay), c.choice);
    EXPECT_EQ(shown(w->inlayDepth), c.depthAndGap);
    EXPECT_EQ(shown(w->glueGap), c.depthAndGap);
    EXPECT_EQ(shown(w->inlayMargin), c.margin);
  }
  // The plug stays chosen; the depth left at "default" stays unset (the maximum depth).
  EXPECT_EQ(w->inlayDepth->text(), QStringLiteral("default (the maximum depth)"));
  typeInto(w->inlayMargin, QStringLiteral("3.5"));
  typeInto(w->glueGap, QStringLiteral("0.25"));
  ConversionOptions o;
  w->applyTo(o);
  EXPECT_EQ(o.vcarve.inlay, InlayPart::Male);
  EXPECT_EQ(o.vcarve.inlayDepth, std::nullopt);
  EXPECT_EQ(o.vcarve.inlayMargin, 3.5);
  EXPECT_EQ(o.vcarve.glueGap, 0.25);

  // Through Reg.ini and back into a fresh widget, which shows the plug it will carve.
  QTemporaryDir dir;
  const std::string ini = QFile::encodeName(dir.path() + "/Reg.ini").toStdString();
  saveToolpathSettings(ini, o);
  EXPECT_EQ(readProfileString(ini, "Carve", "Inlay"), "male");
  EXPECT_EQ(readProfileString(ini, "Carve", "InlayMargin"), "3.5");
  EXPECT_EQ(readProfileString(ini, "Carve", "GlueGap"), "0.25");
  ConversionOptions read;
  EXPECT_TRUE(loadToolpathSettings(ini, read).empty());
  FillSettingsWidget again;
  again.show();
  again.setOptions(read);
  EXPECT_EQ(again.inlay->currentIndex(), FillSettingsWidget::InlayPlug);
  EXPECT_TRUE(shown(again.inlayMargin));
  EXPECT_EQ(again.inlayMargin->value(), 3.5);
  EXPECT_EQ(again.glueGap->value(), 0.25);
  // Back to a plain carving: the file's part is emptied, the numbers kept for the next inlay.
  again.inlay->setCurrentIndex(FillSettingsWidget::NoInlay);
  ConversionOptions plain = read;
  again.applyTo(plain);
  saveToolpathSettings(ini, plain);
  EXPECT_EQ(readProfileString(ini, "Carve", "Inlay"), "");
  EXPECT_EQ(readProfileString(ini, "Carve", "GlueGap"), "0.25");
}

// The program with its source comment left out: the window names its text, the command line
// its option.
std::string withoutSource(std::string program) {
  return QString::fromStdString(program)
      .remove(QRegularExpression(QStringLiteral("^\\(source: [^\n]*\\)\n"),
                                 QRegularExpression::MultilineOption))
      .toStdString();
}

TEST_F(GcodeExportCommandTest, a_vcarve_typed_into_the_dialog_writes_the_command_lines_programs) {
  // Stems of 10-point letters are about 0.15 wide: a 90-degree bit held to 0.05 deep leaves a
  // floor in them, cleared by a 0.02 end mill in passes 0.3 of its width apart. The plug
  // carves the same way round the mirrored letters.
  struct Case {
    FillSettingsWidget::Inlay inlay;
    QStringList typed;  // the plug's margin and glue gap
    QStringList options;
    const char* inlayKey;
  };
  for (const Case& c :
       {Case{FillSettingsWidget::NoInlay, {}, {}, ""},
        Case{FillSettingsWidget::InlayPlug, {"0.5", "0.01"},
             {"--inlay", "male", "--inlay-margin", "0.5", "--glue-gap", "0.01"}, "male"}}) {
    SCOPED_TRACE(c.inlayKey);
    form_->askGcodeSettings = [&](const ConversionOptions& shown) {
      GcodeExportDialog dialog(shown);
      dialog.show();
      FillSettingsWidget& f = *dialog.fill;
      f.carve->setCurrentIndex(FillSettingsWidget::VCarve);
      typeInto(f.bitAngle, QStringLiteral("90"));
      typeInto(f.maxDepth, QStringLiteral("0.05"));
      typeInto(f.stepOver, QStringLiteral("0.3"));
      f.clearOutput->clear();
      f.clearOutput->setFocus();
      QTest::keyClicks(f.clearOutput, QStringLiteral("clear.nc"));
      typeInto(f.clearTool, QStringLiteral("0.02"));
      f.inlay->setCurrentIndex(c.inlay);
      if (!c.typed.isEmpty()) {
        typeInto(f.inlayMargin, c.typed[0]);
        typeInto(f.glueGap, c.typed[1]);
      }
      if (!dialog.toolpath->passes->isChecked())  // the file remembers it from the first case
        QTest::mouseClick(dialog.toolpath->passes, Qt::LeftButton, {},
                          QPoint(4, dialog.toolpath->passes->height() / 2));
      typeInto(dialog.toolpath->depthPerPass, QStringLiteral("0.02"));
      return std::optional(dialog.options());
    };
    fileAnswer_ = dir_.path() + "/window.nc";
    menuItem()->trigger();
    ASSERT_TRUE(errors_.isEmpty()) << errors_.join("; ").toStdString();

    const testing::ProcessResult r = testing::runProcess(
        QStringLiteral(KERFLINE_BINARY_DIR "/bin/kerfline-convert"),
        QStringList{"--text", "il o", "--font", "Liberation Sans", "--size", "10", "--z-up", "3",
                    "--z-cut", "-0.5", "--cut", "vcarve", "--bit-angle", "90", "--max-depth",
                    "0.05", "--step-over", "0.3", "--clear-tool", "0.02", "--clear-output",
                    dir_.path() + "/cli-clear.nc", "--depth-per-pass", "0.02", "-f", "gcode",
                    "-o", dir_.path() + "/cli.nc"} +
            c.options,
        60000);
    ASSERT_TRUE(r.finished && r.exitCode == 0) << r.standardError.toStdString();
    for (const auto& [window, cli] : {std::pair("/window.nc", "/cli.nc"),
                                      std::pair("/clear.nc", "/cli-clear.nc")}) {
      SCOPED_TRACE(window);
      const auto viaWindow = readBytes(dir_.path() + window);  // the clearing program beside it
      const auto viaCommandLine = readBytes(dir_.path() + cli);
      ASSERT_TRUE(viaWindow && viaCommandLine);
      EXPECT_NE(viaCommandLine->find(" Z-0.0500"), std::string::npos) << "reaches the floor";
      EXPECT_TRUE(withoutSource(*viaWindow) == withoutSource(*viaCommandLine));
      EXPECT_NE(withoutSource(*viaWindow).size(), viaWindow->size());
    }
    const std::string ini = settingsPath(form_->ProgramFolder);
    EXPECT_EQ(readProfileString(ini, "Carve", "ClearOutput"), "clear.nc");
    EXPECT_EQ(readProfileString(ini, "Carve", "Inlay").value_or(""), c.inlayKey);
  }
}

TEST_F(GcodeExportCommandTest, reads_and_writes_the_settings_file_the_lookup_names) {
  // As installed: the program folder is not the user's, the settings live elsewhere.
  const QString elsewhere = dir_.path() + "/config/Reg.ini";
  ASSERT_TRUE(QDir().mkpath(dir_.path() + "/config"));
  writeProfileString(QFile::encodeName(elsewhere).toStdString(), "Export", "Feed", "321");
  qputenv("KERFLINE_SETTINGS", QFile::encodeName(elsewhere));
  ConversionOptions chosen;
  chosen.kerf = 0.05;
  answer_ = chosen;
  fileAnswer_ = dir_.path() + "/sign.nc";
  menuItem()->trigger();
  qunsetenv("KERFLINE_SETTINGS");
  EXPECT_TRUE(errors_.isEmpty()) << errors_.join("; ").toStdString();
  EXPECT_EQ(shownOptions_.gcode.feed, 321) << "read from the file the lookup names";
  EXPECT_EQ(readProfileString(QFile::encodeName(elsewhere).toStdString(), "Export", "Kerf"), "0.05");
  EXPECT_FALSE(QFile::exists(QString::fromStdString(settingsPath(form_->ProgramFolder))));
  EXPECT_TRUE(readBytes(fileAnswer_).has_value());
}

TEST_F(GcodeExportCommandTest, a_refused_setting_is_reported_and_no_file_is_left) {
  ConversionOptions chosen;
  answer_ = chosen;
  testing::child<QLineEdit>(*form_, "ZmoveEdit")->setText(QStringLiteral("-1"));  // Z up below Z cutting
  fileAnswer_ = dir_.path() + "/bad.nc";
  menuItem()->trigger();
  ASSERT_EQ(errors_.size(), 1);
  EXPECT_TRUE(errors_[0].contains(QStringLiteral("Z up must lie above Z cutting")));
  EXPECT_FALSE(readBytes(fileAnswer_).has_value());
}

}  // namespace
}  // namespace kerfline
