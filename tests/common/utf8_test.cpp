#include <gtest/gtest.h>

#include "common/utf8.h"

namespace kerfline {
namespace {

struct Utf8Case {
  const char* name;
  std::string bytes;
  std::u32string expected;
};

TEST(utf8_test, decode_table) {
  const Utf8Case cases[] = {
      {"ascii", "Ab1", U"Ab1"},
      {"two byte", "\xC3\xA9", U"\u00E9"},
      {"three byte", "\xE2\x82\xAC", U"\u20AC"},
      {"four byte", "\xF0\x9F\x98\x80", U"\U0001F600"},
      {"last code point", "\xF4\x8F\xBF\xBF", U"\U0010FFFF"},
      {"smallest two byte", "\xC2\x80", U"\u0080"},
      {"smallest three byte", "\xE0\xA0\x80", U"\u0800"},
      {"smallest four byte", "\xF0\x90\x80\x80", U"\U00010000"},
      {"last before surrogates", "\xED\x9F\xBF", U"\uD7FF"},
      {"first after surrogates", "\xEE\x80\x80", U"\uE000"},
      // One U+FFFD for every byte that does not belong to a well-formed sequence.
      {"overlong slash", "\xC0\xAF", U"\uFFFD\uFFFD"},
      {"overlong three byte", "\xE0\x80\xAF", U"\uFFFD\uFFFD\uFFFD"},
      {"overlong four byte", "\xF0\x80\x80\xAF", U"\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"surrogate", "\xED\xA0\x80", U"\uFFFD\uFFFD\uFFFD"},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", U"\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"F5 lead", "\xF5\x80", U"\uFFFD\uFFFD"},
      {"lone continuation", "a\x80z", U"a\uFFFDz"},
      {"truncated at end", "a\xE2\x82", U"a\uFFFD\uFFFD"},
      {"truncated before ascii", "\xE2\x82" "A", U"\uFFFD\uFFFDA"},
      {"cut pair keeps following char", "\xC3\xC3\xA9", U"\uFFFD\u00E9"},
      {"latin1 byte", "caf\xE9", U"caf\uFFFD"},
      {"FF", "\xFF", U"\uFFFD"},
  };
  for (const Utf8Case& c : cases) {
    EXPECT_EQ(utf8ToU32(c.bytes), c.expected) << c.name;
    EXPECT_EQ(isValidUtf8(c.bytes), c.expected.find(U'\uFFFD') == std::u32string::npos) << c.name;
  }
}

TEST(utf8_test, encode_table) {
  EXPECT_EQ(u32ToUtf8(U"A\u00E9\u20AC\U0001F600"), "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
  // What cannot be a Unicode scalar value is written as U+FFFD, never as ill-formed bytes.
  EXPECT_EQ(u32ToUtf8(std::u32string(1, char32_t{0xD800})), "\xEF\xBF\xBD");
  EXPECT_EQ(u32ToUtf8(std::u32string(1, char32_t{0x110000})), "\xEF\xBF\xBD");
  std::string out = "x";
  appendUtf8(out, U'\u07FF');
  EXPECT_EQ(out, "x\xDF\xBF");
}

TEST(utf8_test, round_trip_over_every_scalar_value) {
  std::u32string all;
  for (char32_t c = 0; c <= 0x10FFFF; ++c) {
    if (c < 0xD800 || c > 0xDFFF) all.push_back(c);
  }
  const std::string bytes = u32ToUtf8(all);
  EXPECT_TRUE(isValidUtf8(bytes));
  EXPECT_EQ(utf8ToU32(bytes), all);
}

}  // namespace
}  // namespace kerfline
