#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rtf_test_support.h"

namespace kerfline {
namespace {

using rtftest::readChecked;
using rtftest::utf8;

// Wraps a body in a minimal document with a font table: f0 Arial (ANSI, variable pitch,
// the default), f1 Courier New (fixed), and a colour table with auto, red and a blue.
std::string doc(const std::string& body) {
  return "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0\\fprq2 Arial;}"
         "{\\f1\\fmodern\\fcharset0\\fprq1 Courier New;}}"
         "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green128\\blue255;}" +
         body + "}";
}

struct TextCase {
  const char* name;
  std::string rtf;
  std::string text;  // UTF-8, line breaks as "\r\n"
};

void checkText(const TextCase* begin, const TextCase* end) {
  for (const TextCase* c = begin; c != end; ++c) {
    SCOPED_TRACE(c->name);
    EXPECT_EQ(utf8(readChecked(c->rtf)), c->text);
  }
}

TEST(RtfReaderTest, RecognisesRichTextByItsOpening) {
  EXPECT_FALSE(readRtf("").has_value());
  EXPECT_FALSE(readRtf("Hello").has_value());
  EXPECT_FALSE(readRtf(" {\\rtf1 x}").has_value());  // the opening must come first
  EXPECT_FALSE(readRtf("{\\rt").has_value());
  EXPECT_FALSE(readRtf("\xEF\xBB\xBF{\\rtf1 x}").has_value());
  ASSERT_TRUE(readRtf("{\\rtf").has_value());
  EXPECT_TRUE(readRtf("{\\rtf")->empty());
}

TEST(RtfReaderTest, BreaksAndSpecialCharacters) {
  const TextCase cases[] = {
      {"plain text", "{\\rtf1 Hello}", "Hello"},
      {"par between paragraphs; the closing par adds no line", "{\\rtf1 a\\par b\\par}",
       "a\r\nb"},
      {"an empty last paragraph stays", "{\\rtf1 a\\par\\par}", "a\r\n"},
      {"par followed by formatting only", "{\\rtf1 a\\par{\\b}\\pard\\plain}", "a"},
      {"line breaks are all kept", "{\\rtf1 a\\line b\\line}", "a\r\nb\r\n"},
      {"CR and LF bytes are not breaks", "{\\rtf1 a\r\nb\n\rc\rd}", "abcd"},
      {"backslash before LF or CR is par", "{\\rtf1 a\\\nb\\\r\nc}", "a\r\nb\r\nc"},
      {"NUL bytes are dropped", std::string("{\\rtf1 a\0b}", 11), "ab"},
      {"other control bytes are dropped", "{\\rtf1 a\x01\x1f" "b}", "ab"},
      {"tab word and tab byte", "{\\rtf1 a\\tab b\tc}", "a\tb\tc"},
      {"escaped specials", "{\\rtf1 \\\\ \\{ \\}}", "\\ { }"},
      {"nbsp and non-breaking hyphen", "{\\rtf1 a\\~b\\_c}", "a\u00A0b\u2011c"},
      {"optional hyphen is not shown", "{\\rtf1 hy\\-phen}", "hyphen"},
      {"dashes and quotes",
       "{\\rtf1 \\emdash\\endash\\lquote\\rquote\\ldblquote\\rdblquote}",
       "\u2014\u2013\u2018\u2019\u201C\u201D"},
      {"bullet and spaces", "{\\rtf1 \\bullet\\emspace\\enspace\\qmspace|}",
       "\u2022\u2003\u2002\u2005|"},
      {"page, section and column end a line", "{\\rtf1 a\\page b\\sect c\\column d}",
       "a\r\nb\r\nc\r\nd"},
      {"a section end closing the document adds no line", "{\\rtf1 a\\sect }", "a"},
      {"unknown words are ignored", "{\\rtf1 a\\zzz b\\foo12 c}", "abc"},
      {"text after the document's end is ignored", "{\\rtf1 a}b{c}", "a"},
      {"table cells are tabs, no tab before the row end",
       "{\\rtf1 \\trowd\\cellx100\\cellx200 \\intbl a\\cell b\\cell\\row c\\par}", "a\tb\r\nc"},
      {"two rows", "{\\rtf1 a\\cell b\\cell\\row c\\cell d\\cell\\row}", "a\tb\r\nc\td\r\n"},
      {"row properties between the last cell and the row end", "{\\rtf1 {a\\cell b\\cell }\\pard\\intbl"
       "{\\trowd\\trgaph108\\cellx1000\\cellx2000\\row }\\pard after\\par}", "a\tb\r\nafter"},
      {"nested table cells", "{\\rtf1 a\\cell {x\\nestcell y\\nestcell{\\nesttableprops\\nestrow}}"
       "\\cell\\row}", "a\tx\ty\r\n\r\n"},
      {"an empty cell", "{\\rtf1 \\cell b\\cell\\row}", "\tb\r\n"},
  };
  checkText(std::begin(cases), std::end(cases));
}

TEST(RtfReaderTest, UnicodeAndFallbacks) {
  const TextCase cases[] = {
      {"one fallback character by default", "{\\rtf1 \\u8364?x}", "\u20ACx"},
      {"negative values are UTF-16 units", "{\\rtf1 \\u-3913?}", "\uF0B7"},
      {"surrogate pair", "{\\rtf1 \\u-10179?\\u-8704?!}", "\U0001F600!"},
      {"surrogate pair as positive numbers", "{\\rtf1\\uc0 \\u55357\\u56832}", "\U0001F600"},
      {"lone high half", "{\\rtf1 \\u-10179?x}", "\uFFFDx"},
      {"lone low half", "{\\rtf1 \\u-8704?x}", "\uFFFDx"},
      {"high half at the end", "{\\rtf1 x\\u-10179?}", "x\uFFFD"},
      {"high half before a break", "{\\rtf1 \\u-10179?\\line}", "\uFFFD\r\n"},
      {"uc2 skips two", "{\\rtf1\\uc2 \\u8364 abc}", "\u20ACc"},
      {"uc0 skips none", "{\\rtf1\\uc0 \\u8364 abc}", "\u20ACabc"},
      {"a hex byte is one fallback character", "{\\rtf1 \\u8364\\'80x}", "\u20ACx"},
      {"a control word is one fallback character", "{\\rtf1 \\u8364\\par x}", "\u20ACx"},
      {"fallback ends at a group boundary", "{\\rtf1\\uc3 \\u8364}x}", "\u20AC"},
      {"fallback ends at a group start", "{\\rtf1\\uc3 \\u8364{a}b}", "\u20ACab"},
      {"uc is restored with the group", "{\\rtf1\\uc2 {\\uc0 \\u8364 a}\\u8364 bcd}",
       "\u20ACa\u20ACd"},
      {"bin is one fallback character", "{\\rtf1 \\u8364\\bin2 ab!}", "\u20AC!"},
      {"out of range becomes replacement", "{\\rtf1\\uc0 \\u2000000}", "\uFFFD"},
      // Beyond 16 bits a value names no UTF-16 unit; reduced, it would be some other letter
      // (U+11170, U+63C0).
      {"above 16 bits is replacement, not a supplementary letter", "{\\rtf1 \\u70000?x}",
       "\uFFFDx"},
      {"below -32768 is replacement, not wrapped", "{\\rtf1 \\u-40000?x}", "\uFFFDx"},
      {"the 16-bit limits themselves", "{\\rtf1\\uc0 \\u-32768\\u32767\\u65535\\u65536}",
       "\u8000\u7FFF\uFFFF\uFFFD"},
      {"u0 is nothing", "{\\rtf1 \\u0?a}", "a"},
      {"fallback across text chunks", "{\\rtf1\\uc4 \\u8364 ab\\{cd}", "\u20ACd"},
  };
  checkText(std::begin(cases), std::end(cases));
}

TEST(RtfReaderTest, BytesDecodeInTheFontsCharacterSet) {
  auto fonts = [](const std::string& table, const std::string& body, const char* cpg = "") {
    return std::string("{\\rtf1\\ansi") + cpg + "\\deff0{\\fonttbl" + table + "}" + body + "}";
  };
  const TextCase cases[] = {
      {"no font table: Windows-1252", "{\\rtf1 caf\\'e9 \\'80}", "café €"},
      {"ansicpg without fonts", "{\\rtf1\\ansi\\ansicpg1251 \\'e0\\'e1}", "аб"},
      {"mac", "{\\rtf1\\mac \\'8e}", "é"},
      {"pc", "{\\rtf1\\pc \\'82}", "é"},
      {"pca", "{\\rtf1\\pca \\'82}", "é"},
      {"Central European font", fonts("{\\f0\\fcharset238 Arial CE;}", "\\'e8\\'f8\\'9a\\'9e"),
       "čřšž"},
      {"Cyrillic font", fonts("{\\f0\\fcharset204 Arial;}", "\\'cf\\'f0\\'e8"), "При"},
      {"Greek font", fonts("{\\f0\\fcharset161 Arial;}", "\\'e1\\'e2\\'e3"), "αβγ"},
      {"ANSI font ignores the document code page",
       fonts("{\\f0\\fcharset0 Arial;}", "\\'e0", "\\ansicpg1251"), "à"},
      {"DEFAULT font takes the document code page",
       fonts("{\\f0\\fcharset1 Arial;}", "\\'e8", "\\ansicpg1250"), "č"},
      {"font without a charset takes the document code page",
       fonts("{\\f0 Arial;}", "\\'e8", "\\ansicpg1250"), "č"},
      {"literal high bytes decode too", fonts("{\\f0\\fcharset238 Arial;}", "\xe8"), "č"},
      {"font switch mid-text",
       fonts("{\\f0\\fcharset0 Arial;}{\\f1\\fcharset204 Arial;}", "\\'e0{\\f1\\'e0}\\'e0"),
       "àаà"},
      {"symbol font moves bytes to the private use area",
       fonts("{\\f0\\fcharset2 Symbol;}", "a\\'b7"), "\uF061\uF0B7"},
      {"double-byte pair is one replacement",
       fonts("{\\f0\\fcharset128 MS Mincho;}", "\\'82\\'a0x"), "\uFFFDx"},
      {"double-byte pair with a literal trail byte",
       fonts("{\\f0\\fcharset134 SimSun;}", "\\'b0a!"), "\uFFFD!"},
      {"lone lead byte before a word", fonts("{\\f0\\fcharset136 MingLiU;}", "\\'b0\\par x"),
       "\uFFFD\r\nx"},
      {"half-width katakana", fonts("{\\f0\\fcharset128 MS Gothic;}", "\\'b1"), "\uFF71"},
      {"Unicode with a double-byte fallback",
       fonts("{\\f0\\fcharset128 MS Mincho;}", "\\uc2\\u12354\\'82\\'a0!"), "\u3042!"},
  };
  checkText(std::begin(cases), std::end(cases));
}

TEST(RtfReaderTest, DestinationsWithoutBodyText) {
  const TextCase cases[] = {
      {"tables, stylesheet and info", "{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red1;}"
       "{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}{\\author A}}x}", "x"},
      {"unknown ignorable destination", "{\\rtf1 a{\\*\\unknownthing b{c}}d}", "ad"},
      {"known ignorable destinations", "{\\rtf1 {\\*\\generator Writer;}{\\*\\themedata 50}"
       "{\\*\\colorschememapping 3c}{\\*\\latentstyles{\\lsdlocked0 x;}}{\\*\\datastore 01}"
       "{\\*\\xmlnstbl{\\xmlns1 u}}{\\*\\rsidtbl \\rsid1}{\\*\\pgdsctbl{\\pgdsc0 S;}}"
       "{\\*\\listtable{\\list{\\listlevel{\\leveltext \\'01\\u-3913 ?;}}}}"
       "{\\*\\listoverridetable{\\listoverride}}{\\*\\revtbl{Unknown;}}{\\*\\mmathPr x}"
       "{\\*\\pnseclvl1\\pnucrm{\\pntxta .}}ok}", "ok"},
      {"unstarred table destinations", "{\\rtf1 {\\listtable{\\list x}}{\\revtbl {u;}}ok}", "ok"},
      {"picture with hex data", "{\\rtf1 a{\\pict\\pngblip\\picw10 89504e470d0a1a0a}b}", "ab"},
      {"picture with binary data holding braces", "{\\rtf1 a{\\pict\\bin4 }}{{}b}", "ab"},
      {"shape picture and its fallback", "{\\rtf1 a{\\*\\shppict{\\pict 00}}"
       "{\\nonshppict{\\pict 00}}b}", "ab"},
      {"shape text is not body text", "{\\rtf1 a{\\shp{\\*\\shpinst{\\sp{\\sn t}{\\sv 1}}"
       "{\\shptxt inner}}{\\shprslt result}}b}", "ab"},
      {"headers and footers of every kind",
       "{\\rtf1 {\\header h}{\\headerl h}{\\headerr h}{\\headerf h}{\\footer f}{\\footerl f}"
       "{\\footerr f}{\\footerf f}body}", "body"},
      {"footnotes are left out", "{\\rtf1 word{\\super\\chftn{\\footnote\\pard note\\par}} next}",
       "word next"},
      {"field instruction skipped, result kept",
       "{\\rtf1 see {\\field{\\*\\fldinst HYPERLINK \"http://x\"}{\\fldrslt{\\ul link}}}.}",
       "see link."},
      {"starred field result", "{\\rtf1 {\\field{\\*\\fldinst PAGE}{\\*\\fldrslt 3}}}", "3"},
      {"unstarred field instruction", "{\\rtf1 {\\field{\\fldinst PAGE}{\\fldrslt 3}}}", "3"},
      {"object: only the result", "{\\rtf1 a{\\object\\objemb{\\*\\objclass Paint}"
       "{\\*\\objdata 0102}text{\\result{shown}}}b}", "ashownb"},
      {"upr: the Unicode side only", "{\\rtf1 {\\upr{ansi text}{\\*\\ud{uni text}}}!}",
       "uni text!"},
      {"upr: unstarred ud", "{\\rtf1 {\\upr{a}{\\ud{\\u8364?}}}}", "\u20AC"},
      {"list text is shown", "{\\rtf1 {\\listtext\\f1 \\'b7\\tab}Item\\par}", "·\tItem"},
      {"old numbering text is shown", "{\\rtf1 {\\pntext 1.\\tab}{\\*\\pn\\pnlvlbody"
       "{\\pntxta .}}Item}", "1.\tItem"},
      {"bookmarks", "{\\rtf1 a{\\*\\bkmkstart m}b{\\*\\bkmkend m}c}", "abc"},
      {"binary data in the body is not text", "{\\rtf1 a\\bin3 xyzb}", "ab"},
      {"a destination word mid-group skips the rest of it", "{\\rtf1 {a\\pict 00}b}", "ab"},
      {"hidden text is left out", "{\\rtf1 a{\\v hidden\\par}b\\v c\\v0 d}", "abd"},
      {"star before text is forgotten", "{\\rtf1 \\*x}", "x"},
      {"a blank between star and word", "{\\rtf1 a{\\* \\unknown b}c}", "ac"},
  };
  checkText(std::begin(cases), std::end(cases));
}

// Expected formatting at one position; style letters b, i, u, s.
struct Expect {
  int index;
  const char* name;
  int size;
  const char* style;
  std::uint32_t color = 0;
  int charSet = 0;
  TFontPitch pitch = TFontPitch::Variable;
};

struct FormatCase {
  const char* name;
  std::string rtf;
  std::string text;
  std::vector<Expect> expect;
};

void checkFormats(const std::vector<FormatCase>& cases) {
  for (const FormatCase& c : cases) {
    SCOPED_TRACE(c.name);
    const StyledText t = readChecked(c.rtf);
    EXPECT_EQ(utf8(t), c.text);
    for (const Expect& e : c.expect) {
      SCOPED_TRACE("at index " + std::to_string(e.index));
      ASSERT_LT(e.index, t.length());
      const TFontDescription& f = t.runAt(e.index).format;
      const std::string style = e.style;
      EXPECT_EQ(f.Name, e.name);
      EXPECT_EQ(f.Size, e.size);
      EXPECT_EQ(f.Bold, style.find('b') != std::string::npos);
      EXPECT_EQ(f.Italic, style.find('i') != std::string::npos);
      EXPECT_EQ(f.Underline, style.find('u') != std::string::npos);
      EXPECT_EQ(f.StrikeOut, style.find('s') != std::string::npos);
      EXPECT_EQ(f.Color, e.color);
      EXPECT_EQ(f.CharSet, e.charSet);
      EXPECT_EQ(f.Pitch, e.pitch);
    }
  }
}

TEST(RtfReaderTest, CharacterFormatting) {
  constexpr std::uint32_t kRed = 0xFF0000;
  constexpr std::uint32_t kBlue = 0x0080FF;
  const auto fixed = TFontPitch::Fixed;
  checkFormats({
      {"defaults: deff font at 12 points", doc("x"), "x", {{0, "Arial", 12, ""}}},
      {"bold in a group", doc("a{\\b b}c"), "abc",
       {{0, "Arial", 12, ""}, {1, "Arial", 12, "b"}, {2, "Arial", 12, ""}}},
      {"toggles with zero", doc("\\b\\i a\\b0 b\\i0 c"), "abc",
       {{0, "Arial", 12, "bi"}, {1, "Arial", 12, "i"}, {2, "Arial", 12, ""}}},
      {"underline and strike", doc("\\ul a\\ul0 b\\strike c\\strike0 d\\striked1 e\\striked0 f"),
       "abcdef",
       {{0, "Arial", 12, "u"}, {1, "Arial", 12, ""}, {2, "Arial", 12, "s"},
        {3, "Arial", 12, ""}, {4, "Arial", 12, "s"}, {5, "Arial", 12, ""}}},
      {"ulnone ends every underline", doc("\\uldb a\\ulnone b"), "ab",
       {{0, "Arial", 12, "u"}, {1, "Arial", 12, ""}}},
      {"underline colour is not underline", doc("\\ulc1 a"), "a", {{0, "Arial", 12, ""}}},
      {"font switch", doc("a\\f1 b{\\f0 c}d"), "abcd",
       {{0, "Arial", 12, ""}, {1, "Courier New", 12, "", 0, 0, fixed},
        {2, "Arial", 12, ""}, {3, "Courier New", 12, "", 0, 0, fixed}}},
      {"sizes round halves up", doc("\\fs21 a\\fs20 b\\fs1 c\\fs72 d\\fs23 e"), "abcde",
       {{0, "Arial", 11, ""}, {1, "Arial", 10, ""}, {2, "Arial", 1, ""},
        {3, "Arial", 36, ""}, {4, "Arial", 12, ""}}},
      {"fs0 and negative sizes keep the size", doc("\\fs40 a\\fs0 b\\fs-10 c"), "abc",
       {{0, "Arial", 20, ""}, {1, "Arial", 20, ""}, {2, "Arial", 20, ""}}},
      {"absurd sizes are capped", doc("\\fs999999 a\\fs99999999999999 b"), "ab",
       {{0, "Arial", 1638, ""}, {1, "Arial", 1638, ""}}},
      {"fs without a number is RTF's default", doc("\\fs40 a\\fs b"), "ab",
       {{0, "Arial", 20, ""}, {1, "Arial", 12, ""}}},
      {"colours", doc("\\cf1 a\\cf2 b\\cf0 c\\cf9 d\\cf-1 e"), "abcde",
       {{0, "Arial", 12, "", kRed}, {1, "Arial", 12, "", kBlue}, {2, "Arial", 12, ""},
        {3, "Arial", 12, ""}, {4, "Arial", 12, ""}}},
      {"plain resets everything to the default font",
       doc("\\f1\\fs40\\b\\i\\ul\\strike\\cf1 a\\plain b"), "ab",
       {{0, "Courier New", 20, "bius", kRed, 0, fixed}, {1, "Arial", 12, ""}}},
      {"a group restores all of it", doc("{\\f1\\fs40\\b\\i\\ul\\strike\\cf2 a}b"), "ab",
       {{0, "Courier New", 20, "bius", kBlue, 0, fixed}, {1, "Arial", 12, ""}}},
      {"unknown font falls back to deff", doc("\\f7 a"), "a", {{0, "Arial", 12, ""}}},
      {"line breaks carry the format", doc("\\b a\\line b"), "a\r\nb",
       {{1, "Arial", 12, "b"}, {2, "Arial", 12, "b"}}},
  });

  for (const char* word : {"ul", "uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave",
                           "ulldash", "ulth", "ulthd", "ulthdash", "ulthdashd", "ulthdashdd",
                           "ulthldash", "ululdbwave", "ulw", "ulwave"}) {
    SCOPED_TRACE(word);
    const StyledText t =
        readChecked(doc(std::string("\\") + word + " a\\" + word + "0 b\\" + word + " c\\ulnone d"));
    ASSERT_EQ(utf8(t), "abcd");
    EXPECT_TRUE(t.runAt(0).format.Underline);
    EXPECT_FALSE(t.runAt(1).format.Underline);
    EXPECT_TRUE(t.runAt(2).format.Underline);
    EXPECT_FALSE(t.runAt(3).format.Underline);
  }
}

TEST(RtfReaderTest, FontAndColourTables) {
  checkFormats({
      {"no font table at all", "{\\rtf1 x}", "x",
       {{0, "Times New Roman", 12, "", 0, 1, TFontPitch::Default}}},
      {"deff names a missing font", "{\\rtf1\\deff5{\\fonttbl{\\f0 Arial;}}\\f3 x}", "x",
       {{0, "Times New Roman", 12, "", 0, 1, TFontPitch::Default}}},
      {"entries without groups", "{\\rtf1{\\fonttbl\\f0\\fnil\\fcharset238 Arial;"
       "\\f1\\fprq1 Mono;}\\f1 a\\f0 b}", "ab",
       {{0, "Mono", 12, "", 0, 1, TFontPitch::Fixed},
        {1, "Arial", 12, "", 0, 238, TFontPitch::Default}}},
      {"panose and falt are not part of the name",
       "{\\rtf1{\\fonttbl{\\f0\\froman\\fcharset0\\fprq2{\\*\\panose 02020603050405020304}"
       "Times New Roman{\\*\\falt Times};}}x}", "x", {{0, "Times New Roman", 12, ""}}},
      {"name without its semicolon", "{\\rtf1{\\fonttbl{\\f0 Verdana}}x}", "x",
       {{0, "Verdana", 12, "", 0, 1, TFontPitch::Default}}},
      {"hex bytes in a name decode in the font's charset",
       "{\\rtf1{\\fonttbl{\\f0\\fcharset238 \\'8ablonek;}}x}", "x",
       {{0, "Šblonek", 12, "", 0, 238, TFontPitch::Default}}},
      {"Unicode in a name", "{\\rtf1{\\fonttbl{\\f0 Caf\\u233?;}}x}", "x",
       {{0, "Café", 12, "", 0, 1, TFontPitch::Default}}},
      {"double-byte name gives way to its alternative",
       "{\\rtf1{\\fonttbl{\\f0\\fcharset134 \\'cb\\'ce\\'cc\\'e5{\\*\\falt SimSun};}}x}", "x",
       {{0, "SimSun", 12, "", 0, 134, TFontPitch::Default}}},
      {"symbol fonts have plain names",
       "{\\rtf1{\\fonttbl\\f0\\fcharset2 Symbol;\\f1\\fcharset2\\fprq2 Wingdings;"
       "{\\f2\\fcharset2 Webdings;}}\\f0 a\\f1 b\\f2 c}", "\uF061\uF062\uF063",
       {{0, "Symbol", 12, "", 0, 2, TFontPitch::Default},
        {1, "Wingdings", 12, "", 0, 2, TFontPitch::Variable},
        {2, "Webdings", 12, "", 0, 2, TFontPitch::Default}}},
      {"fprq 0 and unknown values are the default pitch",
       "{\\rtf1{\\fonttbl{\\f0\\fprq0 A;}{\\f1\\fprq7 B;}}a\\f1 b}", "ab",
       {{0, "A", 12, "", 0, 1, TFontPitch::Default}, {1, "B", 12, "", 0, 1, TFontPitch::Default}}},
      // Entry 0 is usually the empty "auto" entry; where a writer left it out, text that no
      // \cf coloured is still automatic (it once came out in the table's first colour).
      {"colour entry zero may be a colour, but only \\cf0 asks for it",
       "{\\rtf1{\\colortbl\\red10\\green20\\blue30;\\red1\\green2\\blue3;}a\\cf1 b\\cf0 c"
       "{\\plain d}}", "abcd",
       {{0, "Times New Roman", 12, "", 0, 1, TFontPitch::Default},
        {1, "Times New Roman", 12, "", 0x010203, 1, TFontPitch::Default},
        {2, "Times New Roman", 12, "", 0x0A141E, 1, TFontPitch::Default},
        {3, "Times New Roman", 12, "", 0, 1, TFontPitch::Default}}},
      {"components clamp, missing components are zero",
       "{\\rtf1{\\colortbl;\\red300\\blue-5;\\green7}\\cf1 a\\cf2 b}", "ab",
       {{0, "Times New Roman", 12, "", 0xFF0000, 1, TFontPitch::Default},
        {1, "Times New Roman", 12, "", 0x000700, 1, TFontPitch::Default}}},
  });
}

}  // namespace
}  // namespace kerfline
