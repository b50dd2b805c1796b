// End-to-end: curves flattened to a tolerance and fitted with arcs, as each form's own reader
// takes them back (ezdxf for both DXF versions, the SVG rule, the npm interpreter and LinuxCNC's
// rs274 for G-code), measured against the glyph's true curves as fontTools reads them
// (check_arcs.py).
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "command_output.h"
#include "process.h"
#include "temp_dir.h"

namespace kerfline::e2e {
namespace {

// 140 points at scale 100: an em of 0.18 x 0.14 x 1365 drawing units, capitals about 25 mm.
constexpr int kSize = 140;
constexpr double kTolerance = 0.01;

struct Face {
  const char* name;
  const char* file;  // the file fontconfig finds for name
  int unitsPerEm;
};
const Face kTrueType{"DejaVu Sans", "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", 2048};
const Face kCff{"Nimbus Sans", "/usr/share/fonts/opentype/urw-base35/NimbusSans-Regular.otf", 1000};

struct Measure {
  double hausdorff = -1, radiusGap = 0;
  int lines = -1, arcs = -1, rs274Status = 0, rs274Arcs = 0;
};

// scale: file units per font unit as text, or "fit:W" (see check_arcs.py); empty: at kSize;
// "@A,B": at kSize, then shaped as a sign's stretch and slant shape it; "~R": at kSize, then
// warped onto a circle; "+D": at kSize, then grown by D. tolerance: how finely to sample.
Measure measure(const std::string& form, const std::string& file, const Face& face, char32_t c,
                std::string scale = {}, double tolerance = kTolerance) {
  if (scale.empty() || scale[0] == '@' || scale[0] == '~' || scale[0] == '+') {
    char exact[32];  // to_string's six decimals would misplace 25 mm capitals by 0.00015
    std::snprintf(exact, sizeof exact, "%.17g", 0.18 * kSize / 1000.0 * 1365 / face.unitsPerEm);
    scale = exact + scale;
  }
  char command[1024];
  std::snprintf(command, sizeof command, "/usr/bin/python3 %s/tests/e2e/check_arcs.py %s '%s' %s 0 %u %s %.17g 2>&1",
                KERFLINE_SOURCE_DIR, form.c_str(), file.c_str(), face.file, unsigned(c), scale.c_str(),
                tolerance);
  const test::CommandOutput run = test::runCommand(command);
  Measure m;
  char gap[32] = "-", rs[32] = "-";
  if (!run.ok() || std::sscanf(run.output.c_str(), "hausdorff %lf lines %d arcs %d radius_gap %31s rs274 %31s %d",
                               &m.hausdorff, &m.lines, &m.arcs, gap, rs, &m.rs274Arcs) < 5) {
    ADD_FAILURE() << run.output;
    return m;
  }
  if (std::string(gap) != "-") m.radiusGap = std::stod(gap);
  if (std::string(rs) != "-") m.rs274Status = std::stoi(rs);
  return m;
}

// The letter S at kSize, set as a sign with sign's options, with and without arcs, lies within
// the tolerance of its true curves shaped as shape says (see measure).
void expectShapedSWithinTolerance(const std::vector<std::string>& sign, const std::string& shape) {
  const kerfline::test::TempDir dir;
  for (const bool arcs : {false, true}) {
    SCOPED_TRACE(arcs ? "arcs" : "chords");
    std::vector<std::string> args = {"-f", "closed", "--font", "DejaVu Sans", "--text", "S",
                                     "--size", std::to_string(kSize), "--tolerance", "0.01",
                                     "-o", "shaped.dxf"};
    args.insert(args.end(), sign.begin(), sign.end());
    if (arcs) args.push_back("--arcs");
    const ProcessResult r = runProcess(KERFLINE_CONVERT_EXE, args, dir.path().string());
    ASSERT_EQ(r.status, 0) << r.err;
    const Measure m = measure("dxf", dir.file("shaped.dxf"), kTrueType, U'S', shape);
    EXPECT_LE(m.hausdorff, kTolerance);
    EXPECT_GE(m.hausdorff, 0);
  }
}

TEST(curve_tolerance_test, every_form_read_back_lies_within_tolerance_of_the_true_glyph) {
  const kerfline::test::TempDir dir;
  struct Case {
    const Face* face;
    char32_t c;
    std::vector<std::string> form;  // the form's arguments
    std::string reader, file;
    bool arcs;
  };
  const Case cases[] = {
      {&kTrueType, U'S', {"-f", "closed", "--dxf-version", "12"}, "dxf", "s12.dxf", true},
      {&kTrueType, U'@', {"-f", "closed", "--dxf-version", "2000"}, "dxf", "at.dxf", true},
      {&kTrueType, U'g', {"-f", "svg"}, "svg", "g.svg", true},
      {&kTrueType, U'&', {"-f", "gcode"}, "gcode", "amp.ngc", true},
      {&kTrueType, U'S', {"-f", "closed"}, "dxf", "s.dxf", false},
      {&kCff, U'@', {"-f", "closed", "--dxf-version", "12"}, "dxf", "cff.dxf", true},
      {&kCff, U'g', {"-f", "closed", "--dxf-version", "2000"}, "dxf", "cffg.dxf", true},
      {&kCff, U'S', {"-f", "svg"}, "svg", "cff.svg", true},
      {&kCff, U'&', {"-f", "gcode", "--laser"}, "gcode", "cff.ngc", true},
      {&kCff, U'Q', {"-f", "gcode"}, "gcode", "cffq.ngc", false},
      // The other placements: font spacing, and classic lines aligned.
      {&kTrueType, U'g', {"-f", "closed", "--spacing", "font"}, "dxf", "font.dxf", true},
      {&kCff, U'S', {"-f", "gcode", "--align", "center"}, "gcode", "center.ngc", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.face->name) + " " + c.file);
    std::vector<std::string> args = c.form;
    const std::string text(1, static_cast<char>(c.c));
    for (const char* a : {"--font", c.face->name, "--text", text.c_str(), "--tolerance", "0.01"})
      args.push_back(a);
    args.push_back("--size");
    args.push_back(std::to_string(kSize));
    if (c.arcs) args.push_back("--arcs");
    args.push_back("-o");
    args.push_back(c.file);
    const ProcessResult r = runProcess(KERFLINE_CONVERT_EXE, args, dir.path().string());
    ASSERT_EQ(r.status, 0) << r.err;
    const Measure m = measure(c.reader, dir.file(c.file), *c.face, c.c);
    EXPECT_LE(m.hausdorff, kTolerance);
    EXPECT_GE(m.hausdorff, 0);
    if (c.arcs) {
      // Arcs carry the curves: most pieces are arcs, and the glyph's straight edges stay lines.
      EXPECT_GT(m.arcs, 2 * m.lines);
    } else {
      EXPECT_EQ(m.arcs, 0);
    }
    if (c.reader == "gcode") {
      // Controllers check an arc by its two radii; LinuxCNC takes every arc the file holds.
      EXPECT_LT(m.radiusGap, 0.5e-3);
      EXPECT_EQ(m.rs274Status, 0);
      EXPECT_EQ(m.rs274Arcs, m.arcs);
    }
  }
}

// A fit box scales the sign after the glyphs are flattened: a small text blown up to fill a
// large box must still lie within the tolerance, so the glyphs are flattened for the box's
// factor (here about ten). The glyph's extremes are on-curve points, so the box binds the
// true bounds exactly.
TEST(curve_tolerance_test, a_fit_box_keeps_the_curves_within_tolerance) {
  const kerfline::test::TempDir dir;
  for (const char* stretch : {"", "--stretch"}) {
    SCOPED_TRACE(stretch);
    std::vector<std::string> args = {"-f", "closed", "--font", "DejaVu Sans", "--text", "S",
                                     "--size", "14", "--tolerance", "0.01", "--fit-box",
                                     "100x300", "--anchor", "bottom-left", "-o", "box.dxf"};
    if (*stretch) {
      // Stretched into a box of the glyph's own proportions (1549 by 1051 font units): the
      // check's uniform scale then holds for both directions.
      args[11] = "100x147.383444338725";
      args.push_back(stretch);
    }
    const ProcessResult r = runProcess(KERFLINE_CONVERT_EXE, args, dir.path().string());
    ASSERT_EQ(r.status, 0) << r.err;
    const Measure m = measure("dxf", dir.file("box.dxf"), kTrueType, U'S', "fit:100");
    EXPECT_LE(m.hausdorff, kTolerance);
    EXPECT_GE(m.hausdorff, 0);
  }
}

// A sign's stretch and slant lengthen the chords after the glyphs are flattened (here by up to
// three times): the glyphs are flattened for the most they lengthen anything.
TEST(curve_tolerance_test, a_stretched_or_slanted_sign_keeps_the_curves_within_tolerance) {
  struct Case {
    const char* stretch;
    const char* slant;
    const char* shape;  // x' = A x + B y, B the slant's tangent
  };
  const Case cases[] = {{"3", "0", "@3,0"},
                        {"1", "30", "@1,0.57735026918962573"},
                        {"2.5", "-25", "@2.5,-0.46630765815499858"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.stretch) + " " + c.slant);
    expectShapedSWithinTolerance({"--stretch-x", c.stretch, "--slant", c.slant}, c.shape);
  }
}

// A warp stretches letters along their bend by up to (radius + height) / radius (here nearly
// twice) after they are flattened, and its own chords stray from the bend: the glyphs are
// flattened for the stretch and the warp's chords kept to a share of the tolerance. On a path
// the letters' up turns smoothly with the path, which the circle drawn as a path shows: a
// direction that jumped at each of the path's chords tore the letters' tops by their height
// times the turn.
TEST(curve_tolerance_test, warped_letters_on_a_circle_or_a_path_keep_the_curves_within_tolerance) {
  struct Case {
    std::vector<std::string> bend;
    const char* shape;  // "~R": on a circle of radius R, clockwise over the top (R < 0: inside)
  };
  const Case cases[] = {
      {{"--arc-radius", "30", "--arc-align", "left"}, "~30"},
      {{"--arc-radius", "30", "--arc-side", "bottom", "--arc-angle", "0", "--arc-align", "left"}, "~-30"},
      {{"--path", "M 0 -30 A 30 30 0 0 1 30 0 A 30 30 0 0 1 0 30", "--path-align", "left"}, "~30"},
      {{"--path", "M 0 -30 A 30 30 0 0 0 -30 0 A 30 30 0 0 0 0 30", "--path-align", "left"}, "~-30"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bend[1]);
    std::vector<std::string> sign = {"--arc-mode", "warp"};
    sign.insert(sign.end(), c.bend.begin(), c.bend.end());
    expectShapedSWithinTolerance(sign, c.shape);
  }
}

// A kerf offset adds its round joins' chords and the clean-up of its rings to the glyphs'
// polylines: at a tolerance finer than those used to be (0.001 each, some 0.002 together),
// the offset path still lies within it of the glyph's true offset.
TEST(curve_tolerance_test, a_kerf_offset_keeps_the_curves_within_tolerance) {
  const kerfline::test::TempDir dir;
  constexpr double kFine = 0.001;
  for (const bool arcs : {false, true}) {
    SCOPED_TRACE(arcs ? "arcs" : "chords");
    std::vector<std::string> args = {"-f", "closed", "--font", "DejaVu Sans", "--text", "S",
                                     "--size", std::to_string(kSize), "--tolerance", "0.001",
                                     "--kerf", "0.2", "--weld", "-o", "kerf.dxf"};
    if (arcs) args.push_back("--arcs");
    const ProcessResult r = runProcess(KERFLINE_CONVERT_EXE, args, dir.path().string());
    ASSERT_EQ(r.status, 0) << r.err;
    const Measure m = measure("dxf", dir.file("kerf.dxf"), kTrueType, U'S', "+0.1", kFine);
    EXPECT_LE(m.hausdorff, kFine);
    EXPECT_GE(m.hausdorff, 0);
  }
}

// A file of arcs holds at most three tenths of the pieces of the same letters flattened to
// the tolerance, counted by ezdxf: the fit follows the glyph's own tangents and corners, so
// each arc spans as much of a curve as the tolerance allows.
TEST(curve_tolerance_test, arcs_in_a_file_are_at_most_three_tenths_of_the_flattened_segments) {
  const kerfline::test::TempDir dir;
  // The round capitals, where arcs replace curves; a straight edge is one line either way.
  const char* text = "BCDGJOQRS";
  for (const char* face : {"DejaVu Sans", "Nimbus Roman"}) {  // TrueType, CFF
    SCOPED_TRACE(face);
    const auto pieces = [&](bool arcs) {
      std::vector<std::string> args = {"-f", "closed", "--dxf-version", "2000", "--font", face,
                                       "--size", std::to_string(kSize), "--text", text,
                                       "--tolerance", "0.01", "-o", "p.dxf"};
      if (arcs) args.push_back("--arcs");
      const ProcessResult r = runProcess(KERFLINE_CONVERT_EXE, args, dir.path().string());
      EXPECT_EQ(r.status, 0) << r.err;
      const test::CommandOutput run = test::runCommand(
          "/usr/bin/python3 " KERFLINE_SOURCE_DIR "/tests/e2e/count_dxf_pieces.py '" +
          dir.file("p.dxf") + "' 2>&1");
      int lines = -1, arcCount = -1;
      EXPECT_EQ(std::sscanf(run.output.c_str(), "lines %d arcs %d", &lines, &arcCount), 2)
          << run.output;
      return std::pair(lines, arcCount);
    };
    const auto [segments, noArcs] = pieces(false);
    const auto [lines, arcs] = pieces(true);
    EXPECT_EQ(noArcs, 0);
    EXPECT_GT(segments, 1000);
    EXPECT_GT(arcs, 0);
    EXPECT_LE(lines + arcs, 0.3 * segments) << lines << " lines and " << arcs << " arcs";
  }
}

TEST(curve_tolerance_test, arcs_are_refused_for_the_classic_forms_and_counted_in_the_report) {
  const kerfline::test::TempDir dir;
  for (const char* form : {"lines", "polylines"}) {
    const ProcessResult r = runProcess(
        KERFLINE_CONVERT_EXE, {"-f", form, "--arcs", "--text", "O", "-o", "o.dxf"}, dir.path().string());
    EXPECT_EQ(r.status, 2) << form;
    EXPECT_NE(r.err.find("--arcs needs the closed, svg or gcode format"), std::string::npos) << r.err;
    EXPECT_TRUE(dir.entries().empty());
  }
  // Arcs without a tolerance take the default; the report counts what the file holds.
  const ProcessResult r = runProcess(
      KERFLINE_CONVERT_EXE, {"-f", "gcode", "--arcs", "--report", "--text", "O", "-o", "o.ngc"},
      dir.path().string());
  ASSERT_EQ(r.status, 0) << r.err;
  unsigned lines = 0, arcs = 0;
  const std::size_t at = r.out.find(" lines and ");
  ASSERT_NE(at, std::string::npos) << r.out;
  ASSERT_EQ(std::sscanf(r.out.c_str() + r.out.rfind('\n', at) + 1, " %u lines and %u arcs", &lines, &arcs), 2);
  const std::string program = slurp(dir.path() / "o.ngc");
  std::size_t g23 = 0;
  for (std::size_t p = 0; (p = program.find("\nG", p)) != std::string::npos; ++p)
    g23 += program.compare(p, 4, "\nG2 ") == 0 || program.compare(p, 4, "\nG3 ") == 0;
  EXPECT_EQ(g23, arcs);
  EXPECT_GT(arcs, 0u);
}

}  // namespace
}  // namespace kerfline::e2e
