// The V-carving's DXF and SVG forms read back by independent readers: ezdxf takes the DXF's
// 3-D polylines, whose vertices must be the very points the npm interpreter finds in the
// G-code of the same carving; rsvg-convert draws the SVG, whose strokes, as wide as the bit
// cuts at their depth, must ink the letters of the outline and not beyond.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "command_output.h"
#include "convert_in_folder.h"
#include "temp_dir.h"

namespace kerfline {
namespace {

namespace fs = std::filesystem;

using test::convert;
using test::quoted;

test::CommandOutput check(const std::string& args) {
  return test::runCommand("/usr/bin/python3 " KERFLINE_SOURCE_DIR
                          "/tests/carving/check_carve_forms.py " + args + " 2>&1");
}

// Both DXF versions, a flat floor's passes, passes split by depth, and the clearing program
// written in the same form as the V-bit's.
TEST(vcarve_forms_test, dxf_polylines_hold_the_points_the_gcode_cuts) {
  struct Case {
    const char* name;
    std::string args;  // the carving's options, for the DXF and the G-code alike
    bool clearing;     // also compare the clearing program's two forms
  };
  const std::string text = "--text Kerf --font 'DejaVu Serif' --size 72 --cut vcarve ";
  const std::vector<Case> cases = {
      {"R12, flat floor by the V-bit", text + "--max-depth 1", false},
      {"R2000, passes by depth", text + "--depth-per-pass 0.4 --bit-angle 90", false},
      {"R2000, clearing program", text + "--max-depth 0.5 --clear-tool 0.2 --clear-output clear", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const test::TempDir dir;
    const std::string version = c.name[1] == '1' ? "12" : "2000";
    const auto fixOutput = [&](const std::string& form) {
      std::string args = c.args;
      const std::size_t at = args.find("--clear-output clear");
      if (at != std::string::npos) args.insert(at + 20, form == "closed" ? ".dxf" : ".nc");
      return args + " -f " + form + (form == "closed" ? " --dxf-version " + version : "");
    };
    const test::CommandOutput dxf = convert(dir.path(), fixOutput("closed"), "carve.dxf");
    ASSERT_TRUE(dxf.ok()) << dxf.output;
    const test::CommandOutput gcode = convert(dir.path(), fixOutput("gcode"), "carve.nc");
    ASSERT_TRUE(gcode.ok()) << gcode.output;
    std::vector<std::string> pairs = {"carve"};
    if (c.clearing) pairs.push_back("clear");
    for (const std::string& name : pairs) {
      SCOPED_TRACE(name);
      const test::CommandOutput read =
          check("dxf " + quoted(dir.path() / (name + ".dxf")) + " " + quoted(dir.path() / (name + ".nc")));
      ASSERT_TRUE(read.ok()) << read.output;
      std::istringstream in(read.output);
      double entities = 0, polylines = 0, errors = 1, points = 0, worst = 1;
      in >> entities >> polylines >> errors >> points >> worst;
      ASSERT_FALSE(in.fail()) << read.output;
      EXPECT_GT(polylines, 0) << read.output;
      EXPECT_EQ(entities, polylines) << read.output;  // nothing but 3-D polylines
      EXPECT_EQ(errors, 0) << read.output;
      EXPECT_GT(points, 10) << read.output;
      // The G-code prints 4 decimals, the DXF single precision: within 1e-4 of each other.
      EXPECT_LE(worst, 1e-4) << read.output;
    }
  }
}

// Drawn at 20 dots per mm, the strokes ink the letters (more than a pixel inside the outline)
// and almost nothing more than a pixel outside. Hairlines alone would ink a few per cent.
TEST(vcarve_forms_test, svg_strokes_as_wide_as_the_cut_ink_the_letters) {
  const std::vector<std::string> cases = {
      "--text Kerf --font 'DejaVu Serif' --size 72",
      "--text Ag --font 'Liberation Sans' --size 150 --max-depth 1.2",
  };
  for (const std::string& text : cases) {
    SCOPED_TRACE(text);
    const test::TempDir dir;
    const test::CommandOutput outline = convert(dir.path(), text + " -f closed", "outline.dxf");
    ASSERT_TRUE(outline.ok()) << outline.output;
    const test::CommandOutput svg = convert(dir.path(), text + " -f svg --cut vcarve", "carve.svg");
    ASSERT_TRUE(svg.ok()) << svg.output;
    const test::CommandOutput read = check("svg " + quoted(dir.path() / "carve.svg") + " " +
                                           quoted(dir.path() / "outline.dxf") + " 20");
    ASSERT_TRUE(read.ok()) << read.output;
    std::istringstream in(read.output);
    double inked = 0, outside = 1;
    in >> inked >> outside;
    ASSERT_FALSE(in.fail()) << read.output;
    EXPECT_GE(inked, 0.98) << read.output;
    EXPECT_LT(outside, 0.02) << read.output;
  }
}

}  // namespace
}  // namespace kerfline
