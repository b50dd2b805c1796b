// The window's Qt-free rules: caret text, error text, integer fields, stepping, preview maths.
#include <gtest/gtest.h>

#include <cmath>

#include "export/text_export.h"
#include "windowlogic/preview_geometry.h"
#include "windowlogic/step_rules.h"
#include "windowlogic/window_text.h"

namespace kerfline {
namespace {

TEST(window_text_test, caret_position_text) {
  EXPECT_EQ(caretPositionText(1, 1, 1), "  Pos [1:1]   Sel : [1]   ");
  EXPECT_EQ(caretPositionText(3, 5, 1), "  Pos [3:5]   Sel : [1]   ");
  EXPECT_EQ(caretPositionText(12, 340, 0), "  Pos [12:340]   Sel : [0]   ");
}

TEST(window_text_test, full_stop_rule) {
  const struct {
    const char* in;
    const char* out;
  } cases[] = {
      {"Cannot open file /x", "Cannot open file /x."},
      {"Done.", "Done."},
      {"Stop!", "Stop!"},      // '!' sorts before '.'
      {"a,", "a,"},            // ',' and '-' sort before '.'
      {"a-", "a-"},
      {"a/", "a/."},           // '/' sorts after '.'
      {"", ""},
      {"size 12", "size 12."},
      {"'' is not a valid integer value", "'' is not a valid integer value."},
      {"caf\xc3\xa9", "caf\xc3\xa9."},  // a non-ASCII last character sorts after '.'
  };
  for (const auto& c : cases) EXPECT_EQ(errorBoxText(c.in), c.out) << c.in;
}

TEST(window_text_test, whole_numbers) {
  EXPECT_EQ(parseWholeNumber("10"), 10);
  EXPECT_EQ(parseWholeNumber("  -7"), -7);
  EXPECT_EQ(parseWholeNumber("+0"), 0);
  EXPECT_EQ(parseWholeNumber("2147483647"), 2147483647);
  EXPECT_EQ(parseWholeNumber("-2147483648"), -2147483647 - 1);
  for (const char* bad : {"", " ", "-", "+", "1.5", "12 ", "1e2", "abc", "2147483648", "99999999999999999999", "0x10"})
    EXPECT_FALSE(parseWholeNumber(bad).has_value()) << '"' << bad << '"';
}

TEST(step_rules_test, positions_wrap_and_come_back_into_the_text) {
  EXPECT_EQ(nextCharPos(1, 2), 2);
  EXPECT_EQ(nextCharPos(2, 2), 1);
  EXPECT_EQ(nextCharPos(10, 3), 1);  // text got shorter: like the end
  EXPECT_EQ(prevCharPos(2, 2), 1);
  EXPECT_EQ(prevCharPos(1, 2), 2);
  EXPECT_EQ(prevCharPos(10, 3), 3);  // text got shorter: the last character
  EXPECT_EQ(prevCharPos(4, 3), 3);
}

TEST(step_rules_test, empty_editor_codes_cycle_32_to_255) {
  EXPECT_EQ(nextEmptyCode(255), 32);
  EXPECT_EQ(nextEmptyCode(65), 66);
  EXPECT_EQ(nextEmptyCode(0), 1);
  EXPECT_EQ(prevEmptyCode(32), 255);
  EXPECT_EQ(prevEmptyCode(0), 255);
  EXPECT_EQ(prevEmptyCode(31), 30);
}

TEST(preview_geometry_test, three_decimals_right_aligned_in_six) {
  EXPECT_EQ(fixedThreeDecimals(1.8L), " 1.800");
  EXPECT_EQ(fixedThreeDecimals(123.4567L), "123.457");
  EXPECT_EQ(fixedThreeDecimals(0.0L), " 0.000");
  EXPECT_EQ(fixedThreeDecimals(1234567.25L), "1234567.250");
}

TEST(preview_geometry_test, worked_label_values) {
  const TRect h1000{0, 0, 499, 999};  // 1000 high, 500 wide (inclusive)
  EXPECT_EQ(heightLabelText(h1000, 0.01f), "Height  1.800");
  EXPECT_EQ(widthLabelText(h1000, 0.01f), "Width  0.900");
  EXPECT_EQ(heightLabelText(h1000, 1.0f), "Height 180.000");
  // Exactly, 1000 * 0.18f * 0.01f = 1.80000003129...: above the midpoint between the floats
  // 1.79999995 (1.8f) and 1.80000007, so the single rounding gives the upper one.
  EXPECT_EQ(charHeightOf(h1000, 0.01f), std::nextafter(1.8f, 2.0f));
  EXPECT_EQ(charHeightOf(h1000, 1.0f), 180.0f);  // 180.0000072 rounds down
}

TEST(preview_geometry_test, pixels_ignore_scale_and_flip_y) {
  EXPECT_EQ(previewPixel(-300, -300), 10);
  EXPECT_EQ(previewPixel(1000, 0), 190);  // 180.0000072 -> 180
  EXPECT_EQ(previewPixel(25, 0), 15);     // 4.50000018: just above the half
  EXPECT_EQ(previewPixel(-25, 0), 5);     // -4.50000018 -> -5
  const TRect b{-50, -20, 950, 980};
  const PreviewLine l = previewLine(TStroke{0, -50, -20, 950, 980}, b, 400);
  EXPECT_EQ(l, (PreviewLine{10, 400 - 10 - 1, 10 + 180, 400 - 190 - 1}));
}

TEST(preview_geometry_test, unit_scale_worked_values) {
  EXPECT_EQ(unitScaleFor(100, 10), 0.01f);
  EXPECT_EQ(unitScaleFor(10000, 72), 7.2f);
  EXPECT_EQ(unitScaleFor(0, 10), 1.0f);
}

}  // namespace
}  // namespace kerfline
