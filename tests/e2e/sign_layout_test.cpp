// End-to-end: the sign layout as kerfline-convert writes it, read back by ezdxf and compared
// with shapely's own transforms of the plain text (check_sign.py): mirror, rotation, slant and
// stretch about the anchor; a badge whose frame keeps its margin and whose holes sit at their
// centres; a text too long for its circle refused with nothing written. Text on a path against
// Inkscape's own text on a path and a stand-in placed from fontTools outlines and hb-shape
// advances (check_path_layout.py).
#include <gtest/gtest.h>

#include "command_output.h"
#include "temp_dir.h"

namespace kerfline::e2e {
namespace {

TEST(sign_layout_test, transforms_frame_and_holes_agree_with_shapely) {
  const kerfline::test::TempDir dir;
  const test::CommandOutput run = test::runCommand(
      "/usr/bin/python3 " KERFLINE_SOURCE_DIR "/tests/e2e/check_sign.py '" KERFLINE_CONVERT_EXE
      "' '" + dir.path().string() + "' 2>&1");
  EXPECT_TRUE(run.ok()) << run.output;
}

TEST(sign_layout_test, text_on_a_path_agrees_with_an_independent_placement) {
  const kerfline::test::TempDir dir;
  const test::CommandOutput run = test::runCommand(
      "/usr/bin/python3 " KERFLINE_SOURCE_DIR "/tests/e2e/check_path_layout.py '" KERFLINE_CONVERT_EXE
      "' '" + dir.path().string() + "' 2>&1");
  EXPECT_TRUE(run.ok()) << run.output;
}

}  // namespace
}  // namespace kerfline::e2e
