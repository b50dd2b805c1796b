#include "geometry/cut_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "geometry/nesting.h"
#include "geometry/ring_math.h"

namespace kerfline {
namespace {

// An axis-aligned rectangle, counter-clockwise (ccw) or clockwise, starting at its lower left.
Contour rect(double x0, double y0, double x1, double y1, bool ccw) {
  Contour c;
  c.points = ccw ? std::vector<Vec2>{{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}
                 : std::vector<Vec2>{{x0, y0}, {x0, y1}, {x1, y1}, {x1, y0}};
  return c;
}

// A regular polygon of n corners around (cx, cy), as fonts approximate circles.
Contour circle(double cx, double cy, double r, int n, bool ccw) {
  Contour c;
  for (int i = 0; i < n; ++i) {
    const double a = 2 * M_PI * (ccw ? i : -i) / n;
    c.points.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
  }
  return c;
}

PlacedCharacter character(std::vector<Contour> contours) {
  PlacedCharacter c;
  c.contours = std::move(contours);
  return c;
}

// Every closed ring turned by its depth: outlines counter-clockwise, holes clockwise.
void expectDirections(const PlacedCharacter& c) {
  for (const Contour& k : c.contours) {
    if (!k.closed) continue;
    if (k.isHole()) {
      EXPECT_LT(signedArea(k.points), 0) << "hole at depth " << k.depth;
    } else {
      EXPECT_GT(signedArea(k.points), 0) << "outline at depth " << k.depth;
    }
  }
}

std::vector<int> depthsOf(const PlacedCharacter& c) {
  std::vector<int> d;
  for (const Contour& k : c.contours) d.push_back(k.depth);
  return d;
}

TEST(cut_order_test, rings_nested_three_deep_are_cut_from_the_inside_out) {
  // A registered-sign: circle, inner circle, the letter's outline in it, the letter's hole.
  // Listed outermost first and all run the same way, as no font convention guarantees.
  for (const bool ccw : {true, false}) {
    const Contour outer = circle(0, 0, 10, 64, ccw);
    const Contour inner = circle(0, 0, 9, 64, ccw);
    const Contour letter = rect(-4, -5, 4, 5, ccw);
    const Contour bowl = rect(-2, 0, 2, 3, ccw);
    PlacedCharacter c = character({outer, inner, letter, bowl});
    orderForCutting(c);
    ASSERT_EQ(c.contours.size(), 4u);
    EXPECT_EQ(depthsOf(c), (std::vector<int>{3, 2, 1, 0}));
    EXPECT_EQ(extentOf(c.contours[0].points), extentOf(bowl.points));
    EXPECT_EQ(extentOf(c.contours[3].points), extentOf(outer.points));
    expectDirections(c);
    // Turning keeps the ring's start point, where the classic file plunges.
    EXPECT_EQ(c.contours[3].points.front(), outer.points.front());
  }
}

TEST(cut_order_test, each_outline_follows_its_own_holes_and_order_is_kept_between_them) {
  // A percent sign as fonts draw it: upper ring, slash, lower ring, each ring's hole listed
  // after both rings, all in the font's (CFF-like, counter-clockwise hole) direction.
  const Contour upperRing = rect(0, 6, 4, 10, false);
  const Contour slash{{{0, 0}, {1, 0}, {10, 10}, {9, 10}}, true, 0};
  const Contour lowerRing = rect(6, 0, 10, 4, false);
  const Contour upperHole = rect(1, 7, 3, 9, true);
  const Contour lowerHole = rect(7, 1, 9, 3, true);
  PlacedCharacter c = character({upperRing, slash, lowerRing, lowerHole, upperHole});
  orderForCutting(c);
  ASSERT_EQ(c.contours.size(), 5u);
  const std::vector<Extent> order{extentOf(upperHole.points), extentOf(upperRing.points),
                                  extentOf(slash.points), extentOf(lowerHole.points),
                                  extentOf(lowerRing.points)};
  for (std::size_t i = 0; i < order.size(); ++i) {
    EXPECT_EQ(extentOf(c.contours[i].points), order[i]) << "position " << i;
  }
  EXPECT_EQ(depthsOf(c), (std::vector<int>{1, 0, 0, 1, 0}));
  expectDirections(c);
}

TEST(cut_order_test, touching_rings_nest_by_where_they_lie_not_where_they_touch) {
  // Side by side, sharing an edge: neither holds the other.
  PlacedCharacter pair = character({rect(0, 0, 2, 2, true), rect(2, 0, 4, 2, false)});
  orderForCutting(pair);
  EXPECT_EQ(depthsOf(pair), (std::vector<int>{0, 0}));
  expectDirections(pair);

  // A hole touching its outline in a corner and one sharing part of its left edge: the
  // first vertices lie on the outline, a later one decides.
  PlacedCharacter holes = character({rect(0, 2, 1, 3, true), rect(0, 0, 4, 4, true),
                                     Contour{{{4, 4}, {3, 4}, {3, 3}}, true, 0}});
  orderForCutting(holes);
  ASSERT_EQ(holes.contours.size(), 3u);
  EXPECT_EQ(depthsOf(holes), (std::vector<int>{1, 1, 0}));
  expectDirections(holes);

  // A hole whose every vertex lies on the outline (a diamond touching all four sides).
  PlacedCharacter diamond =
      character({rect(0, 0, 4, 4, false), Contour{{{2, 0}, {4, 2}, {2, 4}, {0, 2}}, true, 0}});
  orderForCutting(diamond);
  EXPECT_EQ(depthsOf(diamond), (std::vector<int>{1, 0}));
  EXPECT_EQ(diamond.contours[0].points.size(), 4u);
  expectDirections(diamond);
}

TEST(cut_order_test, open_paths_come_last_unturned_and_hold_nothing) {
  const Contour stroke{{{-1, 1}, {5, 1}, {5, 3}}, false, 0};  // crosses the ring
  const Contour inside{{{3, 3}, {1, 3}}, false, 0};           // lies within it
  PlacedCharacter c = character({stroke, rect(0, 0, 4, 4, false), inside});
  orderForCutting(c);
  ASSERT_EQ(c.contours.size(), 3u);
  EXPECT_TRUE(c.contours[0].closed);
  EXPECT_EQ(c.contours[0].depth, 0);
  EXPECT_GT(signedArea(c.contours[0].points), 0);
  EXPECT_EQ(c.contours[1], stroke);
  EXPECT_EQ(c.contours[2], inside);
}

TEST(cut_order_test, coinciding_and_crossing_rings_are_each_cut_once) {
  // The same ring twice (a font with a duplicated contour): one lies in the other.
  PlacedCharacter twice = character({rect(0, 0, 2, 2, true), rect(0, 0, 2, 2, false)});
  orderForCutting(twice);
  std::vector<int> d = depthsOf(twice);
  std::sort(d.begin(), d.end());
  EXPECT_EQ(d, (std::vector<int>{0, 1}));
  expectDirections(twice);

  // Overlapping outlines of a badly made font: two crossing rings and a third over both.
  // Whatever nesting they get, every ring comes out once and the order is finite.
  PlacedCharacter crossing = character(
      {rect(0, 0, 4, 2, true), rect(1, -1, 3, 3, true), circle(2, 1, 1.8, 16, false)});
  const Nesting nesting = findNesting(crossing.contours);
  for (std::size_t i = 0; i < nesting.parent.size(); ++i) {
    EXPECT_NE(nesting.parent[i], static_cast<int>(i));
  }
  orderForCutting(crossing);
  EXPECT_EQ(crossing.contours.size(), 3u);
  expectDirections(crossing);
}

TEST(cut_order_test, a_deep_nest_of_rings_is_ordered_without_recursion) {
  // Two thousand concentric squares, as a hostile font could hold.
  PlacedCharacter c;
  const int n = 2000;
  for (int i = 0; i < n; ++i) c.contours.push_back(rect(-n + i, -n + i, n - i, n - i, i % 3 == 0));
  orderForCutting(c);
  ASSERT_EQ(c.contours.size(), static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) ASSERT_EQ(c.contours[i].depth, n - 1 - i);
  expectDirections(c);
}

TEST(cut_order_test, a_crowd_of_rings_nests_each_in_the_right_one) {
  // A glyph of many contours, as a hostile font can make: a frame holding a 100 x 100 field
  // of small squares, each holding a dot, and as many squares outside the frame.
  PlacedCharacter c;
  c.contours.push_back(rect(0, 0, 1000, 1000, true));
  for (int i = 0; i < 100; ++i) {
    for (int j = 0; j < 100; ++j) {
      c.contours.push_back(rect(10 * i + 2, 10 * j + 2, 10 * i + 8, 10 * j + 8, true));
      c.contours.push_back(rect(10 * i + 4, 10 * j + 4, 10 * i + 6, 10 * j + 6, true));
      c.contours.push_back(rect(2000 + 10 * i, 10 * j, 2000 + 10 * i + 5, 10 * j + 5, true));
    }
  }
  const Nesting nesting = findNesting(c.contours);
  EXPECT_EQ(nesting.depth[0], 0);
  for (std::size_t k = 1; k < c.contours.size(); k += 3) {
    ASSERT_EQ(nesting.depth[k], 1) << k;
    ASSERT_EQ(nesting.parent[k], 0) << k;
    ASSERT_EQ(nesting.depth[k + 1], 2) << k;
    ASSERT_EQ(nesting.parent[k + 1], static_cast<int>(k)) << k;
    ASSERT_EQ(nesting.depth[k + 2], 0) << k;
  }
  orderForCutting(c);
  EXPECT_EQ(c.contours.size(), 30001u);
  EXPECT_EQ(c.contours[0].depth, 2);  // the first dot, then its square, ...
  EXPECT_EQ(c.contours[1].depth, 1);
  EXPECT_EQ(c.contours[20000].depth, 0);  // the frame after everything it holds
  expectDirections(c);
}

TEST(cut_order_test, a_character_inside_another_is_cut_before_it) {
  // Characters at text positions 1, 2, ...; each case lists the order the positions are cut.
  const auto at = [](std::int32_t pos, std::vector<Contour> contours) {
    PlacedCharacter c = character(std::move(contours));
    c.position = pos;
    return c;
  };
  const Contour o = rect(10, 0, 20, 10, false);      // an "O": outline and counter
  const Contour counter = rect(12, 2, 18, 8, true);
  struct Case {
    const char* what;
    std::vector<PlacedCharacter> chars;
    std::vector<std::int32_t> order;
  };
  const Case cases[] = {
      {"side by side, one touching: text order kept",
       {at(1, {rect(0, 0, 4, 4, true)}), at(2, {rect(4, 0, 8, 4, false)}),
        at(3, {o, counter})},
       {1, 2, 3}},
      {"a letter in the counter of an O moves before it",
       {at(1, {rect(0, 0, 4, 4, true)}), at(2, {o, counter}), at(3, {rect(14, 4, 16, 6, true)}),
        at(4, {rect(30, 0, 34, 4, true)})},
       {1, 3, 2, 4}},
      {"a frame around every letter goes last, a letter outside it after",
       {at(1, {rect(-5, -5, 40, 15, true), rect(-4, -4, 39, 14, false)}),
        at(2, {rect(0, 0, 4, 4, true)}), at(3, {o, counter}), at(4, {rect(14, 4, 16, 6, true)}),
        at(5, {rect(50, 0, 54, 4, true)})},
       {2, 4, 3, 1, 5}},
      {"a letter in a counter drawn before it stays before it",
       {at(1, {rect(14, 4, 16, 6, true)}), at(2, {o, counter})},
       {1, 2}},
  };
  for (const Case& c : cases) {
    Drawing d;
    d.characters = c.chars;
    orderForCutting(d);
    std::vector<std::int32_t> order;
    for (const PlacedCharacter& k : d.characters) order.push_back(k.position);
    EXPECT_EQ(order, c.order) << c.what;
  }
}

}  // namespace
}  // namespace kerfline
