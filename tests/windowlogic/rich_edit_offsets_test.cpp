#include "windowlogic/rich_edit_offsets.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace kerfline {
namespace {

TEST(EditorOffsetIndexTest, InitialTextOfTheWindow) {
  // "AAbbcC" and two empty lines: raw positions 0..5 letters, 6 and 7 the two breaks.
  const EditorOffsetIndex ix(u"AAbbcC\u2029\u2029");
  EXPECT_EQ(ix.text(), U"AAbbcC\r\n\r\n");
  EXPECT_EQ(ix.length(), 10);
  EXPECT_EQ(ix.lineCount(), 3);
  struct Case {
    std::int32_t offset, raw, line;
  };
  // offset -> raw position and line; 7 and 9 lie between a CR and its LF.
  for (const Case c : {Case{0, 0, 0}, Case{5, 5, 0}, Case{6, 6, 0}, Case{7, 6, 0}, Case{8, 7, 1},
                       Case{9, 7, 1}, Case{10, 8, 2}, Case{11, 8, 2}, Case{-3, 0, 0}}) {
    EXPECT_EQ(ix.rawFromOffset(c.offset), c.raw) << c.offset;
    EXPECT_EQ(ix.lineOfOffset(c.offset), c.line) << c.offset;
  }
  EXPECT_EQ(ix.lineStart(0), 0);
  EXPECT_EQ(ix.lineStart(1), 8);
  EXPECT_EQ(ix.lineStart(2), 10);
  for (auto [raw, offset] : std::vector<std::pair<int, int>>{{0, 0}, {6, 6}, {7, 8}, {8, 10}, {99, 10}})
    EXPECT_EQ(ix.offsetFromRaw(raw), offset) << raw;
}

TEST(EditorOffsetIndexTest, SurrogatePairIsOneOffset) {
  const EditorOffsetIndex ix(u"a\U0001F600b\u2028c");
  EXPECT_EQ(ix.text(), U"a\U0001F600b\r\nc");
  EXPECT_EQ(ix.length(), 6);
  EXPECT_EQ(ix.rawFromOffset(1), 1);
  EXPECT_EQ(ix.rawFromOffset(2), 3);
  EXPECT_EQ(ix.rawFromOffset(3), 4);  // end of the first line
  EXPECT_EQ(ix.rawFromOffset(4), 4);  // between CR and LF
  EXPECT_EQ(ix.rawFromOffset(5), 5);
  EXPECT_EQ(ix.offsetFromRaw(2), 1);  // inside the pair: the pair's own offset
  EXPECT_EQ(ix.offsetFromRaw(3), 2);
  EXPECT_EQ(ix.offsetFromRaw(5), 5);
  EXPECT_EQ(ix.lineOfOffset(4), 0);
  EXPECT_EQ(ix.lineOfOffset(5), 1);
}

TEST(EditorOffsetIndexTest, EmptyText) {
  const EditorOffsetIndex ix;
  EXPECT_EQ(ix.length(), 0);
  EXPECT_EQ(ix.lineCount(), 1);
  EXPECT_EQ(ix.rawFromOffset(5), 0);
  EXPECT_EQ(ix.offsetFromRaw(5), 0);
  EXPECT_EQ(ix.lineOfOffset(-1), 0);
}

// Reference: walk the raw text unit by unit, writing down for every raw position its offset
// and for every offset its raw position, with no index at all.
TEST(EditorOffsetIndexTest, AgreesWithUnitByUnitWalkOnRandomTexts) {
  std::mt19937 rng(12345);
  const std::vector<std::u16string> atoms = {u"a", u"\t", u"\u2029", u"\u2028", u"\U0001D11E", u"\u00E9"};
  for (int round = 0; round < 300; ++round) {
    std::u16string raw;
    const int n = static_cast<int>(rng() % 30);
    for (int i = 0; i < n; ++i) raw += atoms[rng() % atoms.size()];

    std::vector<int> offsetOfRaw, rawOfOffset, lineOfOffset;
    int offset = 0, line = 0;
    for (std::size_t i = 0; i <= raw.size(); ++i) {
      offsetOfRaw.push_back(offset);
      if (i == raw.size()) break;
      if (raw[i] == u'\u2029' || raw[i] == u'\u2028') {
        rawOfOffset.insert(rawOfOffset.end(), {static_cast<int>(i), static_cast<int>(i)});
        lineOfOffset.insert(lineOfOffset.end(), {line, line});
        ++line;
        offset += 2;
      } else if (raw[i] >= 0xD800 && raw[i] <= 0xDBFF) {
        rawOfOffset.push_back(static_cast<int>(i));
        lineOfOffset.push_back(line);
        offsetOfRaw.push_back(offset);  // inside the pair
        ++i;
        ++offset;
      } else {
        rawOfOffset.push_back(static_cast<int>(i));
        lineOfOffset.push_back(line);
        ++offset;
      }
    }
    rawOfOffset.push_back(static_cast<int>(raw.size()));
    lineOfOffset.push_back(line);
    // An offset between CR and LF names the end of the line, which is the break's raw position.

    const EditorOffsetIndex ix(raw);
    ASSERT_EQ(ix.length(), offset);
    ASSERT_EQ(ix.lineCount(), line + 1);
    for (std::size_t p = 0; p < offsetOfRaw.size(); ++p)
      ASSERT_EQ(ix.offsetFromRaw(static_cast<int>(p)), offsetOfRaw[p]) << "round " << round << " raw " << p;
    for (std::size_t o = 0; o < rawOfOffset.size(); ++o) {
      ASSERT_EQ(ix.rawFromOffset(static_cast<int>(o)), rawOfOffset[o]) << "round " << round << " offset " << o;
      ASSERT_EQ(ix.lineOfOffset(static_cast<int>(o)), lineOfOffset[o]) << "round " << round << " offset " << o;
    }
  }
}

TEST(DocumentTextTest, BreaksAndCharactersBecomeDocumentUnits) {
  struct Case {
    std::u32string in;
    std::u16string out;
  };
  for (const Case& c : std::vector<Case>{
           {U"a\r\nb", u"a\u2029b"},
           {U"a\nb\rc", u"a\u2029b\u2029c"},
           {U"\r\r\n\n", u"\u2029\u2029\u2029"},
           {U"x\U0001F600", u"x\U0001F600"},
           {U"\u2028\u2029", u"\u2029\u2029"},
           {std::u32string{U'a', 0xD800, 0x110000, 0xFDD0}, u"a\uFFFD\uFFFD\uFFFD"},
       }) {
    bool afterCr = false;
    EXPECT_EQ(toDocumentText(c.in, afterCr), c.out);
  }
  // A CR LF split between two runs is one break.
  bool afterCr = false;
  EXPECT_EQ(toDocumentText(U"a\r", afterCr), u"a\u2029");
  EXPECT_EQ(toDocumentText(U"\nb", afterCr), u"b");
}

}  // namespace
}  // namespace kerfline
