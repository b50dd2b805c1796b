#include "geometry/ring_math.h"
#include "geometry/ring_distance.h"
#include "geometry_test_support.h"

#include <gtest/gtest.h>

#include <memory>

namespace kerfline {
namespace {

const std::vector<Vec2> kSquareCcw{{0, 0}, {4, 0}, {4, 4}, {0, 4}};

TEST(ring_math_test, signed_area_follows_the_running_direction) {
  EXPECT_EQ(signedArea(kSquareCcw), 16);
  EXPECT_EQ(signedArea({{0, 0}, {0, 4}, {4, 4}, {4, 0}}), -16);
  // Far from the origin (the tenth line of a text) a thin sliver keeps its exact area.
  EXPECT_EQ(signedArea({{10000, -30000}, {10000.5, -30000}, {10000.5, -29999.75}}), 0.0625);
  EXPECT_EQ(signedArea({{1, 1}, {2, 2}}), 0);
}

TEST(ring_math_test, points_inside_outside_and_on_the_boundary) {
  EXPECT_EQ(locatePoint({2, 2}, kSquareCcw), RingSide::Inside);
  EXPECT_EQ(locatePoint({5, 2}, kSquareCcw), RingSide::Outside);
  EXPECT_EQ(locatePoint({-1, 2}, kSquareCcw), RingSide::Outside);
  EXPECT_EQ(locatePoint({4, 4}, kSquareCcw), RingSide::OnBoundary);  // a vertex
  EXPECT_EQ(locatePoint({2, 0}, kSquareCcw), RingSide::OnBoundary);  // an edge
  EXPECT_EQ(locatePoint({4, 1}, kSquareCcw), RingSide::OnBoundary);
  // A ray through a vertex counts the crossing once: a diamond with the point level with
  // its left and right corners.
  const std::vector<Vec2> diamond{{0, 2}, {2, 0}, {4, 2}, {2, 4}};
  EXPECT_EQ(locatePoint({1, 2}, diamond), RingSide::Inside);
  EXPECT_EQ(locatePoint({-1, 2}, diamond), RingSide::Outside);
  EXPECT_EQ(locatePoint({5, 2}, diamond), RingSide::Outside);
  // A concave ring whose notch the ray passes along an edge.
  const std::vector<Vec2> notch{{0, 0}, {6, 0}, {6, 4}, {4, 4}, {4, 2}, {2, 2}, {2, 4}, {0, 4}};
  EXPECT_EQ(locatePoint({1, 2}, notch), RingSide::Inside);
  EXPECT_EQ(locatePoint({3, 3}, notch), RingSide::Outside);
  EXPECT_EQ(locatePoint({3, 2}, notch), RingSide::OnBoundary);
}

TEST(ring_math_test, repeated_points_and_zero_length_edges_go) {
  Contour ring{{{0, 0}, {0, 0}, {4, 0}, {4, 0}, {4, 4}, {0, 0}, {0, 0}}, true, 0};
  removeRepeatedPoints(ring);
  EXPECT_EQ(ring.points, (std::vector<Vec2>{{0, 0}, {4, 0}, {4, 4}}));
  // -0 and +0 are the same point.
  Contour zeros{{{0, 0}, {-0.0, 0}, {1, 0}, {1, 1}}, true, 0};
  removeRepeatedPoints(zeros);
  EXPECT_EQ(zeros.points.size(), 3u);
  // An open path that returns to its start keeps its last point: the tool goes back there.
  Contour open{{{0, 0}, {4, 0}, {4, 0}, {0, 0}}, false, 0};
  removeRepeatedPoints(open);
  EXPECT_EQ(open.points, (std::vector<Vec2>{{0, 0}, {4, 0}, {0, 0}}));
  Contour dot{{{1, 1}, {1, 1}, {1, 1}}, true, 0};
  removeRepeatedPoints(dot);
  EXPECT_EQ(dot.points, (std::vector<Vec2>{{1, 1}}));
}

TEST(ring_math_test, short_edges_go_where_they_do_not_bend_the_ring) {
  struct Case {
    const char* what;
    std::vector<Vec2> ring;
    std::vector<Vec2> kept;
  };
  // With a shortest edge of 1e-3 and a bend of 1e-5 (the contour model's own choices).
  const Case cases[] = {
      {"a zero-length edge", {{0, 0}, {4, 0}, {4, 0}, {4, 4}}, {{0, 0}, {4, 0}, {4, 4}}},
      {"a split straight edge", {{0, 0}, {4, 0}, {4.0004, 0.000001}, {8, 0}, {8, 4}},
       {{0, 0}, {4, 0}, {8, 0}, {8, 4}}},
      {"a last point just short of the first", {{0, 0}, {4, 0}, {4, 4}, {0.0000001, 0}},
       {{0, 0}, {4, 0}, {4, 4}}},
      // The chords of a round corner of a tiny kerf are short but are its shape.
      {"a short bend", {{0, 0}, {4, 0}, {4.0004, 0.0002}, {4.0006, 0.0006}, {4.0006, 4}},
       {{0, 0}, {4, 0}, {4.0004, 0.0002}, {4.0006, 0.0006}, {4.0006, 4}}},
  };
  for (const Case& c : cases) {
    Contour ring{c.ring, true, 0};
    dropShortEdges(ring, 1e-3, 1e-5);
    EXPECT_EQ(ring.points, c.kept) << c.what;
  }
  // An open path keeps both its ends, however close the last point is to the one before.
  Contour open{{{0, 0}, {0, 0}, {4, 0}, {4.0000001, 0}}, false, 0};
  dropShortEdges(open, 1e-3, 1e-5);
  EXPECT_EQ(open.points, (std::vector<Vec2>{{0, 0}, {4, 0}, {4.0000001, 0}}));
}

TEST(ring_math_test, reversing_keeps_the_start_point) {
  Contour ring{kSquareCcw, true, 0};
  reverseRing(ring);
  EXPECT_EQ(ring.points, (std::vector<Vec2>{{0, 0}, {0, 4}, {4, 4}, {4, 0}}));
  EXPECT_EQ(signedArea(ring.points), -16);
}

// A square's corners with the tangents of its edges, by hand: reversed, each corner's arriving
// direction is its old leaving one backwards; turned to start at a corner, the tangents go
// with it; a point dropped leaves no tangents to mislead the arc fit.
TEST(ring_math_test, tangents_follow_the_points_of_a_ring) {
  const auto ring = [] {
    Contour k{kSquareCcw, true, 0};  // (0,0) (4,0) (4,4) (0,4)
    k.tangents = std::make_shared<PolylineTangents>(
        PolylineTangents{{{0, -1}, {1, 0}, {0, 1}, {-1, 0}}, {{1, 0}, {0, 1}, {-1, 0}, {0, -1}}});
    return k;
  };
  Contour reversed = ring();
  reverseRing(reversed);  // (0,0) (0,4) (4,4) (4,0)
  ASSERT_TRUE(reversed.tangents);
  EXPECT_EQ(reversed.tangents->in, (std::vector<Vec2>{{-1, 0}, {0, 1}, {1, 0}, {0, -1}}));
  EXPECT_EQ(reversed.tangents->out, (std::vector<Vec2>{{0, 1}, {1, 0}, {0, -1}, {-1, 0}}));

  Contour turned = ring();
  startRingAt(turned, 2);  // (4,4) (0,4) (0,0) (4,0)
  EXPECT_EQ(turned.points, (std::vector<Vec2>{{4, 4}, {0, 4}, {0, 0}, {4, 0}}));
  ASSERT_TRUE(turned.tangents);
  EXPECT_EQ(turned.tangents->in, (std::vector<Vec2>{{0, 1}, {-1, 0}, {0, -1}, {1, 0}}));
  EXPECT_EQ(turned.tangents->out, (std::vector<Vec2>{{-1, 0}, {0, -1}, {1, 0}, {0, 1}}));

  Contour repeated = ring();
  repeated.points.push_back(repeated.points.front());
  removeRepeatedPoints(repeated);
  EXPECT_FALSE(repeated.tangents);
}

// Rings near each other, worked by hand: 10-unit squares side by side 0.3 apart, corner to
// corner 0.3 x 0.4 apart (0.5 diagonally), crossing, and one in a frame's hole 30 from each
// side (nesting is another question). Open paths are never measured.
TEST(ring_math_test, rings_within_a_distance_of_each_other) {
  using test::character;
  using test::square;
  const PlacedCharacter left = character(1, {square(0, 0, 10)});
  const PlacedCharacter frame = character(2, {square(-50, -50, 110), square(-30, -30, 70, false)});
  Contour open = square(10.3, 0, 10);
  open.closed = false;
  const struct {
    PlacedCharacter other;
    double distance;
    bool within;
  } cases[] = {
      {character(2, {square(10.3, 0, 10)}), 0.3 + 1e-12, true},
      {character(2, {square(10.3, 0, 10)}), 0.29, false},
      {character(2, {square(10.3, 10.4, 10)}), 0.5 + 1e-12, true},
      {character(2, {square(10.3, 10.4, 10)}), 0.49, false},
      {character(2, {square(5, 5, 10)}), 0, true},
      {frame, 29.9, false},
      {frame, 30 + 1e-12, true},
      {character(2, {open}), 1, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(closedRingsWithin(left, closedExtent(left), c.other, closedExtent(c.other), c.distance),
              c.within) << c.distance;
    EXPECT_EQ(closedRingsWithin(c.other, closedExtent(c.other), left, closedExtent(left), c.distance),
              c.within) << c.distance;
  }
}

}  // namespace
}  // namespace kerfline
