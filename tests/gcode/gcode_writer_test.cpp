// The G-code writer read back by an independent interpreter (the npm package gcode-toolpath,
// pinned in package.json beside this file and run by nodejs): what the machine would do must
// trace the contours, at the right heights and feeds.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "command_output.h"
#include "common/error.h"
#include "export/converter_glyph_source.h"
#include "export/drawing_export.h"
#include "export/gcode_writer.h"
#include "export/toolpath_export.h"
#include "vectorizer/UTTF2Vct.h"

namespace kerfline {
namespace {

namespace fs = std::filesystem;

struct Move {
  std::string motion, spindle, units;
  double x1, y1, z1, x2, y2, z2;
  std::string feed;
  bool vertical() const { return x1 == x2 && y1 == y2; }
};

// A G2 or G3 move as the interpreter ran it.
struct ArcMove {
  std::string motion;
  Vec2 from, to, centre;
};

struct Readback {
  std::vector<Move> moves;
  std::vector<ArcMove> arcs;
  std::vector<int> zWordLines;
  std::vector<std::string> codes;  // M and S words in order
  std::string end;
};

const std::string kCheckDir = KERFLINE_SOURCE_DIR "/tests/gcode";

Readback readBack(const std::string& file) {
  Readback r;
  if (!fs::exists(kCheckDir + "/node_modules/gcode-toolpath")) {
    ADD_FAILURE() << "the interpreter is not installed: run scripts/install-deps.sh";
    return r;
  }
  const std::string command = "node " + kCheckDir + "/check_gcode.js '" + file + "' 2>&1";
  const test::CommandOutput run = test::runCommand(command);
  const std::string& output = run.output;
  if (run.status == -1) {
    ADD_FAILURE() << "node did not start";
    return r;
  }
  if (!run.ok()) {
    ADD_FAILURE() << "interpreter failed: " << output;
    return r;
  }
  std::istringstream in(output);
  std::string kind;
  while (in >> kind) {
    if (kind == "move") {
      Move m;
      in >> m.motion >> m.spindle >> m.units >> m.x1 >> m.y1 >> m.z1 >> m.x2 >> m.y2 >> m.z2 >> m.feed;
      r.moves.push_back(m);
    } else if (kind == "arc") {
      ArcMove a;
      std::string spindle, units, feed;
      double z = 0;
      in >> a.motion >> spindle >> units >> a.from.x >> a.from.y >> z >> a.to.x >> a.to.y >> z >>
          a.centre.x >> a.centre.y >> feed;
      r.arcs.push_back(a);
    } else if (kind == "zword") {
      int line = 0;
      in >> line;
      r.zWordLines.push_back(line);
    } else if (kind == "code") {
      std::string code;
      in >> code;
      r.codes.push_back(code);
    } else if (kind == "end") {
      in >> r.end;
    }
  }
  return r;
}

class Program {
 public:
  explicit Program(const std::string& name = "program")
      : file_(fs::temp_directory_path() /
              ("kerfline-gcode-" + std::to_string(::getpid()) + "-" + name + ".nc")) {}
  ~Program() { fs::remove(file_); }
  std::string path() const { return file_.string(); }
  std::string text() const {
    std::ifstream in(file_);
    return {std::istreambuf_iterator<char>(in), {}};
  }

 private:
  fs::path file_;
};

Contour ring(std::vector<Vec2> points, int depth = 0) {
  Contour c;
  c.points = std::move(points);
  c.depth = depth;
  return c;
}

Drawing letterAndStroke(Contour* stroke) {
  // An outline with a hole (holes first, as cut order has them), then an open path whose far
  // end lies nearer the tool, which stands at the outline's start after cutting it.
  stroke->closed = false;
  stroke->points = {{40, 30}, {20, 10}, {4.5, 1}};
  Drawing d;
  PlacedCharacter o;
  o.position = 1;
  o.contours = {ring({{2, 2}, {2, 6}, {6, 6}, {6, 2}}, 1), ring({{0, 0}, {8.25, 0}, {8.25, 8}, {0, 8}})};
  PlacedCharacter s;
  s.position = 2;
  s.contours = {*stroke};
  d.characters = {o, s};
  return d;
}

ConversionOptions millingOptions() {
  ConversionOptions o;
  o.format = OutputFormat::Gcode;
  o.classic.zMoveText = "2.5";
  o.classic.zLevelText = "-0.6";
  o.gcode.depthPerPass = 0.25;
  o.gcode.spindleRpm = 12000;
  return o;
}

// The XY points of each run of horizontal cutting moves at one height, with that height.
struct Pass {
  double z;
  std::vector<Vec2> points;
};
std::vector<Pass> passesOf(const std::vector<Move>& moves) {
  std::vector<Pass> out;
  bool inRun = false;
  for (const Move& m : moves) {
    if (m.motion != "G1" || m.vertical()) {
      inRun = false;
      continue;
    }
    if (!inRun) out.push_back({m.z1, {{m.x1, m.y1}}});
    inRun = true;
    out.back().points.push_back({m.x2, m.y2});
  }
  return out;
}

void expectSamePoints(const std::vector<Vec2>& got, const std::vector<Vec2>& want) {
  ASSERT_EQ(got.size(), want.size());
  for (std::size_t i = 0; i < got.size(); ++i) {
    EXPECT_NEAR(got[i].x, want[i].x, 5e-5) << "point " << i;
    EXPECT_NEAR(got[i].y, want[i].y, 5e-5) << "point " << i;
  }
}

// The points a ring's cut visits as printed in millimetres: from its first point back to it,
// a point that prints the same as the one before left out.
std::vector<Vec2> printedRing(const Contour& ring) {
  std::vector<Vec2> out;
  std::vector<Vec2> points = ring.points;
  points.push_back(points.front());
  for (const Vec2& p : points) {
    const Vec2 q{std::stod(gcodeNumber(p.x, DrawingUnits::Millimetre)),
                 std::stod(gcodeNumber(p.y, DrawingUnits::Millimetre))};
    if (out.empty() || !(out.back() == q)) out.push_back(q);
  }
  return out;
}

TEST(gcode_writer_test, numbers_have_fixed_decimals_rounded_from_the_exact_value) {
  // Expected strings from Python's correctly rounded "%.4f" / "%.5f" (a zero without sign).
  const std::pair<double, const char*> mm[] = {
      {0.03125, "0.0312"},   {1.00005, "1.0001"},     {-1.00005, "-1.0001"},
      {2.675, "2.6750"},     {123.45675, "123.4567"}, {-4e-05, "0.0000"},
      {1e9 + 0.5, "1000000000.5000"}, {1234567.89012345, "1234567.8901"},
      {0.1 + 0.2, "0.3000"}, {-5e-05, "-0.0001"}};
  for (const auto& [v, s] : mm) EXPECT_EQ(gcodeNumber(v, DrawingUnits::Millimetre), s) << v;
  const std::pair<double, const char*> in[] = {
      {2.5e-05, "0.00003"}, {1.5e-05, "0.00002"}, {1.234565, "1.23456"},
      {-4e-06, "0.00000"}, {3.14159265, "3.14159"}};
  for (const auto& [v, s] : in) EXPECT_EQ(gcodeNumber(v, DrawingUnits::Inch), s) << v;
  EXPECT_THROW(gcodeNumber(NAN, DrawingUnits::Millimetre), Error);
}

TEST(gcode_writer_test, numbers_at_the_rounding_edges_follow_exact_decimal_rounding) {
  // Expected strings from Python: Decimal(v).quantize(Decimal("1e-4"), ROUND_HALF_EVEN), a zero
  // printed without its sign; neighbours of ties are math.nextafter of them. -4.99999999e-05
  // once came out as "-0.0000" or "0.0000" depending on what lay on the stack.
  const std::pair<double, const char*> mm[] = {
      {-4.99999999e-05, "0.0000"},      {4.99999999e-05, "0.0000"},
      {-4.9999999999999996e-05, "0.0000"}, {-0.00015, "-0.0001"},
      {0.00025, "0.0003"},              {-0.00025, "-0.0003"},
      {1.0000499999999999, "1.0000"},   {1.0000500000000003, "1.0001"},
      {-2.00015, "-2.0002"},            {99999.99995, "99999.9999"},
      {99999.99994999998, "99999.9999"}, {100000.00005, "100000.0001"},
      {-123456789.00005, "-123456789.0000"}, {-0.0, "0.0000"}};
  for (const auto& [v, s] : mm) EXPECT_EQ(gcodeNumber(v, DrawingUnits::Millimetre), s) << v;
  const std::pair<double, const char*> in[] = {
      {-4.99999999e-06, "0.00000"}, {-5e-06, "-0.00001"}, {5e-06, "0.00001"},
      {-4.9999999999999996e-06, "0.00000"}, {1.000005, "1.00001"},
      {2.5000000000000005e-05, "0.00003"}};
  for (const auto& [v, s] : in) EXPECT_EQ(gcodeNumber(v, DrawingUnits::Inch), s) << v;
  // Beyond any machine's reach a coordinate would make an overlong line: refused.
  EXPECT_THROW(gcodeNumber(1e300, DrawingUnits::Millimetre), Error);
  EXPECT_EQ(gcodeNumber(-1e17, DrawingUnits::Millimetre), "-100000000000000000.0000");
}

TEST(gcode_writer_test, every_line_fits_a_controller_whatever_the_source_name) {
  Contour stroke;
  const Drawing d = letterAndStroke(&stroke);
  Program program;
  // A deep path with every kind of byte a comment must not carry.
  std::string source = "/srv/jobs";
  for (int i = 0; i < 60; ++i) source += "/(d\xc3\xa9p\x01t)";
  source += "/sign-final.rtf";
  for (const std::size_t length : {source.size(), std::size_t{239}, std::size_t{240}}) {
    const std::string name = length == source.size() ? source : std::string(length - 8, 'n') + "tail.rtf";
    saveGcodeFile(program.path(), d, millingOptions(), name);
    std::istringstream lines(program.text());
    std::string line, sourceLine;
    while (std::getline(lines, line)) {
      EXPECT_LT(line.size(), 250u) << line;
      if (line.starts_with("(source: ")) sourceLine = line;
    }
    // "(source: " and ")" take 10 characters. Cut or not, the comment still ends with the file's own name.
    EXPECT_TRUE(sourceLine.ends_with("tail.rtf)") || sourceLine.ends_with("sign-final.rtf)")) << sourceLine;
    EXPECT_EQ(sourceLine.find("...") != std::string::npos, name.size() + 10 > 249) << sourceLine;
  }
  ConversionOptions o = millingOptions();
  o.gcode.feed = 1e-300;  // exact in fixed notation only with 300 digits
  EXPECT_THROW(saveGcodeFile(program.path(), d, o, "x"), Error);
}

TEST(gcode_writer_test, passes_step_by_the_depth_and_end_exactly_at_z_cutting) {
  const auto mm = DrawingUnits::Millimetre;
  EXPECT_EQ(passDepths(-1.0, 0.3, mm), (std::vector<double>{-0.3, -0.6, -0.3 * 3, -1.0}));
  // Z cutting read in single precision (-0.30000001): no extra pass at a printed -0.3000.
  EXPECT_EQ(passDepths(-0.3f, 0.1, mm), (std::vector<double>{-0.1, -0.2, -0.3f}));
  EXPECT_EQ(passDepths(-0.2, 0.5, mm), (std::vector<double>{-0.2}));
  EXPECT_EQ(passDepths(0.5, 0.5, mm), (std::vector<double>{0.5}));
  EXPECT_EQ(passDepths(-0.6, std::nullopt, mm), (std::vector<double>{-0.6}));
  EXPECT_THROW(passDepths(-100, 0.01, mm), Error);
  EXPECT_THROW(passDepths(-1, 0.0, mm), Error);
}

TEST(gcode_writer_test, milling_program_traces_every_contour_pass_by_pass) {
  Contour stroke;
  const Drawing d = letterAndStroke(&stroke);
  Program program;
  saveGcodeFile(program.path(), d, millingOptions(), "sign (copy).rtf");
  const std::string text = program.text();
  EXPECT_NE(text.find("(source: sign [copy].rtf)\n"), std::string::npos);
  EXPECT_EQ(text.find("G21\nG90\nG17\nG0 Z2.5000\nM3 S12000\n"), text.find("G21"));
  const Readback r = readBack(program.path());
  ASSERT_FALSE(r.moves.empty());
  EXPECT_EQ(r.end, "M2");
  EXPECT_EQ(r.codes, (std::vector<std::string>{"M3", "S12000", "M5", "M2"}));

  const std::vector<double> depths{-0.25, -0.5, -0.6};
  for (const Move& m : r.moves) {
    EXPECT_EQ(m.units, "G21");
    if (m.motion == "G0") {
      // Rapids only up to Z up, or across at Z up.
      EXPECT_FLOAT_EQ(m.z2, 2.5);
      if (!m.vertical()) {
        EXPECT_FLOAT_EQ(m.z1, 2.5);
      }
    } else if (m.vertical()) {
      EXPECT_EQ(m.feed, "200") << "plunge feed";
      EXPECT_LT(m.z2, m.z1) << "a plunge goes down";
    } else {
      EXPECT_EQ(m.feed, "600") << "cutting feed";
      EXPECT_EQ(m.z1, m.z2);
      EXPECT_NE(std::find(depths.begin(), depths.end(), m.z1), depths.end()) << m.z1;
    }
  }
  const std::vector<Pass> passes = passesOf(r.moves);
  ASSERT_EQ(passes.size(), 9u);  // three contours, three passes each, one after the other
  for (std::size_t c = 0; c < 3; ++c)
    for (std::size_t p = 0; p < 3; ++p) EXPECT_DOUBLE_EQ(passes[3 * c + p].z, depths[p]);
  for (std::size_t c = 0; c < 2; ++c) {
    std::vector<Vec2> closedRing = d.characters[0].contours[c].points;
    closedRing.push_back(closedRing.front());
    for (std::size_t p = 0; p < 3; ++p) expectSamePoints(passes[3 * c + p].points, closedRing);
  }
  // The open path starts at its end nearer the tool (4.5, 1), then goes back and forth.
  std::vector<Vec2> backwards(stroke.points.rbegin(), stroke.points.rend());
  expectSamePoints(passes[6].points, backwards);
  expectSamePoints(passes[7].points, stroke.points);
  expectSamePoints(passes[8].points, backwards);
}

// A half circle over the top of (5, 0) from (10, 0) to (0, 0), then down to (0, -5): however
// the writer walks it (from either end, back and forth pass by pass), every arc the machine
// runs must pass over the top (5, 5), which is where G2 and G3 and the centre agree.
TEST(gcode_writer_test, arcs_keep_their_side_whichever_way_the_path_is_cut) {
  Drawing d;
  PlacedCharacter c;
  Contour path;
  path.closed = false;
  path.points = {{10, 0}, {0, 0}, {0, -5}};
  c.contours = {path};
  d.characters = {c};
  d.bulges = {{1, 0, 0}};
  const struct {
    bool planned;  // else text order: the tool at the origin starts from the nearer end (0, -5)
    bool passes;   // two passes, there and back
    std::vector<std::string> motions;
  } cases[] = {{true, false, {"G3"}}, {false, false, {"G2"}}, {true, true, {"G3", "G2"}},
               {false, true, {"G2", "G3"}}};
  for (const auto& k : cases) {
    ConversionOptions o = millingOptions();
    o.gcode.depthPerPass = k.passes ? 0.3 : 1.0;
    Program program;
    saveGcodeFile(program.path(), d, o, "arc", k.planned);
    const Readback r = readBack(program.path());
    ASSERT_EQ(r.arcs.size(), k.motions.size());
    for (std::size_t i = 0; i < r.arcs.size(); ++i) {
      const ArcMove& a = r.arcs[i];
      EXPECT_EQ(a.motion, k.motions[i]) << i;
      EXPECT_NEAR(a.centre.x, 5, 1e-9);
      EXPECT_NEAR(a.centre.y, 0, 1e-9);
      // The middle of the sweep: G3 turns counter-clockwise from its start.
      const double a0 = std::atan2(a.from.y, a.from.x - 5), a1 = std::atan2(a.to.y, a.to.x - 5);
      double sweep = a1 - a0;
      if (a.motion == "G3" && sweep <= 0) sweep += 2 * M_PI;
      if (a.motion == "G2" && sweep >= 0) sweep -= 2 * M_PI;
      EXPECT_NEAR(5 + 5 * std::cos(a0 + sweep / 2), 5, 1e-9) << i;
      EXPECT_NEAR(5 * std::sin(a0 + sweep / 2), 5, 1e-9) << i;
    }
  }
}

TEST(gcode_writer_test, laser_program_has_no_z_word_and_switches_the_beam_per_contour) {
  Contour stroke;
  const Drawing d = letterAndStroke(&stroke);
  ConversionOptions o = millingOptions();
  o.gcode.laser = true;
  o.gcode.power = 350;
  o.gcode.feed = 1500;
  o.units = DrawingUnits::Inch;
  Program program;
  saveGcodeFile(program.path(), d, o, "laser.txt");
  EXPECT_NE(program.text().find("\nG1 X8.25000 Y0.00000 F1500\n"), std::string::npos) << "5 decimals";
  const Readback r = readBack(program.path());
  EXPECT_EQ(r.zWordLines, std::vector<int>{});
  EXPECT_EQ(r.codes, (std::vector<std::string>{"M4", "S350", "M5", "M4", "S350", "M5", "M4",
                                                "S350", "M5", "M2"}));
  for (const Move& m : r.moves) {
    EXPECT_EQ(m.units, "G20");
    EXPECT_EQ(m.z1, 0);
    EXPECT_EQ(m.z2, 0);
    // The beam is on exactly while cutting.
    EXPECT_EQ(m.spindle, m.motion == "G1" ? "M4" : "M5");
    if (m.motion == "G1") {
      EXPECT_EQ(m.feed, "1500");
    }
  }
  const std::vector<Pass> passes = passesOf(r.moves);
  ASSERT_EQ(passes.size(), 3u);
  // The interpreter reports inches in millimetres.
  std::vector<Vec2> backwards;
  for (auto p = stroke.points.rbegin(); p != stroke.points.rend(); ++p)
    backwards.push_back({p->x * 25.4, p->y * 25.4});
  expectSamePoints(passes[2].points, backwards);
}

TEST(gcode_writer_test, settings_a_machine_must_not_run_are_refused_and_nothing_is_written) {
  Contour stroke;
  const Drawing d = letterAndStroke(&stroke);
  Program program;
  const auto refuses = [&](ConversionOptions o, const char* message) {
    try {
      saveGcodeFile(program.path(), d, o, "x");
      ADD_FAILURE() << "written: " << message;
    } catch (const Error& e) {
      EXPECT_STREQ(e.what(), message);
    }
    EXPECT_FALSE(fs::exists(program.path()));
  };
  ConversionOptions o = millingOptions();
  o.classic.zMoveText = "-0.6";  // rapids at the cutting depth would drag through the work
  refuses(o, "Z up must lie above Z cutting: the tool would travel through the material.");
  o = millingOptions();
  o.gcode.feed = 0;
  refuses(o, "The feed must be a number above 0.");
  o = millingOptions();
  o.gcode.plungeFeed = -5;
  refuses(o, "The plunge feed must be a number above 0.");
  o = millingOptions();
  o.gcode.depthPerPass = 1e-4;
  refuses(o, "The depth per pass gives more than 1000 passes: check it against Z cutting.");
  // A laser has no Z, so the heights do not matter there.
  o = millingOptions();
  o.classic.zMoveText = "-1";
  o.gcode.laser = true;
  EXPECT_NO_THROW(saveGcodeFile(program.path(), d, o, "x"));
}

TEST(gcode_writer_test, every_contour_of_a_welded_and_offset_real_text_is_traced) {
  struct Text final : TextSource {
    std::u32string s = U"Kerf 1,\r\nline @%";
    std::int32_t length() const override { return static_cast<std::int32_t>(s.size()); }
    char32_t charAt(std::int32_t pos) const override { return s[pos - 1]; }
    TFontDescription fontAt(std::int32_t) const override {
      TFontDescription f;
      f.Name = "Liberation Serif";
      f.Size = 30;
      f.Bold = true;
      return f;
    }
  } text;
  ConversionOptions o = millingOptions();
  o.classic.pitchText = "-3";
  o.weld = true;
  o.kerf = 0.1;
  TTTFToVectorConverter converter;
  ConverterGlyphSource glyphs(converter);
  Drawing d = cutReadyDrawing(text, o, glyphs);
  applyWeldAndKerf(d, o);
  Program program;
  saveGcodeFile(program.path(), d, o, "real text");
  const Readback r = readBack(program.path());
  const std::vector<Pass> passes = passesOf(r.moves);
  std::size_t k = 0;
  for (const PlacedCharacter& c : d.characters) {
    for (const Contour& ring : c.contours) {
      const std::vector<Vec2> closedRing = printedRing(ring);
      for (const double z : {-0.25, -0.5, -0.6}) {
        ASSERT_LT(k, passes.size());
        EXPECT_DOUBLE_EQ(passes[k].z, z);
        expectSamePoints(passes[k].points, closedRing);
        ++k;
      }
    }
  }
  EXPECT_EQ(k, passes.size());
  EXPECT_GT(k, 30u);
  for (const Move& m : r.moves) EXPECT_FALSE(m.motion == "G1" && m.vertical() && m.z1 == m.z2) << "no zero-length move";
}

TEST(gcode_writer_test, the_same_drawing_gives_the_same_bytes) {
  Contour stroke;
  const Drawing d = letterAndStroke(&stroke);
  // Another target, and another job written in between: the bytes depend on the drawing and
  // the settings alone, not on where they go or on what was written before.
  Program a("a"), between("between"), b("b");
  saveGcodeFile(a.path(), d, millingOptions(), "sign.rtf");
  const std::string first = a.text();
  ASSERT_TRUE(first.ends_with("\nM2\n")) << first;
  ConversionOptions laser = millingOptions();
  laser.gcode.laser = true;
  saveGcodeFile(between.path(), letterAndStroke(&stroke), laser, "other.rtf");
  ASSERT_NE(between.text(), first);
  saveGcodeFile(b.path(), d, millingOptions(), "sign.rtf");
  EXPECT_EQ(b.text(), first);
  // Defaults: feeds of the unit and no spindle words.
  ConversionOptions o;
  saveGcodeFile(a.path(), d, o, "sign.rtf");
  const std::string plain = a.text();
  EXPECT_NE(plain.find("G1 Z0.0000 F200\nG1 X2.0000 Y6.0000 F600\n"), std::string::npos) << plain;
  EXPECT_EQ(plain.find("M3"), std::string::npos);
  EXPECT_TRUE(plain.ends_with("G0 Z1.0000\nM2\n"));
}

}  // namespace
}  // namespace kerfline
