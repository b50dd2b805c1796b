// The weld against an independent union (shapely): hand-made rings with known areas, and the
// overlapping letters of a real script face.
#include <gtest/gtest.h>

#include "common/error.h"
#include "export/converter_glyph_source.h"
#include "export/drawing_layout.h"
#include "geometry/weld.h"
#include "geometry_test_support.h"
#include "vectorizer/UTTF2Vct.h"

namespace kerfline {
namespace {

using test::character;
using test::circle;
using test::square;

// The weld must give exactly the union: same area up to the integer grid (half a step of
// 1e-6 units at every vertex), no two rings crossing, every hole of the union kept.
void expectExactUnion(const Drawing& before, const Drawing& after) {
  const test::RegionCheck r = test::checkWeld(before, after);
  ASSERT_EQ(r.error, "");
  EXPECT_NEAR(r.areaAfter, r.unionArea, 1e-6 * r.perimeterAfter + 1e-9);
  EXPECT_LT(r.difference, 1e-6 * r.perimeterAfter + 1e-9);
  EXPECT_EQ(r.crossingAfter, 0);
  EXPECT_EQ(r.invalidAfter, 0);
  EXPECT_EQ(r.holesAfter, r.unionHoles);
}

std::size_t closedCount(const PlacedCharacter& c) {
  return std::count_if(c.contours.begin(), c.contours.end(), [](const Contour& k) { return k.closed; });
}

TEST(weld_test, overlapping_squares_become_one_outline_whatever_way_each_glyph_winds) {
  // A TrueType glyph winds its outline clockwise, a CFF glyph counter-clockwise: read together
  // by one non-zero rule, the overlap would cancel out and cut a hole where material is.
  Drawing d;
  d.characters = {character(1, {square(0, 0, 10, /*ccw=*/false)}),
                  character(2, {square(5, 5, 10, /*ccw=*/true)})};
  const Drawing before = d;
  EXPECT_EQ(overlappingCharacters(before), (std::vector<std::pair<std::size_t, std::size_t>>{{0, 1}}));
  weldOverlaps(d);
  ASSERT_EQ(d.characters.size(), 1u);
  EXPECT_EQ(d.characters[0].position, 1);
  ASSERT_EQ(closedCount(d.characters[0]), 1u);
  EXPECT_NEAR(test::areaByDepth(d), 100 + 100 - 25, 1e-9);
  expectExactUnion(before, d);
}

TEST(weld_test, ring_overlapping_a_ring_from_inside_keeps_both_holes) {
  // A square frame with a round ring reaching into its band from the hole: the frame's hole
  // loses the ring's area, and the ring's own hole stays a hole.
  Drawing d;
  d.characters = {character(1, {square(0, 0, 20), square(4, 4, 12, false)}),
                  character(2, {circle(6, 10, 4, 64), circle(6, 10, 2, 48, false)})};
  const Drawing before = d;
  weldOverlaps(d);
  ASSERT_EQ(d.characters.size(), 1u);
  EXPECT_EQ(closedCount(d.characters[0]), 3u);
  expectExactUnion(before, d);
}

TEST(weld_test, separate_touching_and_nested_characters_stay_apart) {
  // Sharing an edge or sitting in another's hole is no overlap: nothing there cuts a neighbour.
  Drawing d;
  d.characters = {character(1, {square(0, 0, 20), square(4, 4, 12, false)}),
                  character(2, {square(6, 6, 8)}),     // island in the hole, no contact
                  character(3, {square(20, 0, 5)}),    // shares the frame's right edge
                  character(4, {square(40, 0, 5)})};
  const Drawing before = d;
  EXPECT_TRUE(overlappingCharacters(before).empty());
  weldOverlaps(d);
  ASSERT_EQ(d.characters.size(), 4u);
  // The island is cut before the frame around it comes loose; the rest keep their order.
  const std::int32_t order[] = {2, 1, 3, 4};
  for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(d.characters[i].position, order[i]);
  expectExactUnion(before, d);
}

TEST(weld_test, overlaps_across_lines_weld_and_open_paths_pass_untouched) {
  Contour stroke;
  stroke.closed = false;
  stroke.points = {{0.5, 0.5}, {3.25, 7.125}, {9.0, 1.0}};
  Drawing d;
  d.characters = {character(1, {square(0, 0, 4)}, 0),
                  character(2, {stroke, square(8, 0, 4)}, 0),
                  character(5, {square(1, -3, 4)}, 1)};  // reaches up into line 0's first letter
  const Drawing before = d;
  weldOverlaps(d);
  ASSERT_EQ(d.characters.size(), 2u);
  EXPECT_EQ(d.characters[0].position, 1);
  EXPECT_EQ(d.characters[0].line, 0);
  EXPECT_EQ(closedCount(d.characters[0]), 1u);
  EXPECT_EQ(d.characters[1].position, 2);
  ASSERT_EQ(d.characters[1].contours.size(), 2u);
  const auto open = std::find_if(d.characters[1].contours.begin(), d.characters[1].contours.end(),
                                 [](const Contour& k) { return !k.closed; });
  ASSERT_NE(open, d.characters[1].contours.end());
  EXPECT_EQ(*open, stroke);
  expectExactUnion(before, d);
}

TEST(weld_test, coordinates_beyond_the_integer_grid_are_refused) {
  Drawing d;
  d.characters = {character(1, {square(0, 0, 1e13)})};
  try {
    weldOverlaps(d);
    ADD_FAILURE() << "no error";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "Coordinate out of range.");
  }
}

// A real script face: the URW "Z003" (a CFF font), its synthetic bold too. The classic walk
// starts every letter after the previous one's rightmost point, so the letters are drawn
// closer together here, as a tight tracking sets them: each overlaps its neighbours. Lines
// pitched closer than the letters are tall overlap across lines as well.
class script_face_weld_test : public ::testing::TestWithParam<bool> {};

TEST_P(script_face_weld_test, welds_to_the_exact_union) {
  TFontDescription font;
  font.Name = "Z003";
  font.Size = 24;
  font.Bold = GetParam();
  struct Text final : TextSource {
    std::u32string s;
    TFontDescription f;
    std::int32_t length() const override { return static_cast<std::int32_t>(s.size()); }
    char32_t charAt(std::int32_t pos) const override { return s[pos - 1]; }
    TFontDescription fontAt(std::int32_t) const override { return f; }
  } text;
  text.s = U"Minimum kerfing\r\nwelds ghastly";
  text.f = font;
  ExportSettings settings;
  settings.spacePercent = 0;
  settings.pitchText = "-3";
  TTTFToVectorConverter converter;
  ConverterGlyphSource glyphs(converter);
  Drawing d = layoutDrawing(text, settings, glyphs);
  ASSERT_GT(d.characters.size(), 20u);
  int indexOnLine = 0;
  for (std::size_t i = 0; i < d.characters.size(); ++i) {
    indexOnLine = i > 0 && d.characters[i].line == d.characters[i - 1].line ? indexOnLine + 1 : 0;
    for (Contour& k : d.characters[i].contours)
      for (Vec2& p : k.points) p.x -= 0.8 * indexOnLine;
  }
  const Drawing before = d;
  weldOverlaps(d);
  EXPECT_LE(d.characters.size(), before.characters.size() / 3) << "the letters should overlap";
  expectExactUnion(before, d);
}

INSTANTIATE_TEST_SUITE_P(regular_and_bold, script_face_weld_test, ::testing::Bool());

}  // namespace
}  // namespace kerfline
