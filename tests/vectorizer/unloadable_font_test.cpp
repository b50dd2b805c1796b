// Fonts that fontconfig or a document may name but that cannot be loaded whole: each failure
// is noted once, as data, and the glyph gives nothing instead of hanging or eating memory.
#include <gtest/gtest.h>

#include <string>

#include "command_output.h"
#include "temp_dir.h"
#include "vectorizer/UTTF2Vct.h"
#include "vectorizer/font_library.h"

namespace kerfline {
namespace {

constexpr const char* kSource = "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf";

// A broken copy of the source font made by the independent font library (fontTools); the
// glyph index of the character it broke (0 for a file broken as a whole).
std::uint32_t makeBrokenFont(const std::string& dest, const std::string& kind, char c = 0) {
  std::string command = "/usr/bin/python3 " KERFLINE_SOURCE_DIR
                        "/tests/vectorizer/make_broken_font.py '" +
                        std::string(kSource) + "' '" + dest + "' " + kind;
  if (c != 0) command += std::string(" ") + c;
  const test::CommandOutput made = test::runCommand(command + " 2>&1");
  EXPECT_TRUE(made.ok()) << made.output;
  return c != 0 ? static_cast<std::uint32_t>(std::stoul(made.output)) : 0;
}

TFaceInfo faceOf(const std::string& file) {
  TFaceInfo face;
  face.file = file;
  return face;
}

TEST(UnloadableFontTest, HostileGlyphsAreNotedOnceAndGiveNothing) {
  const test::TempDir dir;
  struct Case {
    const char* kind;
    char broken;            // the character made hostile
    int offset;             // the glyph that fails: broken's, or the next one's
    const char* reason;
  };
  const Case cases[] = {
      // FreeType answers a composite loop itself.
      {"self-composite", 'A', 0, "invalid composite glyph"},
      // FreeType refuses 4,095 contours or more in one simple glyph.
      {"many-contours", 'B', 0, "invalid outline"},
      // Five parts of 1,000 contours pass FreeType; the converter's own bound stops them.
      {"many-parts", 'B', 1, "5000 contours, more than the 4096 a glyph may have"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.kind);
    const std::string file = dir.file(std::string(k.kind) + ".ttf");
    const std::uint32_t glyph = makeBrokenFont(file, k.kind, k.broken) + k.offset;
    TTTFToVectorConverter converter;
    EXPECT_FALSE(converter.ConvertGlyph(faceOf(file), glyph));
    EXPECT_FALSE(converter.ConvertGlyph(faceOf(file), glyph)) << "asked twice, noted once";
    EXPECT_EQ(converter.LoadFailures(),
              (std::vector<LoadFailure>{{file, 0, glyph, 0, k.reason}}));
    // The glyphs around it are untouched.
    EXPECT_TRUE(converter.ConvertGlyph(faceOf(file), glyph + 2));
    EXPECT_EQ(converter.LoadFailures().size(), 1u);
    converter.ClearLoadFailures();
    EXPECT_TRUE(converter.LoadFailures().empty());
  }
}

TEST(UnloadableFontTest, AFileThatCannotBeOpenedIsNamedWithFreeTypesReason) {
  const test::TempDir dir;
  const std::string file = dir.file("truncated.ttf");
  makeBrokenFont(file, "truncated");
  TTTFToVectorConverter converter;
  EXPECT_FALSE(converter.ConvertGlyph(faceOf(file), 36));
  EXPECT_FALSE(converter.GlyphAndAdvance(faceOf(file), U'A'));
  const std::vector<LoadFailure> expected{{file, 0, std::nullopt, 0, "locations (loca) table missing"}};
  EXPECT_EQ(converter.LoadFailures(), expected);
  EXPECT_EQ(loadFailureText(expected[0]),
            "font file '" + file +
                "' cannot be loaded: locations (loca) table missing; its characters are treated as ones the font lacks");
  // A file that is fine leaves nothing to report.
  TTTFToVectorConverter fine;
  EXPECT_TRUE(fine.ConvertGlyph(faceOf(kSource), 36));
  EXPECT_TRUE(fine.LoadFailures().empty());
}

TEST(UnloadableFontTest, ManyFailuresAreToldInAFewLines) {
  std::vector<LoadFailure> failures;
  for (std::uint32_t g = 1; g <= 25; ++g) failures.push_back({"f.ttf", 0, g, U'A', "bad"});
  const std::vector<std::string> lines = loadFailureLines(failures, 10);
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_EQ(lines[0],
            "glyph 1 (U+0041) of font file 'f.ttf' cannot be loaded: bad; the character is "
            "treated as one the font lacks");
  EXPECT_EQ(lines[9], "and 16 more faces or glyphs that cannot be loaded");
  EXPECT_EQ(loadFailureLines({failures.begin(), failures.begin() + 10}, 10).size(), 10u);
}

}  // namespace
}  // namespace kerfline
