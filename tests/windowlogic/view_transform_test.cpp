// The job view's zoom and pan arithmetic, grid steps and ruler texts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "windowlogic/ruler_scale.h"
#include "windowlogic/view_transform.h"

namespace kerfline {
namespace {

void expectNear(const Vec2& a, const Vec2& b) {
  EXPECT_NEAR(a.x, b.x, 1e-9 * std::max(1.0, std::abs(b.x))) << a << " vs " << b;
  EXPECT_NEAR(a.y, b.y, 1e-9 * std::max(1.0, std::abs(b.y))) << a << " vs " << b;
}

Extent extentOf(double x0, double y0, double x1, double y1) {
  Extent e;
  e.add({x0, y0});
  e.add({x1, y1});
  return e;
}

TEST(ViewTransformTest, zoom_keeps_the_drawing_point_under_the_anchor) {
  ViewTransform t;
  const ScreenRect view{22, 22, 800, 500};
  t.fit(extentOf(-3, -40, 120, 7.5), view, 12);
  for (const ScreenPoint anchor : {ScreenPoint{22, 22}, ScreenPoint{400.5, 260.25}, ScreenPoint{821, 521}}) {
    for (const double factor : {1.25, 0.8, 7.0, 1 / 3.0}) {
      const Vec2 before = t.toDrawing(anchor);
      ASSERT_TRUE(t.zoomAbout(anchor, factor));
      expectNear(t.toDrawing(anchor), before);
      const ScreenPoint back = t.toScreen(before);
      EXPECT_NEAR(back.x, anchor.x, 1e-6);
      EXPECT_NEAR(back.y, anchor.y, 1e-6);
    }
  }
}

TEST(ViewTransformTest, zoom_stops_exactly_at_the_limits_and_keeps_the_anchor) {
  ViewTransform t;
  const ScreenRect view{0, 0, 1000, 600};
  t.fit(extentOf(0, 0, 100, 50), view, 0);  // fitting scale 10 px per unit
  EXPECT_DOUBLE_EQ(t.scale(), 10);
  EXPECT_DOUBLE_EQ(t.minScale(), 10 / 8.0);
  EXPECT_DOUBLE_EQ(t.maxScale(), 10000);  // 10 px for a thousandth of a unit
  const ScreenPoint anchor{300, 200};
  const Vec2 under = t.toDrawing(anchor);
  EXPECT_TRUE(t.zoomAbout(anchor, 1e9));
  EXPECT_DOUBLE_EQ(t.scale(), 10000);
  expectNear(t.toDrawing(anchor), under);
  EXPECT_FALSE(t.zoomAbout(anchor, 2));  // already at the near limit: nothing moves
  EXPECT_TRUE(t.zoomAbout(anchor, 1e-12));
  EXPECT_DOUBLE_EQ(t.scale(), 1.25);
  EXPECT_FALSE(t.zoomAbout(anchor, 0.5));
  EXPECT_FALSE(t.zoomAbout(anchor, 0));
  EXPECT_FALSE(t.zoomAbout(anchor, std::nan("")));
  // A tiny drawing may be enlarged eight fits even beyond the usual near limit.
  t.fit(extentOf(0, 0, 0.001, 0.0005), view, 0);
  EXPECT_DOUBLE_EQ(t.maxScale(), 8 * 1e6);
}

TEST(ViewTransformTest, fit_centres_the_whole_extent_inside_the_margin) {
  const ScreenRect view{22, 22, 778, 378};
  const double margin = 12;
  for (const Extent e : {extentOf(-3, -40, 120, 7.5), extentOf(0, 0, 2, 300), extentOf(5, 5, 5.5, 5.25)}) {
    ViewTransform t;
    t.zoomAbout({100, 100}, 3);
    t.panBy(-5000, 77);
    t.fit(e, view, margin);
    const ScreenPoint lo = t.toScreen({e.minX, e.maxY});  // top left on the screen
    const ScreenPoint hi = t.toScreen({e.maxX, e.minY});
    EXPECT_GE(lo.x, view.x + margin - 1e-9);
    EXPECT_GE(lo.y, view.y + margin - 1e-9);
    EXPECT_LE(hi.x, view.x + view.width - margin + 1e-9);
    EXPECT_LE(hi.y, view.y + view.height - margin + 1e-9);
    // One direction fills the room exactly, and the middle of the drawing is the middle.
    const bool fillsWidth = std::abs((hi.x - lo.x) - (view.width - 2 * margin)) < 1e-9;
    const bool fillsHeight = std::abs((hi.y - lo.y) - (view.height - 2 * margin)) < 1e-9;
    EXPECT_TRUE(fillsWidth || fillsHeight);
    EXPECT_NEAR((lo.x + hi.x) / 2, view.x + view.width / 2, 1e-9);
    EXPECT_NEAR((lo.y + hi.y) / 2, view.y + view.height / 2, 1e-9);
  }
}

TEST(ViewTransformTest, drawings_without_area_get_a_usable_view) {
  const ScreenRect view{0, 0, 400, 300};
  for (const Extent e : {Extent{}, extentOf(3, 4, 3, 4), extentOf(0, 1, 50, 1), extentOf(2, -5, 2, 5)}) {
    ViewTransform t;
    t.fit(e, view, 10);
    EXPECT_TRUE(std::isfinite(t.scale()) && t.scale() > 0);
    const Vec2 middle{e.empty() ? 0 : (e.minX + e.maxX) / 2, e.empty() ? 0 : (e.minY + e.maxY) / 2};
    const ScreenPoint at = t.toScreen(middle);
    EXPECT_NEAR(at.x, 200, 1e-9);
    EXPECT_NEAR(at.y, 150, 1e-9);
  }
}

TEST(RulerScaleTest, major_steps_are_one_two_five_times_a_power_of_ten) {
  const struct {
    double pixelsPerUnit;
    double major, minor;
    int decimals;
  } cases[] = {
      {10, 10, 2, 0},          // 7 units wanted
      {70, 1, 0.2, 0},         // exactly one unit wanted: a power of ten itself
      {35, 2, 0.5, 0},         // 2 units
      {1000, 0.1, 0.02, 1},    // 0.07
      {20000, 0.005, 0.001, 3},  // 0.0035
      {1.0 / 3, 500, 100, 0},  // 210
      {0.07, 1000, 200, 0},
  };
  for (const auto& c : cases) {
    const GridSpacing g = gridSpacingFor(c.pixelsPerUnit, 70);
    EXPECT_DOUBLE_EQ(g.major, c.major) << c.pixelsPerUnit;
    EXPECT_DOUBLE_EQ(g.minor, c.minor) << c.pixelsPerUnit;
    EXPECT_EQ(g.decimals, c.decimals) << c.pixelsPerUnit;
    EXPECT_GE(g.major * c.pixelsPerUnit, 70 - 1e-9);
  }
}

TEST(RulerScaleTest, labels_and_indices) {
  EXPECT_EQ(rulerLabel(0, 0.1, 1), "0");
  EXPECT_EQ(rulerLabel(-3, 0.1, 1), "-0.3");
  EXPECT_EQ(rulerLabel(5, 0.2, 1), "1.0");
  EXPECT_EQ(rulerLabel(7, 0.005, 3), "0.035");
  EXPECT_EQ(rulerLabel(-12, 500, 0), "-6000");
  std::int64_t first = 0, last = 0;
  gridIndices(-0.25, 1.0, 0.5, 100, first, last);
  EXPECT_EQ(first, 0);
  EXPECT_EQ(last, 2);
  gridIndices(-10.5, -9.5, 1, 100, first, last);
  EXPECT_EQ(first, -10);
  EXPECT_EQ(last, -10);
  gridIndices(0, 1e12, 1, 4000, first, last);  // too many lines: none rather than a hang
  EXPECT_LT(last, first);
  gridIndices(0, 1, 0, 4000, first, last);
  EXPECT_LT(last, first);
}

}  // namespace
}  // namespace kerfline
