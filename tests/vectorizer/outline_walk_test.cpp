#include "vectorizer/outline_walk.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "contour_check.h"

namespace kerfline {
namespace {

std::vector<TStroke> walk(const Outline& outline, int precision) {
  TStrokeCollection strokes;
  walkOutline(outline, precision, strokes);
  EXPECT_TRUE(test::contoursClosed(strokes));
  return strokes.strokes();
}

TEST(OutlineWalkTest, OnePieceAtPrecisionTwo) {
  const Outline outline{{{0, 0}, {QuadraticRecord{{{10, 20}, {20, 0}}}}}};
  EXPECT_EQ(walk(outline, 2), (std::vector<TStroke>{
                                  {0, 0, 0, 10, 10}, {0, 10, 10, 20, 0}, {0, 20, 0, 0, 0}}));
}

TEST(OutlineWalkTest, RecordWithImpliedMidpoint) {
  // Current point (0,0), then controls (0,10), (10,10) and end (10,0): the first piece ends at
  // the implied on-curve point (5,10).
  const Outline outline{{{0, 0}, {QuadraticRecord{{{0, 10}, {10, 10}, {10, 0}}}}}};
  EXPECT_EQ(walk(outline, 1), (std::vector<TStroke>{
                                  {0, 0, 0, 5, 10}, {0, 5, 10, 10, 0}, {0, 10, 0, 0, 0}}));
}

TEST(OutlineWalkTest, RoundsHalvesToEven) {
  const struct {
    double in;
    std::int32_t out;
  } cases[] = {{2.5, 2},   {3.5, 4},   {-2.5, -2}, {-3.5, -4},         {0.5, 0},
               {-0.5, 0},  {1.5, 2},   {2.4999, 2}, {2.5001, 3},        {-7.2, -7},
               {1e300, 2147483647}, {-1e300, -2147483647}, {NAN, -2147483647}};
  for (const auto& c : cases) EXPECT_EQ(roundOutlineUnit(c.in), c.out) << c.in;

  const Outline outline{{{2.5, 3.5}, {LineRecord{{{-2.5, -3.5}}}}}};
  EXPECT_EQ(walk(outline, 8),
            (std::vector<TStroke>{{0, 2, 4, -2, -4}, {0, -2, -4, 2, 4}}));
}

TEST(OutlineWalkTest, RepeatedPointsGiveNoStroke) {
  const Outline outline{
      {{0, 0}, {LineRecord{{{0, 0}, {1, 1}, {1, 1}, {2, 2}, {2, 2}}}, LineRecord{{{2, 2}}}}}};
  EXPECT_EQ(walk(outline, 8), (std::vector<TStroke>{
                                  {0, 0, 0, 1, 1}, {0, 1, 1, 2, 2}, {0, 2, 2, 0, 0}}));
}

TEST(OutlineWalkTest, DistinctPointsRoundingAlikeGiveZeroLengthStroke) {
  // Equality is decided before rounding: both the line and the closing stroke stay.
  const Outline outline{{{3.2, 5}, {LineRecord{{{3.4, 5}}}}}};
  EXPECT_EQ(walk(outline, 8), (std::vector<TStroke>{{0, 3, 5, 3, 5}, {0, 3, 5, 3, 5}}));
}

TEST(OutlineWalkTest, LineContoursIgnorePrecision) {
  const struct {
    const char* what;
    Outline outline;
    std::size_t strokes;
  } cases[] = {
      {"open square", {{{0, 0}, {LineRecord{{{10, 0}, {10, 10}, {0, 10}}}}}}, 4},
      {"square back at start", {{{0, 0}, {LineRecord{{{10, 0}, {10, 10}, {0, 10}, {0, 0}}}}}}, 4},
      {"split records", {{{0, 0}, {LineRecord{{{10, 0}}}, LineRecord{{{10, 10}, {0, 10}}}}}}, 4},
      {"single line", {{{0, 0}, {LineRecord{{{10, 0}}}}}}, 2},
      {"no records", {{{7, 7}, {}}}, 0},
  };
  for (const auto& c : cases) {
    for (int precision : {1, 2, 8, 100}) {
      EXPECT_EQ(walk(c.outline, precision).size(), c.strokes) << c.what << " at " << precision;
    }
  }
}

TEST(OutlineWalkTest, ContourNumberIsPolygonIndex) {
  // The middle polygon yields nothing but still takes number 1.
  const Outline outline{
      {{0, 0}, {LineRecord{{{10, 0}, {0, 10}}}}},
      {{50, 50}, {}},
      {{20, 0}, {QuadraticRecord{{{25, 10}}}, LineRecord{{{30, 0}, {25, 5}}}}},
  };
  const std::vector<TStroke> strokes = walk(outline, 4);
  ASSERT_EQ(strokes.size(), 6u);
  for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(strokes[i].Contour, 0);
  for (std::size_t i = 3; i < 6; ++i) EXPECT_EQ(strokes[i].Contour, 2);
  // The one-point quadratic record is skipped: the line continues from the start point.
  EXPECT_EQ(strokes[3], (TStroke{2, 20, 0, 30, 0}));
}

// The quadratic Bezier point by its Bernstein form, an independent way to the same curve.
OutlinePoint bezier2(OutlinePoint a, OutlinePoint b, OutlinePoint e, double t) {
  const double s = 1 - t;
  return {s * s * a.x + 2 * t * s * b.x + t * t * e.x, s * s * a.y + 2 * t * s * b.y + t * t * e.y};
}

OutlinePoint bezier3(OutlinePoint a, OutlinePoint b, OutlinePoint c, OutlinePoint e, double t) {
  const double s = 1 - t;
  auto f = [&](double pa, double pb, double pc, double pe) {
    return s * s * s * pa + 3 * s * s * t * pb + 3 * s * t * t * pc + t * t * t * pe;
  };
  return {f(a.x, b.x, c.x, e.x), f(a.y, b.y, c.y, e.y)};
}

void expectSamples(const std::vector<TStroke>& strokes, int n, OutlinePoint e,
                   auto sampleAt) {
  // n samples along the piece, then the closing stroke from the end point back to the start.
  ASSERT_EQ(strokes.size(), static_cast<std::size_t>(n) + 1) << "precision " << n;
  for (int k = 1; k < n; ++k) {
    const OutlinePoint q = sampleAt(static_cast<double>(k) / n);
    EXPECT_LE(std::abs(strokes[k - 1].X2 - q.x), 1.0) << "precision " << n << " sample " << k;
    EXPECT_LE(std::abs(strokes[k - 1].Y2 - q.y), 1.0) << "precision " << n << " sample " << k;
  }
  // The end coordinate 1001.5 rounds up to 1002 only from the exact end point; the formula
  // at an accumulated t just below 1 would give 1001.
  EXPECT_EQ(strokes[n - 1].X2, roundOutlineUnit(e.x)) << "precision " << n;
  EXPECT_EQ(strokes[n - 1].Y2, roundOutlineUnit(e.y)) << "precision " << n;
  EXPECT_EQ(strokes[n].X1, roundOutlineUnit(e.x)) << "precision " << n;
}

TEST(OutlineWalkTest, QuadraticPieceGivesPrecisionSamplesEndingOnEndPoint) {
  const OutlinePoint a{0, 0}, b{300, 90000}, e{1001.5, 3.5};
  for (int n = 1; n <= 100; ++n) {
    const Outline outline{{a, {QuadraticRecord{{b, e}}}}};
    expectSamples(walk(outline, n), n, e, [&](double t) { return bezier2(a, b, e, t); });
  }
}

TEST(OutlineWalkTest, CubicPieceGivesPrecisionSamplesEndingOnEndPoint) {
  const OutlinePoint a{0, 0}, b{100, 90000}, c{900, 90000}, e{1001.5, 3.5};
  for (int n = 1; n <= 100; ++n) {
    const Outline outline{{a, {CubicRecord{{b, c, e}}}}};
    expectSamples(walk(outline, n), n, e, [&](double t) { return bezier3(a, b, c, e, t); });
  }
}

TEST(OutlineWalkTest, CubicRecordChainsPieces) {
  // Two pieces: the second starts where the first ended; a trailing partial triple is ignored.
  const Outline outline{{{0, 0},
                         {CubicRecord{{{0, 10}, {10, 10}, {10, 0}, {10, -10}, {20, -10}, {20, 0},
                                       {99, 99}}}}}};
  const std::vector<TStroke> strokes = walk(outline, 1);
  EXPECT_EQ(strokes, (std::vector<TStroke>{
                         {0, 0, 0, 10, 0}, {0, 10, 0, 20, 0}, {0, 20, 0, 0, 0}}));
}

}  // namespace
}  // namespace kerfline
