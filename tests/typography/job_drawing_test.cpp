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

// Typing into a welded, offset text: after each edit the view, welding and offsetting again only
// the characters the edit moved (and those touching them), shows exactly the export's drawing
// (welded and offset whole) and tells the same notes. The third line is set large so that its
// outlines reach into its neighbours': letters of different lines are welded together.
TEST(JobDrawingTest, after_edits_the_view_welds_only_what_changed_and_equals_the_export) {
  const std::u32string lines[] = {U"Oak & Ash", U"Elm, yew", U"WAVY", U"fir + 8", U"Beech", U"Lime"};
  std::u32string original;
  for (const std::u32string& l : lines) original += (original.empty() ? U"" : U"\r\n") + l;
  const auto textOf = [](const std::u32string& s) {
    MemoryText t(s, fontOf("Liberation Sans", 14));
    const std::size_t big = s.find(U"WAVY");
    for (std::size_t i = big; i != std::u32string::npos && i < big + 4; ++i)
      t.setFont(static_cast<std::int32_t>(i + 1), fontOf("DejaVu Serif", 40));
    return t;
  };
  ConversionOptions welded;
  welded.format = OutputFormat::Closed;
  welded.weld = true;
  welded.kerf = 0.3;
  welded.classic.pitchText = "-6";  // apart at 14 points, not at 40
  ConversionOptions inside = welded;
  inside.weld = false;
  inside.kerf = 0.6;
  inside.kerfSide = KerfSide::Inside;  // thin strokes close up: vanished rings to report
  ConversionOptions outside = inside;
  outside.kerfSide = KerfSide::Outside;  // paths of neighbours overlap: pairs to report
  struct Edit {
    const char* name;
    std::u32string text;
    bool withinLine;  // only the rest of its line moves; a break moves every line below
  };
  std::u32string inserted = original;
  inserted.insert(original.find(U"fir") + 1, U"o");
  std::u32string deleted = inserted;
  deleted.erase(deleted.find(U"Ash"), 1);
  std::u32string broken = deleted;
  broken.insert(broken.find(U"Beech") + 2, U"\r\n");
  const Edit edits[] = {
      {"insertion", inserted, true}, {"deletion", deleted, true}, {"line break", broken, false}};
  TTTFToVectorConverter converter;
  ConverterGlyphSource inner(converter);
  GlyphCache cache(inner);
  TTTFToVectorConverter exporting;
  bool vanished = false, overlapping = false;  // the notes were put to the test too
  for (const ConversionOptions& options : {welded, inside, outside}) {
    WeldKerfCache weldKerf;
    (void)jobDrawing(textOf(original), options, converter, cache, nullptr, {}, &weldKerf);
    for (const Edit& e : edits) {
      ToolpathNotes viewNotes, exportNotes;
      const Drawing view =
          jobDrawing(textOf(e.text), options, converter, cache, &viewNotes, {}, &weldKerf);
      const Drawing exported =
          finishedDrawing(textOf(e.text), options, exporting, nullptr, nullptr, &exportNotes);
      if (e.withinLine) {
        EXPECT_GE(weldKerf.recomputedGroups(), 1u) << e.name;
        EXPECT_LT(weldKerf.recomputedGroups() * 2, weldKerf.groups()) << e.name;
      }
      ASSERT_EQ(view.characters.size(), exported.characters.size()) << e.name;
      for (std::size_t i = 0; i < view.characters.size(); ++i) {
        const PlacedCharacter& a = view.characters[i];
        const PlacedCharacter& b = exported.characters[i];
        EXPECT_EQ(CharacterPlace(a.position, a.character, a.line),
                  CharacterPlace(b.position, b.character, b.line)) << e.name;
        ASSERT_EQ(a.contours.size(), b.contours.size()) << e.name << " " << i;
        for (std::size_t k = 0; k < a.contours.size(); ++k) {
          ASSERT_EQ(a.contours[k].points.size(), b.contours[k].points.size()) << e.name;
          for (std::size_t p = 0; p < a.contours[k].points.size(); ++p) {
            EXPECT_NEAR(a.contours[k].points[p].x, b.contours[k].points[p].x, 1e-9);
            EXPECT_NEAR(a.contours[k].points[p].y, b.contours[k].points[p].y, 1e-9);
          }
        }
      }
      EXPECT_EQ(viewNotes.vanished, exportNotes.vanished) << e.name;
      EXPECT_EQ(viewNotes.overlapping, exportNotes.overlapping) << e.name;
      vanished = vanished || !viewNotes.vanished.empty();
      overlapping = overlapping || !viewNotes.overlapping.empty();
    }
  }
  EXPECT_TRUE(vanished);
  EXPECT_TRUE(overlapping);
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
