// An inlay's depths and the plug's region, against worked examples.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "carving/inlay.h"
#include "expect_throw_msg.h"

namespace kerfline {
namespace {

constexpr double kGrid = 1e6;  // grid steps per drawing unit, as the union computes

GridRing square(double x0, double y0, double x1, double y1) {
  const auto g = [](double v) { return std::llround(v * kGrid); };
  return {{g(x0), g(y0)}, {g(x1), g(y0)}, {g(x1), g(y1)}, {g(x0), g(y1)}};
}

// Signed area (drawing units squared), positive counter-clockwise.
double area(const GridRing& r) {
  double a = 0;
  for (std::size_t i = 0; i < r.size(); ++i) {
    const GridPoint& p = r[i];
    const GridPoint& q = r[(i + 1) % r.size()];
    a += (static_cast<double>(p.x) * q.y - static_cast<double>(q.x) * p.y) / 2;
  }
  return a / (kGrid * kGrid);
}

// Pocket 1.5 deep, gap 0.5: the plug's walls meet its outline 1.0 down, its background 1.5.
TEST(inlay_test, depths_leave_the_glue_gap_over_the_floor) {
  const InlayDepths d = inlayDepths(1.5, 0.5);
  EXPECT_EQ(d.pocket, 1.5);
  EXPECT_EQ(d.plugStart, 1.0);
  EXPECT_EQ(d.plugDepth, 1.5);
  EXPECT_EQ(d.glueGap, 0.5);
  EXPECT_THROW_MSG(inlayDepths(1, 1), Error, "The glue gap must lie above 0 and below the inlay's depth.");
  EXPECT_THROW_MSG(inlayDepths(INFINITY, 0.5), Error,
                   "An inlay needs a finite depth: give --inlay-depth, --max-depth or --bit-diameter.");
}

// Two letters, a 1 x 1 square at the left and a 1 x 2 bar at the right of the box [0, 4] x
// [0, 2]: mirrored about x = 2 the bar stands at [0, 1] and the square at [3, 4]. Grown by 1,
// the box is [-1, 5] x [-1, 3] (24), less the letters (3): 21, the letters as two holes.
TEST(inlay_test, the_plug_is_the_grown_box_less_the_mirrored_letters) {
  const std::vector<std::vector<GridRing>> letters = {{square(0, 0, 1, 1)}, {square(3, 0, 4, 2)}};
  const PlugRegion plug = plugRegion(letters, 1);
  EXPECT_EQ(plug.mirrorX, 2);
  EXPECT_EQ(plug.left, -1);
  EXPECT_EQ(plug.right, 5);
  EXPECT_EQ(plug.bottom, -1);
  EXPECT_EQ(plug.top, 3);
  ASSERT_EQ(plug.rings.size(), 3u);
  double total = 0;
  std::vector<std::array<double, 3>> holes;  // least x, greatest x, area
  for (const GridRing& r : plug.rings) {
    total += area(r);
    if (area(r) > 0) continue;
    const auto [lo, hi] = std::minmax_element(r.begin(), r.end(), [](auto a, auto b) { return a.x < b.x; });
    holes.push_back({static_cast<double>(lo->x) / kGrid, static_cast<double>(hi->x) / kGrid, -area(r)});
  }
  EXPECT_NEAR(total, 21, 1e-9);
  std::sort(holes.begin(), holes.end());
  EXPECT_EQ(holes, (std::vector<std::array<double, 3>>{{0, 1, 2}, {3, 4, 1}}));
  EXPECT_THROW_MSG(plugRegion({}, 1), Error, "An inlay needs letters with an area: single-line faces have none.");
}

}  // namespace
}  // namespace kerfline
