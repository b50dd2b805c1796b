// End-to-end: production runs of the real kerfline-convert. The merged text is read back
// through --dump-text; sheets are read back by ezdxf and shapely (check_sheets.py), whose
// counts come from the geometry alone.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "command_output.h"
#include "convert_fixture.h"

namespace kerfline::e2e {
namespace {

using ProductionRunTest = NamedOptionsTest;

constexpr const char* kTeam = "name,role\r\nAnn,\"Lead, Design\"\r\n\"Bob \"\"B\"\"\",Ops\r\n";

TEST_F(ProductionRunTest, dump_text_shows_the_first_item_merged) {
  struct Case {
    const char* name;
    std::string csv;
    std::vector<std::string> args;
    std::string text;  // "text" of the dump, JSON-escaped
  };
  const std::vector<Case> cases = {
      {"comma in quotes", kTeam, {"--text", "{name}\n{role}"}, "Ann\\r\\nLead, Design"},
      {"byte-order mark, doubled quotes", "\xEF\xBB\xBFwho\n\"say \"\"hi\"\"\"\n", {"--text", "<{who}>"},
       "<say \\\"hi\\\">"},
      {"line break in quotes", "a\n\"one\ntwo\"\n", {"--text", "{a}!"}, "one\\r\\ntwo!"},
      {"serial with a merge file", kTeam, {"--text", "{n:04}", "--serial-start", "41"}, "0041"},
      {"braces doubled", kTeam, {"--text", "{{{name}}}"}, "{Ann}"},
      // A shell's double quotes hand over a backslash and an n: a line break; two backslashes: one.
      {"backslash n typed", kTeam, {"--text", "{name}\\n{role}"}, "Ann\\r\\nLead, Design"},
      {"backslash doubled", kTeam, {"--text", "a\\\\nb\\x"}, "a\\\\nb\\\\x"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    spit(work_ / "m.csv", c.csv);
    std::vector<std::string> args = {"--dump-text", "--merge", "m.csv"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const ProcessResult r = convert(args);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("{\"text\": \"" + c.text + "\", \"runs\""), std::string::npos) << r.out;
  }
  // Serial numbers alone: the first copy's.
  const ProcessResult r = convert({"--dump-text", "--text", "#{n:x}", "--copies", "3", "--serial-start", "255"});
  EXPECT_NE(r.out.find("{\"text\": \"#ff\""), std::string::npos) << r.out;
}

TEST_F(ProductionRunTest, what_no_item_can_fill_is_refused_with_nothing_written) {
  struct Case {
    std::string csv, text, message;
  };
  const std::vector<Case> cases = {
      {kTeam, "{name} {team}", "{team}: the merge file has no such column (it has: name, role)"},
      {"name,role\nAnn,Lead\nBob\n", "{name}", "m.csv: line 3: a row of 1 fields; the header has 2"},
      {kTeam, "{n:4q}", "{n:4q}: not a serial format"},
      {"name\nAnn\nAnn\n", "{name}", "items 1 and 2 would both be written to badge-Ann.svg"},
  };
  const std::vector<std::string> before = workFiles();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    spit(work_ / "m.csv", c.csv);
    const ProcessResult r = convert({"--merge", "m.csv", "--text", c.text, "-f", "svg", "-o", "badge-{name}.svg"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    std::filesystem::remove(work_ / "m.csv");
    EXPECT_EQ(workFiles(), before);
  }
}

TEST_F(ProductionRunTest, one_file_per_item_named_by_placeholders_made_safe) {
  spit(work_ / "m.csv", "name\nAnn\n../up\n.hidden\na/b\n");
  const ProcessResult r = convert({"--merge", "m.csv", "--text", "{name}", "-f", "svg", "-o", "{name}-{n:02}.svg",
                                   "--report"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(workFiles(), (std::vector<std::string>{"Ann-01.svg", "___up-02.svg", "_hidden-03.svg", "a_b-04.svg",
                                                   "in.txt", "m.csv"}));
  EXPECT_EQ(r.out, "Ann-01.svg: item 1\n___up-02.svg: item 2\n_hidden-03.svg: item 3\na_b-04.svg: item 4\n");
  // No placeholder in the name: the files are numbered.
  const ProcessResult copies = convert({"--copies", "2", "--text", "N{n}", "-o", "tag.dxf"});
  ASSERT_EQ(copies.status, 0) << copies.err;
  EXPECT_TRUE(std::filesystem::exists(work_ / "tag-1.dxf") && std::filesystem::exists(work_ / "tag-2.dxf"));
}

// Parses the checker's lines: items, all vertices inside, header extent inside.
std::vector<std::vector<int>> checkSheets(const std::string& sizes, const std::vector<std::filesystem::path>& files) {
  std::string command = "/usr/bin/python3 " KERFLINE_SOURCE_DIR "/tests/e2e/check_sheets.py " + sizes;
  for (const auto& f : files) command += " '" + f.string() + "'";
  const test::CommandOutput run = test::runCommand(command + " 2>&1");
  EXPECT_TRUE(run.ok()) << run.output;
  std::vector<std::vector<int>> lines;
  std::istringstream in(run.output);
  int items = 0, inside = 0, header = 0;
  while (in >> items >> inside >> header) lines.push_back({items, inside, header});
  return lines;
}

TEST_F(ProductionRunTest, sheets_hold_items_apart_inside_the_sheet_in_numbered_files) {
  struct Case {
    const char* name;
    std::vector<std::string> layout;
    std::string sizes;                // W H GAP for the checker
    std::vector<int> itemsPerSheet;  // worked out by hand below
  };
  const std::vector<Case> cases = {
      // Cells of 20 x 10 at a gap of 2.5 on 65 x 25: (65 + 2.5) / 22.5 = 3 across, (25 + 2.5) /
      // 12.5 = 2 down, so 6 a sheet: 14 items make 6, 6, 2.
      {"grid of cells", {"--sheet", "65x25", "--cell", "20x10", "--gap", "2.5"}, "65 25 2.5", {6, 6, 2}},
      // Two columns asked for: 2 x 3 rows of the largest item (about 16 x 5) on 40 x 25.
      {"two columns", {"--sheet", "40x25", "--columns", "2", "--gap", "3"}, "40 25 3", {6, 6, 2}},
      // By extents: each row as many as fit, so only the total is known beforehand.
      {"rows by extents", {"--sheet", "60x30", "--gap", "3"}, "60 30 3", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> args = {"--text", "T{n:03}", "--copies", "14", "--font", "DejaVu Sans", "--size", "24",
                                     "-f", "closed", "-o", "tags.dxf"};
    args.insert(args.end(), c.layout.begin(), c.layout.end());
    const ProcessResult r = convert(args);
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<std::filesystem::path> files;
    for (int k = 1; std::filesystem::exists(work_ / ("tags-" + std::to_string(k) + ".dxf")); ++k)
      files.push_back(work_ / ("tags-" + std::to_string(k) + ".dxf"));
    const std::vector<std::vector<int>> sheets = checkSheets(c.sizes, files);
    ASSERT_EQ(sheets.size(), files.size());
    int total = 0;
    for (std::size_t k = 0; k < sheets.size(); ++k) {
      EXPECT_EQ(sheets[k][1], 1) << "a vertex off sheet " << k + 1;
      EXPECT_EQ(sheets[k][2], 1) << "the extent of sheet " << k + 1;
      if (!c.itemsPerSheet.empty()) {
        EXPECT_EQ(sheets[k][0], c.itemsPerSheet.at(k)) << "sheet " << k + 1;
      }
      total += sheets[k][0];
    }
    EXPECT_EQ(total, 14);
    EXPECT_GE(sheets.size(), 2u);
    for (const auto& f : files) std::filesystem::remove(f);
  }
}

TEST_F(ProductionRunTest, one_gcode_file_pauses_between_sheets) {
  const ProcessResult r = convert({"--text", "T{n}", "--copies", "14", "--sheet", "65x25", "--cell", "20x10",
                                   "--gap", "2.5", "--one-file", "-f", "gcode", "-o", "tags.nc"});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string program = slurp(work_ / "tags.nc");
  std::size_t pauses = 0;
  for (std::size_t at = program.find("\nM0\n"); at != std::string::npos; at = program.find("\nM0\n", at + 1)) ++pauses;
  EXPECT_EQ(pauses, 2u);  // three sheets
  EXPECT_FALSE(std::filesystem::exists(work_ / "tags-1.nc"));
  // Arcs asked are arcs cut on every sheet; an operation one program of sheets does not hold
  // (a fill) is refused rather than cut as outlines.
  const std::vector<std::string> sheets = {"--text", "O{n}", "--font", "DejaVu Sans", "--copies", "4",
                                           "--sheet", "65x25", "--cell", "20x10", "--one-file", "-f", "gcode"};
  std::vector<std::string> arcs = sheets;
  arcs.insert(arcs.end(), {"--arcs", "-o", "arcs.nc"});
  ASSERT_EQ(convert(arcs).status, 0);
  const std::string arcProgram = slurp(work_ / "arcs.nc");
  EXPECT_TRUE(arcProgram.find("\nG2 ") != std::string::npos || arcProgram.find("\nG3 ") != std::string::npos);
  std::vector<std::string> hatch = sheets;
  hatch.insert(hatch.end(), {"--cut", "hatch", "--interval", "0.5", "-o", "hatch.nc"});
  const ProcessResult refused = convert(hatch);
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("outlines"), std::string::npos) << refused.err;
  EXPECT_FALSE(std::filesystem::exists(work_ / "hatch.nc"));
  // An item larger than the sheet is refused before anything is written.
  const ProcessResult big = convert({"--text", "WIDE WIDE WIDE", "--copies", "2", "--sheet", "5x5", "-f", "gcode",
                                     "-o", "big.nc"});
  EXPECT_EQ(big.status, 1);
  EXPECT_NE(big.err.find("item 1 ("), std::string::npos) << big.err;
  EXPECT_FALSE(std::filesystem::exists(work_ / "big.nc"));
}

// The cut (the paths grown by half the kerf) of cut-out letters: with tabs every part stays
// joined to the sheet by exactly the tabs asked, each of the width asked, none near a corner.
TEST_F(ProductionRunTest, tabs_hold_every_part_in_the_sheet) {
  struct Case {
    std::vector<std::string> tabs;
    std::string width;
    int perPart;        // tabs on every part
    int fallingParts;   // parts left without a tab (shorter than --tab-min-length)
  };
  const std::vector<Case> cases = {
      {{"--tabs", "2", "--tab-width", "0.5"}, "0.5", 2, 0},
      {{"--tabs", "3", "--tab-width", "0.3"}, "0.3", 3, 0},
      // The I (about 30 around) is shorter than 35; every other letter is longer.
      {{"--tabs", "1", "--tab-width", "0.5", "--tab-min-length", "35"}, "0.5", -1, 1},
  };
  const std::vector<std::string> job = {"--text", "HILT 08", "--font", "DejaVu Sans", "--size", "72",
                                        "--kerf", "0.2", "-f", "closed"};
  std::vector<std::string> plain = job;
  plain.insert(plain.end(), {"-o", "plain.dxf"});
  ASSERT_EQ(convert(plain).status, 0);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tabs[1] + " " + c.width);
    std::vector<std::string> args = job;
    args.insert(args.end(), c.tabs.begin(), c.tabs.end());
    args.insert(args.end(), {"-o", "tabs.dxf"});
    const ProcessResult r = convert(args);
    ASSERT_EQ(r.status, 0) << r.err;
    const test::CommandOutput run = test::runCommand(
        "/usr/bin/python3 " KERFLINE_SOURCE_DIR "/tests/e2e/check_tabs.py '" + (work_ / "plain.dxf").string() +
        "' '" + (work_ / "tabs.dxf").string() + "' 0.2 " + c.width + " 2>&1");
    ASSERT_TRUE(run.ok()) << run.output;
    std::istringstream in(run.output);
    int parts = 0, fewest = 0, most = 0, piecesPlain = 0, piecesTabbed = 0, holes = 0;
    double narrowest = 0, widest = 0, nearestCorner = 0;
    in >> parts >> fewest >> most >> narrowest >> widest >> piecesPlain >> piecesTabbed >> holes >> nearestCorner;
    ASSERT_EQ(parts, 6) << run.output;  // H I L T 0 8
    ASSERT_EQ(holes, 3) << run.output;  // one in the 0, two in the 8
    EXPECT_EQ(piecesPlain, 1 + parts + holes) << "every part and hole falls out without tabs";
    // With tabs only the holes' scrap (and any part without a tab) comes loose.
    EXPECT_EQ(piecesTabbed, 1 + holes + c.fallingParts) << run.output;
    if (c.perPart > 0) {
      EXPECT_EQ(fewest, c.perPart) << run.output;
      EXPECT_EQ(most, c.perPart) << run.output;
    }
    const double width = std::stod(c.width);
    EXPECT_NEAR(narrowest, width, 0.01) << run.output;
    EXPECT_NEAR(widest, width, 0.01) << run.output;
    EXPECT_GE(nearestCorner, width) << "a tab within a corner's reach";
  }
}

// Text cut out of a sheet (kerf inside): without bridges every counter's island falls out; with
// them the sheet is one piece for every letter of real faces, and stays one piece when every
// neck narrower than the bridge width is cut (each bridge at least that wide).
TEST_F(ProductionRunTest, stencil_bridges_keep_every_island) {
  const std::string text = "BOARD 08 abdegopq469";
  const auto check = [&](std::vector<std::string> extra) {
    std::vector<std::string> args = {"--text", text, "--size", "72", "--space", "60", "--kerf", "0.2",
                                     "--kerf-side", "inside", "-f", "closed", "-o", "stencil.dxf"};
    args.insert(args.end(), extra.begin(), extra.end());
    const ProcessResult r = convert(args);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const test::CommandOutput run = test::runCommand("/usr/bin/python3 " KERFLINE_SOURCE_DIR
                                                     "/tests/e2e/check_stencil.py '" +
                                                     (work_ / "stencil.dxf").string() + "' 0.2 0.6 2>&1");
    EXPECT_TRUE(run.ok()) << run.output;
    std::istringstream in(run.output);
    std::vector<int> counts(3);
    in >> counts[0] >> counts[1] >> counts[2];
    return counts;
  };
  // B, O, A, R, D, 0, 8 (two), a, b, d, e, g (one or two), o, p, q, 4, 6, 9: many islands.
  EXPECT_GT(check({"--font", "DejaVu Sans"})[0], 15) << "the islands fall out without bridges";
  const std::pair<std::string, std::string> cases[] = {
      {"DejaVu Sans", "vertical"}, {"DejaVu Serif", "horizontal"}, {"Liberation Serif", "any"}};
  for (const auto& [face, direction] : cases) {
    SCOPED_TRACE(face + " " + direction);
    const std::vector<int> counts = check({"--font", face, "--stencil", "0.6", "--bridge-direction", direction});
    EXPECT_EQ(counts[0], 1) << "an island falls out";
    EXPECT_EQ(counts[1], 1) << "a bridge narrower than 0.6";
  }
  // Two bridges to an island: an O and a 0 become two pieces each.
  std::vector<std::string> two = {"--text", "O0", "--font", "DejaVu Sans", "--size", "72", "--stencil", "0.6",
                                  "--bridges", "2", "-f", "closed", "-o", "two.dxf"};
  ASSERT_EQ(convert(two).status, 0);
  const test::CommandOutput run = test::runCommand("/usr/bin/python3 " KERFLINE_SOURCE_DIR
                                                   "/tests/e2e/check_stencil.py '" +
                                                   (work_ / "two.dxf").string() + "' 0 0.6 2>&1");
  EXPECT_EQ(run.output, "1 1 4\n");
}

}  // namespace
TEST_F(ProductionRunTest, framed_badges_lie_apart_on_a_page_the_size_of_the_sheet) {
  // Each item is framed before the sheet is laid out, so items are kept apart by their frames'
  // extents; the SVG page is the whole sheet, so it prints at its real size.
  std::filesystem::copy_file(KERFLINE_SOURCE_DIR "/examples/team.csv", work_ / "team.csv");
  const ProcessResult r = convert({"--text", "{name}\\n{role}", "--merge", "team.csv", "--font", "DejaVu Sans",
                                   "--size", "24", "--frame", "rounded:3", "--frame-margin", "4", "--sheet",
                                   "300x200", "--gap", "5", "-f", "svg", "-o", "badges.svg"});
  ASSERT_EQ(r.status, 0) << r.err;
  const test::CommandOutput run = test::runCommand(
      "/usr/bin/python3 " KERFLINE_SOURCE_DIR "/tests/e2e/check_badges.py 300 200 5 4 '" +
      (work_ / "badges.svg").string() + "' 2>&1");
  ASSERT_TRUE(run.ok()) << run.output;
  // Page 300 x 200 mm; the twelve rows of the team, each in its frame; all on the sheet, apart,
  // letters at the frame margin, the name and the role clear of each other.
  EXPECT_EQ(run.output, "300 200 12 1 1 1 1\n");
  // The same run kept in a settings file's [Production] section, as the window keeps it.
  spit(work_ / "run.ini", "[Production]\r\nMergeFile=team.csv\r\nSheet=300x200\r\nGap=5\r\n");
  const ProcessResult stored =
      convert({"--settings", "run.ini", "--text", "{name}", "-f", "svg", "-o", "names.svg", "--report"});
  ASSERT_EQ(stored.status, 0) << stored.err;
  EXPECT_EQ(stored.out.rfind("names.svg: sheet 1, 12 items (1 to 12)", 0), 0u) << stored.out;
}

TEST_F(ProductionRunTest, a_router_leaves_the_tab_height_over_each_tab) {
  // The material along the tool's path, simulated from what two interpreters read: every
  // stretch is cut to the cut depth but the tabs, each the tab width plus the kerf long and
  // left standing exactly the tab height. "OI": two outlines with two tabs each (the O's
  // counter is a hole and gets none).
  struct Case {
    const char* name;
    std::vector<std::string> args;
    std::string simulated;  // tabs, other floors, shortest, longest, height left
  };
  const std::vector<Case> cases = {
      {"one pass", {"--z-cut", "-3", "--tab-height", "1"}, "4 0 1.500 1.500 1.0000"},
      // Passes at -1, -2 and -3: the first is above the tab's top (-1.5) and cuts it.
      {"passes", {"--z-cut", "-3", "--depth-per-pass", "1", "--tab-height", "1.5"}, "4 0 1.500 1.500 1.5000"},
      // As high as the cut is deep: a full tab, which the tool lifts clear over (no feed there).
      {"full height", {"--z-cut", "-3", "--tab-height", "3"}, "0 0 0.000 0.000 0.0000"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> args = {"--text", "OI", "--font", "DejaVu Sans", "--size", "72", "--kerf", "0.5",
                                     "--tabs", "2", "--tab-width", "1", "-f", "gcode", "-o", "oi.nc"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const ProcessResult r = convert(args);
    ASSERT_EQ(r.status, 0) << r.err;
    const test::CommandOutput run = test::runCommand("/usr/bin/python3 " KERFLINE_SOURCE_DIR
                                                     "/tests/e2e/check_tab_height.py '" +
                                                     (work_ / "oi.nc").string() + "' -3 2>&1");
    ASSERT_TRUE(run.ok()) << run.output;
    EXPECT_EQ(run.output, "npm " + c.simulated + "\nrs274 " + c.simulated + "\n");
  }
  // A laser and the drawing forms keep the gap: the height changes nothing there.
  for (const std::vector<std::string>& form : std::vector<std::vector<std::string>>{
           {"-f", "gcode", "--laser"}, {"-f", "svg"}, {"-f", "closed"}}) {
    SCOPED_TRACE(form[1]);
    std::vector<std::string> args = {"--text", "OI", "--font", "DejaVu Sans", "--size", "72", "--z-cut", "-3",
                                     "--tabs", "2", "-o", "oi.out"};
    args.insert(args.end(), form.begin(), form.end());
    const std::string gap = written(args, "oi.out");
    args.insert(args.end(), {"--tab-height", "1"});
    EXPECT_EQ(written(args, "oi.out"), gap);
  }
  EXPECT_NE(convert({"--text", "OI", "--tab-height", "1", "-f", "gcode", "-o", "x.nc"}).err.find("need --tabs"),
            std::string::npos);
}

}  // namespace kerfline::e2e
