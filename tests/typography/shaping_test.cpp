// Glyphs and positions of the font spacing, checked against hb-shape run on the same font file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "export_test_support.h"
#include "typography/run_shaper.h"
#include "typography/shaped_layout.h"
#include "typography/text_placement.h"
#include "typography_test_support.h"
#include "vectorizer/UTTF2Vct.h"

namespace kerfline {
namespace {

using test::fontOf;
using test::hbShape;
using test::HbGlyph;
using test::MemoryText;

// Drawing units per font unit at 28 points and scale 100, from the rule's own numbers:
// 1365 / upem, then 0.18 and UnitScale = 100 / 100000 * 28, each a single-precision constant.
double drawingPerFontUnit(int upem, int size = 28, int scale = 100) {
  const auto unitScale = static_cast<float>(scale * size / 100000.0);
  return 1365.0 / upem * static_cast<double>(0.18f) * static_cast<double>(unitScale);
}

struct Shaped {
  ShapedText text;
  TFaceInfo face;
};

Shaped shape(const std::u32string& s, const TFontDescription& font, int tracking = 0,
             bool ligatures = false) {
  MemoryText text(s, font);
  TTTFToVectorConverter converter;
  ShapingOptions options;
  options.tracking = tracking;
  options.ligatures = ligatures;
  Shaped out{shapeText(text, options, converter), {}};
  converter.SetFont(font);
  out.face = *converter.MatchedFace();
  return out;
}

TEST(ShapingTest, KerningPairsSitWhereHbShapePutsThem) {
  // "AV", "To" and "Wa" are kerned in both fonts; tracking adds its share of the em after every
  // character, spaces included.
  const std::u32string words = U"AVATAR To Wa";
  for (const char* name : {"Liberation Sans", "DejaVu Serif"}) {
    for (int tracking : {0, 25, -10}) {
      SCOPED_TRACE(std::string(name) + " tracking " + std::to_string(tracking));
      const Shaped shaped = shape(words, fontOf(name), tracking);
      const std::vector<HbGlyph> hb = hbShape(shaped.face.file, shaped.face.index, words);
      const int upem = test::headerMetrics(shaped.face.file)[0];
      const double unit = drawingPerFontUnit(upem);
      const double em = 1365.0 * static_cast<double>(0.18f) * static_cast<double>(0.028f);
      ASSERT_EQ(shaped.text.lines.size(), 1u);
      const std::vector<PlacedGlyph>& glyphs = shaped.text.lines[0].glyphs;
      ASSERT_EQ(glyphs.size(), hb.size());
      ASSERT_EQ(glyphs.size(), words.size());
      std::int64_t pen = 0;
      for (std::size_t i = 0; i < hb.size(); ++i) {
        EXPECT_EQ(glyphs[i].glyph, hb[i].glyph) << i;
        EXPECT_EQ(glyphs[i].position, static_cast<std::int32_t>(i + 1));
        const double expected = (pen + hb[i].dx) * unit + static_cast<double>(i) * tracking / 100.0 * em;
        EXPECT_NEAR(glyphs[i].x, expected, 1e-4) << i;
        EXPECT_NEAR(glyphs[i].y, hb[i].dy * unit, 1e-4) << i;
        pen += hb[i].ax;
      }
    }
  }
  // The pairs are really kerned: without the kern feature "AV" stands wider apart, so the
  // comparison above would catch a shaper that left kerning out.
  const Shaped plain = shape(words, fontOf("Liberation Sans"));
  const std::vector<HbGlyph> unkerned =
      hbShape(plain.face.file, plain.face.index, words, "-liga,-clig,-dlig,-kern");
  const double unit = drawingPerFontUnit(test::headerMetrics(plain.face.file)[0]);
  EXPECT_GT(unkerned[0].ax * unit - plain.text.lines[0].glyphs[1].x, 0.01);
}

TEST(ShapingTest, EachRunAdvancesAtItsOwnSize) {
  // "AVA" with the V in 56 points between 28-point capitals: three runs, each scaled by its own
  // UnitScale; no kerning reaches across a change of font.
  MemoryText text(U"AVA", fontOf("Liberation Sans", 28));
  text.setFont(2, fontOf("Liberation Sans", 56));
  TTTFToVectorConverter converter;
  const ShapedText shaped = shapeText(text, {}, converter);
  ASSERT_EQ(shaped.lines[0].glyphs.size(), 3u);
  const std::string file = shaped.faces[0].file;
  const int upem = test::headerMetrics(file)[0];
  const int advanceA = hbShape(file, 0, U"A")[0].ax;
  const int advanceV = hbShape(file, 0, U"V")[0].ax;
  EXPECT_NEAR(shaped.lines[0].glyphs[1].x, advanceA * drawingPerFontUnit(upem, 28), 1e-4);
  EXPECT_NEAR(shaped.lines[0].glyphs[2].x,
              advanceA * drawingPerFontUnit(upem, 28) + advanceV * drawingPerFontUnit(upem, 56),
              1e-4);
  EXPECT_EQ(shaped.lines[0].glyphs[1].unitScale, 0.056f);
}

TEST(ShapingTest, FacesHarfBuzzCannotReadArePlacedByTheirOwnAdvances) {
  // A Type 1 face: no OpenType tables for HarfBuzz, but FreeType cuts it. Each character takes
  // its mapped glyph and advance; the same design as OpenType, shaped by hb-shape without
  // kerning, advances alike. Right-to-left runs come reversed.
  TFaceInfo type1;
  type1.file = "/usr/share/fonts/type1/urw-base35/C059-Roman.t1";
  type1.unitsPerEm = 1000;
  const std::u32string word = U"Typeface";
  const TextRun run{0, word.size(), 0, 0, 0};
  TTTFToVectorConverter converter;
  converter.SetPrecision(2);
  const std::vector<ShapedGlyph> glyphs = shapeRunOrMap(type1, word, run, false, converter);
  const std::vector<HbGlyph> hb =
      hbShape("/usr/share/fonts/opentype/urw-base35/C059-Roman.otf", 0, word, "-kern");
  ASSERT_EQ(glyphs.size(), word.size());
  ASSERT_EQ(hb.size(), word.size());
  for (std::size_t i = 0; i < word.size(); ++i) {
    EXPECT_EQ(glyphs[i].cluster, i);
    EXPECT_EQ(glyphs[i].xAdvance, hb[i].ax) << i;
    EXPECT_TRUE(converter.ConvertGlyph(type1, glyphs[i].glyph).has_value()) << i;
  }
  const TextRun backwards{0, word.size(), 1, 0, 0};
  const std::vector<ShapedGlyph> reversed = shapeRunOrMap(type1, word, backwards, false, converter);
  ASSERT_EQ(reversed.size(), word.size());
  EXPECT_EQ(reversed.front().cluster, word.size() - 1);
  EXPECT_EQ(reversed.back().glyph, glyphs.front().glyph);
}

TEST(ShapingTest, SyntheticBoldWidensEveryAdvanceByItsStrength) {
  // Cantarell Light has no bold face: its outlines grow by FreeType's strength, em / 24 (counted
  // in 1/64 font units), and so must every advance, or the letters would run into each other.
  TFontDescription font = fontOf("Cantarell Light");
  font.Bold = true;
  const std::u32string word = U"HIMn";
  const Shaped shaped = shape(word, font);
  ASSERT_TRUE(shaped.face.syntheticBold);
  const std::vector<HbGlyph> hb = hbShape(shaped.face.file, shaped.face.index, word);
  const int upem = test::headerMetrics(shaped.face.file)[0];
  const double strength = (upem * 64 / 24) / 64.0;
  const auto& glyphs = shaped.text.lines[0].glyphs;
  ASSERT_EQ(glyphs.size(), hb.size());
  double pen = 0;
  for (std::size_t i = 0; i < hb.size(); ++i) {
    EXPECT_NEAR(glyphs[i].x, pen * drawingPerFontUnit(upem), 1e-4) << i;
    pen += hb[i].ax + strength;
  }
}

TEST(ShapingTest, StrokesOfTheDrawingStandAtTheShapedPositions) {
  // Every character's cut outline is its glyph's outline moved to the glyph's origin.
  const std::u32string words = U"AVATAR To Wa";
  {
    ConversionOptions options;
    options.spacing = SpacingMode::Font;
    options.tracking = 15;
    const TFontDescription font = fontOf("DejaVu Serif");
    MemoryText text(words, font);
    TTTFToVectorConverter converter;
    const Drawing drawing = placeDrawing(text, options, converter);
    ASSERT_EQ(drawing.characters.size(), 10u);  // twelve characters, two of them spaces
    const Shaped shaped = shape(words, font, 15);
    const auto& glyphs = shaped.text.lines[0].glyphs;
    converter.SetPrecision(options.classic.resolution);
    std::size_t k = 0;
    for (const PlacedGlyph& g : glyphs) {
      const auto strokes = converter.ConvertGlyph(shaped.face, g.glyph);
      if (!strokes) continue;  // the spaces
      ASSERT_LT(k, drawing.characters.size());
      const PlacedCharacter& c = drawing.characters[k++];
      EXPECT_EQ(c.position, g.position);
      const TStroke& first = strokes->strokes().front();
      const double scale = drawingPerFontUnit(1365);  // outline units to drawing units
      ASSERT_FALSE(c.contours.empty());
      EXPECT_NEAR(c.contours[0].points[0].x, first.X1 * scale + g.x, 1e-5);
      EXPECT_NEAR(c.contours[0].points[0].y, first.Y1 * scale, 1e-5);
    }
    EXPECT_EQ(k, drawing.characters.size());
  }
}

// The drawing's characters in x order of their first point.
std::vector<std::int32_t> positionsLeftToRight(const Drawing& drawing) {
  std::vector<std::pair<double, std::int32_t>> xs;
  for (const PlacedCharacter& c : drawing.characters) {
    double minX = 1e300;
    for (const Contour& k : c.contours)
      for (const Vec2& p : k.points) minX = std::min(minX, p.x);
    xs.emplace_back(minX, c.position);
  }
  std::sort(xs.begin(), xs.end());
  std::vector<std::int32_t> out;
  for (const auto& [x, pos] : xs) out.push_back(pos);
  return out;
}

TEST(ShapingTest, ArabicAndHebrewWordsRunRightToLeftInTheirShapedForms) {
  ConversionOptions options;
  options.spacing = SpacingMode::Font;
  const TFontDescription font = fontOf("DejaVu Sans");
  // beh yeh teh: initial, medial and final forms, as hb-shape gives them, right to left.
  const std::u32string arabic = U"\u0628\u064A\u062A";
  // shin lamed vav final-mem: no joining, right to left.
  const std::u32string hebrew = U"\u05E9\u05DC\u05D5\u05DD";
  for (const std::u32string& word : {arabic, hebrew}) {
    const Shaped shaped = shape(word, font);
    const std::vector<HbGlyph> hb = hbShape(shaped.face.file, shaped.face.index, word);
    const auto& glyphs = shaped.text.lines[0].glyphs;
    ASSERT_EQ(glyphs.size(), hb.size());
    const double unit = drawingPerFontUnit(test::headerMetrics(shaped.face.file)[0]);
    std::int64_t pen = 0;
    for (std::size_t i = 0; i < hb.size(); ++i) {
      EXPECT_EQ(glyphs[i].glyph, hb[i].glyph) << i;
      EXPECT_EQ(glyphs[i].position, static_cast<std::int32_t>(hb[i].cluster + 1)) << i;
      EXPECT_NEAR(glyphs[i].x, (pen + hb[i].dx) * unit, 1e-4) << i;
      pen += hb[i].ax;
    }
    MemoryText text(word, font);
    TTTFToVectorConverter converter;
    const Drawing drawing = placeDrawing(text, options, converter);
    std::vector<std::int32_t> rightToLeft;
    for (std::int32_t p = static_cast<std::int32_t>(word.size()); p >= 1; --p) rightToLeft.push_back(p);
    EXPECT_EQ(positionsLeftToRight(drawing), rightToLeft);
  }
  // The Arabic letters are cut in their joined forms, not the isolated ones the character
  // map (and the classic walk) gives.
  const Shaped shaped = shape(arabic, font);
  for (std::size_t i = 0; i < arabic.size(); ++i) {
    const std::vector<HbGlyph> isolated =
        hbShape(shaped.face.file, shaped.face.index, arabic.substr(i, 1));
    ASSERT_EQ(isolated.size(), 1u);
    for (const PlacedGlyph& g : shaped.text.lines[0].glyphs) {
      if (g.position == static_cast<std::int32_t>(i + 1)) {
        EXPECT_NE(g.glyph, isolated[0].glyph);
      }
    }
  }
  TTTFToVectorConverter converter;
  converter.SetFont(font);
  converter.SetUNICODE(true);
  converter.SetPrecision(2);
  MemoryText text(arabic, font);
  const Drawing drawing = placeDrawing(text, options, converter);
  const auto isolatedBeh = converter.ConvertChar(0x0628);
  ASSERT_TRUE(isolatedBeh.has_value());
  ASSERT_FALSE(drawing.characters.empty());
  const PlacedCharacter& beh = drawing.characters.back();  // the rightmost glyph: initial beh
  EXPECT_EQ(beh.position, 1);
  std::size_t points = 0;
  for (const Contour& k : beh.contours) points += k.points.size();
  EXPECT_NE(points, static_cast<std::size_t>(isolatedBeh->Count()));
}

TEST(ShapingTest, MixedLinesStandInVisualOrder) {
  ConversionOptions options;
  options.spacing = SpacingMode::Font;
  TTTFToVectorConverter converter;
  const TFontDescription font = fontOf("DejaVu Sans");
  // A left-to-right line holding a Hebrew word: the word reversed in its place.
  MemoryText latinFirst(U"abc \u05E9\u05DC\u05D5\u05DD def", font);
  EXPECT_EQ(positionsLeftToRight(placeDrawing(latinFirst, options, converter)),
            (std::vector<std::int32_t>{1, 2, 3, 8, 7, 6, 5, 10, 11, 12}));
  // A right-to-left line (its first strong letter is Arabic) holding a Latin word and a
  // number: digits after a Latin word take its direction (rule W7), so "abc 12" reads left to
  // right as one piece at the line's left end, and the Arabic word runs from the right.
  MemoryText arabicFirst(U"\u0628\u064A\u062A abc 12", font);
  EXPECT_EQ(positionsLeftToRight(placeDrawing(arabicFirst, options, converter)),
            (std::vector<std::int32_t>{5, 6, 7, 9, 10, 3, 2, 1}));
  // Digits inside Arabic keep their left-to-right order, placed in the word's run.
  MemoryText number(U"\u0628\u064A\u062A 12 \u0628\u064A\u062A", font);
  EXPECT_EQ(positionsLeftToRight(placeDrawing(number, options, converter)),
            (std::vector<std::int32_t>{10, 9, 8, 5, 6, 3, 2, 1}));
  // Hebrew letters absent from Liberation Sans come from the fallback face, in the same order.
  MemoryText fallback(U"Ab \u05E9\u05DC", fontOf("Arial"));
  EXPECT_EQ(positionsLeftToRight(placeDrawing(fallback, options, converter)),
            (std::vector<std::int32_t>{1, 2, 5, 4}));
}

TEST(ShapingTest, LigaturesOnlyWhenAskedRequiredOnesAlways) {
  const TFontDescription font = fontOf("DejaVu Serif");
  const std::u32string word = U"office fl";
  const Shaped off = shape(word, font);
  EXPECT_EQ(off.text.lines[0].glyphs.size(), word.size());  // one cut shape per character
  const Shaped on = shape(word, font, 0, true);
  const std::vector<HbGlyph> hb = hbShape(on.face.file, on.face.index, word, "+dlig");
  ASSERT_EQ(on.text.lines[0].glyphs.size(), hb.size());
  EXPECT_LT(hb.size(), word.size());
  for (std::size_t i = 0; i < hb.size(); ++i) EXPECT_EQ(on.text.lines[0].glyphs[i].glyph, hb[i].glyph);
  // lam alef is a required ligature in Arabic: one glyph even without optional ligatures.
  const std::u32string lamAlef = U"\u0644\u0627";
  const Shaped arabic = shape(lamAlef, fontOf("DejaVu Sans"));
  const std::vector<HbGlyph> hbArabic = hbShape(arabic.face.file, arabic.face.index, lamAlef);
  ASSERT_EQ(arabic.text.lines[0].glyphs.size(), hbArabic.size());
  EXPECT_EQ(hbArabic.size(), 1u);
  EXPECT_EQ(arabic.text.lines[0].glyphs[0].glyph, hbArabic[0].glyph);
}

}  // namespace
}  // namespace kerfline
