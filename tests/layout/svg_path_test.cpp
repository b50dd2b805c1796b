#include "layout/svg_path.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "expect_throw_msg.h"
#include "layout/path_bend.h"
#include "layout/svg_path_element.h"
#include "letter_boxes.h"

namespace kerfline {
namespace {

TEST(svg_path_test, straight_commands_give_their_points) {
  struct Case {
    const char* data;
    std::vector<PathPolyline> points;
  };
  const Case cases[] = {
      {"M0 0 H10 V10 Z", {{{0, 0}, {10, 0}, {10, 10}, {0, 0}}}},
      {"m1 2l3 4 5 6", {{{1, 2}, {4, 6}, {9, 12}}}},          // relative, repeated
      {"M0,0 10 0L1e1,1e-3", {{{0, 0}, {10, 0}, {10, 0.001}}}},  // M's pairs are lines
      {"M.5.5L1-1", {{{0.5, 0.5}, {1, -1}}}},                  // numbers without separators
      {"M0 0h5v5zm1 1h2M9 9", {{{0, 0}, {5, 0}, {5, 5}, {0, 0}}, {{1, 1}, {3, 1}}}},
      {"M 0 0 a 0 5 0 0 0 4 0", {{{0, 0}, {4, 0}}}},  // an arc of radius 0 is a line
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.data);
    EXPECT_EQ(readSvgPath(k.data, 0.01), k.points);
  }
}

// Distance from p to the nearest chord of path.
double distanceTo(const Vec2& p, const PathPolyline& path) {
  double best = INFINITY;
  for (std::size_t i = 0; i + 1 < path.size(); ++i) {
    const Vec2 a = path[i], b = path[i + 1];
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double t = std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    best = std::min(best, std::hypot(a.x + t * dx - p.x, a.y + t * dy - p.y));
  }
  return best;
}

TEST(svg_path_test, curves_and_arcs_stay_within_the_tolerance) {
  const double tolerance = 0.01;
  struct Case {
    const char* data;
    Vec2 (*curve)(double t);  // the true curve, worked out by hand
  };
  const Case cases[] = {
      {"M0 0C0 10 10 10 10 0",
       [](double t) { return Vec2{3 * t * t * (1 - t) * 10 + t * t * t * 10, 3 * t * (1 - t) * 10}; }},
      // S without a curve before it takes the current point as its first control.
      {"M10 0S20 -10 20 0",
       [](double t) {
         const double u = 1 - t;
         return Vec2{10 * u * u * u + 30 * u * u * t + 60 * u * t * t + 20 * t * t * t,
                     -30 * u * t * t};
       }},
      // After a curve, S reflects its last control (10, 10) about (10, 0): C 10 -10 20 -10 20 0.
      {"M0 0C0 10 10 10 10 0S20 -10 20 0",
       [](double t) {
         if (t <= 0.5) {
           t *= 2;
           return Vec2{3 * t * t * (1 - t) * 10 + t * t * t * 10, 3 * t * (1 - t) * 10};
         }
         t = 2 * t - 1;
         const double u = 1 - t;
         return Vec2{10 * u * u * u + 30 * u * u * t + 60 * u * t * t + 20 * t * t * t, -30 * u * t};
       }},
      {"M0 0Q5 10 10 0",
       [](double t) { return Vec2{10 * t, 2 * (1 - t) * t * 10}; }},
      // Arc flags without separators: large arc, sweep 0, from (0, 0) to (10, 0) radius 5:
      // the half circle through (5, 5).
      {"M0 0a5 5 0 1010 0",
       [](double t) {
         const double a = std::numbers::pi * (1 - t);
         return Vec2{5 + 5 * std::cos(a), 5 * std::sin(a)};
       }},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.data);
    const std::vector<PathPolyline> paths = readSvgPath(k.data, tolerance);
    ASSERT_EQ(paths.size(), 1u);
    const PathPolyline& p = paths.front();
    EXPECT_NEAR(p.front().x, k.curve(0).x, 1e-12);
    EXPECT_NEAR(p.front().y, k.curve(0).y, 1e-12);
    EXPECT_NEAR(p.back().x, k.curve(1).x, 1e-12);
    EXPECT_NEAR(p.back().y, k.curve(1).y, 1e-12);
    for (int i = 0; i <= 1000; ++i) EXPECT_LE(distanceTo(k.curve(i / 1000.0), p), tolerance + 1e-9);
  }
}

TEST(svg_path_test, what_is_no_path_data_is_refused_with_its_place) {
  EXPECT_ERROR_MSG(readSvgPath("L 1 2", 1),
                   "The path data is not valid at character 1: a path must start with M.");
  EXPECT_ERROR_MSG(readSvgPath("M 0 0 X 1", 1),
                   "The path data is not valid at character 7: 'X' is no path command.");
  EXPECT_ERROR_MSG(readSvgPath("M0 0a1 1 0 2 0 1 1", 1),
                   "The path data is not valid at character 12: an arc flag (0 or 1) was expected.");
  EXPECT_ERROR_MSG(readSvgPath("M 0 0 L 1", 1),
                   "The path data is not valid at character 10: a number was expected.");
}

TEST(svg_path_test, the_path_of_an_svg_file_is_found_by_its_id_or_first) {
  const std::string svg =
      "<svg><pathology d='M9 9'/><path id=\"a\" d=\"M0 0 L1 1\"/>\n"
      "<path\n d = 'M2 2 L3 3' id='b' /></svg>";
  EXPECT_EQ(svgPathData(svg), "M0 0 L1 1");
  EXPECT_EQ(svgPathData(svg, "b"), "M2 2 L3 3");
  EXPECT_ERROR_MSG(svgPathData(svg, "c"), "The SVG file has no <path> with id \"c\".");
  EXPECT_ERROR_MSG(svgPathData(std::string("<svg>\0</svg>", 12)), "The SVG file is not a text file.");
}

TEST(path_bend_test, rigid_letters_on_a_straight_slope_are_the_text_turned) {
  // Down and right in SVG's Y, so up and right in the drawing's: direction (0.8, 0.6).
  Drawing straight;
  for (int i = 0; i < 4; ++i) straight.characters.push_back(test::letterBox(0, 10.0 * i, 10.0 * i + 10, 0, 7));
  SignLayout layout;
  layout.pathData = "M 0 0 L 80 -60";
  layout.pathOffset = 5;
  Drawing d = straight;
  bendOntoPath(d, layout);
  for (std::size_t i = 0; i < d.characters.size(); ++i)
    for (std::size_t j = 0; j < 5; ++j) {
      const Vec2 p = straight.characters[i].contours.front().points[j];
      const Vec2 q = d.characters[i].contours.front().points[j];
      const Vec2 expected{0.8 * (p.x + 5) - 0.6 * p.y, 0.6 * (p.x + 5) + 0.8 * p.y};
      EXPECT_NEAR(q.x, expected.x, 1e-12);
      EXPECT_NEAR(q.y, expected.y, 1e-12);
    }
  layout.pathOffset = 65;  // the text's 40 reach 105 on a path of 100
  d = straight;
  EXPECT_ERROR_MSG(bendOntoPath(d, layout),
                   "Line 1 runs 5.000 past the path (100.000 long): the path must be at least that "
                   "much longer.");
}

// Warped letters along a path: where it runs round a curve they stand as the same warp onto
// that circle puts them (their up turning with the path, not jumping at each of its chords,
// which moved a letter's head by its height times the turn), and where it has a corner the legs
// stay straight up to it.
TEST(path_bend_test, warped_letters_follow_the_paths_curves_and_keep_its_corners) {
  Drawing boxes;
  for (int i = 0; i < 12; ++i) boxes.characters.push_back(test::letterBox(0, 3.3 * i, 3.3 * i + 2.9, 0, 7));
  SignLayout layout;
  layout.bend = BendMode::Warp;
  // A quarter circle of radius 30 clockwise from the top (SVG's Y down), then a straight leg.
  layout.pathData = "M 0 -30 A 30 30 0 0 1 30 0 L 30 60";
  Drawing d = boxes;
  bendOntoPath(d, layout);
  for (std::size_t i = 0; i < d.characters.size(); ++i) {
    const std::vector<Vec2>& bent = d.characters[i].contours.front().points;
    for (const std::size_t corner : {0, 2, 3, 4}) {
      const Vec2 q = boxes.characters[i].contours.front().points[corner];
      const Vec2 expected{(30 + q.y) * std::sin(q.x / 30), (30 + q.y) * std::cos(q.x / 30)};
      double nearest = 1e9;
      for (const Vec2& p : bent) nearest = std::min(nearest, std::hypot(p.x - expected.x, p.y - expected.y));
      EXPECT_LT(nearest, 0.002) << "letter " << i << " corner " << corner;
    }
  }
  // Along the first leg of a right angle every point stays on its box: nothing of the corner's
  // turn reaches back into the leg.
  layout.pathData = "M 0 0 L 50 0 L 50 50";
  d = boxes;
  bendOntoPath(d, layout);
  for (std::size_t i = 0; i < d.characters.size(); ++i) {
    const CharacterAdvance box = *boxes.characters[i].advance;
    for (const Vec2& p : d.characters[i].contours.front().points) {
      const double fromEdge = std::min({std::fabs(p.x - box.start), std::fabs(p.x - box.end),
                                        std::fabs(p.y), std::fabs(p.y - 7)});
      EXPECT_LT(fromEdge, 1e-9);
      EXPECT_GE(p.x, box.start - 1e-9);
      EXPECT_LE(p.x, box.end + 1e-9);
    }
  }
}

}  // namespace
}  // namespace kerfline
