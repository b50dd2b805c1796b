// The point grid against a brute-force scan, on clustered text-like points, points on one line
// and questions from far outside, while points are switched off and on.
#include "geometry/point_grid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <utility>
#include <vector>

namespace kerfline {
namespace {

double squared(const Vec2& a, const Vec2& b) { return (a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y); }

// The k live points nearest to p by scanning them all, (squared distance, id), nearest first.
std::vector<std::pair<double, std::size_t>> scan(const std::vector<Vec2>& points,
                                                 const std::vector<char>& live, const Vec2& p,
                                                 std::size_t k) {
  std::vector<std::pair<double, std::size_t>> all;
  for (std::size_t i = 0; i < points.size(); ++i)
    if (live[i]) all.push_back({squared(points[i], p), i});
  std::sort(all.begin(), all.end());
  if (all.size() > k) all.resize(k);
  return all;
}

TEST(point_grid_test, answers_as_a_scan_of_every_live_point_does) {
  std::mt19937 random(11);
  std::uniform_real_distribution<double> unit(0, 1);
  // Letters along lines (many duplicates of one glyph's points), one line of collinear
  // points, and a single point.
  std::vector<std::vector<Vec2>> sets(3);
  for (int line = 0; line < 6; ++line)
    for (int letter = 0; letter < 40; ++letter)
      for (const Vec2 v : {Vec2{0, 0}, Vec2{0.5, 0.7}, Vec2{0.3, 0.1}})
        sets[0].push_back({letter * 0.8 + v.x, -line * 2.0 + v.y});
  for (int i = 0; i < 300; ++i) sets[1].push_back({i * 0.25, 3});
  sets[2].push_back({5, 5});
  for (const std::vector<Vec2>& points : sets) {
    PointGrid grid(points);
    std::vector<char> live(points.size(), 1);
    std::vector<std::pair<double, std::size_t>> found;
    // Eat the points as a route does (the nearest goes off), now and then one comes back:
    // the grid empties block by block, and questions must cross empty blocks.
    for (std::size_t round = 0; round < points.size() + points.size() / 4 + 2; ++round) {
      std::ptrdiff_t near = -1;
      for (int question = 0; question < 4; ++question) {
        const Vec2 p{unit(random) * 60 - 14, unit(random) * 30 - 20};
        near = grid.nearest(p);
        const auto expected = scan(points, live, p, 5);
        EXPECT_EQ(near, expected.empty() ? -1 : static_cast<std::ptrdiff_t>(expected[0].second)) << p;
        grid.nearestK(p, 5, found);
        EXPECT_EQ(found, expected) << "from " << p;
      }
      const std::size_t flip = round % 5 == 4 ? random() % points.size() : static_cast<std::size_t>(near);
      if (near < 0 && round % 5 != 4) continue;
      live[flip] = round % 5 == 4 ? 1 : 0;
      grid.setLive(flip, live[flip] != 0);
      EXPECT_EQ(grid.isLive(flip), live[flip] != 0);
    }
  }
}

}  // namespace
}  // namespace kerfline
