#include "common/code_pages.h"

#include <gtest/gtest.h>

#include "common/code_page_tables.h"
#include "common/font_description.h"

namespace kerfline {
namespace {

struct ByteCase {
  int codePage;
  std::uint8_t byte;
  char32_t expected;
};

// Values from the code pages' published mapping tables, not from our own tables.
TEST(code_pages_test, decode_byte_known_characters) {
  const ByteCase cases[] = {
      {1250, 0x8A, 0x0160},  // S caron
      {1250, 0xA3, 0x0141},  // L stroke
      {1251, 0xC0, 0x0410},  // Cyrillic A
      {1251, 0xFF, 0x044F},  // Cyrillic ya
      {1252, 0x80, 0x20AC},  // euro sign
      {1252, 0x93, 0x201C},  // left double quotation mark
      {1252, 0x96, 0x2013},  // en dash
      {1252, 0x9F, 0x0178},  // Y diaeresis
      {1252, 0xE9, 0x00E9},  // e acute, same as Latin-1
      {1253, 0xC1, 0x0391},  // Greek Alpha
      {1254, 0xD0, 0x011E},  // G breve
      {1255, 0xE0, 0x05D0},  // Hebrew alef
      {1256, 0xC7, 0x0627},  // Arabic alef
      {1257, 0xC0, 0x0104},  // A ogonek
      {1258, 0xC3, 0x0102},  // A breve
      {874, 0xA1, 0x0E01},   // Thai ko kai
      {874, 0x80, 0x20AC},
      {437, 0xB3, 0x2502},   // box drawing vertical
      {437, 0xE1, 0x00DF},   // sharp s
      {850, 0xD5, 0x0131},   // dotless i
      {10000, 0x80, 0x00C4}, // Mac Roman A diaeresis
      {10000, 0xA5, 0x2022}, // Mac Roman bullet
      {codepage::Symbol, 0x41, 0xF041},
      {codepage::Symbol, 0xFF, 0xF0FF},
      {codepage::Symbol, 0x0D, 0x000D},  // controls stay controls
      {9999, 0x80, 0x20AC},  // unknown code page reads as 1252
      {932, 0x41, 0x0041},
  };
  for (const ByteCase& c : cases) {
    EXPECT_EQ(decodeByte(c.codePage, c.byte), c.expected)
        << "code page " << c.codePage << " byte " << int{c.byte};
  }
}

TEST(code_pages_test, undefined_bytes) {
  // Windows-1252's holes come through as the C1 controls, as Windows decodes them.
  for (std::uint8_t b : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) EXPECT_EQ(decodeByte(1252, b), char32_t{b});
  EXPECT_EQ(decodeByte(1253, 0xAA), U'\uFFFD');
  EXPECT_EQ(decodeByte(1255, 0xFF), U'\uFFFD');
  EXPECT_EQ(decodeByte(874, 0xDB), U'\uFFFD');
  EXPECT_EQ(decodeByte(1251, 0x98), U'\uFFFD');
}

TEST(code_pages_test, every_single_byte_page_keeps_ascii) {
  for (int cp : {1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258, 874, 437, 850, 10000}) {
    ASSERT_NE(detail::highHalfTable(cp), nullptr) << cp;
    for (int b = 0; b < 0x80; ++b) {
      ASSERT_EQ(decodeByte(cp, static_cast<std::uint8_t>(b)), static_cast<char32_t>(b)) << cp;
    }
  }
}

TEST(code_pages_test, encode_inverts_decode) {
  for (int cp : {1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258, 874, 437, 850, 10000,
                 codepage::Symbol}) {
    for (int b = 0; b < 256; ++b) {
      const char32_t c = decodeByte(cp, static_cast<std::uint8_t>(b));
      if (c == 0xFFFD) continue;
      EXPECT_EQ(encodeChar(cp, c), b) << "code page " << cp << " byte " << b;
    }
  }
}

TEST(code_pages_test, encode_without_a_byte_gives_question_mark) {
  EXPECT_EQ(encodeChar(1252, U'\u0410'), '?');   // Cyrillic has no place in 1252
  EXPECT_EQ(encodeChar(1253, U'\uFFFD'), '?');   // the undefined marker is not a byte
  EXPECT_EQ(encodeChar(932, U'\u00E9'), '?');    // double-byte pages: ASCII only
  EXPECT_EQ(encodeChar(932, U'A'), 'A');
  EXPECT_EQ(encodeChar(1251, U'\u0410'), 0xC0);
  EXPECT_EQ(encodeChar(codepage::Symbol, U'\u0041'), 0x41);
}

TEST(code_pages_test, code_page_of_char_set) {
  const std::pair<int, int> cases[] = {
      {charset::Ansi, 1252},        {charset::Default, 1252},   {charset::Symbol, codepage::Symbol},
      {charset::Mac, 10000},        {charset::ShiftJis, 932},   {charset::Hangul, 949},
      {charset::Gb2312, 936},       {charset::ChineseBig5, 950}, {charset::Greek, 1253},
      {charset::Turkish, 1254},     {charset::Vietnamese, 1258}, {charset::Hebrew, 1255},
      {charset::Arabic, 1256},      {charset::Baltic, 1257},    {charset::Russian, 1251},
      {charset::Thai, 874},         {charset::EastEurope, 1250}, {charset::Oem, 437},
      {3, 1252},                    {-1, 1252},                 {1000, 1252},
  };
  for (const auto& [cs, cp] : cases) EXPECT_EQ(codePageOfCharSet(cs), cp) << "charset " << cs;
  for (int cp : {932, 936, 949, 950, 0, 65001}) EXPECT_EQ(detail::highHalfTable(cp), nullptr) << cp;
}

TEST(code_pages_test, decode_single_byte_string) {
  EXPECT_EQ(decodeSingleByte(1251, "\xCF\xF0\xE8\xE2\xE5\xF2"), U"\u041F\u0440\u0438\u0432\u0435\u0442");
  EXPECT_EQ(decodeSingleByte(1252, std::string_view("a\0b", 3)), std::u32string(U"a\0b", 3));
}

}  // namespace
}  // namespace kerfline
