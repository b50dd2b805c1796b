#include "richtext/plain_text.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>


namespace kerfline {
namespace {

std::string readFixture(const std::string& name) {
  std::ifstream in(std::string(KERFLINE_TEST_DATA_DIR) + "/richtext/" + name, std::ios::binary);
  EXPECT_TRUE(in) << name;
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::u32string chars(std::string_view bytes) { return decodePlainTextChars(bytes); }

const std::u32string kSample = U"Grüße aus Zürich – “Kerfline”\r\nΑλφα € \U0001F600\r\nlast line";
const std::u32string kLines = U"first line\r\nsecond line\r\n\r\nfourth line\r\n";

TEST(plain_text_test, fixture_files_in_every_encoding_and_line_end_style) {
  const struct {
    const char* file;
    PlainTextEncoding encoding;
    std::u32string expected;
  } cases[] = {
      {"plain_utf8_bom.txt", PlainTextEncoding::Utf8Bom, kSample},
      {"plain_utf8.txt", PlainTextEncoding::Utf8, kSample},
      {"plain_utf16le_bom.txt", PlainTextEncoding::Utf16Le, kSample},
      {"plain_utf16be_bom.txt", PlainTextEncoding::Utf16Be, kSample},
      {"plain_crlf.txt", PlainTextEncoding::Utf8, kLines},
      {"plain_lf.txt", PlainTextEncoding::Utf8, kLines},
      {"plain_cr.txt", PlainTextEncoding::Utf8, kLines},
      // 0x80..0x9F are the Windows characters, the five holes the C1 controls Windows gives them.
      {"plain_cp1252.txt", PlainTextEncoding::Windows1252,
       U"Café € 5\r\n"
       U"\u20AC\u0081\u201A\u0192\u201E\u2026\u2020\u2021\u02C6\u2030\u0160\u2039\u0152\u008D\u017D\u008F"
       U"\u0090\u2018\u2019\u201C\u201D\u2022\u2013\u2014\u02DC\u2122\u0161\u203A\u0153\u009D\u017E\u0178"
       U"\r\nÀÿ"},
  };
  for (const auto& c : cases) {
    const std::string bytes = readFixture(c.file);
    EXPECT_EQ(detectPlainTextEncoding(bytes), c.encoding) << c.file;
    EXPECT_EQ(chars(bytes), c.expected) << c.file;
  }
}

TEST(plain_text_test, line_breaks_and_nul) {
  const std::pair<std::string, std::u32string> cases[] = {
      {"", U""},
      {"a\r\nb", U"a\r\nb"},
      {"a\nb", U"a\r\nb"},
      {"a\rb", U"a\r\nb"},
      {"\r", U"\r\n"},
      {"\n\n", U"\r\n\r\n"},
      {"a\r\rb", U"a\r\n\r\nb"},
      {"a\n\rb", U"a\r\n\r\nb"},      // LF then CR is two breaks, not one reversed pair
      {"a\r\n\nb", U"a\r\n\r\nb"},
      {"a\r\n\r\n", U"a\r\n\r\n"},
      {std::string("a\0b", 3), U"ab"},  // NUL would end the editor's text: dropped
      {std::string("a\r\0\nb", 5), U"a\r\nb"},
      {"tab\tform\f", U"tab\tform\f"},   // other controls stay
  };
  for (const auto& [in, expected] : cases) EXPECT_EQ(chars(in), expected) << '"' << in << '"';
}

TEST(plain_text_test, utf16_edge_cases) {
  const std::pair<std::string, std::u32string> cases[] = {
      {"\xFF\xFE", U""},
      {"\xFE\xFF", U""},
      {std::string("\xFF\xFE\x3D\xD8\x00\xDE", 6), U"\U0001F600"},
      {std::string("\xFE\xFF\xD8\x3D\xDE\x00", 6), U"\U0001F600"},
      {std::string("\xFF\xFE\x00\xD8\x41\x00", 6), U"\uFFFDA"},         // high surrogate, no low
      {std::string("\xFF\xFE\x00\xDC\x41\x00", 6), U"\uFFFDA"},         // low surrogate alone
      {std::string("\xFF\xFE\x41\x00\x00\xD8", 6), U"A\uFFFD"},         // high surrogate at the end
      {std::string("\xFF\xFE\x41\x00\x42", 5), U"A\uFFFD"},             // cut inside the last unit
      {std::string("\xFF\xFE\x0A\x00\x0D\x00\x0A\x00", 8), U"\r\n\r\n"},  // LF, CR LF
      {std::string("\xFF\xFE\xFF\xFE", 4), U"\uFEFF"},                  // only the first mark goes
  };
  for (const auto& [in, expected] : cases) EXPECT_EQ(chars(in), expected);
}

TEST(plain_text_test, utf8_or_windows_1252) {
  // Well-formed UTF-8 reads as UTF-8; a single foreign byte makes the whole file Windows-1252,
  // so mixed files never lose their Latin letters to replacement characters.
  EXPECT_EQ(chars("caf\xC3\xA9"), U"café");
  EXPECT_EQ(chars("caf\xC3\xA9 \xE9"), U"cafÃ© é");
  EXPECT_EQ(chars("\x93quoted\x94"), U"“quoted”");
  EXPECT_EQ(chars("\xEF\xBB\xBF"), U"");
  // With a UTF-8 mark the file is UTF-8 even when damaged: bad bytes become U+FFFD.
  EXPECT_EQ(chars("\xEF\xBB\xBF" "a\xFF" "b"), U"a\uFFFDb");
  EXPECT_EQ(chars("\xEF\xBB\xBF\xEF\xBB\xBF"), U"\uFEFF");
}

TEST(plain_text_test, every_character_takes_the_given_format) {
  TFontDescription format;
  format.Name = "Liberation Serif";
  format.Size = 14;
  const StyledText t = decodePlainText("one\ntwo", format);
  EXPECT_EQ(t.text(), U"one\r\ntwo");
  ASSERT_EQ(t.runs().size(), 1u);
  EXPECT_EQ(t.runs()[0], (StyledText::Run{0, 8, format}));
  EXPECT_TRUE(decodePlainText("", format).runs().empty());
}

// Whatever the bytes, the result obeys the text model: CR and LF only as the pair CR LF,
// no NUL, no half of a surrogate pair, nothing beyond U+10FFFF.
TEST(plain_text_test, random_bytes_keep_the_text_model) {
  std::mt19937 rng(12345);
  const char prefixes[][4] = {"", "\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"};
  for (int round = 0; round < 2000; ++round) {
    std::string bytes = prefixes[round % 4];
    const std::size_t n = rng() % 64;
    for (std::size_t i = 0; i < n; ++i) {
      // Bias towards the interesting bytes: line ends, NUL, surrogate halves, UTF-8 leads.
      const char pool[] = {'\r', '\n', '\0', 'a', '\xD8', '\xDC', '\xC3', '\xA9', '\xE2', '\x80'};
      bytes.push_back(rng() % 2 ? pool[rng() % sizeof pool] : static_cast<char>(rng()));
    }
    const std::u32string out = chars(bytes);
    for (std::size_t i = 0; i < out.size(); ++i) {
      const char32_t c = out[i];
      ASSERT_NE(c, U'\0');
      ASSERT_FALSE(c >= 0xD800 && c <= 0xDFFF);
      ASSERT_LE(c, char32_t{0x10FFFF});
      if (c == U'\r') {
        ASSERT_TRUE(i + 1 < out.size() && out[i + 1] == U'\n');
      }
      if (c == U'\n') {
        ASSERT_TRUE(i > 0 && out[i - 1] == U'\r');
      }
    }
  }
}

}  // namespace
}  // namespace kerfline
