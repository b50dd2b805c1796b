#include "appcore/profile_text.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace kerfline {
namespace {

using namespace std::string_literals;

struct ReadCase {
  const char* name;
  std::string content;
  const char* section;
  const char* key;
  std::optional<std::string> expected;
};

class ProfileRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ProfileRead, findsValue) {
  const ReadCase& c = GetParam();
  EXPECT_EQ(findProfileValue(c.content, c.section, c.key), c.expected) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    profile_text_test, ProfileRead,
    ::testing::Values(
        ReadCase{"plain", "[Layer]\r\nZup=7\r\n", "Layer", "Zup", "7"},
        ReadCase{"LF endings", "[Layer]\nZup=7\n", "Layer", "Zup", "7"},
        ReadCase{"no final line end", "[Layer]\r\nZup=7", "Layer", "Zup", "7"},
        ReadCase{"section case", "[lAYER]\r\nZup=7\r\n", "Layer", "Zup", "7"},
        ReadCase{"key case", "[Layer]\r\nZUP=7\r\n", "Layer", "zup", "7"},
        ReadCase{"blanks around key and value", "[Layer]\r\n \tZup \t= \t 7 \t\r\n", "Layer",
                 "Zup", "7"},
        ReadCase{"blanks in brackets", "  [ Layer ]\r\nZup=7\r\n", "Layer", "Zup", "7"},
        ReadCase{"double quotes", "[Layer]\r\nLayer=\" cut here \"\r\n", "Layer", "Layer",
                 " cut here "},
        ReadCase{"single quotes", "[Layer]\r\nLayer='a'\r\n", "Layer", "Layer", "a"},
        ReadCase{"only one pair of quotes", "[Layer]\r\nLayer=\"\"a\"\"\r\n", "Layer", "Layer",
                 "\"a\""},
        ReadCase{"mismatched quotes kept", "[Layer]\r\nLayer=\"a'\r\n", "Layer", "Layer",
                 "\"a'"},
        ReadCase{"lone quote kept", "[Layer]\r\nLayer=\"\r\n", "Layer", "Layer", "\""},
        ReadCase{"empty quotes", "[Layer]\r\nLayer=\"\"\r\n", "Layer", "Layer", ""},
        ReadCase{"empty value", "[Layer]\r\nLayer=\r\n", "Layer", "Layer", ""},
        ReadCase{"value with =", "[Layer]\r\nLayer=a=b\r\n", "Layer", "Layer", "a=b"},
        ReadCase{"missing key", "[Layer]\r\nZup=7\r\n", "Layer", "Zdown", std::nullopt},
        ReadCase{"key in other section", "[Other]\r\nZup=7\r\n[Layer]\r\n", "Layer", "Zup",
                 std::nullopt},
        ReadCase{"key before any section", "Zup=7\r\n[Layer]\r\n", "Layer", "Zup", std::nullopt},
        ReadCase{"missing section", "[Other]\r\nZup=7\r\n", "Layer", "Zup", std::nullopt},
        ReadCase{"empty text", "", "Layer", "Zup", std::nullopt},
        ReadCase{"bare key without = is no key", "[Layer]\r\nZup\r\n", "Layer", "Zup",
                 std::nullopt},
        ReadCase{"commented key", "[Layer]\r\n;Zup=7\r\n", "Layer", "Zup", std::nullopt},
        ReadCase{"first of two keys", "[Layer]\r\nZup=1\r\nzup=2\r\n", "Layer", "Zup", "1"},
        ReadCase{"first of two sections", "[Layer]\r\nA=1\r\n[Layer]\r\nZup=2\r\n", "Layer",
                 "Zup", std::nullopt},
        ReadCase{"UTF-8 value", "[Layer]\r\nLayer=Schrift \xC3\xA4\r\n", "Layer", "Layer",
                 "Schrift \xC3\xA4"},
        ReadCase{"UTF-8 byte-order mark before the first section",
                 "\xEF\xBB\xBF[Layer]\r\nZup=7\r\n", "Layer", "Zup", "7"},
        ReadCase{"non-ASCII letters are not case folded", "[Layer]\r\n\xC3\x84=1\r\n", "Layer",
                 "\xC3\xA4", std::nullopt}),
    [](const auto& info) {
      std::string n = info.param.name;
      for (char& c : n) if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
      return n;
    });

TEST(profile_text_test, valueCutTo2047Bytes) {
  std::string longValue(3000, 'x');
  auto v = findProfileValue("[Layer]\r\nLayer=" + longValue + "\r\n", "Layer", "Layer");
  ASSERT_TRUE(v);
  EXPECT_EQ(*v, std::string(2047, 'x'));
  // Exactly at the limit nothing is lost.
  v = findProfileValue("[Layer]\r\nLayer=" + std::string(2047, 'y') + "\r\n", "Layer", "Layer");
  EXPECT_EQ(v->size(), 2047u);
}

TEST(profile_text_test, cutNeverSplitsACharacter) {
  // 2046 ASCII bytes, then a two-byte character straddling the limit: it is left out whole.
  std::string value = std::string(2046, 'x') + "\xC3\xA4" + "tail";
  auto v = findProfileValue("[Layer]\r\nLayer=" + value + "\r\n", "Layer", "Layer");
  EXPECT_EQ(*v, std::string(2046, 'x'));
}

struct WriteCase {
  const char* name;
  std::string before;
  const char* section;
  const char* key;
  const char* value;
  std::string after;
};

class ProfileWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(ProfileWrite, rewritesText) {
  const WriteCase& c = GetParam();
  EXPECT_EQ(setProfileValue(c.before, c.section, c.key, c.value), c.after) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    profile_text_test, ProfileWrite,
    ::testing::Values(
        WriteCase{"empty file", "", "Layer", "Layer", "0", "[Layer]\r\nLayer=0\r\n"},
        WriteCase{"replace in place", "[Layer]\r\nLayer=0\r\nZup=1.00\r\n", "Layer", "Layer",
                  "CUT", "[Layer]\r\nLayer=CUT\r\nZup=1.00\r\n"},
        WriteCase{"replace keeps neighbours byte for byte",
                  "; mine\n[Other]\nA = 1 \n[Layer]\r\nzup = 5 ; old\r\nX=y\n", "Layer", "Zup",
                  "7", "; mine\n[Other]\nA = 1 \n[Layer]\r\nZup=7\r\nX=y\n"},
        WriteCase{"append after last key line, before blank and comment",
                  "[Layer]\r\nLayer=0\r\n\r\n; next\r\n[Other]\r\nA=1\r\n", "Layer", "Zup", "1.00",
                  "[Layer]\r\nLayer=0\r\nZup=1.00\r\n\r\n; next\r\n[Other]\r\nA=1\r\n"},
        WriteCase{"section without keys", "[Layer]\r\n\r\n[Other]\r\n", "Layer", "Zup", "7",
                  "[Layer]\r\nZup=7\r\n\r\n[Other]\r\n"},
        WriteCase{"header without line end", "[Layer]", "Layer", "Zup", "7",
                  "[Layer]\r\nZup=7\r\n"},
        WriteCase{"last key without line end", "[Layer]\nLayer=0", "Layer", "Zup", "7",
                  "[Layer]\nLayer=0\r\nZup=7\r\n"},
        WriteCase{"missing section appended", "[Other]\nA=1\n", "Layer", "Zup", "7",
                  "[Other]\nA=1\n[Layer]\r\nZup=7\r\n"},
        WriteCase{"missing section after unterminated line", "[Other]\nA=1", "Layer", "Zup", "7",
                  "[Other]\nA=1\r\n[Layer]\r\nZup=7\r\n"},
        WriteCase{"only first of duplicate sections", "[Layer]\r\nA=1\r\n[layer]\r\nZup=2\r\n",
                  "Layer", "Zup", "7", "[Layer]\r\nA=1\r\nZup=7\r\n[layer]\r\nZup=2\r\n"},
        WriteCase{"line breaks in a value cannot add lines", "", "Layer", "Layer",
                  "a\r\n[Evil]\nb", "[Layer]\r\nLayer=a  [Evil] b\r\n"},
        WriteCase{"byte-order mark kept, its section found",
                  "\xEF\xBB\xBF[Layer]\r\nZup=1\r\n", "Layer", "Zup", "7",
                  "\xEF\xBB\xBF[Layer]\r\nZup=7\r\n"},
        WriteCase{"byte-order mark alone", "\xEF\xBB\xBF", "Layer", "Zup", "7",
                  "\xEF\xBB\xBF[Layer]\r\nZup=7\r\n"},
        WriteCase{"binary junk kept", "\x00\xff\x01\n[Layer]\n"s, "Layer",
                  "Zup", "1", "\x00\xff\x01\n[Layer]\nZup=1\r\n"s}),
    [](const auto& info) {
      std::string n = info.param.name;
      for (char& c : n) if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
      return n;
    });

TEST(profile_text_test, writeThenReadRoundTrips) {
  std::string text;
  for (const char* v : {"abc", "-3.50", "1e1", "Schrift \xC3\xA4", "  "}) {
    text = setProfileValue(text, "Layer", "Zup", v);
    EXPECT_EQ(findProfileValue(text, "Layer", "Zup"), std::string(v) == "  " ? "" : v);
  }
}

TEST(profile_text_test, defaultsFromScratchGiveFourLines) {
  std::string text;
  text = setProfileValue(text, "Layer", "Layer", "0");
  text = setProfileValue(text, "Layer", "Zup", "1.00");
  text = setProfileValue(text, "Layer", "Zdown", "0.00");
  EXPECT_EQ(text, "[Layer]\r\nLayer=0\r\nZup=1.00\r\nZdown=0.00\r\n");
}

}  // namespace
}  // namespace kerfline
