#include "appcore/text_dump.h"

#include <gtest/gtest.h>

#include <string>

#include "richtext/document_loader.h"

namespace kerfline {
namespace {

std::string dumpOf(const std::string& bytes) {
  return textDumpJson(loadDocumentBytes(bytes, defaultEditorFormat()));
}

TEST(text_dump_test, richTextGivesItsRunsAsTheDocumentNamesThem) {
  // Hand-made: a Central European face (\'9f is z with acute in code page 1250), a paragraph
  // break, then bold italic, underline, strike-out and a colour, each a run of its own.
  const std::string rtf =
      "{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss\\fcharset238 Arial CE;}"
      "{\\f1\\froman\\fcharset0 Times New Roman;}}{\\colortbl;\\red255\\green0\\blue0;}"
      "\\f0\\fs24 Z\\'9flut\\par \\f1\\fs22\\b\\i \"q\"\\b0\\i0\\ul u\\ulnone\\strike s\\strike0"
      "\\cf1 red\\tab x}";
  EXPECT_EQ(dumpOf(rtf),
            "{\"text\": \"Z\xc5\xbalut\\r\\n\\\"q\\\"usred\\tx\", \"runs\": ["
            "{\"start\": 0, \"length\": 7, \"face\": \"Arial CE\", \"size\": 12, \"bold\": false, "
            "\"italic\": false, \"underline\": false, \"strike\": false, \"color\": \"#000000\", "
            "\"charset\": 238}, "
            "{\"start\": 7, \"length\": 3, \"face\": \"Times New Roman\", \"size\": 11, \"bold\": true, "
            "\"italic\": true, \"underline\": false, \"strike\": false, \"color\": \"#000000\", "
            "\"charset\": 0}, "
            "{\"start\": 10, \"length\": 1, \"face\": \"Times New Roman\", \"size\": 11, \"bold\": false, "
            "\"italic\": false, \"underline\": true, \"strike\": false, \"color\": \"#000000\", "
            "\"charset\": 0}, "
            "{\"start\": 11, \"length\": 1, \"face\": \"Times New Roman\", \"size\": 11, \"bold\": false, "
            "\"italic\": false, \"underline\": false, \"strike\": true, \"color\": \"#000000\", "
            "\"charset\": 0}, "
            "{\"start\": 12, \"length\": 5, \"face\": \"Times New Roman\", \"size\": 11, \"bold\": false, "
            "\"italic\": false, \"underline\": false, \"strike\": false, \"color\": \"#ff0000\", "
            "\"charset\": 0}]}");
}

TEST(text_dump_test, plainTextIsOneRunWithEveryBreakAsCrLfAndCodePointsCounted) {
  // UTF-8 with quote, backslash, a control character, all three line-break forms and a
  // character outside the 16-bit range (one position, two UTF-16 units).
  const std::string plain = "a\"b\\c\x01\r\nd\re\n\xf0\x9f\x98\x80";
  const TFontDescription f = defaultEditorFormat();
  EXPECT_EQ(dumpOf(plain),
            "{\"text\": \"a\\\"b\\\\c\\u0001\\r\\nd\\r\\ne\\r\\n\xf0\x9f\x98\x80\", \"runs\": ["
            "{\"start\": 0, \"length\": 15, \"face\": \"MS Sans Serif\", \"size\": 8, \"bold\": false, "
            "\"italic\": false, \"underline\": false, \"strike\": false, \"color\": \"#000000\", "
            "\"charset\": " + std::to_string(f.CharSet) + "}]}");
  EXPECT_EQ(dumpOf(""), "{\"text\": \"\", \"runs\": []}");
}

TEST(text_dump_test, neighboursThatPrintAlikeAreOneRun) {
  // Runs that differ only in what the dump does not show (the pitch request) merge.
  TFontDescription fixed = defaultEditorFormat();
  fixed.Pitch = TFontPitch::Fixed;
  TFontDescription blue = defaultEditorFormat();
  blue.Color = 0x0000ff;
  StyledText t;
  t.append(U"ab", defaultEditorFormat());
  t.append(U"cd", fixed);
  t.append(U"e", blue);
  const std::string json = textDumpJson(t);
  EXPECT_NE(json.find("{\"start\": 0, \"length\": 4, "), std::string::npos) << json;
  EXPECT_NE(json.find("{\"start\": 4, \"length\": 1, "), std::string::npos) << json;
  EXPECT_NE(json.find("\"color\": \"#0000ff\""), std::string::npos) << json;
}

}  // namespace
}  // namespace kerfline
