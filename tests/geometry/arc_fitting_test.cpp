// Arcs: worked circles, lines and corners by hand, and real capitals fitted at 0.01 mm checked
// against their true curves by an independent reader.
#include "geometry/arc_fitting.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "expect_throw_msg.h"
#include "geometry/arc_path.h"
#include "geometry_test_support.h"
#include "glyph_reference.h"
#include "vectorizer/UTTF2Vct.h"
#include "vectorizer/tolerance_flattening.h"

namespace kerfline {
namespace {

constexpr double kPi = std::numbers::pi;

double distance(const Vec2& a, const Vec2& b) { return std::hypot(a.x - b.x, a.y - b.y); }

// Direction of a piece where it leaves its start and where it arrives at its end, in radians.
struct Ends {
  double leave = 0, arrive = 0;
};
Ends directions(const Vec2& a, const Vec2& b, double bulge) {
  const double chord = std::atan2(b.y - a.y, b.x - a.x);
  const double half = 2 * std::atan(bulge);  // the tangent is half the sweep off the chord
  return {chord - half, chord + half};
}

double turn(double from, double to) { return std::remainder(to - from, 2 * kPi); }

TEST(arc_path_test, bulge_gives_the_circle_of_worked_arcs) {
  const double q = std::tan(kPi / 8);  // a quarter circle
  const struct {
    Vec2 a, b;
    double bulge;
    Vec2 centre;
    double radius, startAngle, sweep;
  } cases[] = {
      {{0, 0}, {2, 0}, 1, {1, 0}, 1, kPi, kPi},           // half circle above, anticlockwise
      {{0, 0}, {2, 0}, -1, {1, 0}, 1, kPi, -kPi},         // ... below, clockwise
      {{1, 0}, {0, 1}, q, {0, 0}, 1, 0, kPi / 2},          // quarter of the unit circle
      {{10, 5}, {5, 10}, q, {5, 5}, 5, 0, kPi / 2},
      {{0, 3}, {3, 0}, -q, {0, 0}, 3, kPi / 2, -kPi / 2},
  };
  for (const auto& c : cases) {
    const ArcGeometry g = arcGeometry(c.a, c.b, c.bulge);
    EXPECT_NEAR(g.centre.x, c.centre.x, 1e-12);
    EXPECT_NEAR(g.centre.y, c.centre.y, 1e-12);
    EXPECT_NEAR(g.radius, c.radius, 1e-12);
    EXPECT_NEAR(std::remainder(g.startAngle - c.startAngle, 2 * kPi), 0, 1e-12);
    EXPECT_NEAR(g.sweep, c.sweep, 1e-12);
  }
}

TEST(arc_path_test, samples_arcs_within_tolerance_and_keeps_lines) {
  // A slot: two half circles of radius 5 joined by lines of length 20.
  const ArcPath slot{{{{0, 0}, 0}, {{20, 0}, 1}, {{20, 10}, 0}, {{0, 10}, 1}}, true};
  EXPECT_EQ(pieceCount(slot), 4u);
  for (const double t : {0.5, 0.01, 0.001}) {
    const Contour c = sampleArcPath(slot, t);
    // Each half circle needs pi / (2 acos(1 - t / 5)) chords, rounded up.
    const int chords = static_cast<int>(std::ceil(kPi / (2 * std::acos(1 - t / 5))));
    ASSERT_EQ(c.points.size(), static_cast<std::size_t>(2 * chords + 2)) << t;
    for (std::size_t i = 0; i < c.points.size(); ++i) {
      const Vec2& p = c.points[i];
      const Vec2& n = c.points[(i + 1) % c.points.size()];
      if (p.x < 20 && p.x > 0) continue;  // a point of the lines
      const Vec2 centre{p.x >= 20 ? 20.0 : 0.0, 5};
      EXPECT_NEAR(distance(p, centre), 5, 1e-12);
      EXPECT_LE(5 - distance({(p.x + n.x) / 2, (p.y + n.y) / 2}, centre), t + 1e-12);
    }
  }
}

// A drawing's extent holds what its arcs cut, not only their ends: worked circles and arcs.
TEST(arc_path_test, drawing_extent_reaches_the_outermost_points_of_its_arcs) {
  const struct {
    std::vector<Vec2> points;
    std::vector<double> bulges;
    bool closed;
    Extent extent;
  } cases[] = {
      // Two half circles over (1, 0) with radius 1: the whole circle.
      {{{0, 0}, {2, 0}}, {1, 1}, true, {0, -1, 2, 1}},
      // The upper half only, counter-clockwise from (2, 0): up to its top.
      {{{2, 0}, {0, 0}}, {1, 0}, false, {0, 0, 2, 1}},
      // A quarter clockwise from (0, 1) to (1, 0) about the origin: its ends bound it.
      {{{0, 1}, {1, 0}}, {-std::tan(std::numbers::pi / 8), 0}, false, {0, 0, 1, 1}},
      // Three quarters clockwise from (0, 1) to (-1, 0) about the origin: right and bottom.
      {{{0, 1}, {-1, 0}}, {-std::tan(3 * std::numbers::pi / 8), 0}, false, {-1, -1, 1, 1}},
  };
  for (const auto& c : cases) {
    Drawing d;
    PlacedCharacter ch;
    Contour k;
    k.points = c.points;
    k.closed = c.closed;
    ch.contours = {k};
    d.characters = {ch};
    d.bulges = {c.bulges};
    const Extent e = d.extent();
    EXPECT_NEAR(e.minX, c.extent.minX, 1e-12);
    EXPECT_NEAR(e.minY, c.extent.minY, 1e-12);
    EXPECT_NEAR(e.maxX, c.extent.maxX, 1e-12);
    EXPECT_NEAR(e.maxY, c.extent.maxY, 1e-12);
  }
}

TEST(arc_fitting_test, finds_circles_lines_and_corners_in_plain_polylines) {
  const double t = 0.01;
  // A circle of radius 10 sampled every 2 degrees: arcs of radius 10, no line, no corner.
  const ArcPath circle = fitArcs(test::circle(0, 0, 10, 180), {t});
  EXPECT_LE(pieceCount(circle), 8u);
  for (std::size_t i = 0; i < circle.vertices.size(); ++i) {
    const ArcVertex& v = circle.vertices[i];
    ASSERT_NE(v.bulge, 0);
    EXPECT_NEAR(arcGeometry(v.at, circle.vertices[(i + 1) % circle.vertices.size()].at, v.bulge)
                    .radius, 10, 0.05);
  }
  // A square keeps its four corners and sides; points along a side do not make it bend.
  Contour square{{{0, 0}, {5, 0}, {10, 0}, {10, 10}, {0, 10}}, true};
  const ArcPath sq = fitArcs(square, {t});
  ASSERT_EQ(pieceCount(sq), 4u);
  for (const ArcVertex& v : sq.vertices) EXPECT_EQ(v.bulge, 0);
  EXPECT_EQ(sq.vertices[0].at, (Vec2{0, 0}));
  // An open run of collinear points is one line from its first to its last point.
  const ArcPath line = fitArcs({{{0, 0}, {1, 1}, {2, 2}, {3, 3}}, false}, {t});
  EXPECT_EQ(line, (ArcPath{{{{0, 0}, 0}, {{3, 3}, 0}}, false}));
  EXPECT_ERROR_MSG(fitArcs(square, {0}), "The curve tolerance must be a number above 0.");
}

struct FittedGlyph {
  std::vector<FlatContour> fine;  // flattened at the flattening share
  std::vector<ArcPath> paths;
  std::size_t polylineSegments = 0;  // flattened at the whole tolerance
};

FittedGlyph fitGlyph(const Outline& outline, const OutlineTransform& map, double tolerance) {
  FittedGlyph g;
  for (const FlatContour& ring : flattenOutline(outline, map, tolerance))
    g.polylineSegments += ring.points.size();
  const ToleranceShares shares = arcToleranceShares(tolerance);
  g.fine = flattenOutline(outline, map, shares.flattening);
  for (const FlatContour& ring : g.fine) {
    Contour polyline;
    PolylineTangents tangents;
    for (std::size_t i = 0; i < ring.points.size(); ++i) {
      polyline.points.push_back({ring.points[i].x, ring.points[i].y});
      tangents.in.push_back({ring.tangentIn[i].x, ring.tangentIn[i].y});
      tangents.out.push_back({ring.tangentOut[i].x, ring.tangentOut[i].y});
    }
    g.paths.push_back(fitArcs(polyline, {shares.fitting}, &tangents));
  }
  return g;
}

TEST(arc_fitting_test, capitals_are_few_arcs_within_tolerance_of_their_true_curves) {
  const double tolerance = 0.01, em = 35;  // mm: capitals about 25 mm high
  const char* faces[] = {"DejaVu Sans", "Nimbus Roman"};
  const std::u32string capitals = U"BCDGJOQRS";
  std::vector<test::GlyphRings> cases;
  std::size_t pieces = 0, segments = 0;
  double maxKink = 0;
  for (const char* face : faces) {
    TTTFToVectorConverter converter;
    TFontDescription font;
    font.Name = face;
    converter.SetFont(font);
    converter.SetUNICODE(true);
    const auto info = converter.MatchedFace();
    ASSERT_TRUE(info) << face;
    for (const char32_t c : capitals) {
      Outline outline;
      ASSERT_TRUE(converter.OutlineOfChar(static_cast<std::int32_t>(c), outline));
      const FittedGlyph g = fitGlyph(outline, OutlineTransform::scaling(em / kOutlineEm), tolerance);
      segments += g.polylineSegments;
      test::GlyphRings rings{info->file, info->index, c, em / info->unitsPerEm, tolerance, {}};
      for (std::size_t r = 0; r < g.paths.size(); ++r) {
        const ArcPath& path = g.paths[r];
        pieces += pieceCount(path);
        const std::size_t n = path.vertices.size();
        for (std::size_t i = 0; i < n; ++i) {
          const ArcVertex& v = path.vertices[i];
          const ArcVertex& w = path.vertices[(i + 1) % n];
          if (v.bulge != 0) {
            // Both ends on the circle to half a micrometre.
            const ArcGeometry arc = arcGeometry(v.at, w.at, v.bulge);
            EXPECT_NEAR(distance(arc.centre, v.at), arc.radius, 0.5e-3);
            EXPECT_NEAR(distance(arc.centre, w.at), arc.radius, 0.5e-3);
            EXPECT_LE(arc.radius, kLineRadiusFactor * tolerance);
          }
          // Pieces meet with one tangent except where the outline has a corner (or a cusp).
          const ArcVertex& u = path.vertices[(i + n - 1) % n];
          const double kink = turn(directions(u.at, v.at, u.bulge).arrive,
                                   directions(v.at, w.at, v.bulge).leave);
          // A line stands for an arc flatter than the line radius, whose ends turn from its
          // chord by half the chord over the radius: with the sagitta within the tolerance,
          // at most sqrt(2 T / R) <= sqrt(2e-4), twice that for the fitting's own room.
          const double allowed = u.bulge == 0 || v.bulge == 0 ? 2 * std::sqrt(2e-4) : 1e-6;
          maxKink = std::fmax(maxKink, (u.bulge == 0 || v.bulge == 0) ? std::fabs(kink) : 0);
          if (std::fabs(kink) > allowed) {
            const FlatContour& ring = g.fine[r];
            std::size_t k = 0;
            while (k < ring.points.size() && !(ring.points[k] == OutlinePoint{v.at.x, v.at.y})) ++k;
            ASSERT_LT(k, ring.points.size()) << "a join off the polyline";
            const OutlinePoint& a = ring.tangentIn[k];
            const OutlinePoint& b = ring.tangentOut[k];
            EXPECT_GT(std::fabs(std::atan2(a.x * b.y - a.y * b.x, a.x * b.x + a.y * b.y)),
                      15 * kPi / 180)
                << "kink of " << kink << " at " << v.at;
          }
        }
        rings.rings.emplace_back();
        for (const Vec2& p : sampleArcPath(path, tolerance / 100).points)
          rings.rings.back().push_back({p.x, p.y});
      }
      cases.push_back(std::move(rings));
    }
  }
  // At most a quarter of the segments of the polyline at the same tolerance (serifs and
  // short fillets between corners keep a piece or two each, whatever their size): biarcs
  // pinned to the polyline at both ends take 0.29 of them here.
  EXPECT_LE(pieces, segments * 0.25) << pieces << " pieces for " << segments << " segments";
  std::printf("%zu lines and arcs for %zu polyline segments; kink at a line %g\n", pieces,
              segments, maxKink);
  const std::vector<test::GlyphMeasure> measures = test::measureGlyphRings(cases);
  for (std::size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE(cases[i].fontFile + " U+" + std::to_string(cases[i].code));
    ASSERT_EQ(measures[i].error, "");
    // The sampling of the arcs adds at most a hundredth of the tolerance.
    EXPECT_LE(measures[i].hausdorff, tolerance * 1.01);
  }
}

}  // namespace
}  // namespace kerfline
