// Every Latin-1 letter of one face of each installed family carved at 10 mm and measured by
// the checker (sweep_faces.py): no letter lost or broken, the whole set covered. The full
// sweep (ASCII too, 2 and 100 mm, every face, welded rows) is run by hand: it takes an hour.
#include <gtest/gtest.h>

#include <string>

#include "command_output.h"

namespace kerfline {
namespace {

// One face per case, so that each runs (and times out) on its own.
class vcarve_faces_test : public ::testing::TestWithParam<const char*> {};

TEST_P(vcarve_faces_test, every_latin1_letter_carves) {
  const test::CommandOutput sweep = test::runCommand(
      "/usr/bin/python3 " KERFLINE_SOURCE_DIR "/tests/carving/sweep_faces.py " KERFLINE_CONVERT_EXE
      " --latin1 --sizes 10 '" + std::string(GetParam()) + "' 2>&1");
  EXPECT_TRUE(sweep.ok()) << sweep.output;
}

INSTANTIATE_TEST_SUITE_P(one_face_per_family, vcarve_faces_test,
                         ::testing::Values("DejaVu Sans", "Liberation Serif", "URW Gothic"));

}  // namespace
}  // namespace kerfline
