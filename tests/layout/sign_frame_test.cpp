#include "layout/sign_frame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "letter_boxes.h"

namespace kerfline {
namespace {

// Crossings of a ray to the right: odd inside.
bool inside(const Vec2& p, const std::vector<Vec2>& ring) {
  bool in = false;
  for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
    const Vec2 a = ring[i];
    const Vec2 b = ring[j];
    if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) in = !in;
  }
  return in;
}

double distanceToRing(const Vec2& p, const std::vector<Vec2>& ring) {
  double best = INFINITY;
  for (std::size_t i = 0; i < ring.size(); ++i) {
    const Vec2 a = ring[i];
    const Vec2 b = ring[(i + 1) % ring.size()];
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double t = std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    best = std::min(best, std::hypot(a.x + t * dx - p.x, a.y + t * dy - p.y));
  }
  return best;
}

Vec2 centroidOf(const std::vector<Vec2>& ring) {
  Vec2 c;
  for (const Vec2& p : ring) c = {c.x + p.x / ring.size(), c.y + p.y / ring.size()};
  return c;
}

// Two lines of letters from (0, -14) to (60, 9).
Drawing twoLines() {
  Drawing d;
  d.characters.push_back(test::letterBox(0, 0, 30, 0, 9));
  d.characters.push_back(test::letterBox(0, 30, 60, 0, 7));
  d.characters.push_back(test::letterBox(1, 10, 50, -14, 9));
  return d;
}

TEST(sign_frame_test, the_frame_holds_every_letter_at_the_margin) {
  struct Case {
    FrameShape shape;
    double size;
  };
  for (const Case& k : {Case{FrameShape::Rect, 0}, Case{FrameShape::Rounded, 2},
                        Case{FrameShape::Rounded, 20}, Case{FrameShape::Ellipse, 0}}) {
    SCOPED_TRACE(int(k.shape));
    const Drawing text = twoLines();
    Drawing d = text;
    SignLayout layout;
    layout.frame = k.shape;
    layout.frameSize = k.size;
    layout.frameMargin = 4;
    addFrameAndHoles(d, layout);
    ASSERT_EQ(d.characters.size(), text.characters.size() + 1);
    const PlacedCharacter& added = d.characters.back();
    EXPECT_EQ(added.line, 2);  // a line of its own after the text's
    ASSERT_EQ(added.contours.size(), 1u);
    const std::vector<Vec2>& frame = added.contours.front().points;
    double nearest = INFINITY;
    for (const PlacedCharacter& c : text.characters)
      for (const Vec2& p : c.contours.front().points) {
        EXPECT_TRUE(inside(p, frame)) << p;
        nearest = std::min(nearest, distanceToRing(p, frame));
      }
    EXPECT_GE(nearest, 4 - 1e-9);
    // Not needlessly far: the rectangle keeps exactly the margin, the others little more.
    EXPECT_LE(nearest, k.shape == FrameShape::Rect ? 4 + 1e-9 : 8);
  }
}

TEST(sign_frame_test, holes_sit_at_their_centres_inside_the_frame) {
  struct Case {
    int count;
    std::optional<double> inset;
    std::vector<Vec2> centres;
  };
  // The rectangle at margin 4 runs from (-4, -18) to (64, 13); holes of 3 are inset by 3
  // (their diameter) unless told, 2 at mid-height (-2.5), 4 in the corners.
  for (const Case& k : {Case{2, {}, {{-1, -2.5}, {61, -2.5}}},
                        Case{4, 5.0, {{1, -13}, {59, -13}, {59, 8}, {1, 8}}}}) {
    Drawing d = twoLines();
    SignLayout layout;
    layout.frame = FrameShape::Rect;
    layout.frameMargin = 4;
    layout.holeCount = k.count;
    layout.holeDiameter = 3;
    layout.holeInset = k.inset;
    addFrameAndHoles(d, layout);
    const PlacedCharacter& added = d.characters.back();
    ASSERT_EQ(added.contours.size(), k.centres.size() + 1);
    for (std::size_t i = 0; i < k.centres.size(); ++i) {
      const std::vector<Vec2>& hole = added.contours[i].points;
      const Vec2 c = centroidOf(hole);
      EXPECT_NEAR(c.x, k.centres[i].x, 1e-9);
      EXPECT_NEAR(c.y, k.centres[i].y, 1e-9);
      for (const Vec2& p : hole) EXPECT_NEAR(std::hypot(p.x - c.x, p.y - c.y), 1.5, 1e-9);
    }
  }
}

}  // namespace
}  // namespace kerfline
