// The V-carve toolpath on regions whose answers follow from elementary geometry: how the axis
// is chained into strokes, how deep the bit goes, where the flat floor's passes run, and how
// deep cuts are split into passes.
#include <gtest/gtest.h>
#include <pthread.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "carving/axis_chains.h"
#include "carving/vcarve.h"
#include "expect_throw_msg.h"

namespace kerfline {
namespace {

constexpr double kGrid = 1e6;  // grid steps per drawing unit, as the union computes
const double kRoot2 = std::numbers::sqrt2;
const double kTan30 = std::tan(std::numbers::pi / 6);

GridRing ring(std::initializer_list<Vec2> points) {
  GridRing r;
  for (const Vec2& p : points) r.push_back({std::llround(p.x * kGrid), std::llround(p.y * kGrid)});
  return r;
}

double chainLength(const AxisChain& c) {
  double s = 0;
  for (std::size_t i = 1; i < c.size(); ++i)
    s += std::hypot(c[i].position.x - c[i - 1].position.x, c[i].position.y - c[i - 1].position.y);
  return s;
}

// Distance from p to the rectangle's outline (p inside).
double insideRectangle(double w, double h, double x, double y) {
  return std::min({x, y, w - x, h - y});
}

// Rectangle 10 x 4: a ridge of 6 and four corner branches of 2 sqrt 2, 17.31 in all. The
// longest route runs corner - ridge - corner (6 + 4 sqrt 2); the two other branches hang off
// the ridge's ends. Retraced (limit 3 above their 2.83), they are cut twice within the one
// stroke; not retraced (limit 2), each is a stroke of its own.
// Hole in a square (ring 8 x 8 round a 4 x 4 hole): the axis is a loop with corner branches
// and can be cut as one stroke, the loop closing where it began.
TEST(vcarve_test, axis_is_chained_into_few_strokes_covering_every_edge_once_or_retraced) {
  struct Case {
    const char* name;
    std::vector<GridRing> rings;
    double retraceLimit;
    std::size_t strokes;
    double length;  // summed length of the strokes
  };
  const double branch = 2 * kRoot2;
  const std::vector<Case> cases = {
      {"rectangle, branches retraced", {ring({{0, 0}, {10, 0}, {10, 4}, {0, 4}})}, 3, 1,
       6 + 4 * branch + 2 * branch},
      {"rectangle, branches lifted", {ring({{0, 0}, {10, 0}, {10, 4}, {0, 4}})}, 2, 3,
       6 + 4 * branch},
      {"square ring", {ring({{0, 0}, {8, 0}, {8, 8}, {0, 8}}), ring({{2, 2}, {2, 6}, {6, 6}, {6, 2}})},
       100, 1, NAN},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const MedialAxis axis = medialAxis(c.rings, 0.001);
    const std::vector<AxisChain> chains = axisChains(axis, [&](double) { return c.retraceLimit; });
    EXPECT_EQ(chains.size(), c.strokes);
    double total = 0, edges = 0;
    for (const AxisChain& chain : chains) total += chainLength(chain);
    for (const AxisEdge& e : axis.edges) edges += chainLength(e.points);
    if (!std::isnan(c.length)) {
      EXPECT_NEAR(total, c.length, 1e-6);
    }
    // Every edge is cut: every point of every edge lies on some stroke.
    for (const AxisEdge& e : axis.edges)
      for (const AxisPoint& p : e.points) {
        bool found = false;
        for (const AxisChain& chain : chains)
          for (const AxisPoint& q : chain) found = found || q == p;
        EXPECT_TRUE(found) << p.position;
      }
    EXPECT_GE(total, edges - 1e-9);
  }
}

// A comb 2,000 long and 0.15 high with 20,000 teeth: its axis is a spine of tens of thousands of
// vertices with a short branch into every tooth, so the chain walk goes as deep as the spine
// is long. Walked on a thread with a 256 KiB stack, where a walk that recursed per vertex
// would overflow; short branches retraced, the whole comb is one stroke.
TEST(vcarve_test, a_long_thin_axis_is_chained_without_deep_recursion) {
  constexpr int kTeeth = 20000;
  constexpr double kPitch = 0.1;
  GridRing comb = ring({{kTeeth * kPitch, 0}, {kTeeth * kPitch, 0.1}});
  for (int k = kTeeth - 1; k >= 0; --k) {
    const GridRing tooth = ring({{k * kPitch + kPitch / 2, 0.15}, {k * kPitch, 0.1}});
    comb.insert(comb.end(), tooth.begin(), tooth.end());
  }
  comb.insert(comb.begin(), GridPoint{0, 0});
  const MedialAxis axis = medialAxis({comb}, 0.001);
  ASSERT_GT(axis.vertices.size(), 40000u);

  struct Walk {
    const MedialAxis* axis;
    std::vector<AxisChain> chains;
  } walk{&axis, {}};
  pthread_attr_t attributes;
  ASSERT_EQ(pthread_attr_init(&attributes), 0);
  ASSERT_EQ(pthread_attr_setstacksize(&attributes, 256 * 1024), 0);
  pthread_t thread;
  ASSERT_EQ(pthread_create(&thread, &attributes, [](void* p) -> void* {
    auto* w = static_cast<Walk*>(p);
    w->chains = axisChains(*w->axis, [](double) { return 1.0; });
    return nullptr;
  }, &walk), 0);
  ASSERT_EQ(pthread_join(thread, nullptr), 0);
  pthread_attr_destroy(&attributes);

  EXPECT_EQ(walk.chains.size(), 1u);
  double total = 0, edges = 0;
  for (const AxisChain& chain : walk.chains) total += chainLength(chain);
  for (const AxisEdge& e : axis.edges) edges += chainLength(e.points);
  // Every edge once, the retraced teeth twice: at least the axis, less than twice it.
  EXPECT_GE(total, edges - 1e-6);
  EXPECT_LT(total, 2 * edges);
}

// The bit goes to r / tan(angle / 2): at the rectangle's ridge r = 2, so z = -2 / tan 30 deg;
// at the corners r = 0 and the bit touches the surface there. With a depth limit the ridge is
// clamped, and the point where the corner branch crosses the limit's radius is a point of the
// stroke, so the clamp's corner is cut exactly. The floor's first pass runs round the region
// inset by the limit's radius: every point of it at exactly that distance from the outline.
// A start depth s lowers the whole axis by s (the corners' tips too), so the limit is reached
// where r = (limit - s) tan 30; a ridge height h brings the floor's passes within h tan 30 of
// each other and of the ridge line.
TEST(vcarve_test, depth_follows_the_clearance_and_the_floor_is_cleared_inside_the_limit) {
  const std::vector<GridRing> rect = {ring({{0, 0}, {10, 0}, {10, 4}, {0, 4}})};
  struct Case {
    const char* name;
    std::optional<double> maxDepth;
    std::optional<double> bitDiameter;
    double deepest;
    bool flat;
    double start;
    std::optional<double> ridge;
  };
  const double full = 2 / kTan30;
  const std::vector<Case> cases = {
      {"no limit", std::nullopt, std::nullopt, full, false, 0, std::nullopt},
      {"max depth", 1.5, std::nullopt, 1.5, true, 0, std::nullopt},
      {"bit diameter", std::nullopt, 2.0, 1 / kTan30, true, 0, std::nullopt},
      {"limit below the ridge by nothing", full + 0.1, std::nullopt, full, false, 0, std::nullopt},
      {"start depth", 1.5, std::nullopt, 1.5, true, 0.5, std::nullopt},
      {"start depth, low ridges", 1.5, std::nullopt, 1.5, true, 0.5, 0.1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    VCarveSettings s;
    s.maxDepth = c.maxDepth;
    s.bitDiameter = c.bitDiameter;
    s.tolerance = 0.001;
    s.retraceLimit = 100;
    s.startDepth = c.start;
    s.floorRidge = c.ridge;
    const RegionCarving carved = carveRegion(rect, s);
    EXPECT_EQ(carved.flat, c.flat);
    ASSERT_FALSE(carved.vbit.empty());
    const CarvePath& axis = carved.vbit.front();
    double deepest = 0;
    for (const CarvePoint& p : axis) {
      deepest = std::min(deepest, p.z);
      const double r = insideRectangle(10, 4, p.x, p.y);
      EXPECT_NEAR(p.z, -std::min(c.start + r / kTan30, c.deepest), 1e-9) << p.x << ", " << p.y;
    }
    EXPECT_NEAR(deepest, -c.deepest, 1e-9);
    EXPECT_NEAR(axis.front().z, -c.start, 1e-12);  // a corner's tip
    EXPECT_NEAR(axis.back().z, -c.start, 1e-12);
    if (!c.flat) {
      EXPECT_EQ(carved.vbit.size(), 1u);
      continue;
    }
    // The carving asks its checkpoint at each floor pass too, so that a view can abandon a long
    // carving whose text changed: at least once per pass, and around the axis.
    std::size_t asked = 0;
    carveRegion(rect, s, [&] { ++asked; });
    EXPECT_GE(asked, carved.vbit.size() + 1);
    // The clamp begins on each corner branch where r reaches the limit's radius: once on
    // the two branches the stroke starts and ends on, twice on the two it cuts there and back.
    const double rLimit = (c.deepest - c.start) * kTan30;
    int crossings = 0;
    for (const CarvePoint& p : axis) crossings += std::fabs(insideRectangle(10, 4, p.x, p.y) - rLimit) < 1e-9;
    EXPECT_EQ(crossings, 6);
    // The floor's passes: the first round the inset at rLimit, all closed, all at the limit,
    // none nearer the outline than rLimit, and at least one more further in (the floor is
    // 2 (2 - rLimit) wide and the passes stand 0.8 rLimit apart).
    ASSERT_GE(carved.vbit.size(), 3u);
    for (std::size_t i = 1; i < carved.vbit.size(); ++i) {
      const CarvePath& pass = carved.vbit[i];
      EXPECT_EQ(pass.front(), pass.back());
      for (const CarvePoint& p : pass) {
        EXPECT_NEAR(p.z, -c.deepest, 1e-12);
        EXPECT_GE(insideRectangle(10, 4, p.x, p.y), rLimit - 1e-6);
      }
    }
    for (const CarvePoint& p : carved.vbit[1])
      EXPECT_NEAR(insideRectangle(10, 4, p.x, p.y), rLimit, 1e-6);
    if (!c.ridge) continue;
    double inset = rLimit;
    for (std::size_t i = 2; i < carved.vbit.size(); ++i) {
      const double next = insideRectangle(10, 4, carved.vbit[i][0].x, carved.vbit[i][0].y);
      EXPECT_LE(next - inset, *c.ridge * kTan30 + 1e-6);
      inset = next;
    }
    EXPECT_LE(2 - inset, *c.ridge * kTan30 + 1e-6);
  }
  VCarveSettings belowFloor;
  belowFloor.maxDepth = 1;
  belowFloor.startDepth = 1;
  EXPECT_THROW_MSG(carveRegion(rect, belowFloor), Error,
                   "The start depth must lie between 0 and the depth limit.");
  // A depth limit of a tenth of a micron would clear the floor in some 350,000 passes.
  VCarveSettings hopeless;
  hopeless.maxDepth = 0.0001;
  hopeless.stepOver = 0.05;
  EXPECT_THROW_MSG(carveRegion(rect, hopeless), Error,
                   "The flat floor would take more than 2000 passes: raise the maximum depth, "
                   "the step-over or the clearing tool.");
}

// A stroke from the surface to 2.5 deep and back, in passes of 1: three passes clamped at -1,
// -2 and the stroke's own depth, each run back the way the one before came.
TEST(vcarve_test, deep_strokes_are_split_into_passes) {
  const CarvePath stroke = {{0, 0, 0}, {1, 0, -2.5}, {2, 0, -0.5}};
  struct Case {
    std::optional<double> step;
    std::vector<CarvePath> passes;
  };
  const std::vector<Case> cases = {
      {std::nullopt, {stroke}},
      {3.0, {stroke}},
      {1.0,
       {{{0, 0, 0}, {1, 0, -1}, {2, 0, -0.5}},
        {{2, 0, -0.5}, {1, 0, -2}, {0, 0, 0}},
        stroke}},
  };
  for (const Case& c : cases) EXPECT_EQ(passesOf(stroke, c.step, 1000), c.passes);
  EXPECT_THROW_MSG(passesOf(stroke, 0.001, 1000), Error,
                   "The depth per pass gives more than 1000 passes: check it against the depth.");
}

}  // namespace
}  // namespace kerfline
