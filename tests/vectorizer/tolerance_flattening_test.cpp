// Flattening at a tolerance: worked examples of the chord count, and real glyphs of TrueType
// and CFF faces at three sizes measured against their true curves by an independent reader.
#include "vectorizer/tolerance_flattening.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "expect_throw_msg.h"
#include "glyph_reference.h"
#include "test_fonts.h"
#include "vectorizer/UTTF2Vct.h"
#include "vectorizer/outline_walk.h"

namespace kerfline {
namespace {

// The parabola from (0,0) over the control point (1,1) to (2,0) is y = x (2 - x) / 2; n equal
// chords in t are equal chords in x, whose sagitta is (2 / n)^2 / 8 = 0.5 / n^2.
TEST(tolerance_flattening_test, parabola_takes_the_fewest_chords_that_keep_it_within_tolerance) {
  const struct {
    double tolerance;
    int chords;  // the fewest n with 0.5 / n^2 <= tolerance
  } cases[] = {{1, 1}, {0.5, 1}, {0.25, 2}, {0.125, 2}, {0.1, 3}, {0.005, 10}, {0.0049, 11}};
  const Outline parabola{{{0, 0}, {QuadraticRecord{{{1, 1}, {2, 0}}}}}};
  for (const auto& c : cases) {
    const std::vector<FlatContour> rings = flattenOutline(parabola, {}, c.tolerance);
    ASSERT_EQ(rings.size(), 1u);
    const FlatContour& ring = rings[0];
    // Start, the chords' inner ends, the end point; the closing line adds no point.
    ASSERT_EQ(ring.points.size(), static_cast<std::size_t>(c.chords + 1)) << c.tolerance;
    EXPECT_EQ(ring.points.back(), (OutlinePoint{2, 0}));
    for (std::size_t k = 1; k + 1 < ring.points.size(); ++k) {
      const OutlinePoint& p = ring.points[k];
      EXPECT_NEAR(p.y, p.x * (2 - p.x) / 2, 1e-12);
      // The curve's own direction (1, 1 - x), unit length, on both sides of a sample.
      const double l = std::hypot(1, 1 - p.x);
      EXPECT_NEAR(ring.tangentIn[k].x, 1 / l, 1e-12);
      EXPECT_NEAR(ring.tangentIn[k].y, (1 - p.x) / l, 1e-12);
      EXPECT_EQ(ring.tangentIn[k], ring.tangentOut[k]);
    }
    // Corners: the curve leaves the start at 45 degrees, the closing line arrives from the right.
    EXPECT_NEAR(ring.tangentOut[0].x, std::sqrt(0.5), 1e-15);
    EXPECT_EQ(ring.tangentIn[0], (OutlinePoint{-1, 0}));
  }
  // The map comes first: the same parabola twice as large needs the chords of half the tolerance.
  const auto doubled = flattenOutline(parabola, OutlineTransform::scaling(2), 0.2);
  EXPECT_EQ(doubled[0].points.size(), 3u + 1);
  EXPECT_EQ(doubled[0].points[3], (OutlinePoint{4, 0}));
}

TEST(tolerance_flattening_test, refuses_a_tolerance_that_is_not_above_zero) {
  const Outline square{{{0, 0}, {LineRecord{{{1, 0}, {1, 1}, {0, 1}}}}}};
  for (const double t : {0.0, -1.0, double(NAN), double(INFINITY)})
    EXPECT_ERROR_MSG(flattenOutline(square, {}, t), "The curve tolerance must be a number above 0.");
  EXPECT_EQ(chordsForTolerance(NAN, 0.01), 1);
  EXPECT_EQ(chordsForTolerance(1e300, 1e-300), kMaxChordsPerPiece);
}

// The records the tolerance path flattens are those of the glyph the stroke path converts,
// fallback faces included: walked at a fixed precision they give the very same strokes.
TEST(tolerance_flattening_test, records_are_those_of_the_converted_glyph) {
  const struct {
    const char* face;
    char32_t c;
  } cases[] = {{"DejaVu Sans", U'g'}, {"Cantarell", U'&'}, {"Cantarell", U'\u0416'}};
  for (const auto& c : cases) {
    TTTFToVectorConverter converter;
    converter.SetFont(test::font(c.face));
    converter.SetUNICODE(true);
    Outline outline;
    ASSERT_TRUE(converter.OutlineOfChar(static_cast<std::int32_t>(c.c), outline)) << c.face;
    TStrokeCollection walked;
    walkOutline(outline, converter.Precision(), walked);
    EXPECT_EQ(walked.strokes(), converter.ConvertChar(static_cast<std::int32_t>(c.c))->strokes());
  }
}

TEST(tolerance_flattening_test, glyphs_stay_within_tolerance_with_fewer_segments_than_fixed_chords) {
  const double tolerance = 0.01;  // mm
  const char* faces[] = {"DejaVu Sans", "Cantarell", "Nimbus Roman"};
  const char32_t characters[] = {U'S', U'g'};
  const double emSizes[] = {5, 25, 100};  // mm
  std::vector<test::GlyphRings> cases;
  std::vector<std::size_t> segments;
  std::vector<double> ems;
  for (const char* face : faces) {
    TTTFToVectorConverter converter;
    converter.SetFont(test::font(face));
    converter.SetUNICODE(true);
    const auto info = converter.MatchedFace();
    ASSERT_TRUE(info) << face;
    for (const char32_t c : characters) {
      Outline outline;
      ASSERT_TRUE(converter.OutlineOfChar(static_cast<std::int32_t>(c), outline));
      for (const double em : emSizes) {
        test::GlyphRings glyph{info->file, info->index, c, em / info->unitsPerEm, tolerance, {}};
        std::size_t count = 0;
        for (const FlatContour& ring :
             flattenOutline(outline, OutlineTransform::scaling(em / kOutlineEm), tolerance)) {
          glyph.rings.emplace_back();
          for (const OutlinePoint& p : ring.points) glyph.rings.back().push_back({p.x, p.y});
          count += ring.points.size();
        }
        cases.push_back(std::move(glyph));
        segments.push_back(count);
        ems.push_back(em);
      }
    }
  }
  const std::vector<test::GlyphMeasure> measures = test::measureGlyphRings(cases);
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const test::GlyphMeasure& m = measures[i];
    SCOPED_TRACE(cases[i].fontFile + " U+" + std::to_string(cases[i].code) + " em " +
                 std::to_string(ems[i]));
    ASSERT_EQ(m.error, "");
    EXPECT_LE(m.hausdorff, tolerance);
    // The uniform chord count that reaches the same error cuts every piece as finely as the
    // worst one needs; the tolerance cuts each piece only as finely as it needs itself.
    EXPECT_LT(segments[i], static_cast<std::size_t>(m.fixedSegments));
    std::printf("%s U+%04X em %.0f: %.4f mm, %zu segments; fixed %d chords: %d segments\n",
                cases[i].fontFile.c_str(), static_cast<unsigned>(cases[i].code),
                ems[i], m.hausdorff, segments[i], m.fixedChords, m.fixedSegments);
  }
}

}  // namespace
}  // namespace kerfline
