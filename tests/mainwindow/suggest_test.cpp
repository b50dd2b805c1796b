// The pitch suggestion on a shown window: it steps the preview through the text and writes
// 1.1 times the tallest measured height, negated, into the pitch field.
#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <memory>

#include "export/pitch_text.h"
#include "export/text_export.h"
#include "mainwindow/Unit1.h"
#include "mainwindow/rich_edit.h"
#include "mainwindow/spin_edit.h"
#include "save_test_support.h"

namespace kerfline {
namespace {

using testing::font;

// Height in drawing units as the preview measures it, worked out from the converter alone:
// inclusive bounds height x 0.18 x scale / 100000 x point size, rounded once to single.
float glyphHeight(char32_t c, const TFontDescription& f, int scale, int resolution) {
  TTTFToVectorConverter converter;
  converter.SetUNICODE(true);
  converter.SetFont(f);
  converter.SetPrecision(resolution);
  const auto strokes = converter.ConvertChar(static_cast<std::int32_t>(c));
  if (!strokes) return 0.0f;
  const TRect b = strokes->GetBounds();
  const std::int64_t h = std::int64_t{b.Bottom} - b.Top + 1;
  // h < 2^16, so h x float x float needs at most 64 bits: exact in long double.
  EXPECT_LT(h, 1 << 16);
  return static_cast<float>(static_cast<long double>(h) * kOutlineFactor * unitScaleFor(scale, f.Size));
}

class SuggestTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    form_ = testing::makeTestForm(dir_.path(), errors_);
    form_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form_.get()));
  }

  QTemporaryDir dir_;
  QStringList errors_;
  std::unique_ptr<TMainForm> form_;
};

TEST_F(SuggestTest, tallest_character_of_a_mixed_text) {
  const TFontDescription sans = font("Liberation Sans", 20);
  const TFontDescription serif = font("Liberation Serif", 30, true);
  const TFontDescription small = font("Liberation Sans", 10);
  StyledText text;
  text.append(U'A', sans);
  text.append(U'b', serif);  // the tallest, but not the last
  text.append(U"\r\n", small);
  text.append(U"x ", small);
  form_->editor()->setStyledText(text);
  testing::child<TSpinEdit>(*form_, "ScaleEdit1")->SetValue(300);
  testing::child<TSpinEdit>(*form_, "Resolution1")->SetValue(3);

  const float heights[] = {glyphHeight(U'A', sans, 300, 3), glyphHeight(U'b', serif, 300, 3),
                           glyphHeight(U'x', small, 300, 3)};
  const float tallest = *std::max_element(std::begin(heights), std::end(heights));
  ASSERT_EQ(tallest, heights[1]);
  ASSERT_GT(tallest, heights[0]);

  const std::int32_t startPos = form_->CharPos;
  testing::child<QToolButton>(*form_, "PitchSpeedButton1")->click();
  EXPECT_TRUE(errors_.isEmpty()) << errors_.join('|').toStdString();
  EXPECT_EQ(testing::child<QLineEdit>(*form_, "Edit1")->text().toStdString(), formatPitch(suggestedPitch(tallest)));
  // Six positions, six steps: the position wraps back to where it started.
  EXPECT_EQ(form_->CharPos, startPos);
}

TEST_F(SuggestTest, empty_text_suggests_zero_whatever_was_measured_before) {
  form_->editor()->clearText();
  form_->CharHeight = 7.5f;
  testing::child<QLineEdit>(*form_, "Edit1")->setText(QStringLiteral("-2.000"));
  testing::child<QAction>(*form_, "Suggest")->trigger();
  EXPECT_EQ(testing::child<QLineEdit>(*form_, "Edit1")->text(), QStringLiteral("0.000"));
}

TEST_F(SuggestTest, text_without_outlines_keeps_the_earlier_height) {
  // Spaces and line breaks leave CharHeight alone, so a height measured before the run counts.
  form_->editor()->setText(U" \r\n ");
  form_->CharHeight = 2.5f;
  testing::child<QAction>(*form_, "Suggest")->trigger();
  EXPECT_EQ(testing::child<QLineEdit>(*form_, "Edit1")->text(), QStringLiteral("-2.750"));
}

// Closing the window ends the program; a run still stepping through a long text would keep
// the process alive, invisibly, for the rest of its steps.
TEST_F(SuggestTest, closing_the_window_ends_the_run) {
  form_->editor()->setText(std::u32string(40, U'A'));
  testing::child<QLineEdit>(*form_, "Edit1")->setText(QStringLiteral("-2.000"));
  bool closedDuringRun = false;
  QTimer::singleShot(150, form_.get(), [&] { closedDuringRun = form_->close(); });
  testing::child<QAction>(*form_, "Suggest")->trigger();
  ASSERT_TRUE(closedDuringRun);
  EXPECT_FALSE(form_->isVisible());
  // Stopped after a few of its 40 steps, not wrapped all the way round to position 1.
  EXPECT_GT(form_->CharPos, 1);
  EXPECT_LT(form_->CharPos, 40);
  EXPECT_EQ(testing::child<QLineEdit>(*form_, "Edit1")->text(), QStringLiteral("-2.000"));
}

}  // namespace
}  // namespace kerfline
