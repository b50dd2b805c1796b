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
