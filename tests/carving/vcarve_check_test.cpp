// The whole V-carving measured from outside: kerfline-convert writes the letters' outline (the
// closed DXF form) and their carving (G-code); check_carving.py reads the outline with ezdxf and
// the program through the npm G-code interpreter, and measures with shapely how far the cone's
// footprint passes the outline and how much of the letters it leaves uncut.
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

// Faces and sizes (the classic scale: 72 points make capitals about 13 mm tall), bit angles,
// a welded pair of overlapping lines, and flat floors cleared by the V-bit or an end mill.
TEST(vcarve_check_test, the_cone_stays_inside_the_outline_and_covers_the_letters) {
  struct Case {
    const char* name;
    std::string text;   // --text and the face; the same for outline and carving
    std::string angle;  // --bit-angle
    std::string carve;  // the carving's other options
    double clearTool;   // 0: none
  };
  const std::vector<Case> cases = {
      {"DejaVu Sans 72", "--text Kerf --font 'DejaVu Sans' --size 72", "60", "", 0},
      {"DejaVu Serif 36", "--text 'Ha 12' --font 'DejaVu Serif' --size 36", "90", "", 0},
      {"Liberation Serif 150", "--text Ag --font 'Liberation Serif' --size 150", "30",
       "--depth-per-pass 1", 0},
      {"welded overlapping lines",
       "--text \"$(printf 'OO\\nOO')\" --pitch 8 --weld --font 'DejaVu Sans' --size 72", "60", "", 0},
      {"flat floor by the V-bit", "--text Bo --font 'DejaVu Sans' --size 150", "60",
       "--max-depth 1.2", 0},
      // The floor 8 wide: without the end mill's program the V-bit leaves 15 % of it uncut.
      {"flat floor by an end mill", "--text o --font 'DejaVu Sans' --size 300", "60",
       "--max-depth 1 --clear-tool 2 --clear-output clear.nc", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const test::TempDir dir;
    const test::CommandOutput outline = convert(dir.path(), c.text + " -f closed", "outline.dxf");
    ASSERT_TRUE(outline.ok()) << outline.output;
    const test::CommandOutput carving = convert(
        dir.path(), c.text + " -f gcode --cut vcarve --bit-angle " + c.angle + " " + c.carve, "carve.nc");
    ASSERT_TRUE(carving.ok()) << carving.output;
    std::string command = "/usr/bin/python3 " KERFLINE_SOURCE_DIR "/tests/carving/check_carving.py " +
                          quoted(dir.path() / "outline.dxf") + " " + c.angle + " " +
                          quoted(dir.path() / "carve.nc");
    if (c.clearTool > 0)
      command += " " + std::to_string(c.clearTool) + " " + quoted(dir.path() / "clear.nc");
    const test::CommandOutput check = test::runCommand(command + " 2>&1");
    ASSERT_TRUE(check.ok()) << check.output;
    std::istringstream in(check.output);
    double moves = 0, samples = 0, overcut = 1, p99 = 1, coverage = 0, uncut = 1, area = 0;
    in >> moves >> samples >> overcut >> p99 >> coverage >> uncut >> area;
    ASSERT_FALSE(in.fail()) << check.output;
    EXPECT_GT(area, 10) << check.output;  // the letters are there at all
    EXPECT_LE(overcut, 0.005) << check.output;
    EXPECT_LE(p99, 0.002) << check.output;
    EXPECT_GE(coverage, 0.9995) << check.output;
    EXPECT_LE(uncut, 0.01) << check.output;
  }
}

// An inlay's two programs fitted together by check_inlay.py: both read by rs274 and the npm
// interpreter, each part's surface swept from its moves, the plug turned over and lowered
// until it touches. Inside the letters every gap lies between 0 and the glue gap, and the
// walls bear (the smallest gap is 0): a plug held off by its background, or cut for another
// gap, fails. Letters about 20 mm tall; a pocket deeper than the letters need, and floors
// cleared by the V-bit or an end mill.
TEST(vcarve_check_test, an_inlays_plug_fills_its_pocket_leaving_the_glue_gap) {
  struct Case {
    const char* name;
    std::string angle;
    std::string carve;  // both parts' options
    double glueGap;
    double floor;       // the pocket's floor depth; 0: the letters never reach it
    double clearTool;   // 0: none
  };
  const std::vector<Case> cases = {
      {"60 deg, no floor", "60", "--max-depth 3", 0.5, 0, 0},
      {"90 deg, floor by the V-bit", "90", "--inlay-depth 1 --glue-gap 0.3", 0.3, 1, 0},
      {"60 deg, floor by an end mill", "60", "--max-depth 1.5 --clear-tool 3.175", 0.5, 1.5, 3.175},
  };
  const std::string text = "--text Ab --font 'DejaVu Sans' --size 110";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const test::TempDir dir;
    ASSERT_TRUE(convert(dir.path(), text + " -f closed", "outline.dxf").ok());
    for (const std::string part : {"female", "male"}) {
      std::string args = text + " -f gcode --cut vcarve --bit-angle " + c.angle + " " + c.carve +
                         " --inlay " + part;
      if (c.clearTool > 0) args += " --clear-output " + part + "-clear.nc";
      const test::CommandOutput carving = convert(dir.path(), args, part + ".nc");
      ASSERT_TRUE(carving.ok()) << carving.output;
    }
    std::string command = "cd " + quoted(dir.path()) + " && /usr/bin/python3 " KERFLINE_SOURCE_DIR
                          "/tests/carving/check_inlay.py outline.dxf " + c.angle + " 2 female.nc male.nc";
    if (c.clearTool > 0)
      command += " " + std::to_string(c.clearTool) + " female-clear.nc male-clear.nc";
    const test::CommandOutput check = test::runCommand(command + " 2>&1");
    ASSERT_TRUE(check.ok()) << check.output;
    std::istringstream in(check.output);
    double samples = 0, smallest = -1, largest = 1e9, depth = 0;
    in >> samples >> smallest >> largest >> depth;
    ASSERT_FALSE(in.fail()) << check.output;
    EXPECT_GT(samples, 20000) << check.output;  // 0.05 mm cells inside two letters
    EXPECT_GE(smallest, -0.01) << check.output;
    EXPECT_LE(smallest, 0.01) << check.output;
    EXPECT_LE(largest, c.glueGap + 0.01) << check.output;
    if (c.floor > 0) {
      EXPECT_NEAR(depth, c.floor, 0.001) << check.output;
    }
  }
}

}  // namespace
}  // namespace kerfline
