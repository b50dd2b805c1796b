// End-to-end: kerfline-convert with fonts that fontconfig lists but that cannot be loaded whole.
// A private fontconfig configuration registers broken copies of a real font.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "command_output.h"
#include "process.h"
#include "temp_dir.h"

namespace kerfline::e2e {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSource = "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf";

class UnloadableFontTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir_.path() / "bin");
    fs::create_directories(dir_.path() / "fonts");
    fs::copy_file(KERFLINE_CONVERT_EXE, dir_.path() / "bin" / "kerfline-convert");
    spit(dir_.path() / "fonts.conf", "<?xml version=\"1.0\"?>\n<fontconfig><dir>" + dir_.file("fonts") +
                                         "</dir><cachedir>" + dir_.file("cache") +
                                         "</cachedir></fontconfig>\n");
  }
  // dest (a copy of the source font at first) with character c broken as kind says (fontTools).
  void breakFont(const std::string& dest, const std::string& kind, char c) {
    const std::string from = fs::exists(dest) ? dest : kSource;
    const std::string tmp = dir_.file("tmp.ttf");
    const test::CommandOutput made = test::runCommand(
        "/usr/bin/python3 " KERFLINE_SOURCE_DIR "/tests/vectorizer/make_broken_font.py '" + from +
        "' '" + tmp + "' " + kind + " " + c + " 2>&1");
    ASSERT_TRUE(made.ok()) << made.output;
    fs::rename(tmp, dest);
  }
  void cacheFonts() {
    const test::CommandOutput cached =
        test::runCommand("FONTCONFIG_FILE='" + dir_.file("fonts.conf") + "' fc-cache -f 2>&1");
    ASSERT_TRUE(cached.ok()) << cached.output;
  }
  ProcessResult convert(std::vector<std::string> args) {
    ProcessSetup setup;
    setup.setEnv = {"FONTCONFIG_FILE=" + dir_.file("fonts.conf")};
    setup.unsetEnv = {"KERFLINE_SETTINGS"};
    args.insert(args.begin(), {"--font", "Liberation Sans"});
    return runProcess(dir_.file("bin/kerfline-convert"), args, dir_.path().string(), setup);
  }

  test::TempDir dir_;
};

TEST_F(UnloadableFontTest, glyphsThatCannotBeLoadedAreNamedAndLeftOutAsMissingOnes) {
  const std::string font = dir_.file("fonts/broken.ttf");
  breakFont(font, "many-contours", 'B');
  breakFont(font, "self-composite", 'A');  // last: no bounds can be computed after it
  cacheFonts();
  const ProcessResult r = convert({"--report", "--text", "ABCD", "-o", "abcd.dxf"});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string a = "glyph 36 (U+0041) of font file '" + font +
                        "' cannot be loaded: invalid composite glyph; the character is treated "
                        "as one the font lacks";
  const std::string b = "glyph 37 (U+0042) of font file '" + font + "' cannot be loaded: invalid outline";
  EXPECT_NE(r.err.find("kerfline-convert: abcd.dxf: " + a + '\n'), std::string::npos) << r.err;
  EXPECT_NE(r.err.find(b), std::string::npos) << r.err;
  EXPECT_NE(r.out.find("  " + a + '\n'), std::string::npos) << r.out;
  EXPECT_NE(r.out.find(b), std::string::npos) << r.out;
  // A missing first character advances by the widest character before it on its line, none:
  // C and D stand where they stand in a text of their own.
  ASSERT_EQ(convert({"--text", "CD", "-o", "cd.dxf"}).status, 0);
  const std::string cd = slurp(dir_.path() / "cd.dxf");
  EXPECT_NE(cd.find("LINE"), std::string::npos);
  EXPECT_EQ(slurp(dir_.path() / "abcd.dxf"), cd);
}

TEST_F(UnloadableFontTest, aFaceThatCannotBeOpenedFailsTheJobAndKeepsTheOldFile) {
  const std::string font = dir_.file("fonts/cut.ttf");
  fs::copy_file(kSource, font);
  cacheFonts();
  // Cut short after fontconfig cached it, as an interrupted copy or update leaves it.
  fs::resize_file(font, 2000);
  spit(dir_.path() / "old.dxf", "the previous drawing");
  for (const char* form : {"lines", "svg"}) {
    SCOPED_TRACE(form);
    const ProcessResult r = convert({"--format", form, "--text", "Kerf", "-o", "old.dxf"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "kerfline-convert: old.dxf: Nothing could be drawn: font file '" + font +
                         "' cannot be loaded: locations (loca) table missing; its characters are "
                         "treated as ones the font lacks.\n");
    EXPECT_EQ(slurp(dir_.path() / "old.dxf"), "the previous drawing");
  }
  // White space alone draws nothing with any face: written as before, the face still named.
  const ProcessResult blank = convert({"--text", "  ", "-o", "blank.dxf"});
  EXPECT_EQ(blank.status, 0) << blank.err;
  EXPECT_TRUE(fs::exists(dir_.path() / "blank.dxf"));
  EXPECT_NE(blank.err.find("font file '" + font + "' cannot be loaded"), std::string::npos);
}

}  // namespace
}  // namespace kerfline::e2e
