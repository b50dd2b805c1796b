// The glyph preview against strokes computed by the converter directly, and stepping.
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QToolButton>
#include <cmath>

#include "form_test_support.h"
#include "windowlogic/preview_geometry.h"
#include "mainwindow/rich_edit.h"
#include "mainwindow/spin_edit.h"
#include "richtext/styled_text.h"

namespace kerfline {
namespace {

using PreviewTest = formtest::FormTest;
using SteppingTest = formtest::FormTest;

TFontDescription sans10() {
  TFontDescription f;
  f.Name = "Liberation Sans";
  f.Size = 10;
  return f;
}

QImage paint(TMainForm& f, int height = 400) {
  QImage img(600, height, QImage::Format_RGB32);
  img.fill(Qt::white);
  QPainter p(&img);
  f.PaintBoxPaint(p, height);
  return img;
}

bool red(const QImage& img, int x, int y) {
  return img.valid(x, y) && img.pixel(x, y) == qRgb(255, 0, 0);
}

// Labels read "Height " + value with three decimals, right-aligned in six.
QString expectedLabel(const char* prefix, double value) {
  return QString::fromLatin1(prefix) + QStringLiteral("%1").arg(value, 6, 'f', 3);
}

TEST_F(PreviewTest, labels_and_pixels_follow_the_converters_strokes) {
  TMainForm& f = form();
  StyledText t;
  t.append(U"A", sans10());
  f.editor()->setStyledText(t);
  f.CharPos = 0;
  f.NextCharBtnClick();  // position 1 becomes current: Liberation Sans, 10 points
  ASSERT_EQ(f.CurChar, U'A');
  const QImage img = paint(f);

  TTTFToVectorConverter conv;
  conv.SetFont(sans10());
  conv.SetPrecision(2);
  conv.SetUNICODE(true);
  const auto strokes = conv.ConvertChar('A');
  ASSERT_TRUE(strokes.has_value());
  const TRect b = strokes->GetBounds();
  const double h = (b.Bottom - b.Top + 1) * 0.18 * 0.01;
  const double w = (b.Right - b.Left + 1) * 0.18 * 0.01;
  EXPECT_EQ(testing::child<QLabel>(f, "Label6")->text(), expectedLabel("Height ", h));
  EXPECT_EQ(testing::child<QLabel>(f, "Label5")->text(), expectedLabel("Width ", w));
  EXPECT_EQ(testing::child<QLabel>(f, "Label3")->text(), QString::number(strokes->Count() - 1));
  EXPECT_NEAR(f.CharHeight, h, 1e-6);
  EXPECT_EQ(f.UnitScale, 0.01f);
  EXPECT_EQ(f.CharFontSize, 10);

  // Every stroke's first point is painted red at its mapped pixel; nothing lies outside the
  // mapped bounding box.
  const int right = 10 + static_cast<int>(std::lround((b.Right - b.Left) * 0.18));
  const int top = 400 - (10 + static_cast<int>(std::lround((b.Bottom - b.Top) * 0.18))) - 1;
  for (const TStroke& s : strokes->strokes()) {
    const int x = static_cast<int>(std::lround((s.X1 - b.Left) * 0.18)) + 10;
    const int y = 400 - (static_cast<int>(std::lround((s.Y1 - b.Top) * 0.18)) + 10) - 1;
    if (s.X1 == s.X2 && s.Y1 == s.Y2) continue;
    EXPECT_TRUE(red(img, x, y)) << s;
  }
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if (red(img, x, y)) {
        ASSERT_GE(x, 10);
        ASSERT_LE(x, right);
        ASSERT_LE(y, 400 - 11);
        ASSERT_GE(y, top);
      }

  // The scale changes the labels, never the pixels.
  testing::child<TSpinEdit>(f, "ScaleEdit1")->setText(QStringLiteral("0"));
  const QImage unscaled = paint(f);
  EXPECT_EQ(f.UnitScale, 1.0f);
  EXPECT_EQ(testing::child<QLabel>(f, "Label6")->text(), expectedLabel("Height ", (b.Bottom - b.Top + 1) * 0.18));
  EXPECT_EQ(unscaled, img);

  // Higher resolution: more strokes, and the count label follows.
  testing::child<TSpinEdit>(f, "ScaleEdit1")->setText(QStringLiteral("100"));
  testing::child<TSpinEdit>(f, "Resolution1")->setText(QStringLiteral("20"));
  paint(f);
  conv.SetPrecision(20);
  EXPECT_EQ(testing::child<QLabel>(f, "Label3")->text(), QString::number(conv.ConvertChar('A')->Count() - 1));
}

TEST_F(PreviewTest, open_paths_of_a_single_line_face_are_drawn_to_their_last_point) {
  TMainForm& f = form();
  TFontDescription iso;
  iso.Name = "ISO 3098";
  iso.Size = 10;
  StyledText t;
  t.append(U"E", iso);
  f.editor()->setStyledText(t);
  f.CharPos = 0;
  f.NextCharBtnClick();
  ASSERT_EQ(f.CurChar, U'E');
  const QImage img = paint(f);

  TTTFToVectorConverter conv;
  conv.SetFont(iso);
  conv.SetPrecision(2);
  conv.SetUNICODE(true);
  const auto strokes = conv.ConvertChar('E');
  ASSERT_TRUE(strokes.has_value());
  ASSERT_TRUE(strokes->openPaths());
  EXPECT_EQ(testing::child<QLabel>(f, "Label3")->text(), QString::number(strokes->Count() - 1));
  // "E": a path of three strokes and the bar; both ends of every stroke are painted, the
  // ends of the paths included (a line alone leaves its end pixel out).
  const TRect b = strokes->GetBounds();
  const auto pixel = [&](std::int32_t x, std::int32_t y) {
    return std::pair{static_cast<int>(std::lround((x - b.Left) * 0.18)) + 10,
                     400 - (static_cast<int>(std::lround((y - b.Top) * 0.18)) + 10) - 1};
  };
  for (const TStroke& s : strokes->strokes()) {
    const auto [x1, y1] = pixel(s.X1, s.Y1);
    const auto [x2, y2] = pixel(s.X2, s.Y2);
    EXPECT_TRUE(red(img, x1, y1)) << s;
    EXPECT_TRUE(red(img, x2, y2)) << s;
  }
}

TEST_F(PreviewTest, a_character_without_outline_draws_nothing_and_keeps_the_labels) {
  TMainForm& f = form();
  paint(f);  // 'A' in the initial conversion font
  const QString height = testing::child<QLabel>(f, "Label6")->text();
  const float charHeight = f.CharHeight;
  ASSERT_TRUE(height.startsWith(QStringLiteral("Height ")));
  f.CurChar = U' ';
  const QImage img = paint(f);
  EXPECT_EQ(testing::child<QLabel>(f, "Label6")->text(), height);
  EXPECT_EQ(f.CharHeight, charHeight);
  QImage blank(img.size(), img.format());
  blank.fill(Qt::white);
  EXPECT_EQ(img, blank);
}

TEST(preview_line_test, lines_leave_their_end_pixel_unpainted_in_either_direction) {
  const struct {
    PreviewLine line;
    std::vector<PreviewPixel> pixels;
  } cases[] = {
      {{2, 5, 6, 5}, {{2, 5}, {3, 5}, {4, 5}, {5, 5}}},
      {{6, 5, 2, 5}, {{6, 5}, {5, 5}, {4, 5}, {3, 5}}},
      {{1, 1, 1, 4}, {{1, 1}, {1, 2}, {1, 3}}},
      {{0, 0, 3, 3}, {{0, 0}, {1, 1}, {2, 2}}},
      {{3, 3, 0, 0}, {{3, 3}, {2, 2}, {1, 1}}},
      {{0, 0, 6, 2}, {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 1}, {5, 2}}},  // nearest to y = x / 3
      {{7, 7, 7, 7}, {}},
  };
  for (const auto& c : cases) {
    std::vector<PreviewPixel> got;
    appendLinePixels(c.line, got);
    ASSERT_EQ(got.size(), c.pixels.size()) << c.line.x1 << ',' << c.line.y1;
    for (std::size_t i = 0; i < got.size(); ++i) {
      EXPECT_EQ(got[i].x, c.pixels[i].x) << i;
      EXPECT_EQ(got[i].y, c.pixels[i].y) << i;
    }
  }
}

TEST_F(SteppingTest, two_characters_wrap_both_ways) {
  TMainForm& f = form();
  f.editor()->setText(U"xy");
  f.CharPos = 1;
  f.NextCharBtnClick();
  EXPECT_EQ(f.CharPos, 2);
  EXPECT_EQ(f.CurChar, U'y');
  EXPECT_EQ(f.editor()->selStart(), 2);
  EXPECT_TRUE(f.editor()->hasFocus());
  f.NextCharBtnClick();
  EXPECT_EQ(f.CharPos, 1);
  EXPECT_EQ(f.CurChar, U'x');
  QTest::mouseClick(testing::child<QToolButton>(f, "PrevCharBtn"), Qt::LeftButton);
  EXPECT_EQ(f.CharPos, 2);
  EXPECT_EQ(f.CurChar, U'y');
  EXPECT_EQ(f.RichEdit2.text, U"y");
}

TEST_F(SteppingTest, a_line_break_shows_two_spaces) {
  TMainForm& f = form();
  f.editor()->setText(U"a\r\nb");
  f.CharPos = 1;
  const char32_t expected[] = {U' ', U' ', U'b', U'a'};
  for (int i = 0; i < 4; ++i) {
    QTest::mouseClick(testing::child<QToolButton>(f, "NextCharBtn"), Qt::LeftButton);
    EXPECT_EQ(f.CurChar, expected[i]) << i;
  }
  EXPECT_EQ(f.CharPos, 1);
  f.PrevCharBtnClick();
  f.PrevCharBtnClick();
  EXPECT_EQ(f.CharPos, 3);
  EXPECT_EQ(f.CurChar, U' ');
}

TEST_F(SteppingTest, a_shortened_text_brings_the_position_back) {
  TMainForm& f = form();
  f.editor()->setText(U"abc");
  f.CharPos = 10;
  f.PrevCharBtnClick();
  EXPECT_EQ(f.CharPos, 3);
  EXPECT_EQ(f.CurChar, U'c');
  f.CharPos = 10;
  f.NextCharBtnClick();
  EXPECT_EQ(f.CharPos, 1);
  EXPECT_EQ(f.CurChar, U'a');
}

TEST_F(SteppingTest, an_empty_editor_cycles_8_bit_codes_through_the_code_page) {
  TMainForm& f = form();
  f.editor()->clearText();
  f.CharPos = 4;
  f.NextCharBtnClick();  // from 'A' (65), the start-up character
  EXPECT_EQ(f.CurChar, U'B');
  f.setCurCode(32);
  f.PrevCharBtnClick();
  EXPECT_EQ(f.CurCode, 255);
  EXPECT_EQ(f.CurChar, U'\u00FF');  // y with diaeresis in Windows-1252
  f.NextCharBtnClick();
  EXPECT_EQ(f.CurChar, U' ');
  f.setCurCode(0);
  f.PrevCharBtnClick();
  EXPECT_EQ(f.CurCode, 255);
  f.setCurCode(0x7F);
  f.NextCharBtnClick();
  EXPECT_EQ(f.CurChar, U'\u20AC');  // 0x80 is the euro sign in Windows-1252
  f.NextCharBtnClick();
  EXPECT_EQ(f.CurCode, 0x81);  // undefined in 1252, still counted as a code
  f.NextCharBtnClick();
  EXPECT_EQ(f.CurCode, 0x82);
  EXPECT_EQ(f.CurChar, U'\u201A');
  f.ConversionFont.CharSet = charset::Symbol;
  f.setCurCode(0x40);
  f.NextCharBtnClick();
  EXPECT_EQ(f.CurChar, U'\uF041');  // symbol fonts: U+F000 + code
  f.ConversionFont.CharSet = charset::Russian;
  f.setCurCode(0xBF);
  f.NextCharBtnClick();
  EXPECT_EQ(f.CurChar, U'\u0410');  // 0xC0 is Cyrillic A in Windows-1251
  EXPECT_EQ(f.CharPos, 4);
}

TEST_F(SteppingTest, scan_steps_while_down_and_only_repaints_while_up) {
  TMainForm& f = form();
  f.editor()->setText(U"abc");
  f.CharPos = 1;
  QTest::mouseClick(testing::child<QToolButton>(f, "AutoBtn"), Qt::LeftButton);
  EXPECT_TRUE(testing::child<QToolButton>(f, "AutoBtn")->isChecked());
  EXPECT_TRUE(testing::child<QTimer>(f, "Timer")->isActive());
  f.TimerTimer();
  EXPECT_EQ(f.CharPos, 2);
  ASSERT_TRUE(QTest::qWaitFor([&] { return f.CharPos == 3; }, 2000));
  QTest::mouseClick(testing::child<QToolButton>(f, "AutoBtn"), Qt::LeftButton);
  EXPECT_FALSE(testing::child<QTimer>(f, "Timer")->isActive());
  const std::int32_t pos = f.CharPos;
  f.TimerTimer();
  EXPECT_EQ(f.CharPos, pos);
}

}  // namespace
}  // namespace kerfline
