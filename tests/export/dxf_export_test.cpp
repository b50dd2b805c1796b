#include "export/dxf_export.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "export/dxf_layer.h"
#include "export_test_support.h"

namespace kerfline {
namespace {

using test::FakeGlyphs;
using test::MemoryText;
using test::TempDir;
using test::dxfLines;
using test::numberOf;
using test::readFile;
namespace fs = std::filesystem;

const char kEmptyFile[] = "  0\r\nSECTION\r\n  2\r\nENTITIES\r\n  0\r\nENDSEC\r\n  0\r\nEOF\r\n";

struct Line3 {
  float x1, y1, z1, x2, y2, z2;
  friend bool operator==(const Line3&, const Line3&) = default;
  friend std::ostream& operator<<(std::ostream& os, const Line3& l) {
    return os << '(' << l.x1 << ' ' << l.y1 << ' ' << l.z1 << ")->(" << l.x2 << ' ' << l.y2 << ' '
              << l.z2 << ')';
  }
};

// A DXF number read back: fifteen digits name exactly one float.
float floatOf(const std::string& text) { return static_cast<float>(numberOf(text)); }

// Reads a "Lines + Z moves" file, checking every line of its fixed layout.
std::vector<Line3> readLineFile(const std::string& bytes, const std::string& layer = "0") {
  const auto lines = dxfLines(bytes);
  std::vector<Line3> out;
  if (lines.size() < 8 || (lines.size() - 8) % 16 != 0) {
    ADD_FAILURE() << "unexpected line count " << lines.size();
    return out;
  }
  const std::vector<std::string> head(lines.begin(), lines.begin() + 4);
  EXPECT_EQ(head, (std::vector<std::string>{"  0", "SECTION", "  2", "ENTITIES"}));
  const std::vector<std::string> foot(lines.end() - 4, lines.end());
  EXPECT_EQ(foot, (std::vector<std::string>{"  0", "ENDSEC", "  0", "EOF"}));
  for (std::size_t i = 4; i + 4 < lines.size(); i += 16) {
    const auto at = [&](std::size_t k) { return lines[i + k]; };
    const std::vector<std::string> codes{at(0), at(2), at(4), at(6), at(8), at(10), at(12), at(14)};
    EXPECT_EQ(codes, (std::vector<std::string>{"  0", "  8", " 10", " 20", " 30", " 11", " 21", " 31"}));
    EXPECT_EQ(at(1), "LINE");
    EXPECT_EQ(at(3), layer);
    out.push_back({floatOf(at(5)), floatOf(at(7)), floatOf(at(9)), floatOf(at(11)), floatOf(at(13)),
                   floatOf(at(15))});
  }
  return out;
}

// Reads a "PolyLines XY only" file, checking every line of its fixed layout.
std::vector<Line3> readPolyFile(const std::string& bytes, const std::string& layer = "0") {
  const auto lines = dxfLines(bytes);
  std::vector<Line3> out;
  if (lines.size() < 8 || (lines.size() - 8) % 38 != 0) {
    ADD_FAILURE() << "unexpected line count " << lines.size();
    return out;
  }
  const std::vector<std::string> head(lines.begin(), lines.begin() + 5);
  EXPECT_EQ(head, (std::vector<std::string>{"  0", "SECTION", "  2", "ENTITIES", "  0"}));
  const std::vector<std::string> foot(lines.end() - 3, lines.end());
  EXPECT_EQ(foot, (std::vector<std::string>{"ENDSEC", "  0", "EOF"}));
  for (std::size_t i = 5; i + 3 < lines.size(); i += 38) {
    const std::vector<std::string> entity(lines.begin() + static_cast<long>(i),
                                          lines.begin() + static_cast<long>(i) + 38);
    const std::vector<std::string> expected{
        "POLYLINE", "  8", layer, " 66", "     1", " 10", "0.0", " 20", "0.0", " 30", "0.0",
        "  0", "VERTEX", "  8", layer, " 10", entity[16], " 20", entity[18], " 30", entity[20],
        " 42", "0.0", "  0", "VERTEX", "  8", layer, " 10", entity[28], " 20", entity[30],
        " 30", entity[32], " 42", "0.0", "  0", "SEQEND", "  0"};
    EXPECT_EQ(entity, expected);
    out.push_back({floatOf(entity[16]), floatOf(entity[18]), floatOf(entity[20]),
                   floatOf(entity[28]), floatOf(entity[30]), floatOf(entity[32])});
  }
  return out;
}

// Outline units to drawing units, computed here in long double (exact for these small
// integers) and rounded once.
float scaled(int outline, float unitScale) {
  return static_cast<float>(static_cast<long double>(outline) * kOutlineFactor * unitScale);
}

// A font size and scale for which UnitScale is 1: drawing units = outline * 0.18f.
TFontDescription tenPoint() {
  TFontDescription f;
  f.Size = 10;
  return f;
}

ExportSettings plainSettings() {
  ExportSettings s;
  s.scale = 10000;  // with 10 points: UnitScale 1
  s.spacePercent = 0;
  s.zMoveText = "5";
  s.zLevelText = "-1.5";
  s.layerText = "cut";
  return s;
}

class DxfExportTest : public ::testing::Test {
 protected:
  std::vector<Line3> lines(const std::u32string& text, const ExportSettings& settings,
                           const std::string& layer = "cut") {
    MemoryText source(text, tenPoint());
    saveLinesDxf(dir.file("lines.dxf"), source, settings, glyphs, nullptr);
    return readLineFile(readFile(dir.file("lines.dxf")), layer);
  }
  std::vector<Line3> polys(const std::u32string& text, const ExportSettings& settings,
                           const std::string& layer = "cut") {
    MemoryText source(text, tenPoint());
    savePolyLinesDxf(dir.file("polys.dxf"), source, settings, glyphs, nullptr);
    return readPolyFile(readFile(dir.file("polys.dxf")), layer);
  }

  TempDir dir;
  FakeGlyphs glyphs;
};

TEST_F(DxfExportTest, texts_without_outline_give_the_eight_line_frame_in_both_formats) {
  for (const std::u32string text : {U"", U"   \r\n  \r\n", U"\n\n\r"}) {
    MemoryText source(text, tenPoint());
    saveLinesDxf(dir.file("a.dxf"), source, plainSettings(), glyphs, nullptr);
    savePolyLinesDxf(dir.file("b.dxf"), source, plainSettings(), glyphs, nullptr);
    EXPECT_EQ(readFile(dir.file("a.dxf")), kEmptyFile);
    EXPECT_EQ(readFile(dir.file("b.dxf")), kEmptyFile);
  }
}

TEST_F(DxfExportTest, two_contours_give_plunge_strokes_retract_each) {
  // "o": an outer contour of four strokes, an inner one of three.
  glyphs.set(U'o', {{{0, 0}, {100, 0}, {100, 100}, {0, 100}}, {{20, 20}, {80, 20}, {50, 80}}});
  const float zMove = 5.0f;
  const float zLevel = -1.5f;
  const auto p = [](int x, int y) { return std::pair{scaled(x, 1.0f), scaled(y, 1.0f)}; };
  const auto stroke = [&](std::pair<float, float> a, std::pair<float, float> b) {
    return Line3{a.first, a.second, zLevel, b.first, b.second, zLevel};
  };
  const auto plunge = [&](std::pair<float, float> a) {
    return Line3{a.first, a.second, zMove, a.first, a.second, zLevel};
  };
  const auto retract = [&](std::pair<float, float> a) {
    return Line3{a.first, a.second, zLevel, a.first, a.second, zMove};
  };
  const std::vector<Line3> expected{
      plunge(p(0, 0)),
      stroke(p(0, 0), p(100, 0)),
      stroke(p(100, 0), p(100, 100)),
      stroke(p(100, 100), p(0, 100)),
      stroke(p(0, 100), p(0, 0)),
      retract(p(0, 0)),
      plunge(p(20, 20)),
      stroke(p(20, 20), p(80, 20)),
      stroke(p(80, 20), p(50, 80)),
      stroke(p(50, 80), p(20, 20)),
      retract(p(20, 20)),
  };
  EXPECT_EQ(lines(U"o", plainSettings()), expected);  // n + 2c = 7 + 4 entities
}

TEST_F(DxfExportTest, zero_length_first_stroke_closes_at_once_and_reopens) {
  glyphs.setStrokes(U'z', {{0, 10, 10, 10, 10}, {0, 10, 10, 30, 10}, {0, 30, 10, 10, 10}});
  const float a = scaled(10, 1.0f);
  const float b = scaled(30, 1.0f);
  const std::vector<Line3> expected{
      {a, a, -1.5f, a, a, -1.5f},  // the zero-length stroke, no plunge before it
      {a, a, -1.5f, a, a, 5.0f},   // retract
      {a, a, 5.0f, a, a, -1.5f},   // the next stroke opens the contour again
      {a, a, -1.5f, b, a, -1.5f},
      {b, a, -1.5f, a, a, -1.5f},
      {a, a, -1.5f, a, a, 5.0f},
  };
  EXPECT_EQ(lines(U"z", plainSettings()), expected);
}

TEST_F(DxfExportTest, many_strokes_in_one_contour_are_not_limited) {
  std::vector<std::pair<int, int>> ring;
  for (int i = 0; i < 5000; ++i) ring.emplace_back(i, i % 7);
  glyphs.set(U'g', {ring});
  const auto got = lines(U"g", plainSettings());
  ASSERT_EQ(got.size(), 5002u);
  EXPECT_EQ(got.front().z1, 5.0f);
  EXPECT_EQ(got.back().z2, 5.0f);
}

// The x of the first point of each stroke line of the file (plunges and retracts left out).
std::vector<float> strokeStarts(const std::vector<Line3>& lines) {
  std::vector<float> xs;
  for (const auto& l : lines) {
    if (l.z1 == l.z2) xs.push_back(l.x1);
  }
  return xs;
}

TEST_F(DxfExportTest, spacing_stretches_the_sum_of_widths) {
  glyphs.set(U'A', {{{0, 0}, {300, 0}, {150, 400}}});  // width 300 outline units
  glyphs.set(U'B', {{{10, 0}, {50, 0}, {10, 200}}});   // width 50
  const float wA = scaled(300, 1.0f);
  const float wB = scaled(50, 1.0f);
  ExportSettings s = plainSettings();
  s.spacePercent = 0;  // each origin at the rightmost point of the character before
  auto xs = strokeStarts(lines(U"AB", s));
  ASSERT_EQ(xs.size(), 6u);
  EXPECT_EQ(xs[3], wA + scaled(10, 1.0f));

  s.spacePercent = 10;  // 1.10000002384186 times the sum
  const float factor = 1.1f;
  xs = strokeStarts(lines(U"ABA", s));
  ASSERT_EQ(xs.size(), 9u);
  EXPECT_EQ(xs[0], 0.0f);
  EXPECT_EQ(xs[3], static_cast<float>(static_cast<long double>(wA) * factor + scaled(10, 1.0f)));
  const float sum = wA + wB;
  EXPECT_EQ(xs[6], static_cast<float>(static_cast<long double>(sum) * factor));
}

TEST_F(DxfExportTest, characters_without_outline_advance_by_the_widest_so_far) {
  glyphs.set(U'W', {{{0, 0}, {900, 0}, {450, 700}}});
  glyphs.set(U'i', {{{0, 0}, {100, 0}, {50, 700}}});
  glyphs.set(U'B', {{{0, 0}, {10, 0}, {0, 10}}});
  const float wW = scaled(900, 1.0f);
  const float wI = scaled(100, 1.0f);
  ExportSettings s = plainSettings();

  // Leading spaces move nothing: nothing was converted yet.
  auto xs = strokeStarts(lines(U"  B", s));
  EXPECT_EQ(xs.at(0), 0.0f);
  // A space after "W" and "i" advances by the width of "W".
  xs = strokeStarts(lines(U"Wi B", s));
  EXPECT_EQ(xs.at(6), (wW + wI) + wW);
  // On a later line each leading space moves by the widest character so far.
  const auto got = lines(U"W\r\n  B", s);
  ASSERT_EQ(got.size(), 10u);
  EXPECT_EQ(got[6].x1, wW + wW);
  EXPECT_EQ(got[6].y1, -2.0f);  // the pitch field's "-2.000"
}

TEST_F(DxfExportTest, line_feeds_start_new_lines_and_carriage_returns_do_nothing) {
  glyphs.set(U'A', {{{0, 0}, {300, 0}, {150, 400}}});
  glyphs.set(U'B', {{{10, 0}, {50, 0}, {10, 200}}});
  ExportSettings s = plainSettings();
  s.pitchText = "-7.5";
  const float bx = scaled(10, 1.0f);
  for (const std::u32string text : {U"A\r\nB", U"A\nB"}) {
    const auto got = lines(text, s);
    ASSERT_EQ(got.size(), 10u);
    EXPECT_EQ(got[5].x1, bx);  // B's plunge: X origin 0
    EXPECT_EQ(got[5].y1, -7.5f);
  }
  const auto got = lines(U"A\rB", s);  // CR alone: same line, after A
  ASSERT_EQ(got.size(), 10u);
  EXPECT_EQ(got[5].x1, scaled(300, 1.0f) + bx);
  EXPECT_EQ(got[5].y1, 0.0f);
}

TEST_F(DxfExportTest, fields_that_are_not_numbers_fall_back_silently) {
  glyphs.set(U'A', {{{0, 0}, {300, 0}, {150, 400}}});
  struct Case {
    const char* pitch;
    const char* zMove;
    const char* zLevel;
    float expectPitch, expectMove, expectLevel;
  };
  const Case cases[] = {
      {"-2,5", "abc", "", -2.0f, 0.0f, 0.0f},
      {"-2.5 ", " 1", "1e", -2.0f, 1.0f, 0.0f},
      {"1e39", "-.5", "0.1", -2.0f, -0.5f, 0.1f},  // an infinite pitch is no number either
      {"  +3", "inf", "-2.", 3.0f, 0.0f, -2.0f},
  };
  for (const auto& c : cases) {
    ExportSettings s = plainSettings();
    s.pitchText = c.pitch;
    s.zMoveText = c.zMove;
    s.zLevelText = c.zLevel;
    const auto got = lines(U"A\nA", s);
    ASSERT_EQ(got.size(), 10u);
    EXPECT_EQ(got[0].z1, c.expectMove) << c.zMove;
    EXPECT_EQ(got[0].z2, c.expectLevel) << c.zLevel;
    EXPECT_EQ(got[5].y1, c.expectPitch) << c.pitch;
    const auto poly = polys(U"A", s);
    ASSERT_EQ(poly.size(), 3u);
    EXPECT_EQ(poly[0].z1, c.expectLevel);
    EXPECT_EQ(poly[0].z2, c.expectLevel);
  }
}

TEST_F(DxfExportTest, polylines_hold_the_stroke_lines_at_the_cutting_depth) {
  glyphs.set(U'o', {{{0, 0}, {100, 0}, {100, 100}, {0, 100}}, {{20, 20}, {80, 20}, {50, 80}}});
  glyphs.set(U'A', {{{0, -40}, {300, 0}, {150, 400}}});
  ExportSettings s = plainSettings();
  s.spacePercent = 37;
  s.pitchText = "-3.3";
  const std::u32string text = U"oA o\r\nAo";
  std::vector<Line3> strokeLines;
  for (const auto& l : lines(text, s)) {
    if (l.z1 == l.z2) strokeLines.push_back(l);  // leave plunges and retracts out
  }
  MemoryText source(text, tenPoint());
  savePolyLinesDxf(dir.file("p.dxf"), source, s, glyphs, nullptr);
  const std::string bytes = readFile(dir.file("p.dxf"));
  EXPECT_EQ(dxfLines(bytes).size(), 5 + 38 * strokeLines.size() + 3);
  EXPECT_EQ(readPolyFile(bytes, "cut"), strokeLines);
}

TEST_F(DxfExportTest, every_character_in_its_own_size) {
  glyphs.set(U'A', {{{0, 0}, {500, 0}, {250, 700}}});
  MemoryText source(U"AA", tenPoint());
  TFontDescription twenty = tenPoint();
  twenty.Size = 20;
  source.setFont(2, twenty);
  ExportSettings s = plainSettings();
  s.scale = 100;
  s.resolution = 7;
  struct Seen : ExportObserver {
    std::vector<std::tuple<std::int32_t, char32_t, int, float>> calls;
    void characterBecameCurrent(std::int32_t pos, char32_t c, const TFontDescription& font,
                                float unitScale) override {
      calls.emplace_back(pos, c, font.Size, unitScale);
    }
  } seen;
  saveLinesDxf(dir.file("s.dxf"), source, s, glyphs, &seen);
  const auto got = readLineFile(readFile(dir.file("s.dxf")), "cut");
  ASSERT_EQ(got.size(), 10u);
  // Outline 700 at 10 points: 700 * 0.18 * 0.01; at 20 points exactly twice that, as
  // UnitScale doubles exactly.
  EXPECT_EQ(got[2].y2, scaled(700, 0.01f));
  EXPECT_EQ(got[7].y2, 2 * got[2].y2);
  EXPECT_EQ(seen.calls.size(), 2u);
  EXPECT_EQ(seen.calls[1], std::make_tuple(2, U'A', 20, 0.02f));
  EXPECT_EQ(glyphs.requests, (std::vector<std::tuple<char32_t, int, int>>{{U'A', 10, 7}, {U'A', 20, 7}}));
}

TEST_F(DxfExportTest, layer_name_is_written_in_every_entity) {
  glyphs.set(U'A', {{{0, 0}, {300, 0}, {150, 400}}});
  ExportSettings s = plainSettings();
  s.layerText = " \t my layer \r\n";
  EXPECT_EQ(lines(U"A", s, "my layer").size(), 5u);
  EXPECT_EQ(polys(U"A", s, "my layer").size(), 3u);
}

TEST(dxf_layer_test, trimmed_single_byte_and_at_most_255) {
  const std::pair<std::string, std::string> cases[] = {
      {"0", "0"},
      {"", "0"},
      {"    ", "0"},
      {"\x01\x1f layer 1 \x7f", "layer 1 \x7f"},  // codes 0..32 trimmed, 127 is not
      {"Caf\xC3\xA9", "Caf\xE9"},                 // Windows-1252 bytes
      {"\xE2\x82\xAC", "\x80"},                   // the euro sign
      {"\xE4\xB8\xAD", "?"},                      // no byte for it
      {"a\r\nb", "a??b"},                         // a line break would split the file
      {std::string(300, 'x'), std::string(255, 'x')},
      {std::string(254, 'x') + "\xC3\xA9" + "yy", std::string(254, 'x') + "\xE9"},
  };
  for (const auto& [text, layer] : cases) EXPECT_EQ(dxfLayerName(text), layer) << text;
}

TEST_F(DxfExportTest, unwritable_coordinates_leave_no_file) {
  glyphs.set(U'A', {{{0, 0}, {300, 0}, {150, 400}}});
  ExportSettings s = plainSettings();
  s.pitchText = "3e38";  // the second line feed overflows Y
  test::writeFile(dir.file("lines.dxf"), "previous");
  EXPECT_ERROR_MSG(lines(U"A\nA\nA", s), "Coordinate out of range.");
  EXPECT_EQ(readFile(dir.file("lines.dxf")), "previous");
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"lines.dxf"});
}

TEST_F(DxfExportTest, missing_folder_is_an_invalid_filename) {
  MemoryText source(U"A", tenPoint());
  EXPECT_ERROR_MSG(saveLinesDxf(dir.file("nope/a.dxf"), source, plainSettings(), glyphs, nullptr),
                   "Invalid filename.");
  EXPECT_ERROR_MSG(
      savePolyLinesDxf(dir.file("nope/a.dxf"), source, plainSettings(), glyphs, nullptr),
      "Invalid filename.");
  EXPECT_TRUE(dir.entries().empty());
  EXPECT_TRUE(glyphs.requests.empty());  // refused before any character was converted
}

TEST_F(DxfExportTest, full_disk_keeps_the_previous_file) {
  glyphs.set(U'A', {{{0, 0}, {300, 0}, {150, 400}}});
  const std::string folder = dir.path().string();
  const std::string result = test::onTinyFileSystem(folder, 256 * 1024, [&]() -> std::string {
    const std::string target = folder + "/out.dxf";
    test::writeFile(target, "previous");
    MemoryText source(std::u32string(20000, U'A'), tenPoint());  // about 9 MB of LINEs
    std::string messages;
    for (int format = 0; format < 2; ++format) {
      try {
        if (format == 0) saveLinesDxf(target, source, plainSettings(), glyphs, nullptr);
        if (format == 1) savePolyLinesDxf(target, source, plainSettings(), glyphs, nullptr);
        messages += "written|";
      } catch (const Error& e) {
        messages += std::string(e.what()) + "|";
      }
    }
    std::string names;
    for (const auto& entry : fs::directory_iterator(folder)) names += entry.path().filename().string() + ";";
    return messages + readFile(target) + "|" + names;
  });
  if (result.rfind("skip:", 0) == 0) GTEST_SKIP() << result;
  EXPECT_EQ(result, "Disk full.|Disk full.|previous|out.dxf;");
}

}  // namespace
}  // namespace kerfline
