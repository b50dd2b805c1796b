// End-to-end: the cut order of a G-code program, as an independent interpreter (tests/gcode)
// runs it. Planned for travel, the program must cut the same rings as in text order, each
// once, every hole before the ring around it, and travel no further between cuts; --report
// must give the travel the interpreter measures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "command_output.h"
#include "process.h"
#include "temp_dir.h"

namespace kerfline::e2e {
namespace {

namespace fs = std::filesystem;

struct Point {
  double x = 0, y = 0;
  friend bool operator<(const Point& a, const Point& b) {
    return std::pair(a.x, a.y) < std::pair(b.x, b.y);
  }
  friend bool operator==(const Point&, const Point&) = default;
};

// What the interpreter did: the cuts (each the points of one beam-on run) and the rapid
// travel in XY between them.
struct Program {
  std::vector<std::vector<Point>> cuts;
  double rapid = 0;
};

Program interpret(const fs::path& file) {
  const std::string dir = KERFLINE_SOURCE_DIR "/tests/gcode";
  Program p;
  if (!fs::exists(dir + "/node_modules/gcode-toolpath")) {
    ADD_FAILURE() << "the interpreter is not installed: run scripts/install-deps.sh";
    return p;
  }
  const test::CommandOutput run =
      test::runCommand("node " + dir + "/check_gcode.js '" + file.string() + "' 2>&1");
  EXPECT_TRUE(run.ok()) << run.output;
  std::istringstream in(run.output);
  std::string line;
  bool cutting = false;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::string kind, motion, spindle, units, feed;
    Point a, b;
    double z1 = 0, z2 = 0;
    if (!(words >> kind) || kind != "move") continue;
    words >> motion >> spindle >> units >> a.x >> a.y >> z1 >> b.x >> b.y >> z2 >> feed;
    if (motion == "G0") {
      p.rapid += std::hypot(b.x - a.x, b.y - a.y);
      cutting = false;
    } else {
      if (!cutting) p.cuts.push_back({a});
      p.cuts.back().push_back(b);
      cutting = true;
    }
  }
  return p;
}

// A ring's points as a set: the same ring entered elsewhere has the same set.
std::vector<Point> asSet(std::vector<Point> ring) {
  std::sort(ring.begin(), ring.end());
  ring.erase(std::unique(ring.begin(), ring.end()), ring.end());
  return ring;
}

// Even-odd rule: p lies inside the closed ring.
bool inside(const Point& p, const std::vector<Point>& ring) {
  bool in = false;
  for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
    const Point& a = ring[i];
    const Point& b = ring[j];
    if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) in = !in;
  }
  return in;
}

// The three figures of the report line "rapid travel T mm (in text order U mm), at least L mm".
std::vector<double> reportedTravel(const std::string& report) {
  double t = -1, u = -1, l = -1;
  const std::size_t at = report.find("rapid travel ");
  if (at == std::string::npos ||
      std::sscanf(report.c_str() + at, "rapid travel %lf mm (in text order %lf mm), at least %lf", &t,
                  &u, &l) != 3) {
    ADD_FAILURE() << "no travel in the report:\n" << report;
  }
  return {t, u, l};
}

TEST(cut_order_test, travel_order_cuts_every_ring_once_holes_first_and_travels_less) {
  const kerfline::test::TempDir dir;
  const fs::path text = dir.path() / "sign.txt";
  spit(text, "Bag 80 dog\nopen a BOX");
  const auto convert = [&](const std::string& order, const std::string& out) {
    return runProcess(KERFLINE_CONVERT_EXE,
                      {"-f", "gcode", "--laser", "--order", order, "--report", "-o", out,
                       text.string()},
                      dir.path().string());
  };
  const ProcessResult byText = convert("text", "text.nc");
  const ProcessResult byTravel = convert("travel", "travel.nc");
  ASSERT_EQ(byText.status, 0) << byText.err;
  ASSERT_EQ(byTravel.status, 0) << byTravel.err;
  const Program t = interpret(dir.path() / "text.nc");
  const Program p = interpret(dir.path() / "travel.nc");

  // The same rings, each once.
  std::vector<std::vector<Point>> expected, got;
  for (const auto& cut : t.cuts) expected.push_back(asSet(cut));
  for (const auto& cut : p.cuts) got.push_back(asSet(cut));
  ASSERT_GT(expected.size(), 20u);
  std::sort(expected.begin(), expected.end());
  std::sort(got.begin(), got.end());
  EXPECT_EQ(got, expected);

  // A ring cut after a ring around it would cut a part loose before its hole.
  for (std::size_t i = 0; i < p.cuts.size(); ++i)
    for (std::size_t j = 0; j < i; ++j)
      EXPECT_FALSE(inside(p.cuts[i].front(), p.cuts[j]) && inside(p.cuts[i][1], p.cuts[j]))
          << "cut " << i << " lies inside cut " << j << ", cut before it";

  EXPECT_LT(p.rapid, t.rapid);
  // The report's figures are those the interpreter measures (to the file's decimals), and
  // the bound is below both.
  const std::vector<double> figures = reportedTravel(byTravel.out);
  EXPECT_NEAR(figures[0], p.rapid, 1e-3 * p.cuts.size());
  EXPECT_NEAR(figures[1], t.rapid, 1e-3 * t.cuts.size());
  EXPECT_LE(figures[2], figures[0]);
  EXPECT_GT(figures[2], 0);
}

// A fill's report gives the rapid travel of its program, planned and as filled, as the
// interpreter measures them, and a bound below both.
TEST(cut_order_test, a_fills_report_gives_the_travel_its_programs_make) {
  const kerfline::test::TempDir dir;
  const std::vector<std::vector<std::string>> fills = {
      {"--cut", "hatch", "--interval", "0.6", "--laser"},
      {"--cut", "hatch", "--interval", "0.6", "--cross-hatch", "--laser"},
      {"--cut", "offset-fill", "--interval", "0.6"},
      {"--cut", "pocket", "--tool-diameter", "1"}};
  for (const std::vector<std::string>& fill : fills) {
    SCOPED_TRACE(fill[1] + (fill.size() > 4 ? " " + fill[4] : ""));
    const auto convert = [&](const std::string& order, const std::string& out) {
      std::vector<std::string> args = {"-f", "gcode", "--text", "Bag 80", "--font", "DejaVu Sans",
                                       "--size", "72", "--order", order, "--report", "-o", out};
      args.insert(args.end(), fill.begin(), fill.end());
      const ProcessResult r = runProcess(KERFLINE_CONVERT_EXE, args, dir.path().string());
      EXPECT_EQ(r.status, 0) << r.err;
      return r.out;
    };
    const std::vector<double> figures = reportedTravel(convert("travel", "travel.nc"));
    convert("text", "text.nc");
    const Program planned = interpret(dir.path() / "travel.nc");
    const Program given = interpret(dir.path() / "text.nc");
    ASSERT_GT(planned.cuts.size(), 10u);
    EXPECT_NEAR(figures[0], planned.rapid, 1e-3 * planned.cuts.size());
    EXPECT_NEAR(figures[1], given.rapid, 1e-3 * given.cuts.size());
    EXPECT_LE(figures[0], figures[1] + 1e-9);
    EXPECT_LE(figures[2], figures[0]);
    EXPECT_GT(figures[2], 0);
  }
}

// A V-carving's report gives the rapid travel of its planned programs as the interpreter
// measures them (the V-bit's and the end mill's added, passes down in place), at least the
// bound and at most the strokes' travel in the order they were carved.
TEST(cut_order_test, a_carvings_report_gives_the_travel_its_programs_make) {
  const kerfline::test::TempDir dir;
  const ProcessResult r = runProcess(
      KERFLINE_CONVERT_EXE,
      {"-f", "gcode", "--text", "Carve", "--font", "DejaVu Sans", "--size", "72", "--cut",
       "vcarve", "--max-depth", "0.3", "--depth-per-pass", "0.2", "--clear-tool", "1",
       "--clear-output", "clear.nc", "--report", "-o", "vbit.nc"},
      dir.path().string());
  ASSERT_EQ(r.status, 0) << r.err;
  const std::vector<double> figures = reportedTravel(r.out);
  const Program vbit = interpret(dir.path() / "vbit.nc");
  const Program clearing = interpret(dir.path() / "clear.nc");
  ASSERT_GT(vbit.cuts.size(), 10u);
  ASSERT_GT(clearing.rapid, 0);
  EXPECT_NEAR(figures[0], vbit.rapid + clearing.rapid, 1e-3 * (vbit.cuts.size() + clearing.cuts.size()));
  EXPECT_LE(figures[0], figures[1]);
  EXPECT_LE(figures[2], figures[0]);
  EXPECT_GT(figures[2], 0);
}

// The cutting pieces (G1 lines, G2/G3 arcs) of a program as the interpreter runs them, each
// written the same whichever end it is cut from: a ring entered elsewhere or run backwards
// has the same pieces.
std::vector<std::string> cuttingPieces(const fs::path& file) {
  const test::CommandOutput run = test::runCommand(
      "node " KERFLINE_SOURCE_DIR "/tests/gcode/check_gcode.js '" + file.string() + "' 2>&1");
  EXPECT_TRUE(run.ok()) << run.output;
  std::istringstream in(run.output);
  std::vector<std::string> pieces;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::string kind, motion, spindle, units;
    Point a, b, centre;
    double z1 = 0, z2 = 0;
    if (!(words >> kind >> motion >> spindle >> units >> a.x >> a.y >> z1 >> b.x >> b.y >> z2))
      continue;
    if (!(kind == "arc" || (kind == "move" && motion == "G1")) || z1 != z2) continue;
    if (a == b) continue;
    bool clockwise = motion == "G2";
    if (b < a) {
      std::swap(a, b);
      clockwise = !clockwise;  // the same arc, run the other way
    }
    char piece[200];
    if (kind == "arc") {
      words >> centre.x >> centre.y;
      std::snprintf(piece, sizeof piece, "arc %s %.4f %.4f %.4f %.4f %.4f %.4f",
                    clockwise ? "cw" : "ccw", a.x, a.y, b.x, b.y, centre.x, centre.y);
    } else {
      std::snprintf(piece, sizeof piece, "line %.4f %.4f %.4f %.4f", a.x, a.y, b.x, b.y);
    }
    pieces.push_back(piece);
  }
  std::sort(pieces.begin(), pieces.end());
  return pieces;
}

// With arcs, a planned program is the text order's program reordered: every ring fitted once,
// whatever vertex it is entered at.
TEST(cut_order_test, a_planned_arc_program_cuts_the_text_order_arcs_and_lines) {
  const kerfline::test::TempDir dir;
  const auto convert = [&](const std::string& order, const std::string& out) {
    const ProcessResult r = runProcess(
        KERFLINE_CONVERT_EXE,
        {"-f", "gcode", "--laser", "--tolerance", "0.01", "--arcs", "--order", order, "--text",
         "Bag 80 dog\nopen a BOX", "-o", out},
        dir.path().string());
    EXPECT_EQ(r.status, 0) << r.err;
    return cuttingPieces(dir.path() / out);
  };
  const std::vector<std::string> byText = convert("text", "text.nc");
  const std::vector<std::string> byTravel = convert("travel", "travel.nc");
  ASSERT_GT(std::count_if(byText.begin(), byText.end(),
                          [](const std::string& p) { return p.starts_with("arc"); }),
            100);
  EXPECT_EQ(byTravel, byText);
}

// Leads pierce and end in the scrap, which --kerf-side names: outside the parts for outside,
// inside them for inside. The checker (shapely) builds the parts from the file without leads.
TEST(cut_order_test, leads_pierce_and_end_on_the_scrap_side) {
  const kerfline::test::TempDir dir;
  struct Case {
    std::string form, side, shape;
  };
  const std::vector<Case> cases = {{"gcode", "outside", "line"}, {"gcode", "inside", "arc"},
                                   {"svg", "outside", "arc"},    {"svg", "inside", "line"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.form + " " + c.side + " " + c.shape);
    const auto convert = [&](std::vector<std::string> extra, const std::string& out) {
      std::vector<std::string> args = {"-f", c.form, "--laser", "--text", "Bag 80", "-o", out};
      args.insert(args.end(), extra.begin(), extra.end());
      const ProcessResult r = runProcess(KERFLINE_CONVERT_EXE, args, dir.path().string());
      EXPECT_EQ(r.status, 0) << r.err;
    };
    convert({}, "plain." + c.form);
    convert({"--kerf-side", c.side, "--lead-type", c.shape, "--lead-in", "0.2", "--lead-out", "0.1"},
            "leads." + c.form);
    const test::CommandOutput run = test::runCommand(
        "/usr/bin/python3 " KERFLINE_SOURCE_DIR "/tests/e2e/check_leads.py " + c.form + " '" +
        (dir.path() / ("plain." + c.form)).string() + "' '" +
        (dir.path() / ("leads." + c.form)).string() + "' 2>&1");
    ASSERT_TRUE(run.ok()) << run.output;
    std::istringstream in(run.output);
    int cuts = 0, pierceScrap = 0, pierceKept = 0, pierceOnPath = 0, endScrap = 0, endKept = 0;
    in >> cuts >> pierceScrap >> pierceKept >> pierceOnPath >> endScrap >> endKept;
    ASSERT_EQ(cuts, 12) << run.output;  // B, a, g, 8, 0 with their holes
    const bool outside = c.side == "outside";
    // A lead left out pierces on the ring itself; none pierces or ends in what is kept.
    EXPECT_EQ(outside ? pierceKept : pierceScrap, 0) << run.output;
    EXPECT_EQ(outside ? endKept : endScrap, 0) << run.output;
    EXPECT_GE(outside ? pierceScrap : pierceKept, cuts - 2) << run.output;
    EXPECT_EQ(pierceScrap + pierceKept + pierceOnPath, cuts) << run.output;
  }
}

TEST(cut_order_test, travel_order_and_leads_are_refused_for_the_classic_forms) {
  const kerfline::test::TempDir dir;
  struct Case {
    std::vector<std::string> option;
    int status;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{"--order", "travel"}, 2, "--order travel needs the closed, svg or gcode format"},
      {{"--overcut", "0.1"}, 1, "Leads and overcut need the closed, SVG or G-code form."}};
  for (const char* form : {"lines", "polylines"}) {
    for (const auto& [option, status, message] : cases) {
      std::vector<std::string> args = {"-f", form, "--text", "O", "-o", "o.dxf"};
      args.insert(args.end(), option.begin(), option.end());
      const ProcessResult r = runProcess(KERFLINE_CONVERT_EXE, args, dir.path().string());
      EXPECT_EQ(r.status, status) << form;
      EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
      EXPECT_FALSE(fs::exists(dir.path() / "o.dxf"));
    }
  }
}

}  // namespace
}  // namespace kerfline::e2e
