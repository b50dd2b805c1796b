// The kerf offset against areas worked out by hand: a square grown by a round-cornered band,
// a square hole shrunk, rings too small for the kerf reported by their character.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "common/error.h"
#include "geometry/kerf_offset.h"
#include "geometry_test_support.h"

namespace kerfline {
namespace {

using test::character;
using test::square;

constexpr double kPi = std::numbers::pi;

// A square of side s grown by k/2: the sides move out, each corner becomes a quarter circle of
// radius k/2, so the area is (s + k)^2 - (4 - pi) (k/2)^2. The round joins are chords inside
// the arcs, at most the arc tolerance from them, so the polygon falls short by at most the
// arcs' length times the tolerance (plus the integer grid along the perimeter).
double roundedSquareArea(double s, double k) { return (s + k) * (s + k) - (4 - kPi) * k * k / 4; }
double roundedSquareSlack(double s, double k) {
  return 2 * kPi * (k / 2) * kerfArcTolerance(k / 2) + 4 * (s + k) * 1e-6;
}

std::vector<double> ringAreas(const Drawing& d, bool holes) {
  std::vector<double> out;
  for (const PlacedCharacter& c : d.characters)
    for (const Contour& k : c.contours)
      if (k.closed && k.isHole() == holes) out.push_back(std::fabs(test::signedArea(k)));
  std::sort(out.begin(), out.end());
  return out;
}

TEST(kerf_offset_test, outside_grows_parts_with_round_corners_and_shrinks_holes) {
  const double s = 10, k = 0.8;
  Drawing d;
  // A plain square, and a square plate of side 30 with a square hole of side s.
  d.characters = {character(1, {square(0, 0, s)}),
                  character(2, {square(20, 0, 30), square(30, 10, s, false)})};
  EXPECT_EQ(offsetForKerf(d, k / 2), std::vector<VanishedPath>{});
  const auto parts = ringAreas(d, false);
  const auto holes = ringAreas(d, true);
  ASSERT_EQ(parts.size(), 2u);
  ASSERT_EQ(holes.size(), 1u);
  EXPECT_LE(parts[0], roundedSquareArea(s, k) + 1e-9);
  EXPECT_NEAR(parts[0], roundedSquareArea(s, k), roundedSquareSlack(s, k));
  EXPECT_NEAR(parts[1], roundedSquareArea(30, k), roundedSquareSlack(30, k));
  // Inside a hole the corners stay sharp: the sides move in by k/2.
  EXPECT_NEAR(holes[0], (s - k) * (s - k), 4 * s * 1e-6);
}

TEST(kerf_offset_test, inside_shrinks_parts_and_grows_holes_with_round_corners) {
  const double s = 10, k = 0.8;
  Drawing d;
  d.characters = {character(1, {square(0, 0, s)}),
                  character(2, {square(20, 0, 30), square(30, 10, s, false)})};
  EXPECT_EQ(offsetForKerf(d, -k / 2), std::vector<VanishedPath>{});
  const auto parts = ringAreas(d, false);
  const auto holes = ringAreas(d, true);
  ASSERT_EQ(parts.size(), 2u);
  ASSERT_EQ(holes.size(), 1u);
  EXPECT_NEAR(parts[0], (s - k) * (s - k), 4 * s * 1e-6);
  EXPECT_NEAR(parts[1], (30 - k) * (30 - k), 4 * 30 * 1e-6);
  EXPECT_NEAR(holes[0], roundedSquareArea(s, k), roundedSquareSlack(s, k));
}

TEST(kerf_offset_test, the_arc_tolerance_follows_small_kerfs_and_is_capped_for_large_ones) {
  EXPECT_DOUBLE_EQ(kerfArcTolerance(0.01), 1e-4);
  EXPECT_DOUBLE_EQ(kerfArcTolerance(-0.05), 5e-4);
  EXPECT_DOUBLE_EQ(kerfArcTolerance(2.0), 1e-3);
  // A tiny kerf still gets round corners of the exact area.
  const double s = 1, k = 0.004;
  Drawing d;
  d.characters = {character(1, {square(0, 0, s)})};
  offsetForKerf(d, k / 2);
  EXPECT_NEAR(ringAreas(d, false).at(0), roundedSquareArea(s, k), roundedSquareSlack(s, k));
}

TEST(kerf_offset_test, rings_that_close_up_disappear_and_are_reported) {
  Contour stroke;
  stroke.closed = false;
  stroke.points = {{0, 0}, {1, 1}};
  Drawing d;
  d.characters = {character(3, {square(0, 0, 10), square(4, 4, 0.5, false)}),  // hole 0.5 wide
                  character(4, {square(12, 0, 10), square(15, 3, 4, false)}),  // hole survives
                  character(9, {square(30, 0, 10), square(31, 1, 0.6, false),
                                square(35, 5, 0.3, false)}, 1)};
  const std::vector<VanishedPath> outside = offsetForKerf(d, 0.5);
  EXPECT_EQ(outside, (std::vector<VanishedPath>{{3, U'x', 0, true}, {9, U'x', 1, true},
                                                {9, U'x', 1, true}}));
  EXPECT_EQ(ringAreas(d, true).size(), 1u);

  Drawing thin;
  thin.characters = {character(1, {square(0, 0, 0.6)}),      // narrower than the kerf
                     character(2, {square(5, 0, 3)}),
                     character(7, {stroke, square(10, 0, 0.2)})};
  const std::vector<VanishedPath> inside = offsetForKerf(thin, -0.5);
  EXPECT_EQ(inside, (std::vector<VanishedPath>{{1, U'x', 0, false}, {7, U'x', 0, false}}));
  // The character that lost its only ring is gone; the open path keeps its own character.
  ASSERT_EQ(thin.characters.size(), 2u);
  EXPECT_EQ(thin.characters[0].position, 2);
  ASSERT_EQ(thin.characters[1].contours.size(), 1u);
  EXPECT_EQ(thin.characters[1].contours[0], stroke);
}

TEST(kerf_offset_test, kerfs_beyond_the_grid_are_refused_and_wide_ones_stay_bounded) {
  // Each of these once escaped as the polygon library's own exception, wrote an empty
  // drawing, or ran out of memory placing millions of chords on each corner.
  for (const double half : {5e12, -5e12, 5e13, 5e299, 5e304, HUGE_VAL, -HUGE_VAL, double(NAN)}) {
    Drawing d;
    d.characters = {character(1, {square(0, 0, 1)})};
    EXPECT_THROW(offsetForKerf(d, half), Error) << half;
  }
  // Half a kerf of 1e11 on a unit square, within the grid: a disc of that radius, drawn
  // with a bounded number of chords (its area is that of a regular polygon inscribed in it,
  // within a hundredth of the circle's).
  const double r = 1e11;
  Drawing d;
  d.characters = {character(1, {square(0, 0, 1)})};
  offsetForKerf(d, r);
  ASSERT_EQ(d.characters.size(), 1u);
  ASSERT_EQ(d.characters[0].contours.size(), 1u);
  EXPECT_LE(d.characters[0].contours[0].points.size(), 1100u);
  EXPECT_NEAR(std::fabs(test::signedArea(d.characters[0].contours[0])), kPi * r * r,
              0.01 * kPi * r * r);
}

}  // namespace
}  // namespace kerfline
