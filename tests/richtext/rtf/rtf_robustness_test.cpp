#include <gtest/gtest.h>

#include <random>
#include <string>

#include "rtf_test_support.h"

namespace kerfline {
namespace {

using rtftest::expectWellFormed;
using rtftest::readChecked;
using rtftest::utf8;

TEST(RtfRobustnessTest, DamagedFilesKeepWhatWasRead) {
  struct Case {
    const char* name;
    std::string rtf;
    std::string text;
  };
  const Case cases[] = {
      {"truncated in text", "{\\rtf1 abc", "abc"},
      {"truncated in a group", "{\\rtf1 {\\b ab", "ab"},
      {"truncated in a control word", "{\\rtf1 ab\\pa", "ab"},
      {"truncated after a backslash", "{\\rtf1 ab\\", "ab"},
      {"truncated in a hex byte", "{\\rtf1 ab\\'e", "ab"},
      // A malformed escape named one byte nobody can know: its characters are not text.
      {"malformed hex byte", "{\\rtf1 a\\'zzb\\'4xc}", "abc"},
      {"malformed hex byte before a group end", "{\\rtf1 {a\\'z}b}", "ab"},
      {"malformed hex byte as a Unicode fallback", "{\\rtf1 \\u8364\\'zzx}", "\u20ACx"},
      {"truncated in the font table", "{\\rtf1{\\fonttbl{\\f0 Ari", ""},
      {"truncated in a picture", "{\\rtf1 ab{\\pict 89504e47", "ab"},
      {"truncated in a fallback", "{\\rtf1 \\uc5\\u8364 a", "\u20AC"},
      {"truncated in a double-byte pair",
       "{\\rtf1{\\fonttbl{\\f0\\fcharset128 M;}}\\f0 a\\'82", "a\uFFFD"},
      {"only opening braces", "{\\rtf1 {{{{{{{{", ""},
      {"extra closing braces", "{\\rtf1 a}}}}} b", "a"},
      {"enormous bin swallows the rest", "{\\rtf1 a\\bin2147483647 b}", "a"},
      {"bin with an absurd number", "{\\rtf1 a\\bin99999999999999999999 b}", "a"},
      {"huge Unicode value", "{\\rtf1\\uc0 \\u99999999999}", "\uFFFD"},
      {"huge uc skips to the group end", "{\\rtf1 {\\uc2147483647\\u65 abc\\par def}g}", "Ag"},
      {"huge font and colour numbers", "{\\rtf1\\f2147483647\\cf2147483647\\fs-2147483648 x}",
       "x"},
      {"star at the very end", "{\\rtf1 a\\*", "a"},
      {"fonttbl in the body, then text", "{\\rtf1 a{\\fonttbl b;}c}", "ac"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(utf8(readChecked(c.rtf)), c.text);
  }
}

TEST(RtfRobustnessTest, DeepNestingIsReadWithoutExhaustingTheStack) {
  // Far deeper than the kept group states: text inside and after it is all read.
  constexpr int kDepth = 200000;
  std::string rtf = "{\\rtf1 a";
  rtf += std::string(kDepth, '{') + "\\b deep" + std::string(kDepth, '}') + "b}";
  const StyledText t = readChecked(rtf);
  EXPECT_EQ(utf8(t), "adeepb");
  EXPECT_TRUE(t.runAt(1).format.Bold);
  EXPECT_FALSE(t.runAt(0).format.Bold);

  // A skipped destination deep down is still skipped.
  std::string skipped = "{\\rtf1 a" + std::string(5000, '{') + "{\\*\\x hidden}" + "{\\pict 00}" +
                        std::string(5000, '}') + "b}";
  EXPECT_EQ(utf8(readChecked(skipped)), "ab");

  // Within the kept depth, formatting is restored exactly.
  std::string shallow = "{\\rtf1 ";
  for (int i = 0; i < 900; ++i) shallow += i % 2 ? "{\\b0 " : "{\\b ";
  shallow += "x" + std::string(900, '}') + "y}";
  const StyledText s = readChecked(shallow);
  EXPECT_EQ(utf8(s), "xy");
  EXPECT_FALSE(s.runAt(0).format.Bold);  // the 900th group says \b0
  EXPECT_FALSE(s.runAt(1).format.Bold);
}

TEST(RtfRobustnessTest, GroupsBeyondTheKeptDepthDoNotLeakIntoTheirParent) {
  // Hidden text, a font-table destination or bold set in a group past the kept depth ends
  // with that group: the text after it, still deep down, is read in its own formatting.
  const std::string down(1500, '{');
  const std::string up(1500, '}');
  struct Case {
    const char* name;
    std::string inner;
    std::string text;
  };
  const Case cases[] = {
      {"hidden", "{\\v hidden}", "ashownb"},
      {"bold", "{\\b bold}", "aboldshownb"},
      {"font table", "{\\fonttbl{\\f0 Arial;}}", "ashownb"},
      {"object", "{\\object x}", "ashownb"},
      {"two levels", "{{\\v a}\\v b}", "ashownb"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const StyledText t = readChecked("{\\rtf1 a" + down + c.inner + "shown" + up + "b}");
    EXPECT_EQ(utf8(t), c.text);
    if (t.length() >= 2) {
      EXPECT_FALSE(t.runAt(t.length() - 2).format.Bold);
    }
  }

  // Down there a group still gets back its own state, not just the kept one.
  const StyledText nested = readChecked("{\\rtf1 " + down + "{\\i {\\b x}y}z" + up + "}");
  ASSERT_EQ(utf8(nested), "xyz");
  EXPECT_TRUE(nested.runAt(0).format.Bold);
  EXPECT_FALSE(nested.runAt(1).format.Bold);
  EXPECT_TRUE(nested.runAt(1).format.Italic);
  EXPECT_FALSE(nested.runAt(2).format.Italic);

  // A state change at every level, far more levels than states are kept for: still read in
  // full, and the text after them is back in the document's own state.
  std::string alternating = "{\\rtf1 ";
  for (int i = 0; i < 200000; ++i) alternating += i % 2 ? "{\\b0 " : "{\\b ";
  alternating += "x" + std::string(200000, '}') + "y}";
  const StyledText a = readChecked(alternating);
  ASSERT_EQ(utf8(a), "xy");
  EXPECT_FALSE(a.runAt(0).format.Bold);
  EXPECT_FALSE(a.runAt(1).format.Bold);
}

TEST(RtfRobustnessTest, RandomBytesAfterTheOpeningNeverBreakTheResult) {
  std::mt19937 rng(20240601);
  static const char kAlphabet[] = "{}\\'*0123456789abcdefuplrbin -;\r\n\t\x80\xff\0";
  const std::string alphabet(kAlphabet, sizeof kAlphabet - 1);
  for (int round = 0; round < 2000; ++round) {
    std::string rtf = "{\\rtf1";
    const int len = static_cast<int>(rng() % 300);
    for (int i = 0; i < len; ++i) {
      rtf += rng() % 4 == 0 ? static_cast<char>(rng() % 256)
                            : alphabet[rng() % alphabet.size()];
    }
    const std::optional<StyledText> t = readRtf(rtf);
    ASSERT_TRUE(t.has_value());
    expectWellFormed(*t);
  }
}

}  // namespace
}  // namespace kerfline
