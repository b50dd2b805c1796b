// Filled regions worked out by hand: a 10 x 10 square with a 4 x 4 hole in its middle.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "fill/hatch.h"
#include "fill/offset_fill.h"
#include "fill/pocket.h"
#include "fill/run_linker.h"
#include "geometry/ring_math.h"

namespace kerfline {
namespace {

Contour square(double lo, double hi, int depth) {
  Contour c;
  c.points = {{lo, lo}, {hi, lo}, {hi, hi}, {lo, hi}};
  c.depth = depth;
  return c;
}

const std::vector<Contour> kFrame = {square(0, 10, 0), square(3, 7, 1)};

Vec2 middle(const Vec2& a, const Vec2& b) { return {(a.x + b.x) / 2, (a.y + b.y) / 2}; }

double length(const std::vector<Contour>& lines) {
  double sum = 0;
  for (const Contour& c : lines)
    sum += std::hypot(c.points[1].x - c.points[0].x, c.points[1].y - c.points[0].y);
  return sum;
}

TEST(hatch_test, rows_at_whole_intervals_fill_the_area_and_skip_the_hole) {
  // Rows y = 0 .. 9 (a row on the top edge bounds nothing): six full rows of 10 and four rows
  // broken by the hole into 3 + 3, 84 units in 14 lines; across, the same by symmetry.
  struct Case {
    double angle;
    bool cross;
    double total;
    std::size_t lines;
  };
  for (const Case& c : {Case{0, false, 84, 14}, Case{90, false, 84, 14},
                        Case{0, true, 168, 28}}) {
    SCOPED_TRACE(c.angle);
    HatchSettings s;
    s.interval = 1;
    s.angleDegrees = c.angle;
    s.crossHatch = c.cross;
    const std::vector<Contour> lines = hatchLines(kFrame, s);
    EXPECT_NEAR(length(lines), c.total, 1e-9);
    EXPECT_EQ(lines.size(), c.lines);
    for (const Contour& l : lines) {
      const Vec2 m = middle(l.points[0], l.points[1]);
      EXPECT_FALSE(m.x > 3 && m.x < 7 && m.y > 3 && m.y < 7) << "a line in the hole";
    }
  }
}

TEST(hatch_test, back_and_forth_lines_link_only_inside_the_region) {
  HatchSettings s;
  s.interval = 1;
  const std::vector<Contour> lines = hatchLines(kFrame, s);
  LinkRules rules;
  rules.allowed = &kFrame;
  const std::vector<ToolRun> runs = linkPieces(lines, rules);
  // The zigzag runs up the bottom rows and the left of the hole; the link from there to the top
  // rows would cross the hole, so they are a run of their own, and so is the right of the hole.
  EXPECT_EQ(runs.size(), 3u);
  for (const ToolRun& r : runs) {
    ASSERT_EQ(r.cuts.size() + 1, r.points.size());
    for (std::size_t i = 0; i + 1 < r.points.size(); ++i) {
      const Vec2 m = middle(r.points[i], r.points[i + 1]);
      EXPECT_FALSE(m.x > 3 && m.x < 7 && m.y > 3 && m.y < 7);
    }
  }
}

TEST(pocket_test, a_square_is_cleared_in_linked_rings_with_round_corners_left) {
  // Tool 2, step 0.8: the finishing ring 1 inside (side 8), clearing rings 1.8, 2.6, 3.4, 4.2
  // inside; a round tool leaves R^2 (1 - pi/4) in each of the four corners.
  PocketSettings s;
  s.toolDiameter = 2;
  s.tolerance = 1e-4;
  const PocketFill fill = pocketRegion({square(0, 10, 0)}, s);
  EXPECT_NEAR(fill.area, 100, 1e-9);
  EXPECT_NEAR(fill.unreached, 4 * (1 - std::numbers::pi / 4), 0.01);
  ASSERT_EQ(fill.loops.size(), 5u);
  const Extent last = extentOf(fill.loops.back().points);
  EXPECT_NEAR(last.width(), 8, 0.01);
  const Extent first = extentOf(fill.loops.front().points);
  EXPECT_NEAR(first.width(), 10 - 2 * 4.2, 0.01);
  // Neighbouring rings are 0.8 apart (1.13 corner to corner): within the tool's width, so
  // nothing lifts.
  LinkRules rules;
  rules.allowed = &fill.centreArea;
  rules.maxLink = s.toolDiameter;
  rules.linksCut = true;
  EXPECT_EQ(linkPieces(fill.loops, rules).size(), 1u);
}

TEST(offset_fill_test, rings_half_an_interval_in_then_an_interval_apart) {
  // The frame is 3 wide: offsets at 0.4 and 1.2, each a ring inside the outline and one round
  // the hole (4 + 2d wide); at 2.0 the two sides have met and nothing is left.
  const std::vector<Contour> rings = offsetFill(kFrame, 0.8, 1e-4);
  ASSERT_EQ(rings.size(), 4u);
  const double widths[] = {9.2, 4.8, 7.6, 6.4};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_TRUE(rings[i].closed);
    EXPECT_NEAR(extentOf(rings[i].points).width(), widths[i], 0.001);
  }
}

}  // namespace
}  // namespace kerfline
