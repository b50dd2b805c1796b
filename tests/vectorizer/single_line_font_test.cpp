// The two single-line font readers, on the installed fonts and on broken files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "vectorizer/single_line_font.h"
#include "vectorizer/single_line_glyph.h"

namespace kerfline {
namespace {

namespace fs = std::filesystem;

std::string slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<fs::path> filesIn(const std::string& folder, const std::string& ext) {
  std::vector<fs::path> out;
  for (const auto& e : fs::directory_iterator(folder))
    if (e.path().extension() == ext) out.push_back(e.path());
  std::sort(out.begin(), out.end());
  return out;
}

// Within a path every stroke starts where the one before ended; paths are numbered 0, 1, ...
::testing::AssertionResult pathsConnected(const TStrokeCollection& s) {
  std::int32_t expected = 0;
  for (std::size_t i = 0; i < s.strokes().size(); ++i) {
    const TStroke& k = s.strokes()[i];
    if (i > 0 && k.Contour == s.strokes()[i - 1].Contour) {
      const TStroke& p = s.strokes()[i - 1];
      if (p.X2 != k.X1 || p.Y2 != k.Y1)
        return ::testing::AssertionFailure() << "stroke " << i << " " << k << " does not continue " << p;
    } else {
      if (k.Contour != expected) return ::testing::AssertionFailure() << "path number " << k.Contour;
      ++expected;
    }
  }
  return ::testing::AssertionSuccess();
}

// The malformed records of the installed files, each checked by eye: a header with a doubled
// bracket; five symbol files that repeat three lines of "#" after the glyph of "\" and a blank
// line; codes given a second glyph (cursive.lff's second U+2205 is a reference to itself); a
// vertex without its comma before the bulge ("6.,1.5A.41" in "£") and one without its y ("8.").
const std::map<std::string, std::vector<MalformedRecord>> kKnownMalformed = {
    {"greek_ol.lff", {{311, "a glyph header without a hexadecimal code: [[038c] \xce\x8c"}}},
    {"syastro.lff", {{355, "drawing lines outside any glyph"}}},
    {"symap.lff", {{320, "drawing lines outside any glyph"}}},
    {"symath.lff", {{287, "drawing lines outside any glyph"}}},
    {"symeteo.lff", {{280, "drawing lines outside any glyph"}}},
    {"symusic.lff", {{350, "drawing lines outside any glyph"}}},
    {"cursive.lff", {{581, "a second glyph for the same code"}}},
    {"kst32b.lff",
     {{3679, "a second glyph for the same code"},
      {3686, "a second glyph for the same code"},
      {3888, "a second glyph for the same code"},
      {3901, "a second glyph for the same code"},
      {4872, "a second glyph for the same code"}}},
    {"unicode.lff",
     {{352, "a vertex that is not \"x,y\" or \"x,y,Abulge\": 6.,1.5A.41"},
      {85349, "a vertex that is not \"x,y\" or \"x,y,Abulge\": 8."}}},
};

TEST(SingleLineFontReaders, EveryInstalledFileReadsOrNamesItsMalformedRecords) {
  int files = 0;
  for (const fs::path& p : filesIn("/usr/share/hershey-fonts", ".jhf")) {
    SCOPED_TRACE(p.string());
    ++files;
    const SingleLineFont font = readJhf(slurp(p));
    EXPECT_TRUE(font.malformed.empty()) << font.malformed.front().line << ": " << font.malformed.front().what;
    // Every record is a glyph; the first 96 are the characters from the space on.
    EXPECT_GE(font.records, 96);
    EXPECT_EQ(font.glyphs.size(), 96u);
    for (const auto& [code, glyph] : font.glyphs) {
      TStrokeCollection s;
      appendSingleLineStrokes(font, metricsOf(font), glyph, 2, s);
      EXPECT_TRUE(pathsConnected(s)) << "code " << std::uint32_t(code);
      EXPECT_LE(glyph.left, glyph.right);
    }
  }
  for (const fs::path& p : filesIn("/usr/share/librecad/fonts", ".lff")) {
    SCOPED_TRACE(p.string());
    ++files;
    const SingleLineFont font = readLff(slurp(p));
    const auto known = kKnownMalformed.find(p.filename().string());
    EXPECT_EQ(font.malformed, known == kKnownMalformed.end() ? std::vector<MalformedRecord>{} : known->second);
    // Each glyph header gave a glyph or one report.
    const auto strays = std::count_if(font.malformed.begin(), font.malformed.end(), [](const MalformedRecord& r) {
      return r.what == "drawing lines outside any glyph";
    });
    EXPECT_EQ(font.records, static_cast<std::int32_t>(font.glyphs.size() + font.malformed.size() - strays));
    for (const auto& [code, glyph] : font.glyphs) {
      TStrokeCollection s;
      appendSingleLineStrokes(font, metricsOf(font), glyph, 4, s);
      EXPECT_TRUE(pathsConnected(s)) << "code " << std::uint32_t(code);
    }
  }
  EXPECT_EQ(files, 32 + 46);  // what hershey-fonts-data and librecad-data install
}

TEST(SingleLineFontReaders, HeadersAndRealGlyphs) {
  const SingleLineFont iso = readLff(slurp("/usr/share/librecad/fonts/iso3098.lff"));
  EXPECT_EQ(iso.name, "ISO3098");
  EXPECT_EQ(iso.letterSpacing, 0);
  EXPECT_EQ(iso.wordSpacing, 6.75);
  // "H" as the file writes it: three polylines of two vertices.
  const SingleLineGlyph& h = iso.glyphs.at(U'H');
  ASSERT_EQ(h.lines.size(), 3u);
  EXPECT_EQ(h.lines[0].vertices, (std::vector<FontVertex>{{2.81, 1.25, 0}, {2.81, 10.0, 0}}));
  EXPECT_EQ(h.lines[2].vertices, (std::vector<FontVertex>{{2.81, 6.25, 0}, {7.81, 6.25, 0}}));

  // futural "!" is "MWRFRT RRYQZR[SZRY": bounds M..W, a bar and a closed dot loop.
  const SingleLineFont sans = readJhf(slurp("/usr/share/hershey-fonts/futural.jhf"));
  const SingleLineGlyph& bang = sans.glyphs.at(U'!');
  EXPECT_EQ(bang.left, 'M' - 'R');
  EXPECT_EQ(bang.right, 'W' - 'R');
  ASSERT_EQ(bang.lines.size(), 2u);
  EXPECT_EQ(bang.lines[0].vertices, (std::vector<FontVertex>{{0, -12, 0}, {0, 2, 0}}));
  EXPECT_EQ(bang.lines[1].vertices.size(), 5u);
  EXPECT_EQ(bang.lines[1].vertices.front(), (FontVertex{0, 7, 0}));

  // Numbers as the LFF files write them: "9.", ".5", "-.41".
  const SingleLineFont uni = readLff(slurp("/usr/share/librecad/fonts/unicode.lff"));
  const SingleLineGlyph& h2 = uni.glyphs.at(U'h');
  ASSERT_EQ(h2.lines.size(), 2u);
  EXPECT_EQ(h2.lines[1].vertices[2], (FontVertex{4.0, 4.5, -0.41}));
}

TEST(SingleLineFontReaders, ReferenceCopiesTheReferencedGlyph) {
  // romans.lff: "[00C0] À" is "C0041" and a stroke for the accent.
  const SingleLineFont font = readLff(slurp("/usr/share/librecad/fonts/romans.lff"));
  const SingleLineGlyph& a = font.glyphs.at(U'A');
  const SingleLineGlyph& grave = font.glyphs.at(U'\u00C0');
  ASSERT_EQ(grave.lines.size(), a.lines.size() + 1);
  EXPECT_TRUE(std::equal(a.lines.begin(), a.lines.end(), grave.lines.begin()));
  EXPECT_EQ(grave.lines.back().vertices,
            (std::vector<FontVertex>{{3.42857, 9.85, 0}, {1.72857, 10.7, 0}}));

  // A reference to a glyph that itself refers on.
  const SingleLineFont chain = readLff("[0041] A\n0,0;1,1\n\n[0042] B\nC0041\n2,2\n\n[0043] C\nC0042\n");
  EXPECT_TRUE(chain.malformed.empty());
  EXPECT_EQ(chain.glyphs.at(U'C'), chain.glyphs.at(U'B'));
  EXPECT_EQ(chain.glyphs.at(U'C').lines.size(), 2u);
}

TEST(SingleLineFontReaders, BulgeArcPointsLieOnTheirCircle) {
  // standard.lff "g": from (2.5,-3) to (4,-1.5) with bulge tan(22.5 deg): a quarter circle
  // counter-clockwise about (2.5,-1.5), radius 1.5.
  const std::vector<FontVertex> quarter = flattenArc({2.5, -3, 0}, {4, -1.5, 0}, 0.414214, 6);
  ASSERT_EQ(quarter.size(), 7u);
  EXPECT_EQ(quarter.front(), (FontVertex{2.5, -3, 0}));
  EXPECT_EQ(quarter.back(), (FontVertex{4, -1.5, 0}));
  for (const FontVertex& v : quarter) EXPECT_NEAR(std::hypot(v.x - 2.5, v.y + 1.5), 1.5, 1e-5);
  // Counter-clockwise: the angle about the centre grows from -90 to 0 degrees.
  for (std::size_t i = 1; i < quarter.size(); ++i)
    EXPECT_GT(std::atan2(quarter[i].y + 1.5, quarter[i].x - 2.5),
              std::atan2(quarter[i - 1].y + 1.5, quarter[i - 1].x - 2.5));
  // Bulge 1 is a half circle about the chord's midpoint; -1 the other half.
  for (double bulge : {1.0, -1.0}) {
    const std::vector<FontVertex> half = flattenArc({0, 0, 0}, {4, 0, 0}, bulge, 4);
    ASSERT_EQ(half.size(), 5u);
    for (const FontVertex& v : half) EXPECT_NEAR(std::hypot(v.x - 2, v.y), 2, 1e-12);
    EXPECT_NEAR(half[2].y, -2 * bulge, 1e-12);  // counter-clockwise from the left end: below
  }
  // The advance counts the arc's rightmost point (2, 2), whatever the resolution: a half
  // circle counter-clockwise from (0,0) to (0,4), plus the default letter spacing of 3.
  const SingleLineFont bowl = readLff("[0044] D\n0,0;0,4,A1\n");
  for (int precision : {1, 2, 9}) {
    TStrokeCollection d;
    appendSingleLineStrokes(bowl, metricsOf(bowl), bowl.glyphs.at(U'D'), precision, d);
    ASSERT_TRUE(d.advance());
    EXPECT_DOUBLE_EQ(*d.advance(), (2 + 3) * kReferenceCapHeight / 9) << precision;
  }
  // The resolution is the number of strokes per arc piece.
  const SingleLineFont font = readLff("[0067] g\n0,0;2,2,A1\n");
  TStrokeCollection s;
  appendSingleLineStrokes(font, metricsOf(font), font.glyphs.at(U'g'), 5, s);
  EXPECT_EQ(s.Count(), 5);
}

TEST(SingleLineFontReaders, PathsJoinDotsStayAndUnitsMatchTheMapping) {
  // Two polylines where the second starts at the first's end are one path; "3,3" alone is a dot.
  const SingleLineFont font = readLff("# LetterSpacing: 2\n[0041] A\n0,0;1,0\n1,0;1,9\n3,3\n0,9;0,0\n");
  TStrokeCollection s;
  const SingleLineMetrics m = metricsOf(font);
  appendSingleLineStrokes(font, m, font.glyphs.at(U'A'), 2, s);
  EXPECT_TRUE(s.openPaths());
  const double k = kReferenceCapHeight / 9;  // no "H": the LFF grid, capitals 9 tall
  EXPECT_EQ(m.scale, k);
  const auto u = [k](double v) { return static_cast<std::int32_t>(std::nearbyint(v * k)); };
  EXPECT_EQ(s.strokes(), (std::vector<TStroke>{{0, 0, 0, u(1), 0},
                                               {0, u(1), 0, u(1), u(9)},
                                               {1, u(3), u(3), u(3), u(3)},
                                               {2, 0, u(9), 0, 0}}));
  ASSERT_TRUE(s.advance());
  EXPECT_DOUBLE_EQ(*s.advance(), (3 + 2) * k);  // width plus letter spacing

  // Hershey: Y down, baseline at 9, capitals 21 tall, x from the left bound.
  const SingleLineFont sans = readJhf(slurp("/usr/share/hershey-fonts/futural.jhf"));
  const SingleLineMetrics hm = metricsOf(sans);
  EXPECT_EQ(hm.scale, kReferenceCapHeight / 21);
  EXPECT_EQ(hm.baseline, 9);
  EXPECT_TRUE(hm.yDown);
  // ISO3098 sets "H" from 1.25 to 10: that span is the capital height and 1.25 the baseline.
  const SingleLineFont iso = readLff(slurp("/usr/share/librecad/fonts/iso3098.lff"));
  const SingleLineMetrics im = metricsOf(iso);
  EXPECT_EQ(im.baseline, 1.25);
  EXPECT_EQ(im.scale, kReferenceCapHeight / 8.75);
  // A symbol face whose "H" is a small mark keeps the grid.
  const SingleLineFont markers = readJhf(slurp("/usr/share/hershey-fonts/markers.jhf"));
  EXPECT_EQ(metricsOf(markers).scale, kReferenceCapHeight / 21);
}

TEST(SingleLineFontReaders, BrokenRecordsAreReportedAndTheRestRead) {
  // Hershey: a record cut short, a count that is not a number, a coordinate below ' '.
  const SingleLineFont jhf = readJhf(
      "12345  xMWRFRT\n"    // a count that is not a number
      "12345  2MW\x01R\n"   // a control character as a coordinate
      "12345  2MWRFRTRR\n"  // more pairs than counted
      "12345  1JZ\n"        // a good one: the fourth record, so the code of "#"
      "12345  3MWRF");      // cut short by the end of the file
  std::vector<int> lines;
  for (const MalformedRecord& r : jhf.malformed) lines.push_back(r.line);
  EXPECT_EQ(lines, (std::vector<int>{1, 2, 3, 5}));
  EXPECT_EQ(jhf.records, 5);
  ASSERT_EQ(jhf.glyphs.size(), 1u);
  EXPECT_TRUE(jhf.glyphs.count(U'#'));
  // A record wrapped over two lines reads as one.
  const SingleLineFont wrapped = readJhf("12345  4MWRF\nRTRU\n12345  1JZ\n");
  EXPECT_TRUE(wrapped.malformed.empty());
  ASSERT_EQ(wrapped.glyphs.size(), 2u);
  EXPECT_EQ(wrapped.glyphs.at(U' ').lines[0].vertices.size(), 3u);

  // A count larger than its data never borrows the next record: that glyph is broken and
  // every later one keeps its own code and strokes.
  const SingleLineFont shortGlyph = readJhf(
      "12345  1JZ\n"
      "12345  4MWRFRT\n"  // '!' counts three pairs and holds two
      "12345  3MWRFRT\n"  // '"' a bar from (0, -12) to (0, 2)
      "12345  1JZ");
  EXPECT_EQ(shortGlyph.malformed, (std::vector<MalformedRecord>{
                                      {2, "the record ends before its 4 coordinate pairs"}}));
  EXPECT_EQ(shortGlyph.records, 4);
  EXPECT_EQ(shortGlyph.glyphs.count(U'!'), 0u);
  ASSERT_EQ(shortGlyph.glyphs.count(U'"'), 1u);
  ASSERT_EQ(shortGlyph.glyphs.at(U'"').lines.size(), 1u);
  EXPECT_EQ(shortGlyph.glyphs.at(U'"').lines[0].vertices,
            (std::vector<FontVertex>{{0, -12, 0}, {0, 2, 0}}));
  EXPECT_EQ(shortGlyph.glyphs.count(U'#'), 1u);

  // LFF: bad number, bad bulge, loop, missing reference, bad header; good glyphs survive.
  const SingleLineFont lff = readLff(
      "[0041] A\n0,0;1,x\n\n"
      "[0042] B\n0,0;1,1,B2\n\n"
      "[0043] C\nC0044\n\n"
      "[0044] D\nC0043\n\n"
      "[0045] E\nC0046\n\n"
      "[zz] ?\n1,1\n\n"
      "[0048] H\n0,0;0,9\n\n"
      "[0049] I\n1e999,0;0,0\n");
  EXPECT_EQ(lff.glyphs.size(), 1u);
  EXPECT_TRUE(lff.glyphs.count(U'H'));
  std::vector<std::string> what;
  for (const MalformedRecord& r : lff.malformed) what.push_back(std::to_string(r.line) + " " + r.what);
  EXPECT_EQ(what, (std::vector<std::string>{
                      "2 a vertex that is not \"x,y\" or \"x,y,Abulge\": 1,x",
                      "5 a vertex that is not \"x,y\" or \"x,y,Abulge\": 1,1,B2",
                      "7 a reference loop", "10 a reference loop",
                      "13 a reference to a missing glyph",
                      "16 a glyph header without a hexadecimal code: [zz] ?",
                      "23 a vertex that is not \"x,y\" or \"x,y,Abulge\": 1e999,0"}));
  // Nothing at all, or only garbage, is an empty font, not a crash.
  EXPECT_TRUE(readLff("").glyphs.empty());
  EXPECT_TRUE(readJhf("").glyphs.empty());
  EXPECT_TRUE(readJhf(std::string("\0\0\0\n", 4)).glyphs.empty());
}

}  // namespace
}  // namespace kerfline
