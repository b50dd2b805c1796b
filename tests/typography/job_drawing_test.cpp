// The job view's drawing: the one the export writes, through the view's glyph cache, on every
// route an export can take.
#include <algorithm>
#include <gtest/gtest.h>

#include "export/converter_glyph_source.h"
#include "export/drawing_layout.h"
#include "export/glyph_cache.h"
#include "export_test_support.h"
#include "typography/job_drawing.h"
#include "typography/placed_export.h"
#include "typography_test_support.h"
#include "vectorizer/UTTF2Vct.h"

namespace kerfline {
namespace {

using test::fontOf;
using test::MemoryText;
using test::TempDir;

// Two lines in two faces, the first bold.
MemoryText twoFaces(const std::u32string& first, const std::u32string& second) {
  MemoryText t(first + U"\r\n" + second, fontOf("DejaVu Serif", 9));
  TFontDescription bold = fontOf("Liberation Sans", 14);
  bold.Bold = true;
  for (std::int32_t pos = 1; pos <= static_cast<std::int32_t>(first.size()) + 2; ++pos)
    t.setFont(pos, bold);
  return t;
}

// A character's rings as sets of points in drawing order: each ring starts at its least point
// and runs in the direction whose second point is the lesser, and the rings are sorted. The
// view's drawing is in cut order (holes first, rings turned by their nesting), the classic
// walk's in outline order; both must hold the same points all the same.
std::vector<std::vector<Vec2>> ringsOf(const PlacedCharacter& c) {
  const auto less = [](const Vec2& a, const Vec2& b) { return a.x < b.x || (a.x == b.x && a.y < b.y); };
  std::vector<std::vector<Vec2>> rings;
  for (const Contour& k : c.contours) {
    std::vector<Vec2> p = k.points;
    if (!p.empty()) {
      std::rotate(p.begin(), std::min_element(p.begin(), p.end(), less), p.end());
      if (p.size() > 2 && less(p.back(), p[1])) std::reverse(p.begin() + 1, p.end());
    }
    rings.push_back(std::move(p));
  }
  std::sort(rings.begin(), rings.end(), [&](const auto& a, const auto& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), less);
  });
  return rings;
}

// The job view's drawing through the cache must be the classic walk's drawing, point for point,
// on the first layout and on every layout after it.
TEST(JobDrawingTest, cached_layout_equals_the_exports_drawing) {
  const MemoryText t = twoFaces(U"Oak & Ash", U"No. 8 \u00e9t\u00e9");
  TTTFToVectorConverter converter;
  ConverterGlyphSource direct(converter);
  ConversionOptions options;
  options.classic.spacePercent = 25;
  options.classic.pitchText = "-7.5";
  const Drawing expected = layoutDrawing(t, options.classic, direct);
  ASSERT_GT(expected.characters.size(), 10u);
  TTTFToVectorConverter converter2;
  ConverterGlyphSource inner(converter2);
  GlyphCache cache(inner);
  for (int run = 0; run < 2; ++run) {
    const Drawing d = jobDrawing(t, options, converter2, cache);
    ASSERT_EQ(d.characters.size(), expected.characters.size());
    EXPECT_EQ(d.extent(), expected.extent());
    for (std::size_t i = 0; i < d.characters.size(); ++i) {
      EXPECT_EQ(d.characters[i].position, expected.characters[i].position);
      EXPECT_EQ(ringsOf(d.characters[i]), ringsOf(expected.characters[i]))
          << "run " << run << ", character " << i;
    }
  }
  EXPECT_STREQ(unitName(DrawingUnits::Millimetre), "mm");
  EXPECT_STREQ(unitName(DrawingUnits::Inch), "in");
}

// Whichever route the options take (the stroke walk or the placed drawing, classic or shaped
// placement, fit, weld, kerf), the view shows the paths the export writes: the export's report
// counts the paths it wrote and measures their extent.
TEST(JobDrawingTest, the_view_shows_what_every_route_writes) {
  const MemoryText t = twoFaces(U"AVATAR To", U"Wa");
  ConversionOptions shaped;
  shaped.format = OutputFormat::Closed;
  shaped.spacing = SpacingMode::Font;
  shaped.align = Alignment::Center;
  shaped.autoPitch = true;
  shaped.fitWidth = 120.0;
  shaped.weld = true;
  shaped.kerf = 0.2;
  ConversionOptions classicFit;
  classicFit.fitWidth = 80.0;
  ConversionOptions shapedLines = shaped;
  shapedLines.format = OutputFormat::Lines;
  shapedLines.weld = false;
  shapedLines.kerf.reset();
  ConversionOptions svgKerf;
  svgKerf.format = OutputFormat::Svg;
  svgKerf.kerf = 0.1;
  struct Case {
    const char* name;
    ConversionOptions options;
    DrawingRoute route;
  };
  const Case cases[] = {{"shaped welded kerf", shaped, DrawingRoute::PlacedDrawing},
                        {"classic fit", classicFit, DrawingRoute::StrokeWalk},
                        {"shaped lines", shapedLines, DrawingRoute::StrokeWalk},
                        {"svg kerf", svgKerf, DrawingRoute::PlacedDrawing}};
  TempDir dir;
  TTTFToVectorConverter exporting;
  TTTFToVectorConverter converter;
  ConverterGlyphSource inner(converter);
  GlyphCache cache(inner);
  for (const Case& c : cases) {
    EXPECT_EQ(drawingRoute(c.options), c.route) << c.name;
    DrawingExportReport report;
    exportTextFile(dir.file("a"), t, c.options, exporting, &report);
    const Drawing d = jobDrawing(t, c.options, converter, cache);
    std::size_t contours = 0;
    for (const PlacedCharacter& k : d.characters) contours += k.contours.size();
    EXPECT_EQ(contours, report.contours) << c.name;
    EXPECT_EQ(d.extent(), report.extent) << c.name;
  }
  // The kerf grows the fitted drawing by half of it on every side.
  EXPECT_NEAR(jobDrawing(t, shaped, converter, cache).extent().width(), 120.0 + 0.2, 1e-3);
  // Different from the classic placement of the same text.
  ConversionOptions classic = shaped;
  classic.spacing = SpacingMode::Classic;
  classic.align = Alignment::Left;
  classic.autoPitch = false;
  EXPECT_NE(jobDrawing(t, classic, converter, cache).extent(),
            jobDrawing(t, shaped, converter, cache).extent());
}

// A layout nobody waits for any more must stop at its next character, in the weld and the
// offset as well as in the placement: each is longer than an edit takes on a big text.
TEST(JobDrawingTest, checkpoint_reaches_every_stage_and_abandons_the_layout) {
  const MemoryText t(U"Oak & Ash\r\nElm", fontOf("Liberation Sans", 14));
  ConversionOptions options;
  options.kerf = 0.1;  // no weld: the overlap check after the offset runs too
  TTTFToVectorConverter converter;
  ConverterGlyphSource glyphs(converter);
  int calls = 0;
  const Drawing d = jobDrawing(t, options, converter, glyphs, nullptr, [&] { ++calls; });
  // Every position placed, then every character offset and measured for overlaps.
  EXPECT_GE(calls, t.length() + 2 * static_cast<int>(d.characters.size()));
  options.weld = true;
  for (const int stopAt : {3, t.length() + 2}) {
    int seen = 0;
    struct Stopped {};
    EXPECT_THROW(jobDrawing(t, options, converter, glyphs, nullptr,
                            [&] {
                              if (++seen == stopAt) throw Stopped{};
                            }),
                 Stopped)
        << stopAt;
  }
}

}  // namespace
}  // namespace kerfline
