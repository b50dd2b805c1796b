#include "richtext/styled_text.h"

#include <gtest/gtest.h>

#include <random>

namespace kerfline {
namespace {

TFontDescription face(const char* name, bool bold = false) {
  TFontDescription f;
  f.Name = name;
  f.Bold = bold;
  return f;
}

TEST(styled_text_test, equal_adjacent_formats_merge_into_one_run) {
  StyledText t;
  t.append(U"ab", face("A"));
  t.append(U"cd", face("A"));
  t.append(U'e', face("A"));
  t.append(U"", face("B"));  // nothing appended, no empty run
  t.append(U"fg", face("A", true));
  t.append(U"h", face("A"));
  EXPECT_EQ(t.text(), U"abcdefgh");
  const std::vector<StyledText::Run> expected = {
      {0, 5, face("A")}, {5, 2, face("A", true)}, {7, 1, face("A")}};
  EXPECT_EQ(t.runs(), expected);
}

TEST(styled_text_test, positions_are_one_based_for_the_exports) {
  StyledText t;
  t.append(U"x\r\n", face("A"));
  t.append(U"y", face("B"));
  ASSERT_EQ(t.length(), 4);
  EXPECT_EQ(t.charAt(1), U'x');
  EXPECT_EQ(t.charAt(2), U'\r');
  EXPECT_EQ(t.charAt(4), U'y');
  EXPECT_EQ(t.fontAt(3).Name, "A");
  EXPECT_EQ(t.fontAt(4).Name, "B");
  EXPECT_THROW(t.runAt(4), std::out_of_range);
  EXPECT_THROW(t.runAt(-1), std::out_of_range);
}

// runAt's binary search against a linear walk over many runs of random lengths.
TEST(styled_text_test, run_lookup_matches_linear_scan) {
  std::mt19937 rng(7);
  StyledText t;
  std::vector<int> owner;  // the run number each character was appended in
  for (int run = 0; run < 500; ++run) {
    const int len = 1 + static_cast<int>(rng() % 9);
    TFontDescription f;
    f.Size = run;  // every run distinct, so nothing merges
    t.append(std::u32string(static_cast<std::size_t>(len), U'a'), f);
    owner.insert(owner.end(), static_cast<std::size_t>(len), run);
  }
  ASSERT_EQ(t.runs().size(), 500u);
  for (std::int32_t i = 0; i < t.length(); ++i) {
    ASSERT_EQ(t.runAt(i).format.Size, owner[static_cast<std::size_t>(i)]) << i;
  }
}

TEST(styled_text_test, assign_replaces_text_and_runs) {
  StyledText t;
  t.append(U"old", face("B"));
  t.assign(U"new\r\n", face("A"));
  EXPECT_EQ(t.text(), U"new\r\n");
  EXPECT_EQ(t.runs(), (std::vector<StyledText::Run>{{0, 5, face("A")}}));
  t.assign(U"", face("A"));
  EXPECT_TRUE(t.empty());
  EXPECT_TRUE(t.runs().empty());
}

TEST(styled_text_test, default_editor_format) {
  const TFontDescription f = defaultEditorFormat();
  EXPECT_EQ(f.Name, "MS Sans Serif");
  EXPECT_EQ(f.Size, 8);
  EXPECT_FALSE(f.Bold || f.Italic || f.Underline || f.StrikeOut);
  EXPECT_EQ(f.Color, 0u);
  EXPECT_EQ(f.CharSet, 1);
  EXPECT_EQ(f.Pitch, TFontPitch::Default);
}

}  // namespace
}  // namespace kerfline
