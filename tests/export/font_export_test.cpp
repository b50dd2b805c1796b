// The exports with the real converter and installed fonts ("Arial" resolves to its metric
// twin through fontconfig), read back by ezdxf as an independent reader.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <sstream>

#include "export/text_export.h"
#include "export_test_support.h"
#include "vectorizer/UTTF2Vct.h"
#include "vectorizer/font_library.h"

namespace kerfline {
namespace {

using test::MemoryText;
using test::TempDir;
using test::dxfLines;
using test::numberOf;
using test::readFile;

// The number values of every group 10/20/30/11/21/31 of a LINE file, entity by entity.
std::vector<std::array<float, 6>> lineCoordinates(const std::string& bytes) {
  const auto lines = dxfLines(bytes);
  std::vector<std::array<float, 6>> out;
  for (std::size_t i = 4; i + 16 <= lines.size(); i += 16) {
    EXPECT_EQ(lines[i + 1], "LINE");
    std::array<float, 6> c{};
    for (std::size_t k = 0; k < 6; ++k) c[k] = static_cast<float>(numberOf(lines[i + 5 + 2 * k]));
    out.push_back(c);
  }
  return out;
}

std::string runReader(const std::string& dxf) { return test::runPython("export/read_dxf.py", {dxf}); }

TFontDescription arial(int size) {
  TFontDescription f;
  f.Name = "Arial";
  f.Size = size;
  return f;
}

TEST(font_export_test, a_font_engine_that_cannot_start_fails_the_export) {
  // Not an empty drawing reported as written: the error, and no file.
  TempDir dir;
  const auto fonts = std::make_shared<FontLibrary>([](FT_LibraryRec_**) { return 1; });
  TTTFToVectorConverter converter(fonts);
  const MemoryText text(U"AB", arial(10));
  EXPECT_ERROR_MSG(FileSave(dir.file("a.dxf"), text, ExportSettings{}, converter),
                   "The font engine (FreeType) could not be started (error 1), so no character "
                   "can be converted.");
  EXPECT_THROW(SavePoly2(dir.file("b.dxf"), text, ExportSettings{}, converter), Error);
  EXPECT_TRUE(dir.entries().empty());
}

TEST(font_export_test, twenty_points_are_exactly_twice_ten_points) {
  TempDir dir;
  MemoryText text(U"g\ng", arial(10));
  text.setFont(3, arial(20));
  ExportSettings settings;
  settings.pitchText = "0";  // both characters at the same origin
  settings.zMoveText = "1";
  settings.zLevelText = "0";
  TTTFToVectorConverter converter;
  FileSave(dir.file("g.dxf"), text, settings, converter);
  const auto coords = lineCoordinates(readFile(dir.file("g.dxf")));
  ASSERT_FALSE(coords.empty());
  ASSERT_EQ(coords.size() % 2, 0u);
  const std::size_t half = coords.size() / 2;
  for (std::size_t i = 0; i < half; ++i) {
    for (const std::size_t k : {0, 1, 3, 4}) {  // X and Y double, Z stays
      ASSERT_EQ(coords[half + i][k], 2 * coords[i][k]) << "entity " << i << " value " << k;
    }
    ASSERT_EQ(coords[half + i][2], coords[i][2]);
    ASSERT_EQ(coords[half + i][5], coords[i][5]);
  }
  // "g" has two contours (bowl and counter): two plunges, two retracts per character.
  int plunges = 0;
  for (std::size_t i = 0; i < half; ++i) plunges += coords[i][2] != coords[i][5];
  EXPECT_EQ(plunges, 4);
}

TEST(font_export_test, both_formats_read_back_by_ezdxf) {
  TempDir dir;
  MemoryText text(U"Kerf 1,\r\nline\r\n", arial(12));
  ExportSettings settings;
  settings.layerText = "  Router layer ";
  settings.zMoveText = "2.5";
  settings.zLevelText = "-0.3";
  TTTFToVectorConverter converter;
  FileSave(dir.file("lines.dxf"), text, settings, converter);
  SavePoly2(dir.file("polys.dxf"), text, settings, converter);

  const auto coords = lineCoordinates(readFile(dir.file("lines.dxf")));
  std::size_t strokes = 0;
  float minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
  for (const auto& c : coords) {
    if (c[2] == c[5]) ++strokes;
    minX = std::min({minX, c[0], c[3]});
    maxX = std::max({maxX, c[0], c[3]});
    minY = std::min({minY, c[1], c[4]});
    maxY = std::max({maxY, c[1], c[4]});
  }
  ASSERT_GT(strokes, 50u);
  const std::string polys = readFile(dir.file("polys.dxf"));
  EXPECT_EQ(dxfLines(polys).size(), 5 + 38 * strokes + 3);

  // The reader is a test dependency (python3-ezdxf): without it the test fails, never passes
  // unchecked.
  const std::string lineView = runReader(dir.file("lines.dxf"));
  // runPython answers "exit <status>: ..." when the reader did not start or failed.
  ASSERT_FALSE(lineView.starts_with("exit ")) << lineView;
  std::istringstream in(lineView);
  std::string kind;
  std::size_t lineCount = 0;
  in >> kind >> lineCount;
  EXPECT_EQ(lineCount, coords.size()) << lineView;
  std::string layerLine;
  std::getline(in, layerLine);  // rest of the counts line
  std::getline(in, layerLine);
  EXPECT_EQ(layerLine, "Router layer");
  double lo[3], hi[3];
  in >> lo[0] >> lo[1] >> lo[2] >> hi[0] >> hi[1] >> hi[2];
  EXPECT_EQ(static_cast<float>(lo[0]), minX);
  EXPECT_EQ(static_cast<float>(lo[1]), minY);
  EXPECT_EQ(static_cast<float>(lo[2]), -0.3f);
  EXPECT_EQ(static_cast<float>(hi[0]), maxX);
  EXPECT_EQ(static_cast<float>(hi[1]), maxY);
  EXPECT_EQ(static_cast<float>(hi[2]), 2.5f);

  const std::string polyView = runReader(dir.file("polys.dxf"));
  std::ostringstream expected;
  expected << "LINE 0 POLYLINE " << strokes << " VERTEX " << 2 * strokes << "\nRouter layer\n";
  EXPECT_EQ(polyView.substr(0, expected.str().size()), expected.str());
}

}  // namespace
}  // namespace kerfline
