// Conversion by glyph index and the face facts a shaper needs, checked against fc-match and a
// reading of the font file's own tables that shares no code with FreeType.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>

#include "command_output.h"
#include "contour_check.h"
#include "test_fonts.h"
#include "vectorizer/UTTF2Vct.h"

namespace kerfline {
namespace {

std::string runCommand(const std::string& command) {
  std::string out = test::runCommand(command).output;
  while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) out.pop_back();
  return out;
}

// "upem ascender descender lineGap" read from the head and hhea tables by a Python script.
std::string tableMetrics(const std::string& file) {
  return runCommand("/usr/bin/python3 " KERFLINE_SOURCE_DIR
                    "/tests/vectorizer/read_font_metrics.py '" + file + "'");
}

using test::font;

unsigned glyphOf(const TFaceInfo& face, char32_t c) {
  FT_Library lib = nullptr;
  FT_Init_FreeType(&lib);
  FT_Face ft = nullptr;
  unsigned g = 0;
  if (FT_New_Face(lib, face.file.c_str(), face.index, &ft) == 0) {
    g = FT_Get_Char_Index(ft, c);
    FT_Done_Face(ft);
  }
  FT_Done_FreeType(lib);
  return g;
}

TEST(GlyphIdTest, MatchedFaceIsFontconfigsChoiceWithItsHeaderMetrics) {
  for (const char* name : {"Arial", "DejaVu Serif", "DejaVu Sans", "Cantarell"}) {
    SCOPED_TRACE(name);
    TTTFToVectorConverter converter;
    converter.SetFont(font(name));
    const std::optional<TFaceInfo> face = converter.MatchedFace();
    ASSERT_TRUE(face.has_value());
    EXPECT_EQ(face->file + ":" + std::to_string(face->index),
              runCommand(std::string("fc-match -f '%{file}:%{index}' '") + name + "'"));
    std::ostringstream metrics;
    metrics << face->unitsPerEm << ' ' << face->ascender << ' ' << face->descender << ' '
            << face->lineGap;
    EXPECT_EQ(metrics.str(), tableMetrics(face->file));
    EXPECT_FALSE(face->syntheticBold || face->syntheticOblique);
  }
}

TEST(GlyphIdTest, SyntheticStyleIsReported) {
  TTTFToVectorConverter converter;
  converter.SetFont(font("Cantarell", false, true));  // no italic face: sheared
  ASSERT_TRUE(converter.MatchedFace().has_value());
  EXPECT_TRUE(converter.MatchedFace()->syntheticOblique);
  converter.SetFont(font("Cantarell Light", true));  // no bold face: emboldened
  ASSERT_TRUE(converter.MatchedFace().has_value());
  EXPECT_TRUE(converter.MatchedFace()->syntheticBold);
}

TEST(GlyphIdTest, ByIndexGivesTheSameStrokesAsByCharacter) {
  // Every letter in a plain, a real bold and both synthetic styles, at two precisions: the
  // glyph the character map names, converted by its index, is stroke for stroke the same.
  const TFontDescription fonts[] = {font("Arial"), font("DejaVu Serif", true),
                                    font("Cantarell", false, true), font("Cantarell Light", true)};
  for (const TFontDescription& f : fonts) {
    for (int precision : {1, 8}) {
      TTTFToVectorConverter converter;
      converter.SetFont(f);
      converter.SetPrecision(precision);
      converter.SetUNICODE(true);
      for (char32_t c : std::u32string(U"AgQ&\u00e9\u05e9")) {
        const std::optional<TFaceInfo> face = converter.FaceOfChar(c);
        ASSERT_TRUE(face.has_value());
        const unsigned glyph = glyphOf(*face, c);
        ASSERT_NE(glyph, 0u) << f << ' ' << static_cast<std::uint32_t>(c);
        const auto byChar = converter.ConvertChar(static_cast<std::int32_t>(c));
        const auto byIndex = converter.ConvertGlyph(*face, glyph);
        ASSERT_TRUE(byChar && byIndex);
        EXPECT_EQ(byChar->strokes(), byIndex->strokes()) << f << ' ' << precision;
        EXPECT_TRUE(test::contoursClosed(*byIndex));
        EXPECT_EQ(converter.Font().Size, 1024);
      }
    }
  }
}

TEST(GlyphIdTest, FaceOfCharFollowsTheFallbackAndBadIndicesGiveNothing) {
  TTTFToVectorConverter converter;
  converter.SetFont(font("Arial"));
  // Hebrew shin is not in Liberation Sans: its face is the one fontconfig finds for it.
  const auto shin = converter.FaceOfChar(U'\u05e9');
  const auto latin = converter.FaceOfChar(U'A');
  ASSERT_TRUE(shin && latin);
  EXPECT_EQ(*latin, *converter.MatchedFace());
  EXPECT_NE(shin->file, latin->file);
  EXPECT_EQ(shin->file, runCommand("fc-match -f '%{file}' 'Arial:charset=5e9'"));
  // An index past the last glyph, and the empty glyph of the space, have no outline.
  EXPECT_FALSE(converter.ConvertGlyph(*latin, 0xFFFFFF).has_value());
  EXPECT_FALSE(converter.ConvertGlyph(*latin, glyphOf(*latin, U' ')).has_value());
  TFaceInfo missing = *latin;
  missing.file = "/nonexistent/font.ttf";
  EXPECT_FALSE(converter.ConvertGlyph(missing, 36).has_value());
}

}  // namespace
}  // namespace kerfline
