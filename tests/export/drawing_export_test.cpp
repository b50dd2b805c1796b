// The processed forms through the real converter: the classic forms written from the drawing
// match the classic walk's bytes, and weld and kerf reach every form they apply to.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "command_output.h"
#include "export/converter_glyph_source.h"
#include "export/drawing_export.h"
#include "export/drawing_layout.h"
#include "export/dxf_export.h"
#include "export/svg_writer.h"
#include "export/toolpath_export.h"
#include "export_test_support.h"
#include "vectorizer/UTTF2Vct.h"

namespace kerfline {
namespace {

using test::MemoryText;
using test::TempDir;
using test::face;
using test::readFile;


std::size_t count(const std::string& haystack, const std::string& needle) {
  std::size_t n = 0;
  for (std::size_t at = haystack.find(needle); at != std::string::npos;
       at = haystack.find(needle, at + 1))
    ++n;
  return n;
}

// An SVG or closed DXF written a character at a time, never holding the drawing, must be the
// file of the whole drawing: same header (extent and path count measured by a first walk,
// fitted or not), same paths.
TEST(drawing_export_test, streamed_files_are_the_held_drawings_files) {
  TempDir dir;
  MemoryText text(U"Oak & ash\r\n\r\n  ggg 08%", face("Arial", 12));
  text.setFont(7, face("Times New Roman", 20, true));
  TTTFToVectorConverter converter;
  ConverterGlyphSource glyphs(converter);
  const struct {
    OutputFormat format;
    int dxfVersion;
  } forms[] = {{OutputFormat::Svg, 12}, {OutputFormat::Closed, 12}, {OutputFormat::Closed, 2000}};
  for (const auto& form : forms) {
    for (const std::optional<double> fit : {std::optional<double>{}, std::optional<double>{33.3}}) {
      ConversionOptions options;
      options.format = form.format;
      options.dxfVersion = form.dxfVersion;
      options.units = DrawingUnits::Inch;
      options.fitWidth = fit;
      const std::string what = std::to_string(form.dxfVersion) + (fit ? " fit" : "");
      ASSERT_EQ(drawingRoute(options), DrawingRoute::StreamedDrawing) << what;
      DrawingExportReport report;
      exportDrawingFile(dir.file("streamed"), text, options, glyphs, &report);
      const Drawing held = cutReadyDrawing(text, options, glyphs);
      writeFinishedDrawing(dir.file("held"), held, options);
      EXPECT_EQ(readFile(dir.file("streamed")), readFile(dir.file("held"))) << what;
      EXPECT_EQ(report.extent, held.extent()) << what;
      std::size_t paths = 0;
      for (const PlacedCharacter& c : held.characters) paths += c.contours.size();
      EXPECT_EQ(report.contours, paths) << what;
    }
  }
}

// Fitting each glyph's paths once and moving the fit must write what fitting every placed
// character does: the same vertices, bulges and nesting, so the same plan and figures.
TEST(drawing_export_test, glyphs_fitted_once_write_the_files_of_each_placed_glyph_fitted) {
  TempDir dir;
  MemoryText text(U"Oak & ash 8%B\r\nggg 08% Oak", face("DejaVu Sans", 12));
  for (std::int32_t pos = 7; pos <= 13; ++pos) text.setFont(pos, face("Nimbus Roman", 20, true));
  // Single-line paths, placed point by point by the walk's own rounding.
  for (std::int32_t pos = 16; pos <= 22; ++pos) text.setFont(pos, face("Hershey Sans", 16));
  TTTFToVectorConverter converter;
  ConverterGlyphSource glyphs(converter);
  const struct {
    OutputFormat format;
    std::optional<CutOrder> order;
    double tolerance;
  } cases[] = {{OutputFormat::Gcode, CutOrder::Travel, 0.01},
               {OutputFormat::Gcode, CutOrder::Text, 0.05},
               {OutputFormat::Svg, CutOrder::Travel, 0.02},
               {OutputFormat::Closed, std::nullopt, 0.02}};
  for (const auto& c : cases) {
    ConversionOptions options;
    options.format = c.format;
    options.order = c.order;
    options.tolerance = c.tolerance;
    options.arcs = true;
    const std::string what = std::to_string(int(c.format)) + " " + std::to_string(c.tolerance);
    ASSERT_TRUE(fitsGlyphsOnce(options)) << what;
    DrawingExportReport once;
    exportDrawingFile(dir.file("once"), text, options, glyphs, &once);
    DrawingExportReport each;
    const Drawing placed = cutReadyDrawing(text, options, glyphs);
    writeFinishedDrawing(dir.file("each"), placed, options, &each);
    fillReport(&each, placed);
    EXPECT_EQ(readFile(dir.file("once")), readFile(dir.file("each"))) << what;
    EXPECT_EQ(once.contours, each.contours) << what;
    EXPECT_EQ(once.extent, each.extent) << what;
    EXPECT_EQ(once.pieces, each.pieces) << what;
    ASSERT_EQ(once.travel.has_value(), each.travel.has_value()) << what;
    if (once.travel) {
      EXPECT_EQ(once.travel->travel, each.travel->travel) << what;
      EXPECT_EQ(once.travel->lowerBound, each.travel->lowerBound) << what;
    }
  }
}

TEST(drawing_export_test, classic_forms_from_the_unprocessed_drawing_are_the_classic_bytes) {
  // The writer the weld and kerf use for the classic forms, fed the drawing as placed, must
  // say exactly what the classic walk says: same strokes, same numbers, same plunges.
  TempDir dir;
  MemoryText text(U"Kerfline 0.8 @ g\u00e4\r\n%&$ Bold?", face("Arial", 12));
  text.setFont(20, face("Times New Roman", 20, true));
  ExportSettings settings;
  settings.zMoveText = "2.5";
  settings.zLevelText = "-0.3";
  settings.resolution = 5;
  TTTFToVectorConverter converter;
  ConverterGlyphSource glyphs(converter);
  const Drawing drawing = layoutDrawing(text, settings, glyphs);
  saveLinesDxf(dir.file("walk.dxf"), text, settings, glyphs, nullptr);
  saveLinesDxf(dir.file("drawing.dxf"), drawing, settings);
  EXPECT_EQ(readFile(dir.file("drawing.dxf")), readFile(dir.file("walk.dxf")));
  savePolyLinesDxf(dir.file("walk-poly.dxf"), text, settings, glyphs, nullptr);
  savePolyLinesDxf(dir.file("drawing-poly.dxf"), drawing, settings);
  EXPECT_EQ(readFile(dir.file("drawing-poly.dxf")), readFile(dir.file("walk-poly.dxf")));

  // Without weld or kerf the dispatch keeps the classic walk itself.
  ConversionOptions options;
  options.classic = settings;
  exportDrawingFile(dir.file("dispatch.dxf"), text, options, glyphs);
  EXPECT_EQ(readFile(dir.file("dispatch.dxf")), readFile(dir.file("walk.dxf")));
  options.kerf = 0.5;
  options.kerfSide = KerfSide::On;  // on the line: nothing moves
  exportDrawingFile(dir.file("dispatch-on.dxf"), text, options, glyphs);
  EXPECT_EQ(readFile(dir.file("dispatch-on.dxf")), readFile(dir.file("walk.dxf")));
}

TEST(drawing_export_test, weld_joins_overlapping_script_letters_in_every_form) {
  TempDir dir;
  // Lines pitched closer than the letters are tall: descenders run into the next line.
  MemoryText text(U"Minimum welding\r\nghastly jig", face("Z003", 24, true));
  ConversionOptions options;
  options.classic.spacePercent = 0;
  options.classic.pitchText = "-1.5";
  TTTFToVectorConverter converter;
  ConverterGlyphSource glyphs(converter);
  // One plunge per closed path in the Lines form: welding must leave fewer paths.
  exportDrawingFile(dir.file("plain.dxf"), text, options, glyphs);
  options.weld = true;
  DrawingExportReport report;
  exportDrawingFile(dir.file("welded.dxf"), text, options, glyphs, &report);
  const std::string plain = readFile(dir.file("plain.dxf"));
  const std::string welded = readFile(dir.file("welded.dxf"));
  const std::size_t before = count(plain, "\r\n 30\r\n1\r\n 11\r\n");  // plunge lines
  const std::size_t after = count(welded, "\r\n 30\r\n1\r\n 11\r\n");
  EXPECT_EQ(after, report.contours);
  EXPECT_LT(after, before);
  // An independent reader takes the welded file as it takes the classic one.
  const std::string command = "/usr/bin/python3 " KERFLINE_SOURCE_DIR "/tests/export/read_dxf.py '" +
                              dir.file("welded.dxf") + "' 2>&1";
  const test::CommandOutput read = test::runCommand(command);
  const std::string& readBack = read.output;
  EXPECT_EQ(read.status, 0) << readBack;
  EXPECT_TRUE(readBack.starts_with("LINE " + std::to_string(count(welded, "\r\nLINE\r\n")) +
                                   " POLYLINE 0 VERTEX 0\n"))
      << readBack;
  EXPECT_TRUE(report.toolpath.vanished.empty());

  options.format = OutputFormat::Gcode;
  options.sourceName = "script.rtf";
  exportDrawingFile(dir.file("welded.nc"), text, options, glyphs);
  const std::string gcode = readFile(dir.file("welded.nc"));
  EXPECT_EQ(count(gcode, "\nG0 X"), report.contours);
  EXPECT_NE(gcode.find("(weld on, kerf none)"), std::string::npos);
}

TEST(drawing_export_test, kerf_too_wide_for_thin_strokes_names_them_in_the_report) {
  TempDir dir;
  MemoryText text(U"il o\r\nO", face("Arial", 10));
  ConversionOptions options;
  options.format = OutputFormat::Gcode;
  options.kerf = 0.5;  // the strokes of a 10-point letter are about 0.2 units wide
  options.kerfSide = KerfSide::Inside;
  TTTFToVectorConverter converter;
  ConverterGlyphSource glyphs(converter);
  DrawingExportReport report;
  exportDrawingFile(dir.file("thin.nc"), text, options, glyphs, &report);
  // Every part vanishes: i (stem and dot), l, o, O; nothing is left to cut.
  ASSERT_EQ(report.toolpath.vanished.size(), 5u);
  EXPECT_EQ(report.toolpath.vanished[0], (VanishedPath{1, U'i', 0, false}));
  EXPECT_EQ(report.toolpath.vanished[4], (VanishedPath{7, U'O', 1, false}));
  EXPECT_EQ(report.contours, 0u);
  EXPECT_EQ(vanishedSummary({report.toolpath.vanished[0], {4, U'\u00f6', 1, true}}),
            "Kerf: 2 rings are narrower than the kerf and not cut: a part of \"i\" at position 1 "
            "(line 1); a hole of \"\u00f6\" at position 4 (line 2).");

  // Outside, a kerf wider than the counters of o and O closes them but keeps every part.
  options.kerf = 2.0;
  options.kerfSide = KerfSide::Outside;
  exportDrawingFile(dir.file("thick.nc"), text, options, glyphs, &report);
  EXPECT_EQ(report.toolpath.vanished, (std::vector<VanishedPath>{{4, U'o', 0, true}, {7, U'O', 1, true}}));
  // Grown by half of 2 units, the letters run into each other; nothing said that before.
  using Pair = std::pair<CharacterPlace, CharacterPlace>;
  const auto& pairs = report.toolpath.overlapping;
  EXPECT_NE(std::find(pairs.begin(), pairs.end(), Pair{{1, U'i', 0}, {2, U'l', 0}}), pairs.end());
  EXPECT_NE(std::find(pairs.begin(), pairs.end(), Pair{{4, U'o', 0}, {7, U'O', 1}}), pairs.end());
  EXPECT_EQ(overlapSummary({pairs.begin(), pairs.begin() + 1}),
            "Kerf: the paths of 1 pair of characters overlap, so each cuts into the other: \"i\" at "
            "position 1 (line 1) and \"l\" at position 2 (line 1). Weld them or set them further "
            "apart.");
  // Long lists name the first four and count the rest; a list cut short says there are more.
  const std::vector<VanishedPath> six(6, VanishedPath{3, U'e', 2, true});
  const std::string oneHole = "a hole of \"e\" at position 3 (line 3)";
  EXPECT_EQ(vanishedSummary(six), "Kerf: 6 rings are narrower than the kerf and not cut: " + oneHole +
                                      "; " + oneHole + "; " + oneHole + "; " + oneHole +
                                      "; and 2 more.");
  const std::vector<Pair> many(5, Pair{{1, U'i', 0}, {2, U'l', 0}});
  const std::string onePair = "\"i\" at position 1 (line 1) and \"l\" at position 2 (line 1)";
  const std::string named = onePair + "; " + onePair + "; " + onePair + "; " + onePair;
  EXPECT_EQ(overlapSummary(many), "Kerf: the paths of 5 pairs of characters overlap, so each cuts "
                                  "into the other: " + named + "; and 1 more. Weld them or set "
                                  "them further apart.");
  EXPECT_EQ(overlapSummary({many.begin(), many.begin() + 4}, true),
            "Kerf: the paths of more than 4 pairs of characters overlap, so each cuts into the "
            "other: " + named + "; and more. Weld them or set them further apart.");
  // Welded first, the grown letters are one path: nothing overlaps.
  options.weld = true;
  exportDrawingFile(dir.file("welded.nc"), text, options, glyphs, &report);
  EXPECT_TRUE(report.toolpath.overlapping.empty());
}

}  // namespace
}  // namespace kerfline
