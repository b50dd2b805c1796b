// Alignment and line pitch for both spacing modes, and the classic placement kept exact.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>

#include "export/converter_glyph_source.h"
#include "export/drawing_layout.h"
#include "export/text_export.h"
#include "export_test_support.h"
#include "typography/text_placement.h"
#include "typography_test_support.h"
#include "vectorizer/UTTF2Vct.h"

namespace kerfline {
namespace {

using test::fontOf;
using test::MemoryText;
using test::readFile;
using test::TempDir;

std::map<std::int32_t, Extent> lineExtents(const Drawing& d) {
  std::map<std::int32_t, Extent> out;
  for (const PlacedCharacter& c : d.characters)
    for (const Contour& k : c.contours)
      for (const Vec2& p : k.points) out[c.line].add(p);
  return out;
}

// Every point of b minus the same point of a, per line: one shift each (x, y), or a failure.
std::map<std::int32_t, Vec2> lineShifts(const Drawing& a, const Drawing& b) {
  std::map<std::int32_t, Vec2> shifts;
  EXPECT_EQ(a.characters.size(), b.characters.size());
  for (std::size_t i = 0; i < std::min(a.characters.size(), b.characters.size()); ++i) {
    const PlacedCharacter& ca = a.characters[i];
    const PlacedCharacter& cb = b.characters[i];
    EXPECT_EQ(ca.position, cb.position);
    EXPECT_EQ(ca.line, cb.line);
    EXPECT_EQ(ca.contours.size(), cb.contours.size());
    for (std::size_t k = 0; k < std::min(ca.contours.size(), cb.contours.size()); ++k) {
      const auto& pa = ca.contours[k].points;
      const auto& pb = cb.contours[k].points;
      EXPECT_EQ(pa.size(), pb.size());
      for (std::size_t j = 0; j < std::min(pa.size(), pb.size()); ++j) {
        const Vec2 d{pb[j].x - pa[j].x, pb[j].y - pa[j].y};
        auto [it, fresh] = shifts.emplace(ca.line, d);
        if (!fresh) {
          // Single-precision coordinates near 40 units: a few ulps of rounding after the shift.
          EXPECT_NEAR(d.x, it->second.x, 1e-5) << "line " << ca.line;
          EXPECT_NEAR(d.y, it->second.y, 1e-5) << "line " << ca.line;
        }
      }
    }
  }
  return shifts;
}

MemoryText threeLines() {
  // Three widths, and a line in a larger size, so that the widest line is not the first.
  MemoryText text(U"mid\r\nWIDE LINE\r\nii", fontOf("Arial", 20));
  for (std::int32_t p = 6; p <= 14; ++p) text.setFont(p, fontOf("DejaVu Serif", 24));
  return text;
}

TEST(PlacementTest, ThreeLinesAlignedInEitherSpacing) {
  for (SpacingMode spacing : {SpacingMode::Classic, SpacingMode::Font}) {
    ConversionOptions options;
    options.spacing = spacing;
    MemoryText text = threeLines();
    TTTFToVectorConverter converter;
    const Drawing left = placeDrawing(text, options, converter);
    const auto leftExtents = lineExtents(left);
    ASSERT_EQ(leftExtents.size(), 3u);
    const Extent widest = leftExtents.at(1);
    EXPECT_GT(widest.width(), leftExtents.at(0).width());
    EXPECT_GT(widest.width(), leftExtents.at(2).width());
    for (Alignment align : {Alignment::Center, Alignment::Right}) {
      SCOPED_TRACE(std::string(spacing == SpacingMode::Font ? "font" : "classic") +
                   (align == Alignment::Center ? " center" : " right"));
      options.align = align;
      const Drawing aligned = placeDrawing(text, options, converter);
      // Lines move as a whole, sideways only.
      const auto shifts = lineShifts(left, aligned);
      for (const auto& [line, shift] : shifts) EXPECT_EQ(shift.y, 0.0) << line;
      EXPECT_EQ(shifts.at(1).x, 0.0);  // the widest line stays
      EXPECT_GT(shifts.at(0).x, 1.0);
      EXPECT_GT(shifts.at(2).x, shifts.at(0).x);  // "ii" is narrower than "mid"
      for (const auto& [line, e] : lineExtents(aligned)) {
        if (align == Alignment::Right) {
          EXPECT_NEAR(e.maxX, widest.maxX, 1e-5) << line;
        } else {
          EXPECT_NEAR((e.minX + e.maxX) / 2, (widest.minX + widest.maxX) / 2, 1e-5) << line;
        }
      }
    }
  }
}

TEST(PlacementTest, LeftAlignmentIsTheClassicWalkAndNumericPitchItsSum) {
  MemoryText text = threeLines();
  TTTFToVectorConverter converter;
  ExportSettings settings;
  settings.pitchText = "-2.5";
  ConversionOptions options;
  options.classic = settings;
  ConverterGlyphSource glyphs(converter);
  const Drawing classic = layoutDrawing(text, settings, glyphs);
  EXPECT_EQ(placeDrawing(text, options, converter).characters, classic.characters);
  // Centred, a single line is where the classic walk puts it, to the bit.
  MemoryText one(U"AVATAR", fontOf("Arial"));
  options.align = Alignment::Center;
  EXPECT_EQ(placeDrawing(one, options, converter).characters,
            layoutDrawing(one, settings, glyphs).characters);
  // Font spacing with a numeric pitch: baselines at 0, -2.5, -5.
  options.align = Alignment::Left;
  options.spacing = SpacingMode::Font;
  const Drawing font = placeDrawing(text, options, converter);
  options.classic.pitchText = "0";
  const Drawing flat = placeDrawing(text, options, converter);
  const auto shifts = lineShifts(flat, font);
  ASSERT_EQ(shifts.size(), 3u);
  EXPECT_EQ(shifts.at(0).y, 0.0);
  EXPECT_NEAR(shifts.at(1).y, -2.5, 1e-6);
  EXPECT_NEAR(shifts.at(2).y, -5.0, 1e-6);
}

// The height of a line of font from the font file's own head and hhea tables.
double lineHeight(const TFontDescription& font) {
  TTTFToVectorConverter converter;
  converter.SetFont(font);
  const std::vector<int> m = test::headerMetrics(converter.MatchedFace()->file);
  const auto unitScale = static_cast<float>(100.0 * font.Size / 100000.0);
  return (m[1] - m[2] + m[3]) * 1365.0 / m[0] * static_cast<double>(0.18f) *
         static_cast<double>(unitScale);
}

TEST(PlacementTest, AutomaticPitchTakesTheTallestFontOfTheNewLine) {
  // Line 1 mixes a 30-point serif capital with 10-point sans; line 2 is 20-point sans, after a
  // line break typed in 10 points (the break's own font does not count).
  MemoryText text(U"Ag\r\nAg\r\nAg\r\n\r\nAg", fontOf("Arial", 10));
  text.setFont(5, fontOf("DejaVu Serif", 30));
  text.setFont(9, fontOf("Arial", 20));
  text.setFont(10, fontOf("Arial", 20));
  text.setFont(11, fontOf("Arial", 20));
  text.setFont(12, fontOf("Arial", 20));
  const double serif30 = lineHeight(fontOf("DejaVu Serif", 30));
  const double sans10 = lineHeight(fontOf("Arial", 10));
  const double sans20 = lineHeight(fontOf("Arial", 20));
  ASSERT_GT(serif30, sans10);
  // The empty fourth line takes the height of its own break (20 points).
  const double expected[] = {0, -serif30, -serif30 - sans20, -serif30 - 2 * sans20,
                             -serif30 - 2 * sans20 - sans10};
  for (SpacingMode spacing : {SpacingMode::Classic, SpacingMode::Font}) {
    SCOPED_TRACE(spacing == SpacingMode::Font ? "font" : "classic");
    ConversionOptions options;
    options.spacing = spacing;
    options.classic.pitchText = "0";
    TTTFToVectorConverter converter;
    const Drawing flat = placeDrawing(text, options, converter);
    options.autoPitch = true;
    const Drawing stacked = placeDrawing(text, options, converter);
    const auto shifts = lineShifts(flat, stacked);
    ASSERT_EQ(shifts.size(), 4u);  // the empty line has nothing to measure
    for (const auto& [line, shift] : shifts) {
      EXPECT_EQ(shift.x, 0.0) << line;
      EXPECT_NEAR(shift.y, expected[line], 1e-5) << line;
    }
  }
}

TEST(PlacementTest, StrokeFilesFollowThePlacement) {
  TempDir dir;
  MemoryText text = threeLines();
  TTTFToVectorConverter converter;
  ConversionOptions options;
  // The classic placement writes FileSave's and SavePoly2's bytes.
  saveStrokeDxf(dir.file("a.dxf"), text, options, converter);
  FileSave(dir.file("b.dxf"), text, options.classic, converter);
  EXPECT_EQ(readFile(dir.file("a.dxf")), readFile(dir.file("b.dxf")));
  options.format = OutputFormat::PolyLines;
  saveStrokeDxf(dir.file("a.dxf"), text, options, converter);
  SavePoly2(dir.file("b.dxf"), text, options.classic, converter);
  EXPECT_EQ(readFile(dir.file("a.dxf")), readFile(dir.file("b.dxf")));
  // Shaped and right-aligned, both forms hold the drawing's extent as ezdxf reads it.
  options.spacing = SpacingMode::Font;
  options.align = Alignment::Right;
  const Extent e = placeDrawing(text, options, converter).extent();
  for (OutputFormat format : {OutputFormat::Lines, OutputFormat::PolyLines}) {
    options.format = format;
    saveStrokeDxf(dir.file("c.dxf"), text, options, converter);
    const std::string view = test::commandOutput("/usr/bin/python3 " KERFLINE_SOURCE_DIR
                                                 "/tests/export/read_dxf.py '" +
                                                 dir.file("c.dxf") + "'");
    std::istringstream in(view.substr(view.rfind('\n') + 1));
    double minX = 0, minY = 0, minZ = 0, maxX = 0, maxY = 0;
    in >> minX >> minY >> minZ >> maxX >> maxY;
    EXPECT_NEAR(minX, e.minX, 1e-6);
    EXPECT_NEAR(minY, e.minY, 1e-6);
    EXPECT_NEAR(maxX, e.maxX, 1e-6);
    EXPECT_NEAR(maxY, e.maxY, 1e-6);
  }
}

// A single-line face is no outline a shaper reads: in every placement its characters must keep
// their own open paths (the classic walk's strokes, shifted), never an outline face's glyphs.
TEST(PlacementTest, SingleLineFacesKeepTheirOpenPathsInEveryPlacement) {
  MemoryText text(U"AVA\r\nTo", fontOf("Hershey Sans", 20));
  TTTFToVectorConverter converter;
  ConversionOptions classic;
  const Drawing walked = placeDrawing(text, classic, converter);
  ASSERT_EQ(walked.characters.size(), 5u);
  for (const auto& [spacing, align] :
       {std::pair{SpacingMode::Font, Alignment::Left}, {SpacingMode::Classic, Alignment::Center},
        {SpacingMode::Font, Alignment::Right}}) {
    ConversionOptions options;
    options.spacing = spacing;
    options.align = align;
    const Drawing d = placeDrawing(text, options, converter);
    ASSERT_EQ(d.characters.size(), walked.characters.size());
    for (std::size_t i = 0; i < d.characters.size(); ++i) {
      const auto& mine = d.characters[i].contours;
      const auto& theirs = walked.characters[i].contours;
      ASSERT_EQ(mine.size(), theirs.size()) << i;
      for (std::size_t k = 0; k < mine.size(); ++k) {
        EXPECT_FALSE(mine[k].closed) << i;
        ASSERT_EQ(mine[k].points.size(), theirs[k].points.size());
        // The same path, moved as a whole: its shape within rounding of single precision.
        const Vec2 shift{mine[k].points[0].x - theirs[k].points[0].x,
                         mine[k].points[0].y - theirs[k].points[0].y};
        for (std::size_t j = 0; j < mine[k].points.size(); ++j) {
          EXPECT_NEAR(mine[k].points[j].x - theirs[k].points[j].x, shift.x, 1e-5);
          EXPECT_NEAR(mine[k].points[j].y - theirs[k].points[j].y, shift.y, 1e-5);
        }
      }
    }
  }
  // In font spacing each character starts where the one before it ends by the face's own
  // advance: "AV" stands apart by the advance of "A", not by the widest point of the "A".
  ConversionOptions font;
  font.spacing = SpacingMode::Font;
  const Drawing d = placeDrawing(text, font, converter);
  converter.SetFont(fontOf("Hershey Sans", 20));
  const double k = kOutlineFactor * unitScaleFor(100, 20);
  const double advanceA = *converter.SingleLineAdvance(U'A') * k;
  // The classic walk put the "V" at 1.1 times the rightmost point of the "A" (SPACE 10 %).
  double widthA = 0;
  for (const Contour& c : walked.characters[0].contours)
    for (const Vec2& p : c.points) widthA = std::max(widthA, p.x);
  const double localV = walked.characters[1].contours[0].points[0].x - 1.1 * widthA;
  EXPECT_NEAR(d.characters[0].contours[0].points[0].x, walked.characters[0].contours[0].points[0].x,
              1e-6);
  EXPECT_NEAR(d.characters[1].contours[0].points[0].x, advanceA + localV, 1e-4);
}

}  // namespace
}  // namespace kerfline
