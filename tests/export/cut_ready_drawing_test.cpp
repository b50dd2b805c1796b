// The drawing the closed-contour writers get: the classic walk's points cleaned of repeats,
// scaled to a fit size and ordered for cutting, from hand-made strokes.
#include "export/cut_ready_drawing.h"

#include <gtest/gtest.h>

#include "export/converter_glyph_source.h"
#include "export/drawing_layout.h"
#include "export/dxf_export.h"
#include "export_test_support.h"
#include "geometry/cut_order.h"
#include "vectorizer/UTTF2Vct.h"

namespace kerfline {
namespace {

using test::FakeGlyphs;
using test::MemoryText;

// A font size and scale for which UnitScale is 1: drawing units = outline * 0.18f.
TFontDescription tenPoint() {
  TFontDescription f;
  f.Size = 10;
  return f;
}

ConversionOptions plainOptions() {
  ConversionOptions o;
  o.classic.scale = 10000;
  o.classic.spacePercent = 0;
  return o;
}

// Outline units to drawing units at UnitScale 1, in long double (exact here), rounded once.
float du(int outline) {
  return static_cast<float>(static_cast<long double>(outline) * kOutlineFactor);
}

TEST(drawing_layout_test, repeated_points_and_zero_length_strokes_leave_no_trace) {
  FakeGlyphs glyphs;
  glyphs.setStrokes(U'x', {
      {0, 0, 0, 0, 0},        // zero length at the start: closes at once, only a point
      {1, 0, 0, 100, 0},      //
      {1, 100, 0, 100, 0},    // zero length inside the ring
      {1, 100, 0, 100, 100},  //
      {1, 100, 100, 0, 0},    // back at the start: the ring closes
      {2, 10, 10, 10, 10},    // a lone zero-length stroke: no edge, no contour
  });
  MemoryText text(U"x", tenPoint());
  const Drawing d = layoutDrawing(text, plainOptions().classic, glyphs);
  ASSERT_EQ(d.characters.size(), 1u);
  ASSERT_EQ(d.characters[0].contours.size(), 1u);
  EXPECT_EQ(d.characters[0].contours[0].points,
            (std::vector<Vec2>{{0, 0}, {du(100), 0}, {du(100), du(100)}}));
}

// Counts what is asked of the converter.
class CountingGlyphs final : public GlyphSource {
 public:
  explicit CountingGlyphs(GlyphSource& inner) : inner_(inner) {}
  std::optional<TStrokeCollection> strokesOf(const TFontDescription& font, char32_t c,
                                             int precision) override {
    ++asked;
    return inner_.strokesOf(font, c, precision);
  }
  int asked = 0;

 private:
  GlyphSource& inner_;
};

// Each glyph is made ready once and then moved into place: the drawing must be, point for
// point, the walk's drawing with every character made ready where it stands, far along a long
// line (where rounding to single precision bites) and on lines below, in two sizes.
TEST(cut_ready_drawing_test, a_glyph_made_ready_once_and_moved_is_the_walks_own) {
  std::u32string line;
  for (int i = 0; i < 60; ++i) line += U"Roof & oil, 8% ";
  MemoryText text(line + U"\r\n" + line + U"\r\nABBA", TFontDescription{"Liberation Sans", 20});
  for (std::int32_t pos = 3; pos <= text.length(); pos += 7)
    text.setFont(pos, TFontDescription{"Liberation Sans", 9});
  TTTFToVectorConverter converter;
  ConverterGlyphSource direct(converter);
  for (const char* pitch : {"-7.5", "0.3"}) {
    ConversionOptions options;
    options.classic.spacePercent = 25;
    options.classic.pitchText = pitch;
    Drawing expected = layoutDrawing(text, options.classic, direct);
    orderForCutting(expected);
    CountingGlyphs counting(direct);
    const Drawing d = cutReadyDrawing(text, options, counting);
    EXPECT_EQ(d.layer, expected.layer);
    ASSERT_EQ(d.characters.size(), expected.characters.size()) << pitch;
    for (std::size_t i = 0; i < d.characters.size(); ++i)
      ASSERT_EQ(d.characters[i], expected.characters[i]) << pitch << " character " << i;
    // "Roof & oil, 8% " and "ABBA" hold 14 different characters, in two sizes.
    EXPECT_LE(counting.asked, 2 * 14) << pitch;
  }
}

// The measuring walk must count and bound exactly what the placing walk hands over, also far
// from the origin, where a small ring rounds to a line (kept) or to one point (dropped) and an
// open path to one point (kept).
TEST(cut_ready_drawing_test, the_measuring_walk_counts_and_bounds_what_is_placed) {
  FakeGlyphs glyphs;
  glyphs.set(U'W', {{{0, 0}, {5'000'000, 0}, {5'000'000, 100}, {0, 100}}});
  glyphs.set(U't', {{{0, 0}, {5, 0}, {5, 5}, {0, 5}}});
  glyphs.setStrokes(U'l', {{0, 0, 0, 1, 1}}, true);
  // Both lines end at X = 1.8e7 (a float step of 2): line 1's "t" keeps only its height.
  // Line 2 also lies at Y = -3e7 (a step of 2), so its "t" shrinks to one point and goes.
  const std::u32string twenty(20, U'W');
  MemoryText text(U"t" + twenty + U"tl\r\n" + twenty + U"tl", tenPoint());
  ConversionOptions options = plainOptions();
  options.classic.pitchText = "-3e7";
  CutReadyWalker walker(text, options, glyphs);
  const WalkMeasure measured = walker.measure();
  const Drawing placed = cutReadyDrawing(text, options, glyphs);
  std::size_t paths = 0;
  for (const PlacedCharacter& c : placed.characters) paths += c.contours.size();
  EXPECT_EQ(paths, 44u);
  EXPECT_EQ(measured.paths, 44u);
  EXPECT_EQ(measured.extent, placed.extent());
  EXPECT_EQ(measured.extent.minY, -3e7);
}

TEST(cut_ready_drawing_test, holes_before_outlines_whichever_way_the_font_runs_them) {
  FakeGlyphs glyphs;
  // TrueType runs outlines clockwise, CFF counter-clockwise; "o" in both ways, outline first.
  glyphs.set(U'T', {{{0, 0}, {0, 100}, {100, 100}, {100, 0}}, {{20, 20}, {80, 20}, {80, 80}, {20, 80}}});
  glyphs.set(U'C', {{{0, 0}, {100, 0}, {100, 100}, {0, 100}}, {{20, 20}, {20, 80}, {80, 80}, {80, 20}}});
  MemoryText text(U"T\nC", tenPoint());
  ConversionOptions options = plainOptions();
  options.classic.pitchText = "0";
  const Drawing d = cutReadyDrawing(text, options, glyphs);
  ASSERT_EQ(d.characters.size(), 2u);
  for (const PlacedCharacter& c : d.characters) {
    ASSERT_EQ(c.contours.size(), 2u);
    // The hole first, clockwise from its first point; then the outline counter-clockwise.
    EXPECT_EQ(c.contours[0].points, (std::vector<Vec2>{{du(20), du(20)}, {du(20), du(80)},
                                                       {du(80), du(80)}, {du(80), du(20)}}));
    EXPECT_EQ(c.contours[0].depth, 1);
    EXPECT_EQ(c.contours[1].points, (std::vector<Vec2>{{0, 0}, {du(100), 0},
                                                       {du(100), du(100)}, {0, du(100)}}));
    EXPECT_EQ(c.contours[1].depth, 0);
  }
}

TEST(cut_ready_drawing_test, a_fit_size_scales_about_the_origin_by_one_factor) {
  FakeGlyphs glyphs;
  glyphs.set(U'a', {{{0, -50}, {200, -50}, {200, 150}, {0, 150}}});
  MemoryText text(U"aa", tenPoint());
  ConversionOptions options = plainOptions();
  const Extent natural = cutReadyDrawing(text, options, glyphs).extent();
  ASSERT_FLOAT_EQ(natural.width(), 2 * du(200));

  options.fitWidth = 100;
  Extent e = cutReadyDrawing(text, options, glyphs).extent();
  const double f = 100 / natural.width();
  EXPECT_DOUBLE_EQ(e.width(), 100);
  EXPECT_DOUBLE_EQ(e.minY, natural.minY * f);  // about the origin, not the corner
  EXPECT_DOUBLE_EQ(e.maxY, natural.maxY * f);

  options.fitWidth.reset();
  options.fitHeight = 10;
  e = cutReadyDrawing(text, options, glyphs).extent();
  EXPECT_DOUBLE_EQ(e.height(), 10);
  EXPECT_DOUBLE_EQ(e.width(), natural.width() * 10 / natural.height());

  // Both: the drawing fits inside both, so the smaller factor wins.
  options.fitWidth = 1000;
  e = cutReadyDrawing(text, options, glyphs).extent();
  EXPECT_DOUBLE_EQ(e.height(), 10);
}

TEST(cut_ready_drawing_test, fit_sizes_that_cannot_be_met_are_refused) {
  FakeGlyphs glyphs;
  glyphs.set(U'|', {{{0, 0}, {0, 100}}});  // a ring with no width
  MemoryText bar(U"|", tenPoint());
  ConversionOptions options = plainOptions();
  options.fitWidth = 50;
  EXPECT_ERROR_MSG(cutReadyDrawing(bar, options, glyphs), "The drawing has no width to fit.");
  for (const double bad : {0.0, -3.0, std::numeric_limits<double>::infinity(),
                           std::numeric_limits<double>::quiet_NaN()}) {
    options.fitWidth = bad;
    EXPECT_ERROR_MSG(cutReadyDrawing(bar, options, glyphs),
                     "The fit width must be a number above 0.");
  }
  options.fitWidth.reset();
  options.fitHeight = -1;
  MemoryText empty(U"  ", tenPoint());
  EXPECT_ERROR_MSG(cutReadyDrawing(empty, options, glyphs),
                   "The fit height must be a number above 0.");
  options.fitHeight = 5;  // nothing to scale: an empty drawing stays empty
  EXPECT_TRUE(cutReadyDrawing(empty, options, glyphs).characters.empty());
}

}  // namespace
}  // namespace kerfline
