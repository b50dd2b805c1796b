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
#include "temp_dir.h"

namespace kerfline {
namespace {

namespace fs = std::filesystem;

std::string quoted(const fs::path& p) { return "'" + p.string() + "'"; }

test::CommandOutput convert(const fs::path& dir, const std::string& args, const std::string& out) {
  return test::runCommand("cd " + quoted(dir) + " && " KERFLINE_CONVERT_EXE " " + args + " -o " +
                          out + " 2>&1");
}

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

}  // namespace
}  // namespace kerfline
