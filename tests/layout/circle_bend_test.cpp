#include "layout/circle_bend.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "letter_boxes.h"
#include "expect_throw_msg.h"

namespace kerfline {
namespace {

using test::letterBox;

double dot(const Vec2& a, const Vec2& b) { return a.x * b.x + a.y * b.y; }
Vec2 minus(const Vec2& a, const Vec2& b) { return {a.x - b.x, a.y - b.y}; }
double length(const Vec2& a) { return std::hypot(a.x, a.y); }

// Five letters of different widths on one line, from x = 2 to x = 50.
Drawing fiveLetters(std::int32_t line = 0, double baseline = 0) {
  Drawing d;
  double x = 2;
  for (const double w : {6.0, 10.0, 8.0, 14.0, 10.0}) {
    d.characters.push_back(letterBox(line, x, x + w, baseline, 7));
    x += w;
  }
  return d;
}

struct RigidCase {
  ArcSide side;
  ArcAlign align;
  std::optional<double> angle;
};

TEST(circle_bend_test, rigid_letters_stand_on_the_circle_turned_to_the_tangent) {
  const double r = 40;
  for (const RigidCase& k : {RigidCase{ArcSide::Top, ArcAlign::Center, {}},
                             RigidCase{ArcSide::Top, ArcAlign::Left, 30.0},
                             RigidCase{ArcSide::Bottom, ArcAlign::Center, {}},
                             RigidCase{ArcSide::Bottom, ArcAlign::Right, -100.0}}) {
    SCOPED_TRACE(testing::Message() << "side " << int(k.side) << " align " << int(k.align));
    SignLayout layout;
    layout.arcRadius = r;
    layout.arcSide = k.side;
    layout.arcAlign = k.align;
    layout.arcAngle = k.angle;
    const Drawing straight = fiveLetters();
    Drawing d = straight;
    bendOntoCircle(d, layout);
    double previousAngle = 0;
    for (std::size_t i = 0; i < d.characters.size(); ++i) {
      const std::vector<Vec2>& p = d.characters[i].contours.front().points;
      // The advance's middle lies on the circle.
      EXPECT_NEAR(length(p[1]), r, 1e-6);
      // The foot is the tangent there, and the letter's up points away from the centre on the
      // top side (read from outside) and towards it on the bottom (a coin's lower rim).
      const Vec2 foot = minus(p[2], p[0]);
      const Vec2 up = minus(p[4], p[0]);
      EXPECT_NEAR(dot(foot, p[1]) / length(foot) / r, 0, 1e-12);
      EXPECT_NEAR(length(foot), 2 * length(minus(p[1], p[0])), 1e-9);  // kept rigid
      if (k.side == ArcSide::Top) {
        EXPECT_GT(dot(up, p[1]), 0);
      } else {
        EXPECT_LT(dot(up, p[1]), 0);
      }
      // Read left to right: clockwise over the top, counter-clockwise along the bottom; the
      // arc between two middles is as long as the distance between their advances' middles.
      const double angle = std::atan2(p[1].y, p[1].x);
      if (i > 0) {
        double turned = angle - previousAngle;
        if (turned > std::numbers::pi) turned -= 2 * std::numbers::pi;
        if (turned < -std::numbers::pi) turned += 2 * std::numbers::pi;
        const std::vector<Vec2>& before = straight.characters[i - 1].contours.front().points;
        const std::vector<Vec2>& now = straight.characters[i].contours.front().points;
        const double along = now[1].x - before[1].x;
        EXPECT_NEAR(turned * r, k.side == ArcSide::Top ? -along : along, 1e-9);
      }
      previousAngle = angle;
    }
  }
}

TEST(circle_bend_test, anchors_sit_where_the_angle_points) {
  // Three equal letters from 0 to 30: the middle one's foot is the line's middle.
  Drawing three;
  for (int i = 0; i < 3; ++i) three.characters.push_back(letterBox(0, 10.0 * i, 10.0 * i + 10, 0, 5));
  const double r = 25;
  SignLayout top;
  top.arcRadius = r;
  Drawing d = three;
  bendOntoCircle(d, top);
  EXPECT_NEAR(d.characters[1].contours.front().points[1].x, 0, 1e-12);
  EXPECT_NEAR(d.characters[1].contours.front().points[1].y, r, 1e-12);
  SignLayout bottom = top;
  bottom.arcSide = ArcSide::Bottom;
  d = three;
  bendOntoCircle(d, bottom);
  EXPECT_NEAR(d.characters[1].contours.front().points[1].x, 0, 1e-12);
  EXPECT_NEAR(d.characters[1].contours.front().points[1].y, -r, 1e-12);
  // Warped and left-aligned at 30 degrees clockwise from up, the line's start is there.
  SignLayout left = top;
  left.arcAlign = ArcAlign::Left;
  left.arcAngle = 30;
  left.bend = BendMode::Warp;
  d = three;
  bendOntoCircle(d, left);
  const Vec2 start = d.characters[0].contours.front().points[0];
  EXPECT_NEAR(start.x, r * 0.5, 1e-12);
  EXPECT_NEAR(start.y, r * std::sqrt(3.0) / 2, 1e-12);
}

TEST(circle_bend_test, warp_maps_x_to_arc_length_and_y_to_radius) {
  const double r = 30;
  for (const ArcSide side : {ArcSide::Top, ArcSide::Bottom}) {
    SignLayout layout;
    layout.arcRadius = r;
    layout.arcSide = side;
    layout.arcAlign = ArcAlign::Left;
    layout.bend = BendMode::Warp;
    // One long letter from 0 to 40, 6 high: its foot is divided to follow the circle.
    Drawing d;
    d.characters.push_back(letterBox(0, 0, 40, 0, 6));
    bendOntoCircle(d, layout);
    const double anchor = side == ArcSide::Top ? std::numbers::pi / 2 : -std::numbers::pi / 2;
    std::size_t onBaseline = 0, onHead = 0;
    const Vec2 expectedMiddle = side == ArcSide::Top
                                    ? Vec2{r * std::sin(20 / r), r * std::cos(20 / r)}
                                    : Vec2{r * std::sin(20 / r), -r * std::cos(20 / r)};
    bool middleFound = false;
    for (const Vec2& p : d.characters.front().contours.front().points) {
      // Every point keeps its height as its distance from the baseline's circle.
      const double height = side == ArcSide::Top ? length(p) - r : r - length(p);
      EXPECT_GE(height, -1e-9);
      EXPECT_LE(height, 6 + 1e-9);
      onHead += std::abs(height - 6) < 1e-9;
      if (std::abs(height) > 1e-9) continue;
      ++onBaseline;
      // Straight up (or down) is x = 0; every point of the foot is at most 40 along the arc.
      double turned = std::atan2(p.y, p.x) - anchor;
      if (side == ArcSide::Top) turned = -turned;
      if (turned < -1e-12) turned += 2 * std::numbers::pi;
      EXPECT_GE(turned * r, -1e-9);
      EXPECT_LE(turned * r, 40 + 1e-9);
      // The foot's middle (x = 20) lies 20 along the arc.
      middleFound |= std::hypot(p.x - expectedMiddle.x, p.y - expectedMiddle.y) < 1e-9;
    }
    EXPECT_TRUE(middleFound);
    // The 40-unit foot and head now follow the arc in short chords.
    EXPECT_GT(onBaseline, 40u);
    EXPECT_GT(onHead, 40u);
  }
}

// The most a warp lengthens anything: a letter's head on top, out from its line's circle, and
// a descender at the bottom, where the letters' feet point out; rigid letters keep lengths.
TEST(circle_bend_test, warp_stretch_is_the_farthest_height_over_its_lines_radius) {
  Drawing d;
  d.characters.push_back(letterBox(0, 0, 10, 0, 6));
  d.characters.push_back(letterBox(0, 10, 20, 0, 6));
  for (Vec2& p : d.characters.back().contours.front().points) p.y -= 3;  // 3 below its baseline
  d.characters.push_back(letterBox(1, 0, 10, -12, 6));                  // a second line, 12 lower
  struct Case {
    ArcSide side;
    BendMode bend;
    double stretch;
  };
  for (const Case& c : {Case{ArcSide::Top, BendMode::Warp, 1 + 6.0 / 18},  // line 2 on radius 18
                        Case{ArcSide::Bottom, BendMode::Warp, 1 + 3.0 / 30},
                        Case{ArcSide::Top, BendMode::Rigid, 1}}) {
    SignLayout layout;
    layout.arcRadius = 30;
    layout.arcSide = c.side;
    layout.bend = c.bend;
    EXPECT_DOUBLE_EQ(circleWarpStretch(d, layout), c.stretch);
  }
}

TEST(circle_bend_test, later_lines_lie_on_concentric_circles_pitch_apart) {
  for (const ArcSide side : {ArcSide::Top, ArcSide::Bottom}) {
    Drawing d = fiveLetters(0, 0);
    for (PlacedCharacter& c : fiveLetters(1, -12).characters) d.characters.push_back(c);
    SignLayout layout;
    layout.arcRadius = 50;
    layout.arcSide = side;
    bendOntoCircle(d, layout);
    for (const PlacedCharacter& c : d.characters) {
      const double expected = c.line == 0 ? 50 : side == ArcSide::Top ? 38 : 62;
      EXPECT_NEAR(length(c.contours.front().points[1]), expected, 1e-9);
    }
  }
}

TEST(circle_bend_test, a_line_longer_than_its_circle_is_refused) {
  SignLayout layout;
  layout.arcRadius = 7;  // 44 around; the line is 48 long
  Drawing d = fiveLetters();
  EXPECT_THROW_MSG(bendOntoCircle(d, layout), Error,
                   "Line 1 is longer than its circle: it needs a radius of 7.639 or more on that line.");
}

}  // namespace
}  // namespace kerfline
