// The weld against an independent union (shapely): hand-made rings with known areas, and the
// overlapping letters of a real script face.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "common/error.h"
#include "export/converter_glyph_source.h"
#include "export/drawing_layout.h"
#include "export/toolpath_export.h"
#include "export/weld_kerf_cache.h"
#include "geometry/weld.h"
#include "geometry_test_support.h"
#include "vectorizer/UTTF2Vct.h"

namespace kerfline {
namespace {

using test::character;
using test::layOut;
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
  ExportSettings settings;
  settings.spacePercent = 0;
  settings.pitchText = "-3";
  Drawing d = layOut(U"Minimum kerfing\r\nwelds ghastly", font, settings);
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

// Letters set closer than the kerf (an "i" and a "c" of a 10-point sans stand 0.14 units
// apart) do not overlap, but their paths do once each has moved out by half a 0.2 kerf:
// with a weld they are cut as one, without one they are named.
TEST(weld_test, letters_closer_than_the_kerf_are_welded_after_the_offset_or_named) {
  TFontDescription sans;
  sans.Name = "Liberation Sans";
  sans.Size = 10;
  const Drawing placed = layOut(U"ic", sans, ExportSettings{});
  ASSERT_EQ(placed.characters.size(), 2u);
  ASSERT_TRUE(overlappingCharacters(placed).empty());
  for (const bool weld : {true, false}) {
    ConversionOptions options;
    options.weld = weld;
    options.kerf = 0.2;
    Drawing d = placed;
    const ToolpathNotes notes = applyWeldAndKerf(d, options);
    EXPECT_EQ(d.characters.size(), weld ? 1u : 2u) << weld;
    EXPECT_EQ(notes.overlapping.size(), weld ? 0u : 1u) << weld;
    if (weld) {
      EXPECT_EQ(test::checkCrossings(d).crossing, 0);
    }
  }
}

// Two thousand characters of mixed letters in a 10-point sans, welded and offset: no two
// paths cross (shapely), and no ring keeps an edge of length zero or under a micrometre that
// it could lose without bending by more than the grid allows.
TEST(weld_test, no_paths_cross_and_no_edge_is_degenerate_after_weld_and_kerf) {
  TFontDescription sans;
  sans.Name = "Liberation Sans";
  sans.Size = 10;
  std::mt19937 random(1365);
  const std::u32string alphabet = U"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789,.-&";
  std::u32string s;
  for (int column = 0; s.size() < 2000; ++column) {
    if (column == 63) {
      s += U"\r\n";
      column = -1;
    } else {
      s += random() % 6 == 0 ? U' ' : alphabet[random() % alphabet.size()];
    }
  }
  const Drawing placed = layOut(s, sans, ExportSettings{});
  ConversionOptions options;
  options.weld = true;
  options.kerf = 0.2;
  Drawing d = placed;
  applyWeldAndKerf(d, options);
  const test::CrossingCheck r = test::checkCrossings(d);
  ASSERT_EQ(r.error, "");
  EXPECT_EQ(r.crossing, 0);
  EXPECT_EQ(r.invalid, 0);
  int degenerate = 0;
  for (const PlacedCharacter& c : d.characters)
    for (const Contour& k : c.contours)
      for (std::size_t i = 0; i < k.points.size(); ++i) {
        const Vec2& a = k.points[i];
        const Vec2& b = k.points[(i + 1) % k.points.size()];
        if (std::hypot(a.x - b.x, a.y - b.y) < 1e-3) ++degenerate;
      }
  EXPECT_EQ(degenerate, 0);
}

// Text set on itself (every line at one height) overlaps in every pair: n squares stacked
// give n(n-1)/2 pairs. The list asked for stops at its limit with the first pairs in order,
// and the notes name a thousand and say there are more.
TEST(weld_test, overlaps_of_text_stacked_on_itself_stop_at_the_limit) {
  Drawing stacked;
  for (std::int32_t i = 0; i < 60; ++i)
    stacked.characters.push_back(character(i + 1, {square(0.01 * i, 0, 10)}));
  using Pairs = std::vector<std::pair<std::size_t, std::size_t>>;
  EXPECT_EQ(overlappingCharacters(stacked, {}, 4), (Pairs{{0, 1}, {0, 2}, {0, 3}, {0, 4}}));
  EXPECT_EQ(overlappingCharacters(stacked, {}, 61).back(), (std::pair<std::size_t, std::size_t>{1, 3}));
  EXPECT_EQ(overlappingCharacters(stacked).size(), 60u * 59u / 2);

  ConversionOptions options;
  options.kerf = 0.2;
  Drawing d = stacked;
  const ToolpathNotes notes = applyWeldAndKerf(d, options);
  EXPECT_EQ(notes.overlapping.size(), kListedOverlaps);  // of 1,770
  EXPECT_TRUE(notes.moreOverlapping);
  EXPECT_EQ(notes.overlapping.front(), (std::pair<CharacterPlace, CharacterPlace>{{1, U'x', 0}, {2, U'x', 0}}));
}

// The view's weld cache orders each group for cutting on its own: a square in the hole of a
// framed square is cut before the frame, and groups that nest nothing keep their places
// around it, exactly as the whole drawing's weld and offset order them.
TEST(weld_test, cached_groups_keep_the_whole_drawings_cut_order_across_characters) {
  Drawing d;
  d.characters = {character(1, {square(-30, 0, 5)}),
                  character(2, {square(0, 0, 40), square(5, 5, 30, /*ccw=*/false)}),
                  character(3, {square(60, 0, 5)}), character(4, {square(15, 15, 5)}),
                  character(5, {square(90, 0, 5)})};
  for (const bool weld : {false, true}) {
    ConversionOptions options;
    options.weld = weld;
    options.kerf = 0.5;
    Drawing whole = d, cached = d;
    const ToolpathNotes expected = applyWeldAndKerf(whole, options);
    WeldKerfCache cache;
    const ToolpathNotes notes = cache.apply(cached, options);
    std::vector<std::int32_t> order;
    for (const PlacedCharacter& c : cached.characters) order.push_back(c.position);
    EXPECT_EQ(order, (std::vector<std::int32_t>{1, 4, 2, 3, 5})) << weld;
    EXPECT_EQ(cached.characters, whole.characters) << weld;
    EXPECT_EQ(notes.overlapping, expected.overlapping) << weld;
    EXPECT_EQ(cache.groups(), 4u) << weld;
  }
  // Two brackets welded into a ring hold a square that lies in neither bracket's box: the ring
  // they make is cut after it, in the cache too.
  const auto ring = [](std::vector<Vec2> points) { return Contour{std::move(points), true, 0}; };
  Drawing brackets;
  brackets.characters = {
      character(1, {ring({{0, 0}, {12, 0}, {12, 4}, {4, 4}, {4, 16}, {12, 16}, {12, 20}, {0, 20}})}),
      character(2, {ring({{20, 0}, {20, 20}, {8, 20}, {8, 16}, {16, 16}, {16, 4}, {8, 4}, {8, 0}})}),
      character(3, {square(6, 6, 8)})};
  ConversionOptions options;
  options.weld = true;
  options.kerf = 0.5;
  Drawing whole = brackets, cached = brackets;
  (void)applyWeldAndKerf(whole, options);
  WeldKerfCache cache;
  (void)cache.apply(cached, options);
  ASSERT_EQ(whole.characters.size(), 2u);
  EXPECT_EQ(whole.characters.front().position, 3);
  EXPECT_EQ(cached.characters, whole.characters);
}

}  // namespace
}  // namespace kerfline
