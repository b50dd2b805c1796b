// The medial axis against known answers: hand-made regions whose axes follow from elementary
// geometry, and a real letter whose axis points shapely measures.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <sstream>
#include <string>

#include "carving/medial_axis.h"
#include "common/error.h"
#include "common/text_source.h"
#include "export/converter_glyph_source.h"
#include "export/drawing_layout.h"
#include "command_output.h"
#include "grid_ring_oracle.h"
#include "vectorizer/UTTF2Vct.h"

namespace kerfline {
namespace {

constexpr double kGrid = oracle::kGridPerUnit;
constexpr double kTolerance = 0.001;

GridRing ring(std::initializer_list<Vec2> points) {
  GridRing r;
  for (const Vec2& p : points) r.push_back({std::llround(p.x * kGrid), std::llround(p.y * kGrid)});
  return r;
}

GridRing polygon(double radius, int n, bool ccw) {
  GridRing r;
  for (int i = 0; i < n; ++i) {
    const double a = 2 * std::numbers::pi * (ccw ? i : -i) / n;
    r.push_back({std::llround(radius * std::cos(a) * kGrid), std::llround(radius * std::sin(a) * kGrid)});
  }
  return r;
}

using oracle::distanceToOutline;
using oracle::winding;

double length(const AxisEdge& e) {
  double s = 0;
  for (std::size_t i = 1; i < e.points.size(); ++i)
    s += std::hypot(e.points[i].position.x - e.points[i - 1].position.x,
                    e.points[i].position.y - e.points[i - 1].position.y);
  return s;
}

bool hasPoint(const MedialAxis& axis, Vec2 p, double r) {
  for (const AxisEdge& e : axis.edges)
    for (const AxisPoint& q : e.points)
      if (std::hypot(q.position.x - p.x, q.position.y - p.y) < 1e-6 && std::fabs(q.radius - r) < 1e-6)
        return true;
  return false;
}

struct KnownAxis {
  const char* name;
  std::vector<GridRing> rings;
  double totalLength;             ///< summed length of every edge (NAN: not checked)
  std::vector<AxisPoint> points;  ///< points the axis passes, with their radius
};

const double kRoot2 = std::numbers::sqrt2;

// Rectangle 10 x 4: a ridge of length L - W = 6 at r = W / 2, and the four corner bisectors of
// length (W / 2) * sqrt 2. L with arms 2 wide: the outer corner's bisector meets the reflex
// corner's parabolas at (t, t) where t = |(t, t) - (2, 2)| = sqrt 2 (2 - t), t = 4 - 2 sqrt 2,
// then ridges at r = 1 along each arm. V notch cut to (4, 2) into an 8 x 4 bar: below the tip the
// axis is the parabola between the tip and the floor, lowest at (4, 1) with r = 1. Two notches
// facing each other, tips (4, 1) and (4, 3): between the tips the axis is their bisector y = 2,
// its radius lowest, 1, midway. A triangular hole whose tip touches the middle of the
// outline's floor at (4, 0): above the hole the axis runs midway to the top, through (4, 6).
std::vector<KnownAxis> knownAxes() {
  const double t = 4 - 2 * kRoot2;
  return {
      {"rectangle", {ring({{0, 0}, {10, 0}, {10, 4}, {0, 4}})}, 6 + 4 * 2 * kRoot2,
       {{{2, 2}, 2}, {{8, 2}, 2}, {{0, 0}, 0}, {{10, 4}, 0}}},
      {"L", {ring({{0, 0}, {6, 0}, {6, 2}, {2, 2}, {2, 6}, {0, 6}})}, NAN,
       {{{t, t}, t}, {{2, 1}, 1}, {{1, 2}, 1}, {{5, 1}, 1}, {{1, 5}, 1}, {{0, 0}, 0}}},
      {"V notch", {ring({{0, 0}, {8, 0}, {8, 4}, {5, 4}, {4, 2}, {3, 4}, {0, 4}})}, NAN,
       {{{4, 1}, 1}, {{8, 0}, 0}, {{0, 4}, 0}}},
      {"two notches",
       {ring({{0, 0}, {3, 0}, {4, 1}, {5, 0}, {8, 0}, {8, 4}, {5, 4}, {4, 3}, {3, 4}, {0, 4}})}, NAN,
       {{{4, 2}, 1}, {{8, 0}, 0}, {{0, 4}, 0}}},
      {"hole touching the outline",
       {ring({{0, 0}, {8, 0}, {8, 8}, {0, 8}}), ring({{4, 0}, {2, 4}, {6, 4}})}, NAN,
       {{{8, 8}, 0}}},
  };
}

TEST(medial_axis_test, known_regions_have_their_known_axes) {
  for (const KnownAxis& k : knownAxes()) {
    SCOPED_TRACE(k.name);
    const MedialAxis axis = medialAxis(k.rings, kTolerance);
    double total = 0;
    for (const AxisEdge& e : axis.edges) {
      total += length(e);
      ASSERT_GE(e.points.size(), 2u);
      EXPECT_EQ(e.points.front(), axis.vertices[e.from]);
      EXPECT_EQ(e.points.back(), axis.vertices[e.to]);
      // Every point inside, its radius its distance to the outline.
      for (const AxisPoint& p : e.points) {
        EXPECT_NEAR(p.radius, distanceToOutline(k.rings, p.position), 1e-9) << p.position;
        if (p.radius > 1e-9) {
          EXPECT_NE(winding(k.rings, p.position), 0) << p.position;
        }
      }
    }
    if (!std::isnan(k.totalLength)) {
      EXPECT_NEAR(total, k.totalLength, 1e-9);
    }
    for (const AxisPoint& p : k.points)
      EXPECT_TRUE(hasPoint(axis, p.position, p.radius)) << p.position << " r " << p.radius;
  }
}

TEST(medial_axis_test, rectangle_ridge_is_length_minus_width) {
  const MedialAxis axis = medialAxis({ring({{1, 1}, {11, 1}, {11, 5}, {1, 5}})}, kTolerance);
  double ridge = 0;
  for (const AxisEdge& e : axis.edges)
    if (std::fabs(e.points.front().radius - 2) < 1e-9 && std::fabs(e.points.back().radius - 2) < 1e-9)
      ridge += length(e);
  EXPECT_NEAR(ridge, 10 - 4, 1e-9);
}

// Polygons of 64 corners for circles of radius 10 and 4: the axis runs round the middle at
// (R - r0) / 2 = 3 from both, within the polygons' deviation from their circles; the spokes
// from the outer polygon's corners only rise to it. Every direction round the centre is met.
TEST(medial_axis_test, annulus_axis_runs_round_the_middle) {
  const int n = 64;
  const double deviation = 10 * (1 - std::cos(std::numbers::pi / n));
  const std::vector<GridRing> rings{polygon(10, n, true), polygon(4, n, false)};
  const MedialAxis axis = medialAxis(rings, kTolerance);
  std::vector<bool> directions(32, false);  // each wider than an edge of the polygons
  for (const AxisEdge& e : axis.edges)
    for (const AxisPoint& p : e.points) {
      EXPECT_LE(p.radius, 3 + deviation);
      if (p.radius < 3 - deviation) continue;
      EXPECT_NEAR(std::hypot(p.position.x, p.position.y), 7, deviation);
      const double turn = std::atan2(p.position.y, p.position.x) / (2 * std::numbers::pi) + 0.5;
      directions[static_cast<std::size_t>(std::floor(turn * 32)) % 32] = true;
    }
  EXPECT_EQ(std::count(directions.begin(), directions.end(), false), 0);
}

TEST(medial_axis_test, curves_stay_within_the_tolerance) {
  // Below the notch's tip (4, 2) the axis is y = ((x - 4)^2 + 4) / 4; midway between samples
  // the chord may depart from it by no more than the tolerance.
  const std::vector<GridRing> rings{ring({{0, 0}, {8, 0}, {8, 4}, {5, 4}, {4, 2}, {3, 4}, {0, 4}})};
  for (const double tolerance : {0.1, 0.01, 0.0001}) {
    const MedialAxis axis = medialAxis(rings, tolerance);
    int checked = 0;
    for (const AxisEdge& e : axis.edges)
      for (std::size_t i = 1; i < e.points.size(); ++i) {
        const Vec2 a = e.points[i - 1].position, b = e.points[i].position;
        const Vec2 m{(a.x + b.x) / 2, (a.y + b.y) / 2};
        if (m.y > 1.9 || std::fabs(m.x - 4) > 1) continue;
        EXPECT_NEAR(m.y, ((m.x - 4) * (m.x - 4) + 4) / 4, tolerance);
        const double r = (e.points[i - 1].radius + e.points[i].radius) / 2;
        EXPECT_NEAR(r, distanceToOutline(rings, m), tolerance);
        ++checked;
      }
    EXPECT_GT(checked, 1) << tolerance;
  }
}

TEST(medial_axis_test, refuses_what_the_builder_cannot_hold) {
  EXPECT_THROW(medialAxis({ring({{0, 0}, {3000, 0}, {3000, 1}})}, kTolerance), Error);
  EXPECT_THROW(medialAxis({ring({{0, 0}, {1, 0}, {1, 1}})}, 0), Error);
  // Far from the origin but small: the shift to the region's corner makes it fit.
  EXPECT_FALSE(medialAxis({ring({{5000, 5000}, {5001, 5000}, {5001, 5001}})}, kTolerance).edges.empty());
  EXPECT_TRUE(medialAxis({}, kTolerance).edges.empty());
}

// The letter "O" of DejaVu Sans as the product builds its region (converter, then the union on
// the integer grid): shapely's distance from every axis point to the outline is its radius.
TEST(medial_axis_test, real_letter_radii_match_shapely) {
  struct Text final : TextSource {
    TFontDescription f;
    std::int32_t length() const override { return 1; }
    char32_t charAt(std::int32_t) const override { return U'O'; }
    TFontDescription fontAt(std::int32_t) const override { return f; }
  } text;
  text.f.Name = "DejaVu Sans";
  text.f.Size = 24;
  TTTFToVectorConverter converter;
  ConverterGlyphSource glyphs(converter);
  const Drawing d = layoutDrawing(text, ExportSettings{}, glyphs);
  ASSERT_EQ(d.characters.size(), 1u);
  const std::vector<GridRing> rings = regionRingsOf(d.characters[0]);
  ASSERT_EQ(rings.size(), 2u);
  const MedialAxis axis = medialAxis(rings, kTolerance);
  ASSERT_FALSE(axis.edges.empty());

  const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                     ("kerfline-axis-" + std::to_string(::getpid()) + ".txt");
  {
    std::ofstream out(file);
    out.precision(17);
    for (const GridRing& r : rings) {
      out << 'R';
      for (const GridPoint& p : r) out << ' ' << p.x / kGrid << ' ' << p.y / kGrid;
      out << '\n';
    }
    for (const AxisEdge& e : axis.edges)
      for (const AxisPoint& p : e.points)
        out << "P " << p.position.x << ' ' << p.position.y << ' ' << p.radius << '\n';
  }
  const test::CommandOutput run = test::runCommand(
      "/usr/bin/python3 " KERFLINE_SOURCE_DIR "/tests/carving/check_axis.py '" + file.string() + "' 2>&1");
  std::filesystem::remove(file);
  ASSERT_TRUE(run.ok()) << run.output;
  std::istringstream in(run.output);
  int points = 0, outside = -1;
  double worst = -1;
  ASSERT_TRUE(in >> points >> outside >> worst) << run.output;
  EXPECT_GT(points, 50);
  EXPECT_EQ(outside, 0);
  EXPECT_LT(worst, 1e-6);
}

}  // namespace
}  // namespace kerfline
