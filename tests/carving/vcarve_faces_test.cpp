// Every Latin-1 letter of one face of each installed family carved at 10 mm and measured by
// the checker (sweep_faces.py): no letter lost or broken, the whole set covered. The full
// sweep (ASCII too, 2 and 100 mm, every face, welded rows) is run by hand: it takes an hour.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "command_output.h"

namespace kerfline {
namespace {

TEST(vcarve_faces_test, every_latin1_letter_of_each_family_carves) {
  const std::vector<std::string> faces = {"DejaVu Sans", "Liberation Serif", "URW Gothic"};
  for (const std::string& face : faces) {
    SCOPED_TRACE(face);
    const test::CommandOutput sweep = test::runCommand(
        "/usr/bin/python3 " KERFLINE_SOURCE_DIR "/tests/carving/sweep_faces.py " KERFLINE_CONVERT_EXE
        " --latin1 --sizes 10 '" + face + "' 2>&1");
    EXPECT_TRUE(sweep.ok()) << sweep.output;
  }
}

}  // namespace
}  // namespace kerfline
