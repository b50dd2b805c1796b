// The job view's parts below the widget: the glyph cache behind the live layout, the drawing
// it shows, and the recent-files list.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <map>

#include "export/drawing_layout.h"
#include "export/converter_glyph_source.h"
#include "export/glyph_cache.h"
#include "mainwindow/job_drawing.h"
#include "typography/placed_export.h"
#include "mainwindow/recent_files.h"
#include "richtext/styled_text.h"
#include "save_test_support.h"
#include "vectorizer/UTTF2Vct.h"

namespace kerfline {
namespace {

// Counts what the cache asks of the source behind it (the unit seam of the cache).
class CountingGlyphSource final : public GlyphSource {
 public:
  std::optional<TStrokeCollection> strokesOf(const TFontDescription& font, char32_t c,
                                             int precision) override {
    ++asked;
    if (c == U' ') return std::nullopt;
    TStrokeCollection s;
    s.Add(TStroke{0, static_cast<std::int32_t>(c), precision, font.Bold ? 7 : 3, 0});
    return s;
  }
  int asked = 0;
};

TEST(GlyphCacheTest, converts_each_glyph_once_whatever_its_size_or_colour) {
  CountingGlyphSource inner;
  GlyphCache cache(inner);
  TFontDescription f = testing::font("Liberation Sans", 10);
  const auto first = cache.strokesOf(f, U'A', 2);
  f.Size = 72;
  f.Color = 0xFF0000;
  EXPECT_EQ(cache.strokesOf(f, U'A', 2)->strokes(), first->strokes());
  EXPECT_EQ(inner.asked, 1);
  EXPECT_FALSE(cache.strokesOf(f, U' ', 2).has_value());
  EXPECT_FALSE(cache.strokesOf(f, U' ', 2).has_value());  // "no outline" is remembered too
  EXPECT_EQ(inner.asked, 2);
  // Anything else that may change the outline is a glyph of its own.
  cache.strokesOf(f, U'A', 3);
  TFontDescription bold = f;
  bold.Bold = true;
  EXPECT_EQ(cache.strokesOf(bold, U'A', 2)->strokes()[0].X2, 7);
  TFontDescription other = f;
  other.Name = "DejaVu Serif";
  cache.strokesOf(other, U'A', 2);
  cache.strokesOf(f, U'\U0001F600', 2);
  EXPECT_EQ(inner.asked, 6);
  EXPECT_EQ(cache.size(), 6u);
}

TEST(GlyphCacheTest, starts_afresh_beyond_its_bound) {
  CountingGlyphSource inner;
  GlyphCache cache(inner, 3);
  const TFontDescription f = testing::font("Liberation Sans", 10);
  for (const char32_t c : {U'a', U'b', U'c', U'd'}) cache.strokesOf(f, c, 2);
  EXPECT_LE(cache.size(), 3u);
  cache.strokesOf(f, U'a', 2);  // forgotten with the rest
  EXPECT_EQ(inner.asked, 5);
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

// The job view's drawing through the cache must hold the export's drawing, point for point,
// on the first layout and on every layout after it.
TEST(JobDrawingTest, cached_layout_equals_the_exports_drawing) {
  StyledText t;
  t.append(U"Oak & Ash\r\n", testing::font("Liberation Sans", 14, true));
  t.append(U"No. 8 \u00e9t\u00e9", testing::font("DejaVu Serif", 9));
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

// Font spacing, centred lines, a fit size and a kerf: the view must show the paths the export
// writes, not the classic walk's. The export's report gives the extent of what it wrote.
TEST(JobDrawingTest, shaped_welded_and_offset_drawing_is_the_written_one) {
  StyledText t;
  t.append(U"AVATAR To\r\n", testing::font("Liberation Sans", 20));
  t.append(U"Wa", testing::font("DejaVu Serif", 12));
  ConversionOptions options;
  options.format = OutputFormat::Closed;
  options.spacing = SpacingMode::Font;
  options.align = Alignment::Center;
  options.autoPitch = true;
  options.fitWidth = 120.0;
  options.weld = true;
  options.kerf = 0.2;
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  TTTFToVectorConverter exporting;
  DrawingExportReport report;
  exportTextFile(dir.filePath(QStringLiteral("a.dxf")).toStdString(), t, options, exporting, &report);
  TTTFToVectorConverter converter;
  ConverterGlyphSource inner(converter);
  GlyphCache cache(inner);
  const Drawing d = jobDrawing(t, options, converter, cache);
  std::size_t contours = 0;
  for (const PlacedCharacter& c : d.characters) contours += c.contours.size();
  EXPECT_EQ(contours, report.contours);
  EXPECT_EQ(d.extent(), report.extent);
  // The kerf grows the fitted drawing by half of it on every side.
  EXPECT_NEAR(d.extent().width(), 120.0 + 0.2, 1e-3);
  // Different from the classic placement of the same text.
  ConversionOptions classic = options;
  classic.spacing = SpacingMode::Classic;
  classic.align = Alignment::Left;
  classic.autoPitch = false;
  EXPECT_NE(jobDrawing(t, classic, converter, cache).extent(), d.extent());
}

// A layout nobody waits for any more must stop at its next character, in the weld and the
// offset as well as in the placement: each is longer than an edit takes on a big text.
TEST(JobDrawingTest, checkpoint_reaches_every_stage_and_abandons_the_layout) {
  StyledText t;
  t.append(U"Oak & Ash\r\nElm", testing::font("Liberation Sans", 14));
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

TEST(RecentFilesTest, newest_first_each_file_once_at_most_eight) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  auto file = [&](int i) {
    const QString p = dir.filePath(QStringLiteral("f%1.rtf").arg(i));
    testing::writeBytes(p, "{\\rtf1 x}");
    return p;
  };
  RecentFiles r;
  for (int i = 0; i < 10; ++i) r.add(file(i));
  ASSERT_EQ(r.files().size(), 8);
  EXPECT_EQ(r.files().first(), file(9));
  EXPECT_EQ(r.files().last(), file(2));
  // Another name of a listed file (with "./", or a symbolic link) moves it to the front.
  r.add(dir.path() + QStringLiteral("/./f5.rtf"));
  EXPECT_EQ(r.files().first(), file(5));
  EXPECT_EQ(r.files().count(file(5)), 1);
  ASSERT_TRUE(QFile::link(file(7), dir.filePath(QStringLiteral("link.rtf"))));
  r.add(dir.filePath(QStringLiteral("link.rtf")));
  EXPECT_EQ(r.files().first(), dir.filePath(QStringLiteral("link.rtf")));
  EXPECT_FALSE(r.files().contains(file(7)));
  EXPECT_EQ(r.files().size(), 8);
  r.remove(file(9));
  EXPECT_FALSE(r.files().contains(file(9)));

  // A hand-edited list: empty entries, repeats and too many are cleaned as it is read.
  QSettings s(dir.filePath(QStringLiteral("w.ini")), QSettings::IniFormat);
  QStringList stored;
  for (int i = 0; i < 10; ++i) stored << file(i) << QString() << file(0);
  s.setValue(QStringLiteral("RecentFiles/files"), stored);
  RecentFiles back;
  back.load(s);
  EXPECT_EQ(back.files().size(), 8);
  EXPECT_EQ(back.files().first(), file(0));
  QStringList unique = back.files();
  EXPECT_EQ(unique.removeDuplicates(), 0);
}

}  // namespace
}  // namespace kerfline
