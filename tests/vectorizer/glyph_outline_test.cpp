#include "vectorizer/glyph_outline.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "contour_check.h"
#include "vectorizer/UTTF2Vct.h"
#include "vectorizer/outline_walk.h"

namespace kerfline {
namespace {

constexpr auto On = PointKind::On;
constexpr auto Conic = PointKind::Conic;
constexpr auto Cubic = PointKind::Cubic;

OutlinePolygon polygonOf(const std::vector<ContourPoint>& points) {
  Outline outline;
  appendContour(points, outline);
  EXPECT_EQ(outline.size(), 1u);
  return outline.empty() ? OutlinePolygon{} : outline.front();
}

TEST(GlyphOutlineTest, ContourRecordsFollowTheOnOffRuns) {
  const struct {
    const char* what;
    std::vector<ContourPoint> points;
    OutlinePolygon expected;
  } cases[] = {
      {"starts on curve",
       {{{0, 0}, On}, {{10, 0}, On}, {{10, 10}, Conic}, {{0, 10}, On}},
       {{0, 0}, {LineRecord{{{10, 0}}}, QuadraticRecord{{{10, 10}, {0, 10}}}}}},
      {"starts off curve, last on curve",
       {{{5, 10}, Conic}, {{10, 0}, On}, {{0, 0}, On}},
       {{0, 0}, {QuadraticRecord{{{5, 10}, {10, 0}}}}}},
      {"starts off curve, last on curve, run reaches the end",
       {{{5, 10}, Conic}, {{8, 12}, Conic}, {{0, 0}, On}},
       {{0, 0}, {QuadraticRecord{{{5, 10}, {8, 12}, {0, 0}}}}}},
      {"all off curve",
       {{{0, 10}, Conic}, {{10, 10}, Conic}, {{10, 0}, Conic}, {{0, 1}, Conic}},
       {{0, 5.5}, {QuadraticRecord{{{0, 10}, {10, 10}, {10, 0}, {0, 1}, {0, 5.5}}}}}},
      {"off-curve run closes on the start point",
       {{{0, 0}, On}, {{10, 0}, On}, {{10, 10}, Conic}, {{0, 10}, Conic}},
       {{0, 0}, {LineRecord{{{10, 0}}}, QuadraticRecord{{{10, 10}, {0, 10}, {0, 0}}}}}},
      {"line run after a curve",
       {{{0, 0}, On}, {{5, 5}, Conic}, {{10, 0}, On}, {{10, -5}, On}, {{0, -5}, On}},
       {{0, 0}, {QuadraticRecord{{{5, 5}, {10, 0}}}, LineRecord{{{10, -5}, {0, -5}}}}}},
      {"one point on curve", {{{3, 4}, On}}, {{3, 4}, {}}},
      {"one point off curve", {{{3, 4}, Conic}}, {{3, 4}, {}}},
      {"empty", {}, {{0, 0}, {}}},
      {"cubic piece",
       {{{0, 0}, On}, {{0, 10}, Cubic}, {{10, 10}, Cubic}, {{10, 0}, On}},
       {{0, 0}, {CubicRecord{{{0, 10}, {10, 10}, {10, 0}}}}}},
      {"cubic run closes on the start point",
       {{{0, 0}, On}, {{10, 0}, On}, {{10, 10}, Cubic}, {{0, 10}, Cubic}},
       {{0, 0}, {LineRecord{{{10, 0}}}, CubicRecord{{{10, 10}, {0, 10}, {0, 0}}}}}},
      {"four cubic controls imply a midpoint",
       {{{0, 0}, On}, {{0, 10}, Cubic}, {{10, 10}, Cubic}, {{20, 10}, Cubic}, {{30, 10}, Cubic},
        {{30, 0}, On}},
       {{0, 0}, {CubicRecord{{{0, 10}, {10, 10}, {15, 10}, {20, 10}, {30, 10}, {30, 0}}}}}},
  };
  for (const auto& c : cases) EXPECT_EQ(polygonOf(c.points), c.expected) << c.what;
}

struct FaceDone {
  void operator()(FT_Face f) const { FT_Done_Face(f); }
};
struct LibraryDone {
  void operator()(FT_Library l) const { FT_Done_FreeType(l); }
};

class FreeTypeFace : public ::testing::Test {
 protected:
  void open(const char* file) {
    FT_Library lib = nullptr;
    ASSERT_EQ(FT_Init_FreeType(&lib), 0);
    library_.reset(lib);
    FT_Face face = nullptr;
    ASSERT_EQ(FT_New_Face(lib, file, 0, &face), 0) << file;
    face_.reset(face);
  }
  FT_Face face() { return face_.get(); }

 private:
  std::unique_ptr<FT_LibraryRec_, LibraryDone> library_;
  std::unique_ptr<FT_FaceRec_, FaceDone> face_;  // destroyed before the library
};

constexpr const char* kLiberationSans = "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf";
constexpr const char* kCantarell = "/usr/share/fonts/opentype/cantarell/Cantarell-Regular.otf";

TEST_F(FreeTypeFace, StraightGlyphMatchesScaledFontUnits) {
  open(kLiberationSans);
  const unsigned glyph = FT_Get_Char_Index(face(), 'I');
  ASSERT_NE(glyph, 0u);
  ASSERT_EQ(face()->units_per_EM, 2048);
  ASSERT_EQ(FT_Load_Glyph(face(), glyph, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING), 0);
  const FT_Outline& o = face()->glyph->outline;
  ASSERT_EQ(o.n_contours, 1);
  // Expected strokes straight from the font: each point's font units * 1365 / 2048, halves to
  // even, from one point to the next and back to the first.
  std::vector<TStroke> expected;
  auto unit = [](FT_Pos f) { return static_cast<std::int32_t>(std::nearbyint(f * 1365.0 / 2048)); };
  for (int k = 0; k < o.n_points; ++k) {
    ASSERT_EQ(FT_CURVE_TAG(o.tags[k]), FT_CURVE_TAG_ON) << "'I' is not all straight lines";
    const FT_Vector& p = o.points[k];
    const FT_Vector& q = o.points[(k + 1) % o.n_points];
    expected.push_back({0, unit(p.x), unit(p.y), unit(q.x), unit(q.y)});
  }

  Outline outline;
  ASSERT_TRUE(loadGlyphOutline(face(), glyph, {}, outline));
  TStrokeCollection strokes;
  walkOutline(outline, 8, strokes);
  EXPECT_EQ(strokes.strokes(), expected);
}

TEST_F(FreeTypeFace, ObliqueShearsBeforeScaling) {
  open(kLiberationSans);
  const unsigned glyph = FT_Get_Char_Index(face(), 'H');
  Outline upright, slanted;
  ASSERT_TRUE(loadGlyphOutline(face(), glyph, {}, upright));
  ASSERT_TRUE(loadGlyphOutline(face(), glyph, {false, true}, slanted));
  ASSERT_EQ(upright.size(), slanted.size());
  const OutlinePoint u = upright[0].start, s = slanted[0].start;
  EXPECT_EQ(s.y, u.y);
  EXPECT_DOUBLE_EQ(s.x, u.x + u.y * 0x0366A / 65536.0);
}

TEST_F(FreeTypeFace, EmboldenThickensByAboutATwentyFourthOfTheEm) {
  open(kLiberationSans);
  const unsigned glyph = FT_Get_Char_Index(face(), 'l');
  auto widthOf = [&](const Synthesis& synthesis) {
    Outline outline;
    EXPECT_TRUE(loadGlyphOutline(face(), glyph, synthesis, outline));
    TStrokeCollection strokes;
    walkOutline(outline, 8, strokes);
    EXPECT_TRUE(test::contoursClosed(strokes));
    const TRect r = strokes.GetBounds();
    return r.Right - r.Left;
  };
  const int grown = widthOf({true, false}) - widthOf({});
  // The stem grows by em/24 = 1365/24 ~ 57 units, give or take the rounding of the corners.
  EXPECT_NEAR(grown, kOutlineEm / 24.0, 3.0);
}

TEST_F(FreeTypeFace, CubicOutlinesFlatten) {
  open(kCantarell);
  const unsigned glyph = FT_Get_Char_Index(face(), 'O');
  Outline outline;
  ASSERT_TRUE(loadGlyphOutline(face(), glyph, {}, outline));
  bool cubic = false;
  for (const OutlinePolygon& poly : outline)
    for (const OutlineRecord& rec : poly.records) cubic |= std::holds_alternative<CubicRecord>(rec);
  EXPECT_TRUE(cubic) << "Cantarell 'O' should be drawn with cubic curves";
  TStrokeCollection coarse, fine;
  walkOutline(outline, 1, coarse);
  walkOutline(outline, 8, fine);
  EXPECT_TRUE(test::contoursClosed(coarse));
  EXPECT_TRUE(test::contoursClosed(fine));
  EXPECT_GT(fine.Count(), coarse.Count());
}

TEST_F(FreeTypeFace, GlyphWithoutContoursGivesNoOutline) {
  open(kLiberationSans);
  Outline outline{{{1, 1}, {}}};
  EXPECT_FALSE(loadGlyphOutline(face(), FT_Get_Char_Index(face(), ' '), {}, outline));
  EXPECT_TRUE(outline.empty());
  EXPECT_FALSE(loadGlyphOutline(face(), 0xFFFFu, {}, outline));
  EXPECT_FALSE(loadGlyphOutline(nullptr, 1, {}, outline));
}

}  // namespace
}  // namespace kerfline
