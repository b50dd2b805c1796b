#include "appcore/toolpath_settings.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "appcore/settings_file.h"

namespace kerfline {
namespace {

namespace fs = std::filesystem;

class IniFile {
 public:
  IniFile() : path_(fs::temp_directory_path() / ("kerfline-toolpath-" + std::to_string(::getpid()) + ".ini")) {}
  ~IniFile() { fs::remove(path_); }
  std::string path() const { return path_.string(); }
  void write(const std::string& bytes) const { std::ofstream(path_, std::ios::binary) << bytes; }
  std::string read() const {
    std::ifstream in(path_, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }

 private:
  fs::path path_;
};

TEST(toolpath_settings_test, every_setting_comes_back_exactly_and_the_layer_keys_stay) {
  IniFile ini;
  ini.write("[Layer]\r\nLayer=CUT\r\nZup=2.5\r\nZdown=-0.3\r\n");
  ConversionOptions saved;
  saved.weld = true;
  saved.kerf = 0.1 + 0.2;  // no short decimal: must still come back bit for bit
  saved.kerfSide = KerfSide::Inside;
  saved.gcode.feed = 1234.5;
  saved.gcode.plungeFeed = 300;
  saved.gcode.spindleRpm = 18000;
  saved.gcode.depthPerPass = 0.25;
  saved.gcode.laser = true;
  saved.gcode.power = 0;
  saveToolpathSettings(ini.path(), saved);

  ConversionOptions loaded;
  loadToolpathSettings(ini.path(), loaded);
  EXPECT_TRUE(loaded.weld);
  EXPECT_EQ(loaded.kerf, saved.kerf);
  EXPECT_EQ(loaded.kerfSide, KerfSide::Inside);
  EXPECT_EQ(loaded.gcode.feed, 1234.5);
  EXPECT_EQ(loaded.gcode.plungeFeed, 300);
  EXPECT_EQ(loaded.gcode.spindleRpm, 18000);
  EXPECT_EQ(loaded.gcode.depthPerPass, 0.25);
  EXPECT_TRUE(loaded.gcode.laser);
  EXPECT_EQ(loaded.gcode.power, 0);
  EXPECT_EQ(Loadini(ini.path()), (LayerSettings{"CUT", "2.5", "-0.3"}));

  // Unset values are written empty and read back unset.
  saveToolpathSettings(ini.path(), ConversionOptions{});
  loadToolpathSettings(ini.path(), loaded);
  EXPECT_FALSE(loaded.weld);
  EXPECT_EQ(loaded.kerf, std::nullopt);
  EXPECT_EQ(loaded.gcode.spindleRpm, std::nullopt);
  EXPECT_EQ(loaded.gcode.feed, std::nullopt);
  EXPECT_NE(ini.read().find("[Export]\r\nWeld=0\r\nKerf=\r\nKerfSide=outside\r\n"), std::string::npos)
      << ini.read();
}

TEST(toolpath_settings_test, fills_come_back_and_are_written_only_once_chosen) {
  IniFile ini;
  ini.write("[Layer]\r\nLayer=0\r\n");
  saveToolpathSettings(ini.path(), ConversionOptions{});
  EXPECT_EQ(ini.read().find("Cut="), std::string::npos) << ini.read();
  EXPECT_EQ(ini.read().find("Interval="), std::string::npos) << ini.read();

  ConversionOptions saved;
  saved.cut = CutOperation::Pocket;
  saved.fill.toolDiameter = 3.175;
  saved.fill.stepOver = 0.1 + 0.2;
  saved.fill.background = true;
  saved.fill.margin = 5;
  saved.fill.crossHatch = true;
  saveToolpathSettings(ini.path(), saved);
  ConversionOptions loaded;
  loadToolpathSettings(ini.path(), loaded);
  EXPECT_EQ(loaded.cut, CutOperation::Pocket);
  EXPECT_EQ(loaded.fill, saved.fill);

  // Back to the profile: every fill key is cleared, and reads back as not set.
  saveToolpathSettings(ini.path(), ConversionOptions{});
  loadToolpathSettings(ini.path(), loaded);
  EXPECT_EQ(loaded.cut, CutOperation::Profile);
  EXPECT_EQ(loaded.fill, FillOptions{});
}

// An inlay's part and numbers live in [Carve], written once a carving or an inlay is chosen.
TEST(toolpath_settings_test, an_inlay_comes_back_and_is_cleared_with_the_carving) {
  IniFile ini;
  ini.write("[Layer]\r\nLayer=0\r\n");
  saveToolpathSettings(ini.path(), ConversionOptions{});
  EXPECT_EQ(ini.read().find("Inlay"), std::string::npos) << ini.read();

  ConversionOptions saved;
  saved.cut = CutOperation::VCarve;
  saved.vcarve.inlay = InlayPart::Male;
  saved.vcarve.inlayDepth = 0.1 + 0.2;
  saved.vcarve.inlayMargin = 0;
  saved.vcarve.glueGap = 0.25;
  saveToolpathSettings(ini.path(), saved);
  ConversionOptions loaded;
  loadToolpathSettings(ini.path(), loaded);
  EXPECT_EQ(loaded.vcarve.inlay, InlayPart::Male);
  EXPECT_EQ(loaded.vcarve.inlayDepth, saved.vcarve.inlayDepth);
  EXPECT_EQ(loaded.vcarve.inlayMargin, 0);
  EXPECT_EQ(loaded.vcarve.glueGap, 0.25);

  saveToolpathSettings(ini.path(), ConversionOptions{});
  loadToolpathSettings(ini.path(), loaded);
  EXPECT_EQ(loaded.vcarve.inlay, InlayPart::None);
  EXPECT_EQ(loaded.vcarve.glueGap, std::nullopt);
}

TEST(toolpath_settings_test, edited_values_that_make_no_sense_are_ignored) {
  IniFile ini;
  ini.write("[Export]\r\nWeld=yes\r\nKerf=-0.2\r\nKerfSide=left\r\nFeed=6oo\r\n"
            "PlungeFeed=0\r\nSpindle=1.5\r\nDepthPerPass=nan\r\nLaser=2\r\nPower=-1\r\n");
  ConversionOptions o;
  o.kerf = 0.15;
  o.gcode.feed = 500;
  o.gcode.spindleRpm = 10000;
  loadToolpathSettings(ini.path(), o);
  EXPECT_FALSE(o.weld);
  EXPECT_EQ(o.kerf, 0.15);
  EXPECT_EQ(o.kerfSide, KerfSide::Outside);
  EXPECT_EQ(o.gcode.feed, 500);
  EXPECT_EQ(o.gcode.plungeFeed, std::nullopt);
  EXPECT_EQ(o.gcode.spindleRpm, 10000);
  EXPECT_EQ(o.gcode.depthPerPass, std::nullopt);
  EXPECT_FALSE(o.gcode.laser);
  EXPECT_EQ(o.gcode.power, std::nullopt);
}

}  // namespace
}  // namespace kerfline
