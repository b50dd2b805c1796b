// Documents written by real word processors (scripts/make_rtf_fixtures.py made them).
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "rtf_test_support.h"

namespace kerfline {
namespace {

using rtftest::readChecked;
using rtftest::utf8;

std::string fixture(const std::string& name) {
  std::ifstream in(std::string(KERFLINE_TEST_DATA_DIR) + "/richtext/" + name, std::ios::binary);
  EXPECT_TRUE(in) << name;
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// The paragraphs the generator wrote into both documents.
const std::string kFaces = "Sans 11 Serif 20 Mono 8 DejaVu 36";
const std::string kStyles = "Plain bold italic underline strike red";
const std::string kLatin = "Accents: áéíöü čřšžťďň łśźżąę ő ű";
const std::string kCyrillic = "Кириллица: Привет, мир";
const std::string kGreek = "Ελληνικά: αβγ δέλτα";
const std::string kCjk = "CJK: 日本語 中文 한국어";

struct Probe {
  const char* what;  // the first occurrence of this text is probed, every character of it
  const char* name;
  int size;
  const char* style;  // letters b, i, u, s
  std::uint32_t color;
  TFontPitch pitch;
};

void checkProbes(const StyledText& t, const std::vector<Probe>& probes) {
  const std::u32string& text = t.text();
  for (const Probe& p : probes) {
    SCOPED_TRACE(p.what);
    const std::u32string what = utf8ToU32(p.what);
    const std::size_t at = text.find(what);
    ASSERT_NE(at, std::u32string::npos);
    const std::string style = p.style;
    for (std::size_t i = at; i < at + what.size(); ++i) {
      const TFontDescription& f = t.runAt(static_cast<std::int32_t>(i)).format;
      EXPECT_EQ(f.Name, p.name);
      EXPECT_EQ(f.Size, p.size);
      EXPECT_EQ(f.Bold, style.find('b') != std::string::npos);
      EXPECT_EQ(f.Italic, style.find('i') != std::string::npos);
      EXPECT_EQ(f.Underline, style.find('u') != std::string::npos);
      EXPECT_EQ(f.StrikeOut, style.find('s') != std::string::npos);
      EXPECT_EQ(f.Color, p.color);
      EXPECT_EQ(f.CharSet, charset::Ansi);
      EXPECT_EQ(f.Pitch, p.pitch);
    }
  }
}

TEST(RtfFixtureTest, LibreOfficeWriter) {
  const StyledText t = readChecked(fixture("rtf_libreoffice.rtf"));
  // The header, footer, footnote, picture and hyperlink address are not running text; the
  // table's cells are tabs and its rows lines.
  EXPECT_EQ(utf8(t), kFaces + "\r\n" + kStyles + "\r\n" + kLatin + "\r\n" + kCyrillic + "\r\n" +
                         kGreek + "\r\n" + kCjk + "\r\nNote after\r\nPicture:end\r\nA1\tB1\r\n"
                         "A2\tB2\r\nLink: example done");
  const auto v = TFontPitch::Variable;
  checkProbes(t, {
                     {"Sans 11", "Liberation Sans", 11, "", 0, v},
                     {"Serif 20", "Liberation Serif", 20, "", 0, v},
                     {"Mono 8", "Liberation Mono", 8, "", 0, TFontPitch::Fixed},
                     {"DejaVu 36", "DejaVu Sans", 36, "", 0, v},
                     {"Plain", "Liberation Serif", 12, "", 0, v},
                     {"bold", "Liberation Serif", 12, "b", 0, v},
                     {"italic", "Liberation Serif", 12, "i", 0, v},
                     {"underline", "Liberation Serif", 12, "u", 0, v},
                     {"strike", "Liberation Serif", 12, "s", 0, v},
                     {"red", "Liberation Serif", 12, "", 0xFF0000, v},
                     {"Привет", "Liberation Serif", 12, "", 0, v},
                     {"example", "Liberation Serif", 12, "u", 0x000080, v},
                 });
}

TEST(RtfFixtureTest, AbiWord) {
  const StyledText t = readChecked(fixture("rtf_abiword.rtf"));
  // AbiWord keeps an empty paragraph after the table and two at the end of the document.
  EXPECT_EQ(utf8(t), kFaces + "\r\n" + kStyles + "\r\n" + kLatin + "\r\n" + kCyrillic + "\r\n" +
                         kGreek + "\r\n" + kCjk + "\r\nPicture:end\r\nA1\tB1\r\nA2\tB2\r\n\r\n"
                         "Link: example done\r\n\r\n\r\n");
  const auto d = TFontPitch::Default;
  checkProbes(t, {
                     {"Sans 11", "Liberation Sans", 11, "", 0, d},
                     {"Serif 20", "Liberation Serif", 20, "", 0, d},
                     {"Mono 8", "Liberation Mono", 8, "", 0, d},
                     {"DejaVu 36", "DejaVu Sans", 36, "", 0, d},
                     {"Plain", "Liberation Serif", 12, "", 0, d},
                     {"bold", "Liberation Serif", 12, "b", 0, d},
                     {"italic", "Liberation Serif", 12, "i", 0, d},
                     {"underline", "Liberation Serif", 12, "u", 0, d},
                     {"strike", "Liberation Serif", 12, "s", 0, d},
                     {"red", "Liberation Serif", 12, "", 0xFF0000, d},
                     {"한국어", "Liberation Serif", 12, "", 0, d},
                     {"example", "Liberation Serif", 12, "", 0, d},
                 });
}

TEST(RtfFixtureTest, EveryCutOfARealDocumentKeepsItsBeginning) {
  // Truncation anywhere (inside words, tables, pictures, fallbacks) keeps a well-formed prefix
  // of the full text, never more.
  const std::string full = fixture("rtf_libreoffice.rtf");
  const std::u32string whole = readChecked(full).text();
  for (std::size_t cut = 5; cut < full.size(); cut += 7) {
    SCOPED_TRACE(cut);
    const StyledText t = readChecked(std::string_view(full).substr(0, cut));
    ASSERT_LE(t.text().size(), whole.size());
    // A cut can end a paragraph early or split a surrogate-free fallback; compare up to the
    // last character, which may still be changed by what the cut removed.
    const std::size_t common = t.text().empty() ? 0 : t.text().size() - 1;
    EXPECT_EQ(t.text().substr(0, common), whole.substr(0, common));
  }
}

}  // namespace
}  // namespace kerfline
