// The window's typography controls on a real offscreen window: clicked and typed, read back
// from the conversion they describe, kept in the settings file, and used by both save commands.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <map>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "mainwindow/Unit1.h"
#include "mainwindow/rich_edit.h"
#include "mainwindow/spin_edit.h"
#include "richtext/styled_text.h"
#include "save_test_support.h"
#include "export/converter_glyph_source.h"
#include "typography/placed_export.h"
#include "typography/text_placement.h"

namespace kerfline {
namespace {

using testing::readBytes;

class TypographyControlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    form_ = testing::makeTestForm(dir_.path(), errors_);
    form_->show();
  }
  QString path(const char* name) const { return dir_.path() + "/" + name; }
  TMainForm& form() { return *form_; }

  // Chooses a Spacing entry with the keyboard, as a person would.
  void chooseSpacing(int index) {
    testing::child<QComboBox>(form(), "SpacingBox")->setFocus();
    while (testing::child<QComboBox>(form(), "SpacingBox")->currentIndex() < index) QTest::keyClick(testing::child<QComboBox>(form(), "SpacingBox"), Qt::Key_Down);
    while (testing::child<QComboBox>(form(), "SpacingBox")->currentIndex() > index) QTest::keyClick(testing::child<QComboBox>(form(), "SpacingBox"), Qt::Key_Up);
  }
  void typeSpace(const char* text) {
    QLineEdit* edit = testing::child<TSpinEdit>(form(), "SpacePc")->findChild<QLineEdit*>();
    QWidget* target = edit ? static_cast<QWidget*>(edit) : testing::child<TSpinEdit>(form(), "SpacePc");
    target->setFocus();
    QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(target, text);
  }

  QTemporaryDir dir_;
  QStringList errors_;
  std::unique_ptr<TMainForm> form_;
};

TEST_F(TypographyControlsTest, ControlsFillTheConversionAndEachSpacingKeepsItsOwnSpace) {
  // At start the window describes the classic conversion.
  EXPECT_EQ(testing::child<QComboBox>(form(), "SpacingBox")->currentText(), "classic");
  EXPECT_TRUE(testing::child<QToolButton>(form(), "AlignLeftBtn")->isChecked());
  EXPECT_FALSE(testing::child<QCheckBox>(form(), "AutoPitchBox")->isChecked());
  EXPECT_TRUE(placesClassically(form().conversionOptions()));
  EXPECT_EQ(testing::child<TSpinEdit>(form(), "SpacePc")->Value(), 10);

  // Font spacing: Space % now shows the tracking, 0 until typed.
  chooseSpacing(1);
  EXPECT_EQ(testing::child<QComboBox>(form(), "SpacingBox")->currentText(), "font");
  EXPECT_EQ(testing::child<TSpinEdit>(form(), "SpacePc")->Value(), 0);
  typeSpace("25");
  EXPECT_EQ(testing::child<TSpinEdit>(form(), "SpacePc")->Value(), 25);
  QTest::mouseClick(testing::child<QToolButton>(form(), "AlignCenterBtn"), Qt::LeftButton);
  QTest::mouseClick(testing::child<QCheckBox>(form(), "AutoPitchBox"), Qt::LeftButton, {}, QPoint(4, testing::child<QCheckBox>(form(), "AutoPitchBox")->height() / 2));
  EXPECT_FALSE(testing::child<QToolButton>(form(), "AlignLeftBtn")->isChecked());
  EXPECT_FALSE(testing::child<QLineEdit>(form(), "Edit1")->isEnabled());  // the number is not used under "auto"

  ConversionOptions o = form().conversionOptions();
  EXPECT_EQ(o.spacing, SpacingMode::Font);
  EXPECT_EQ(o.tracking, 25);
  EXPECT_EQ(o.classic.spacePercent, 10);  // the classic space waits unchanged
  EXPECT_EQ(o.align, Alignment::Center);
  EXPECT_TRUE(o.autoPitch);
  EXPECT_FALSE(o.ligatures);

  // Font with ligatures: the same tracking, the optional ligatures on.
  chooseSpacing(2);
  EXPECT_EQ(testing::child<QComboBox>(form(), "SpacingBox")->currentText(), "font + ligatures");
  EXPECT_EQ(testing::child<TSpinEdit>(form(), "SpacePc")->Value(), 25);
  o = form().conversionOptions();
  EXPECT_EQ(o.spacing, SpacingMode::Font);
  EXPECT_TRUE(o.ligatures);
  EXPECT_EQ(o.tracking, 25);
  EXPECT_EQ(o.classic.spacePercent, 10);

  // Back to classic: the classic space returns, the tracking is kept for later.
  chooseSpacing(0);
  EXPECT_EQ(testing::child<TSpinEdit>(form(), "SpacePc")->Value(), 10);
  QTest::mouseClick(testing::child<QToolButton>(form(), "AlignRightBtn"), Qt::LeftButton);
  o = form().conversionOptions();
  EXPECT_EQ(o.spacing, SpacingMode::Classic);
  EXPECT_EQ(o.tracking, 25);
  EXPECT_EQ(o.align, Alignment::Right);
  EXPECT_TRUE(errors_.isEmpty()) << errors_.join("; ").toStdString();
}

TEST_F(TypographyControlsTest, SettingsFileKeepsTheChoiceInItsOwnSection) {
  // Untouched controls add nothing to a settings file.
  form().Saveini();
  const std::optional<std::string> plain = readBytes(path("Reg.ini"));
  ASSERT_TRUE(plain.has_value());
  EXPECT_EQ(plain->find("Typography"), std::string::npos);

  chooseSpacing(1);
  typeSpace("7");
  QTest::mouseClick(testing::child<QToolButton>(form(), "AlignRightBtn"), Qt::LeftButton);
  testing::child<QCheckBox>(form(), "AutoPitchBox")->setChecked(true);
  form().Saveini();
  const std::string ini = *readBytes(path("Reg.ini"));
  EXPECT_EQ(ini.rfind(*plain, 0), 0u) << "the [Layer] keys stay first and as they were";
  EXPECT_NE(ini.find("[Typography]\r\nSpacing=font\r\nTracking=7\r\nAlign=right\r\nAutoPitch=1\r\n"
                     "Ligatures=0\r\n"),
            std::string::npos)
      << ini;

  // A new window reads it back.
  QStringList errors;
  auto again = testing::makeTestForm(dir_.path(), errors);
  again->Loadini();
  EXPECT_EQ(testing::child<QComboBox>(*again, "SpacingBox")->currentText(), "font");
  EXPECT_EQ(testing::child<TSpinEdit>(*again, "SpacePc")->Value(), 7);
  EXPECT_TRUE(testing::child<QToolButton>(*again, "AlignRightBtn")->isChecked());
  EXPECT_TRUE(testing::child<QCheckBox>(*again, "AutoPitchBox")->isChecked());
  EXPECT_EQ(again->conversionOptions().classic.spacePercent, 10);

  // Ligatures are kept and read back with the font spacing.
  chooseSpacing(2);
  form().Saveini();
  EXPECT_NE(readBytes(path("Reg.ini"))->find("Ligatures=1\r\n"), std::string::npos);
  auto third = testing::makeTestForm(dir_.path(), errors);
  third->Loadini();
  EXPECT_EQ(testing::child<QComboBox>(*third, "SpacingBox")->currentText(), "font + ligatures");
  EXPECT_EQ(testing::child<TSpinEdit>(*third, "SpacePc")->Value(), 7);
  EXPECT_TRUE(third->conversionOptions().ligatures);
}

TEST_F(TypographyControlsTest, BothSaveCommandsWriteTheShapedPlacement) {
  StyledText text;
  TFontDescription sans = testing::font("Liberation Sans", 20);
  text.append(U"AVATAR\r\nTo Wa", sans);
  form().editor()->setStyledText(text);
  chooseSpacing(1);
  QTest::mouseClick(testing::child<QToolButton>(form(), "AlignCenterBtn"), Qt::LeftButton);
  const ConversionOptions options = form().conversionOptions();
  form().FileSave(path("lines.dxf"));
  form().SavePoly2(path("poly.dxf"));
  ASSERT_TRUE(errors_.isEmpty()) << errors_.join("; ").toStdString();

  // The same placement the converter's entry point gives for the editor's text.
  TTTFToVectorConverter converter;
  ConversionOptions lines = options;
  lines.format = OutputFormat::Lines;
  saveStrokeDxf(QFile::encodeName(path("expected-lines.dxf")).toStdString(),
                form().editor()->styledText(), lines, converter);
  ConversionOptions poly = options;
  poly.format = OutputFormat::PolyLines;
  saveStrokeDxf(QFile::encodeName(path("expected-poly.dxf")).toStdString(),
                form().editor()->styledText(), poly, converter);
  EXPECT_EQ(readBytes(path("lines.dxf")), readBytes(path("expected-lines.dxf")));
  EXPECT_EQ(readBytes(path("poly.dxf")), readBytes(path("expected-poly.dxf")));

  // And it is not the classic file.
  FileSave(QFile::encodeName(path("classic.dxf")).toStdString(), form().editor()->styledText(),
           options.classic, converter);
  EXPECT_NE(readBytes(path("lines.dxf")), readBytes(path("classic.dxf")));
}

TEST_F(TypographyControlsTest, DrawingExportsWriteTheShapedPlacementToo) {
  StyledText text;
  text.append(U"AVATAR\r\nTo Wa", testing::font("Liberation Sans", 20));
  form().editor()->setStyledText(text);
  chooseSpacing(1);
  QTest::mouseClick(testing::child<QToolButton>(form(), "AlignRightBtn"), Qt::LeftButton);
  ConversionOptions closed;
  closed.format = OutputFormat::Closed;
  closed.kerf = 0.1;
  form().exportDrawing(path("closed.dxf"), closed);
  ConversionOptions gcode;
  gcode.format = OutputFormat::Gcode;
  form().ExportGcode(path("job.nc"), gcode);
  ASSERT_TRUE(errors_.isEmpty()) << errors_.join("; ").toStdString();

  // What the command line's entry point writes with the window's placement and the dialogs'
  // choices, byte for byte; and not the classic placement.
  TTTFToVectorConverter converter;
  auto expect = [&](ConversionOptions o, const char* name) {
    o.classic = form().conversionOptions().classic;
    o.spacing = SpacingMode::Font;
    o.align = Alignment::Right;
    o.tracking = 0;
    exportTextFile(QFile::encodeName(path(name)).toStdString(), form().editor()->styledText(), o,
                   converter);
  };
  expect(closed, "expected.dxf");
  EXPECT_EQ(readBytes(path("closed.dxf")), readBytes(path("expected.dxf")));
  gcode.sourceName = "window text, 13 positions";
  expect(gcode, "expected.nc");
  EXPECT_EQ(readBytes(path("job.nc")), readBytes(path("expected.nc")));
  ConverterGlyphSource glyphs(converter);
  closed.classic = form().conversionOptions().classic;
  exportDrawingFile(QFile::encodeName(path("classic.dxf")).toStdString(),
                    form().editor()->styledText(), closed, glyphs);
  EXPECT_NE(readBytes(path("closed.dxf")), readBytes(path("classic.dxf")));
}

TEST_F(TypographyControlsTest, PositionalBatchRunStaysClassic) {
  // The command line's positional run converts as kerfline-convert does, even in a window whose
  // typography controls were left at font spacing, centred, automatic pitch.
  auto batch = [&](TMainForm& f) {
    QFile::remove(path("job.rtf"));
    QFile::remove(path("job.DXF"));
    QFile::copy(testing::testData("save/multi_font.rtf"), path("job.rtf"));
    f.terminateProgram = [] {};
    f.Arguments = {QFile::encodeName(path("job.rtf")).toStdString(), "150", "-4", "3", "5", "CUT"};
    f.run(&TMainForm::StartupTimer1Timer);
    return readBytes(path("job.DXF"));
  };
  chooseSpacing(1);
  typeSpace("30");
  QTest::mouseClick(testing::child<QToolButton>(form(), "AlignCenterBtn"), Qt::LeftButton);
  testing::child<QCheckBox>(form(), "AutoPitchBox")->setChecked(true);
  const auto fromStyledWindow = batch(form());
  QStringList errors;
  auto plain = testing::makeTestForm(dir_.path(), errors);
  const auto fromPlainWindow = batch(*plain);
  ASSERT_TRUE(fromStyledWindow.has_value());
  EXPECT_EQ(fromStyledWindow, fromPlainWindow);
  EXPECT_EQ(testing::child<TSpinEdit>(form(), "SpacePc")->Value(), 5);
  EXPECT_TRUE(errors_.isEmpty() && errors.isEmpty());
}

TEST_F(TypographyControlsTest, PreviewShowsTheFormTheFontSpacingCuts) {
  // beh yeh teh: in font spacing each letter is previewed in its joined form, as it is cut.
  StyledText text;
  const TFontDescription dejavu = testing::font("DejaVu Sans", 20);
  text.append(U"\u0628\u064A\u062A A", dejavu);
  form().editor()->setStyledText(text);
  auto strokeCount = [&] {
    QImage img(400, 300, QImage::Format_RGB32);
    QPainter p(&img);
    form().PaintBoxPaint(p, 300);
    return testing::child<QLabel>(form(), "Label3")->text().toInt() + 1;  // the label shows the count less one
  };
  auto previewedAt = [&](std::int32_t pos) {
    form().CharPos = pos - 1;
    form().NextCharBtnClick();
    return strokeCount();
  };
  // The export's own strokes for the same characters, from the glyphs it cuts.
  TTTFToVectorConverter converter;
  ConversionOptions options;
  options.spacing = SpacingMode::Font;
  options.classic.resolution = testing::child<TSpinEdit>(form(), "Resolution1")->Value();
  const Drawing drawing = placeDrawing(form().editor()->styledText(), options, converter);
  std::map<std::int32_t, std::size_t> cut;
  for (const PlacedCharacter& c : drawing.characters) {
    std::size_t n = 0;
    for (const Contour& k : c.contours) n += k.points.size();
    cut[c.position] = n;
  }
  const int classicBeh = previewedAt(1);
  const int classicA = previewedAt(5);
  chooseSpacing(1);
  const int fontBeh = previewedAt(1);
  EXPECT_NE(fontBeh, classicBeh);  // the initial form, not the isolated letter
  EXPECT_EQ(static_cast<std::size_t>(fontBeh), cut.at(1));
  EXPECT_EQ(static_cast<std::size_t>(previewedAt(2)), cut.at(2));
  EXPECT_EQ(previewedAt(5), classicA);  // a Latin letter has one form
  EXPECT_TRUE(errors_.isEmpty()) << errors_.join("; ").toStdString();
}

}  // namespace
}  // namespace kerfline
