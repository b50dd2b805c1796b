// End-to-end: filled letters as the machine would run them. Each program is read back by the
// npm interpreter and by LinuxCNC's rs274 (check_fill.py) and measured against the letters of
// the same text written as an SVG profile, with shapely: hatch lines never outside a letter
// or inside a hole, at whole intervals and the asked direction, leaving no point deeper than
// half an interval unreached, overscan only with the beam off; pockets never cutting into a
// wall or island and covering what the tool can reach.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "command_output.h"
#include "process.h"
#include "temp_dir.h"

namespace kerfline::e2e {
namespace {

// Letters with holes, so that islands are kept, at about 13 mm.
const std::vector<std::string> kText = {"--text", "Rob8", "--size", "72"};

std::map<std::string, double> check(const kerfline::test::TempDir& dir, const std::string& mode,
                                    const std::string& program, const std::string& params) {
  const test::CommandOutput run = test::runCommand(
      "/usr/bin/python3 " KERFLINE_SOURCE_DIR "/tests/e2e/check_fill.py " + mode + " '" +
      (dir.path() / "outline.svg").string() + "' '" + (dir.path() / program).string() + "' " +
      params + " 2>&1");
  EXPECT_TRUE(run.ok()) << run.output;
  std::map<std::string, double> values;
  std::istringstream in(run.output);
  std::string name;
  double v = 0;
  while (in >> name >> v) values[name] = v;
  return values;
}

ProcessResult convert(const kerfline::test::TempDir& dir, std::vector<std::string> extra,
                      const std::string& out) {
  std::vector<std::string> args = kText;
  args.insert(args.end(), {"-o", out});
  args.insert(args.end(), extra.begin(), extra.end());
  return runProcess(KERFLINE_CONVERT_EXE, args, dir.path().string());
}

TEST(fill_test, hatch_lies_inside_the_letters_at_whole_intervals_and_covers_them) {
  const kerfline::test::TempDir dir;
  ASSERT_EQ(convert(dir, {"-f", "svg"}, "outline.svg").status, 0);
  struct Case {
    std::string interval, angle;
    bool cross, unidirectional;
    std::string overscan;  // empty: none
  };
  const std::vector<Case> cases = {{"0.3", "0", false, false, ""},
                                   {"0.25", "30", true, false, "1.5"},
                                   {"0.4", "-75", false, true, "0.5"}};
  for (const Case& c : cases) {
    SCOPED_TRACE("interval " + c.interval + " angle " + c.angle);
    std::vector<std::string> args = {"-f", "gcode", "--laser", "--cut", "hatch", "--interval",
                                     c.interval, "--hatch-angle", c.angle};
    if (c.cross) args.push_back("--cross-hatch");
    if (c.unidirectional) args.push_back("--unidirectional");
    if (!c.overscan.empty()) args.insert(args.end(), {"--overscan", c.overscan});
    const ProcessResult r = convert(dir, args, "hatch.nc");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto v = check(dir, "hatch", "hatch.nc",
                         c.interval + " " + c.angle + (c.cross ? " 1 " : " 0 ") +
                             (c.overscan.empty() ? "0" : c.overscan));
    for (const std::string reader : {"npm.", "rs274."}) {
      SCOPED_TRACE(reader);
      ASSERT_TRUE(v.count(reader + "lines"));
      EXPECT_GT(v.at(reader + "lines"), 50);
      EXPECT_LE(v.at(reader + "outside"), 1e-6);         // beam on only inside the letters
      EXPECT_LE(v.at(reader + "row_error"), 1e-3);       // rows at whole intervals, within 1 um
      EXPECT_LE(v.at(reader + "direction_error"), 1e-3);  // the asked angle (and + 90)
      EXPECT_EQ(v.at(reader + "directions"), c.cross ? 2 : 1);
      EXPECT_LE(v.at(reader + "uncovered"), 1e-6);  // square units
      if (!c.overscan.empty()) {
        EXPECT_GE(v.at(reader + "overscan_moves"), 2 * v.at(reader + "lines"));
      }
    }
  }
}

TEST(fill_test, hatch_in_dxf_is_one_line_entity_per_row_piece_inside_the_letters) {
  const kerfline::test::TempDir dir;
  ASSERT_EQ(convert(dir, {"-f", "svg"}, "outline.svg").status, 0);
  for (const std::string version : {"2000", "12"}) {
    SCOPED_TRACE("R" + version);
    const ProcessResult r = convert(dir,
                                    {"-f", "closed", "--dxf-version", version, "--cut", "hatch",
                                     "--interval", "0.3", "--hatch-angle", "30"},
                                    "hatch.dxf");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto v = check(dir, "dxf-hatch", "hatch.dxf", "0.3 30");
    ASSERT_TRUE(v.count("dxf.lines"));
    EXPECT_EQ(v.at("dxf.audit_errors"), 0);  // handles and owners as a strict reader wants
    EXPECT_EQ(v.at("dxf.other_entities"), 0);
    EXPECT_EQ(v.at("dxf.lines"), v.at("dxf.row_pieces"));  // as shapely cuts the rows
    EXPECT_LE(v.at("dxf.outside"), 1e-6);
    EXPECT_LE(v.at("dxf.row_error"), 1e-3);
  }
}

TEST(fill_test, pockets_keep_walls_and_islands_and_clear_what_the_tool_reaches) {
  const kerfline::test::TempDir dir;
  ASSERT_EQ(convert(dir, {"-f", "svg"}, "outline.svg").status, 0);
  struct Case {
    std::vector<std::string> args;
    std::string mode, params;
  };
  const std::vector<Case> cases = {
      {{"--tool-diameter", "1"}, "pocket", "1"},
      {{"--tool-diameter", "0.8", "--step-over", "0.5", "--finish-allowance", "0.1",
        "--z-cut", "-1", "--depth-per-pass", "0.4"},
       "pocket", "0.8"},
      {{"--tool-diameter", "1.2", "--background", "--margin", "3"}, "raised", "1.2 3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode + " " + c.params);
    std::vector<std::string> args = {"-f", "gcode", "--cut", "pocket"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const ProcessResult r = convert(dir, args, "pocket.nc");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto v = check(dir, c.mode, "pocket.nc", c.params);
    for (const std::string reader : {"npm.", "rs274."}) {
      SCOPED_TRACE(reader);
      ASSERT_TRUE(v.count(reader + "gouge"));
      EXPECT_LE(v.at(reader + "gouge"), 1e-3);  // not a micrometre into a wall, island or letter
      EXPECT_GE(v.at(reader + "covered"), 0.995);
    }
  }
}

TEST(fill_test, offset_fill_is_closed_rings_inside_the_letters) {
  const kerfline::test::TempDir dir;
  ASSERT_EQ(convert(dir, {"-f", "svg"}, "outline.svg").status, 0);
  const ProcessResult r =
      convert(dir, {"-f", "gcode", "--laser", "--cut", "offset-fill", "--interval", "0.3"},
              "offsets.nc");
  ASSERT_EQ(r.status, 0) << r.err;
  const auto v = check(dir, "offset", "offsets.nc", "");
  for (const std::string reader : {"npm.", "rs274."}) {
    SCOPED_TRACE(reader);
    ASSERT_TRUE(v.count(reader + "runs"));
    // Each of R, o, b, 8 is a ring or two about 1.5 mm wide: a few offsets each.
    EXPECT_GE(v.at(reader + "runs"), 8 * 2);
    EXPECT_EQ(v.at(reader + "open_runs"), 0);
    EXPECT_LE(v.at(reader + "outside"), 1e-6);
  }
}

TEST(fill_test, offsets_fitted_with_arcs_stay_on_the_true_offsets_in_fewer_pieces) {
  const kerfline::test::TempDir dir;
  // With arcs the letters are flattened within a twentieth of the 0.01 mm default before the
  // offsets are taken: the outline is drawn as finely, so both see the same letters.
  ASSERT_EQ(convert(dir, {"-f", "svg", "--tolerance", "0.0005"}, "outline.svg").status, 0);
  struct Case {
    std::string form, file;
    std::vector<std::string> args;
    std::string offsets;  // the first offset's distance, the spacing, T (and the margin)
    double slack;         // the form's own rounding
  };
  const std::vector<Case> cases = {
      {"gcode", "o.nc", {"--laser", "--cut", "offset-fill", "--interval", "0.3"}, "0.15 0.3 0.001",
       2e-4},
      {"gcode", "p.nc", {"--cut", "pocket", "--tool-diameter", "1"}, "0.5 0.4 0.001", 2e-4},
      {"closed", "r.dxf", {"--cut", "pocket", "--background", "--margin", "3", "--tool-diameter",
                           "1.2"}, "0.6 0.48 0.001 3", 1e-5},
      {"svg", "o.svg", {"--cut", "offset-fill", "--interval", "0.3"}, "0.15 0.3 0.001", 1e-5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.form + " " + c.args[c.args.size() - 1]);
    std::vector<std::string> args = {"-f", c.form, "--arcs"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    ASSERT_EQ(convert(dir, args, c.file).status, 0);
    const auto v = check(dir, "offset-arcs", c.file, c.offsets);
    std::vector<std::string> readers = {"npm.", "rs274."};
    if (c.form != "gcode") readers = {c.file.substr(c.file.size() - 3) + "."};
    std::map<std::string, double> lines;
    if (c.form == "gcode") {
      args.erase(args.begin() + 2);
      args.insert(args.end(), {"--tolerance", "0.0005"});
      ASSERT_EQ(convert(dir, args, "lines.nc").status, 0);
      lines = check(dir, "offset-arcs", "lines.nc", c.offsets);
    }
    for (const std::string& reader : readers) {
      SCOPED_TRACE(reader);
      ASSERT_TRUE(v.count(reader + "arcs"));
      EXPECT_GT(v.at(reader + "arcs"), 100);
      EXPECT_LE(v.at(reader + "arc_error"), 0.001 + c.slack);  // within T of shapely's offset
      if (!lines.empty()) {
        EXPECT_LT(v.at(reader + "pieces"), lines.at(reader + "pieces") / 2);
      }
    }
  }
}

TEST(fill_test, fills_planned_for_travel_move_the_tool_less_than_in_text_order) {
  const kerfline::test::TempDir dir;
  const std::vector<std::vector<std::string>> cases = {
      {"--laser", "--cut", "hatch", "--interval", "0.2", "--fill-outline"},
      {"--laser", "--cut", "offset-fill", "--interval", "0.3"},
      {"--cut", "pocket", "--tool-diameter", "0.5"}};
  for (const std::vector<std::string>& c : cases) {
    SCOPED_TRACE(c[1] + " " + c[2]);
    std::map<std::string, double> travel[2];
    for (const bool planned : {false, true}) {
      std::vector<std::string> args = {"-f", "gcode"};
      args.insert(args.end(), c.begin(), c.end());
      if (!planned) args.insert(args.end(), {"--order", "text"});  // G-code plans by default
      ASSERT_EQ(convert(dir, args, "fill.nc").status, 0);
      travel[planned] = check(dir, "travel", "fill.nc", "");
    }
    for (const std::string reader : {"npm.", "rs274."}) {
      ASSERT_TRUE(travel[1].count(reader + "travel"));
      const double planned = travel[1].at(reader + "travel");
      const double text = travel[0].at(reader + "travel");
      // Four letters in a row are already in a good order as whole pockets: it must not grow.
      // Hatch chains and rings are free within each letter: the plan must save.
      if (std::find(c.begin(), c.end(), "pocket") != c.end()) {
        EXPECT_LE(planned, text) << reader;
      } else {
        EXPECT_LT(planned, 0.8 * text) << reader;
      }
    }
  }
}

TEST(fill_test, fill_options_that_cannot_run_are_refused_with_their_reason) {
  const kerfline::test::TempDir dir;
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{"-f", "polylines", "--cut", "vcarve"}, 2, "needs the closed, svg or gcode"},
      {{"-f", "lines", "--cut", "hatch", "--interval", "1"}, 2, "needs the closed, svg or gcode"},
      {{"-f", "gcode", "--cut", "hatch"}, 1, "need the interval between lines"},
      {{"-f", "gcode", "--cut", "pocket"}, 1, "needs the tool's diameter"},
      {{"-f", "gcode", "--cut", "hatch", "--interval", "1", "--overscan", "1"}, 1,
       "Overscan needs the laser"},
      {{"-f", "gcode", "--cut", "pocket", "--tool-diameter", "1", "--step-over", "0.99"}, 2,
       "out of range"},
  };
  for (const Case& c : cases) {
    const ProcessResult r = convert(dir, c.args, "refused.nc");
    EXPECT_EQ(r.status, c.status) << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
  }
}

}  // namespace
}  // namespace kerfline::e2e
