#include <ft2build.h>
#include FT_FREETYPE_H

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "command_output.h"
#include "contour_check.h"
#include "test_fonts.h"
#include "expect_throw_msg.h"
#include "vectorizer/UTTF2Vct.h"
#include "common/error.h"
#include "vectorizer/font_library.h"
#include "vectorizer/script_face_name.h"

namespace kerfline {
namespace {

std::string letters() {
  std::string s;
  for (char c = 'A'; c <= 'Z'; ++c) s += c;
  for (char c = 'a'; c <= 'z'; ++c) s += c;
  return s;
}

using test::font;

std::optional<TStrokeCollection> convert(const TFontDescription& f, char32_t c,
                                         int precision = 8) {
  TTTFToVectorConverter converter;
  converter.SetFont(f);
  converter.SetPrecision(precision);
  converter.SetUNICODE(true);
  return converter.ConvertChar(static_cast<std::int32_t>(c));
}

TEST(ConverterTest, NewConverterDefaults) {
  TTTFToVectorConverter converter;
  EXPECT_EQ(converter.Font().Name, "Arial");
  EXPECT_EQ(converter.Font().Size, 28);
  EXPECT_FALSE(converter.Font().Bold);
  EXPECT_FALSE(converter.Font().Italic);
  EXPECT_EQ(converter.Precision(), 8);
  EXPECT_FALSE(converter.UNICODE());
}

TEST(ConverterTest, PrecisionOutsideOneToHundredIsIgnored) {
  TTTFToVectorConverter converter;
  const struct {
    int set;
    int expected;
  } steps[] = {{0, 8}, {-1, 8}, {101, 8}, {1, 1}, {100, 100}, {-2147483647 - 1, 100}, {5, 5}};
  for (const auto& s : steps) {
    converter.SetPrecision(s.set);
    EXPECT_EQ(converter.Precision(), s.expected) << "after " << s.set;
  }
}

TEST(ConverterTest, SizeIsTheOutlineEmAfterConversion) {
  TTTFToVectorConverter converter;
  TFontDescription f = font("Liberation Sans");
  f.Size = 12;
  converter.SetFont(f);
  EXPECT_TRUE(converter.ConvertChar('A').has_value());
  EXPECT_EQ(converter.Font().Size, 1024);
  converter.SetFont(f);
  EXPECT_FALSE(converter.ConvertChar(' ').has_value());
  EXPECT_EQ(converter.Font().Size, 1024);
}

TEST(ConverterTest, CharactersWithoutOutlineGiveNothing) {
  const struct {
    const char* what;
    std::int32_t code;
  } cases[] = {{"space", 0x20}, {"no-break space", 0xA0}, {"negative", -1},
               {"beyond Unicode", 0x110000}, {"surrogate", 0xD800},
               {"unassigned, in no face", 0x0378}};
  for (const auto& c : cases) {
    TTTFToVectorConverter converter;
    converter.SetFont(font("Liberation Sans"));
    converter.SetUNICODE(true);
    EXPECT_FALSE(converter.ConvertChar(c.code).has_value()) << c.what;
  }
}

TEST(ConverterTest, EveryLetterHasClosedContours) {
  for (const char* face : {"Liberation Sans", "Liberation Serif", "DejaVu Sans", "Cantarell"}) {
    for (char c : letters()) {
      for (int precision : {1, 8}) {
        const auto strokes = convert(font(face), static_cast<unsigned char>(c), precision);
        ASSERT_TRUE(strokes.has_value()) << face << " '" << c << "'";
        EXPECT_GT(strokes->Count(), 0) << face << " '" << c << "'";
        EXPECT_TRUE(test::contoursClosed(*strokes)) << face << " '" << c << "' at " << precision;
      }
    }
  }
}

TEST(ConverterTest, LetterWithHoleHasTwoContours) {
  for (const char* face : {"Liberation Sans", "Liberation Serif", "DejaVu Sans"}) {
    const auto strokes = convert(font(face), 'o');
    ASSERT_TRUE(strokes.has_value()) << face;
    EXPECT_EQ(strokes->strokes().front().Contour, 0) << face;
    EXPECT_EQ(strokes->strokes().back().Contour, 1) << face;
  }
}

TEST(ConverterTest, PrecisionChangesOnlyCurves) {
  for (const char* face : {"Liberation Sans", "Cantarell"}) {
    for (char straight : {'I', 'H', 'L'}) {
      EXPECT_EQ(convert(font(face), straight, 1)->strokes(), convert(font(face), straight, 8)->strokes())
          << face << " '" << straight << "'";
    }
    for (char curved : {'O', 'S', 'e'}) {
      EXPECT_GT(convert(font(face), curved, 8)->Count(), convert(font(face), curved, 1)->Count())
          << face << " '" << curved << "'";
    }
  }
}

TEST(ConverterTest, MetricAliasesResolveToTheirSubstitutes) {
  const struct {
    const char* asked;
    const char* resolved;
  } cases[] = {{"Arial", "Liberation Sans"}, {"Times New Roman", "Liberation Serif"},
               {"Courier New", "Liberation Mono"}};
  for (const auto& c : cases) {
    for (bool bold : {false, true}) {
      EXPECT_EQ(convert(font(c.asked, bold), 'g')->strokes(),
                convert(font(c.resolved, bold), 'g')->strokes())
          << c.asked << (bold ? " bold" : "");
    }
  }
}

TEST(ConverterTest, StylesGiveDifferentOutlines) {
  const auto regular = convert(font("Liberation Sans"), 'a');
  const auto bold = convert(font("Liberation Sans", true), 'a');
  const auto italic = convert(font("Liberation Sans", false, true), 'a');
  const auto both = convert(font("Liberation Sans", true, true), 'a');
  ASSERT_TRUE(regular && bold && italic && both);
  EXPECT_NE(regular->strokes(), bold->strokes());
  EXPECT_NE(regular->strokes(), italic->strokes());
  EXPECT_NE(bold->strokes(), both->strokes());
  EXPECT_TRUE(test::contoursClosed(*both));
}

TEST(ConverterTest, MissingItalicIsSlantedSynthetically) {
  // Cantarell has no italic face: the upright 'I' is sheared, x + y * 0.2126, y unchanged.
  const auto upright = convert(font("Cantarell"), 'I');
  const auto slanted = convert(font("Cantarell", false, true), 'I');
  ASSERT_TRUE(upright && slanted);
  ASSERT_EQ(upright->Count(), slanted->Count());
  for (std::int32_t i = 0; i < upright->Count(); ++i) {
    const TStroke& u = upright->strokes()[i];
    const TStroke& s = slanted->strokes()[i];
    EXPECT_EQ(s.Y1, u.Y1) << i;
    EXPECT_NEAR(s.X1, u.X1 + u.Y1 * 0x0366A / 65536.0, 1.0) << i;
  }
}

TEST(ConverterTest, MissingBoldIsEmboldenedSynthetically) {
  // Cantarell Light has no bold face; fontconfig asks for emboldening.
  const auto light = convert(font("Cantarell Light"), 'I');
  const auto bold = convert(font("Cantarell Light", true), 'I');
  ASSERT_TRUE(light && bold);
  EXPECT_TRUE(test::contoursClosed(*bold));
  const TRect l = light->GetBounds(), b = bold->GetBounds();
  EXPECT_NEAR((b.Right - b.Left) - (l.Right - l.Left), kOutlineEm / 24.0, 3.0);
}

TEST(ConverterTest, MissingCharacterComesFromAFallbackFace) {
  // U+2620 is not in Liberation Sans; DejaVu Sans has it.
  const auto fromArial = convert(font("Arial"), U'\u2620');
  const auto fromDejaVu = convert(font("DejaVu Sans"), U'\u2620');
  ASSERT_TRUE(fromArial.has_value());
  ASSERT_TRUE(fromDejaVu.has_value());
  EXPECT_TRUE(test::contoursClosed(*fromArial));
  EXPECT_EQ(fromArial->strokes(), fromDejaVu->strokes());
}

// What one of fontconfig's command-line tools prints (fc-match, fc-list): its own reading of
// the installed fonts, independent of the converter's cache.
std::string fontconfigTool(const std::string& command) {
  const test::CommandOutput r = test::runCommand(command);
  if (r.status == -1) return "no fc-match";
  return r.ok() ? r.output : command + " failed: " + r.output;
}

TEST(ConverterTest, AnyPlaneAndFallbackCoverage) {
  // U+1D400 (mathematical bold A) lies outside the basic plane and outside Liberation Sans;
  // the installed DejaVu fonts have it. The fallback face must be the one fontconfig itself
  // picks for the same request, and the character must be cut from it.
  const std::string request = "Liberation Sans:weight=80:slant=0:scalable=True:charset=1d400";
  const std::string picked = fontconfigTool("fc-match -f '%{file}|%{index}' '" + request + "'");
  const auto bar = picked.find('|');
  ASSERT_NE(bar, std::string::npos) << picked;
  const std::string file = picked.substr(0, bar);
  ASSERT_NE(file.find("DejaVu"), std::string::npos) << file;
  FontLibrary& library = *FontLibrary::shared();
  auto lock = library.lock();
  const FontFace* expected = library.face(file, std::stoi(picked.substr(bar + 1)));
  ASSERT_NE(expected, nullptr);
  EXPECT_EQ(library.fallback("Liberation Sans", false, false, U'\U0001D400').face, expected);
  lock.unlock();
  const auto strokes = convert(font("Liberation Sans"), U'\U0001D400');
  ASSERT_TRUE(strokes.has_value());
  EXPECT_TRUE(test::contoursClosed(*strokes));

  // U+10FFFD (private use, plane 16) is in no installed face: nothing to cut.
  ASSERT_EQ(fontconfigTool("fc-list ':charset=10fffd' file"), "");
  EXPECT_FALSE(convert(font("Liberation Sans"), U'\U0010FFFD').has_value());
}

TEST(ConverterTest, BytesAreReadThroughTheCharacterSetsCodePage) {
  const struct {
    int charSet;
    std::uint8_t byte;
    char32_t expected;
  } cases[] = {{charset::Russian, 0xC0, U'\u0410'}, {charset::Default, 0xC0, U'\u00C0'},
               {charset::Ansi, 0x80, U'\u20AC'},    {charset::Greek, 0xC1, U'\u0391'},
               {charset::EastEurope, 0x8A, U'\u0160'}, {charset::Ansi, 'A', U'A'}};
  for (const auto& c : cases) {
    TTTFToVectorConverter byByte;
    TFontDescription f = font("Liberation Sans");
    f.CharSet = c.charSet;
    byByte.SetFont(f);
    const auto viaCodePage = byByte.ConvertChar(c.byte);
    const auto viaUnicode = convert(f, c.expected);
    ASSERT_TRUE(viaCodePage && viaUnicode) << "charset " << c.charSet << " byte " << int(c.byte);
    EXPECT_EQ(viaCodePage->strokes(), viaUnicode->strokes())
        << "charset " << c.charSet << " byte " << int(c.byte);
  }
  // Only the low byte of the code counts.
  TTTFToVectorConverter converter;
  converter.SetFont(font("Liberation Sans"));
  EXPECT_EQ(converter.ConvertChar(0x141)->strokes(), converter.ConvertChar(0x41)->strokes());
  // A byte the code page leaves undefined (0xAA in Greek) names no character.
  TFontDescription greek = font("Liberation Sans");
  greek.CharSet = charset::Greek;
  converter.SetFont(greek);
  EXPECT_FALSE(converter.ConvertChar(0xAA).has_value());
}

TEST(ConverterTest, BoundsLieInsideTheFontBox) {
  FT_Library lib = nullptr;
  ASSERT_EQ(FT_Init_FreeType(&lib), 0);
  FT_Face face = nullptr;
  ASSERT_EQ(FT_New_Face(lib, "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf", 0,
                        &face),
            0);
  const double scale = kOutlineEm / static_cast<double>(face->units_per_EM);
  const FT_BBox box = face->bbox;
  FT_Done_Face(face);
  FT_Done_FreeType(lib);
  for (char c : letters()) {
    const auto strokes = convert(font("Liberation Sans"), static_cast<unsigned char>(c));
    ASSERT_TRUE(strokes.has_value()) << c;
    const TRect r = strokes->GetBounds();
    EXPECT_GE(r.Left, std::floor(box.xMin * scale)) << c;
    EXPECT_LE(r.Right, std::ceil(box.xMax * scale)) << c;
    EXPECT_GE(r.Top, std::floor(box.yMin * scale)) << c;
    EXPECT_LE(r.Bottom, std::ceil(box.yMax * scale)) << c;
  }
  // Descenders lie below the baseline, capitals stand on it.
  EXPECT_LT(convert(font("Liberation Sans"), 'g')->GetBounds().Top, 0);
  EXPECT_EQ(convert(font("Liberation Sans"), 'H')->GetBounds().Top, 0);
}

TEST(ConverterTest, UnknownFaceNameStillConverts) {
  // fontconfig answers every family with its best face, as the editor shows it.
  const auto strokes = convert(font("No Such Face Anywhere"), 'A');
  ASSERT_TRUE(strokes.has_value());
  EXPECT_TRUE(test::contoursClosed(*strokes));
}

TEST(ScriptFaceNameTest, WindowsScriptSuffixesNameTheBaseFace) {
  EXPECT_EQ(scriptFaceBaseName("Arial CE"), "Arial");
  EXPECT_EQ(scriptFaceBaseName("Arial Cyr"), "Arial");
  EXPECT_EQ(scriptFaceBaseName("Times New Roman Greek"), "Times New Roman");
  EXPECT_EQ(scriptFaceBaseName("Courier New Tur"), "Courier New");
  EXPECT_EQ(scriptFaceBaseName("Times New Roman Baltic"), "Times New Roman");
  EXPECT_EQ(scriptFaceBaseName("Arial"), std::nullopt);
  EXPECT_EQ(scriptFaceBaseName("Arial ce"), std::nullopt) << "Windows spells them so";
  EXPECT_EQ(scriptFaceBaseName("Arial Cyrillic"), std::nullopt);
  EXPECT_EQ(scriptFaceBaseName("ArialCE"), std::nullopt);
  EXPECT_EQ(scriptFaceBaseName(" CE"), std::nullopt);
  EXPECT_EQ(scriptFaceBaseName(""), std::nullopt);
}

TEST(FontLibraryTest, ScriptSuffixedNamesMatchTheirBaseFace) {
  // fontconfig has no "Arial CE" and would answer its default face (DejaVu Sans here); the
  // faces standing in for Arial and Times New Roman are the Liberation ones.
  FontLibrary library;
  auto lock = library.lock();
  const FontFace* sans = library.match("Liberation Sans", false, false).face;
  const FontFace* sansBold = library.match("Liberation Sans", true, false).face;
  const FontFace* serif = library.match("Liberation Serif", false, false).face;
  const FontFace* fallback = library.match("No Such Face CE", false, false).face;
  ASSERT_TRUE(sans && sansBold && serif && fallback);
  ASSERT_NE(sans, library.match("Arial XY", false, false).face) << "the default face differs";
  EXPECT_EQ(library.match("Arial CE", false, false).face, sans);
  EXPECT_EQ(library.match("Arial Cyr", false, false).face, sans);
  EXPECT_EQ(library.match("Arial Baltic", true, false).face, sansBold);
  EXPECT_EQ(library.match("Times New Roman Greek", false, false).face, serif);
  EXPECT_EQ(library.match("Times New Roman Tur", false, false).face, serif);
  EXPECT_EQ(library.match("Arial", false, false).face, sans);
  // A missing character is looked for from the base face too.
  EXPECT_EQ(library.fallback("Arial CE", false, false, U'\u2620').face,
            library.fallback("Arial", false, false, U'\u2620').face);
}

TEST(ConverterTest, ScriptSuffixedFaceKeepsTheDocumentsCharacterSet) {
  // "Arial CE" with the Central European set: byte 0x8A is S caron, cut in Arial's stand-in.
  TFontDescription ce = font("Arial CE");
  ce.CharSet = charset::EastEurope;
  TTTFToVectorConverter byByte;
  byByte.SetFont(ce);
  const auto viaCodePage = byByte.ConvertChar(0x8A);
  const auto inBaseFace = convert(font("Liberation Sans"), U'\u0160');
  ASSERT_TRUE(viaCodePage && inBaseFace);
  EXPECT_EQ(viaCodePage->strokes(), inBaseFace->strokes());
  EXPECT_EQ(byByte.Font().Name, "Arial CE");
  EXPECT_EQ(byByte.Font().CharSet, charset::EastEurope);
}

TEST(ConverterTest, FontEngineThatCannotStartIsAnError) {
  // Every character would otherwise be "no outline", and an export an empty drawing that
  // looks like success.
  const auto fonts = std::make_shared<FontLibrary>([](FT_LibraryRec_**) { return 0x40; });
  TTTFToVectorConverter converter(fonts);
  EXPECT_ERROR_MSG(converter.ConvertChar('A'),
                   "The font engine (FreeType) could not be started (error 64), so no character "
                   "can be converted.");
  converter.SetUNICODE(true);
  EXPECT_THROW(converter.ConvertChar(U'\u20AC'), Error);
}

TEST(FontLibraryTest, UnusableFilesGiveNoFace) {
  FontLibrary library;
  auto lock = library.lock();
  const std::string data = KERFLINE_TEST_DATA_DIR "/vectorizer/";
  EXPECT_EQ(library.face(data + "bitmap_only.bdf", 0), nullptr) << "a bitmap font has no outlines";
  EXPECT_EQ(library.face(data + "no_such_file.ttf", 0), nullptr);
  EXPECT_EQ(library.face(KERFLINE_SOURCE_DIR "/CMakeLists.txt", 0), nullptr);
  EXPECT_NE(library.face("/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf", 0),
            nullptr);
  EXPECT_EQ(library.face("/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf", 7),
            nullptr) << "face index beyond the file";
}

TEST(FontLibraryTest, FacesAreOpenedOnce) {
  FontLibrary library;
  auto lock = library.lock();
  const FaceMatch& a = library.match("Arial", false, false);
  const FaceMatch& b = library.match("Liberation Sans", false, false);
  ASSERT_NE(a.face, nullptr);
  EXPECT_EQ(a.face, b.face);
  EXPECT_EQ(&a, &library.match("Arial", false, false));
}

}  // namespace
}  // namespace kerfline
