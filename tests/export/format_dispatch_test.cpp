// One entry for every file form: the classic files untouched without a fit size, and a fit
// size scaling X and Y of every form by one factor while Z stays.
#include <gtest/gtest.h>

#include <cmath>

#include "export/drawing_export.h"
#include "export/dxf_export.h"
#include "export_test_support.h"

namespace kerfline {
namespace {

using test::FakeGlyphs;
using test::MemoryText;
using test::TempDir;
using test::dxfLines;
using test::numberOf;
using test::readFile;

TFontDescription tenPoint() {
  TFontDescription f;
  f.Size = 10;
  return f;
}

ConversionOptions options(OutputFormat format) {
  ConversionOptions o;
  o.format = format;
  o.classic.scale = 10000;
  o.classic.spacePercent = 0;
  o.classic.zMoveText = "5";
  o.classic.zLevelText = "-1.5";
  return o;
}

// The values of the given group codes, in file order.
std::vector<double> valuesOf(const std::string& bytes, std::initializer_list<const char*> codes) {
  const auto l = dxfLines(bytes);
  std::vector<double> out;
  for (std::size_t i = 0; i + 1 < l.size(); i += 2) {
    for (const char* c : codes) {
      if (l[i] == c) out.push_back(numberOf(l[i + 1]));
    }
  }
  return out;
}

class FormatDispatchTest : public ::testing::Test {
 protected:
  FormatDispatchTest() {
    glyphs.set(U'o', {{{0, 0}, {100, 0}, {100, 100}, {0, 100}}, {{20, 20}, {80, 20}, {50, 80}}});
    glyphs.set(U'l', {{{10, -40}, {30, -40}, {30, 140}, {10, 140}}});
  }
  TempDir dir;
  FakeGlyphs glyphs;
  MemoryText text{U"ol\r\nlo", tenPoint()};
};

TEST_F(FormatDispatchTest, classic_forms_without_a_fit_are_the_classic_files) {
  for (const OutputFormat format : {OutputFormat::Lines, OutputFormat::PolyLines}) {
    const ConversionOptions o = options(format);
    exportDrawingFile(dir.file("a.dxf"), text, o, glyphs);
    if (format == OutputFormat::Lines) {
      saveLinesDxf(dir.file("b.dxf"), text, o.classic, glyphs, nullptr);
    } else {
      savePolyLinesDxf(dir.file("b.dxf"), text, o.classic, glyphs, nullptr);
    }
    EXPECT_EQ(readFile(dir.file("a.dxf")), readFile(dir.file("b.dxf")));
  }
}

TEST_F(FormatDispatchTest, a_fit_width_scales_x_and_y_of_every_form_and_never_z) {
  // The extent and the factor from the unscaled "Lines + Z moves" file, computed here.
  exportDrawingFile(dir.file("lines.dxf"), text, options(OutputFormat::Lines), glyphs);
  double lo = INFINITY, hi = -INFINITY;
  for (const double x : valuesOf(readFile(dir.file("lines.dxf")), {" 10", " 11"})) {
    lo = std::min(lo, x);
    hi = std::max(hi, x);
  }
  const double factor = 250 / (hi - lo);
  for (const OutputFormat format : {OutputFormat::Lines, OutputFormat::PolyLines,
                                    OutputFormat::Closed}) {
    SCOPED_TRACE(static_cast<int>(format));
    ConversionOptions o = options(format);
    exportDrawingFile(dir.file("plain.dxf"), text, o, glyphs);
    o.fitWidth = 250;
    DrawingExportReport report;
    exportDrawingFile(dir.file("fit.dxf"), text, o, glyphs, &report);
    const std::string plain = readFile(dir.file("plain.dxf"));
    const std::string fit = readFile(dir.file("fit.dxf"));
    const std::vector<double> plainXy = valuesOf(plain, {" 10", " 20", " 11", " 21"});
    const std::vector<double> fitXy = valuesOf(fit, {" 10", " 20", " 11", " 21"});
    ASSERT_EQ(plainXy.size(), fitXy.size());
    for (std::size_t i = 0; i < plainXy.size(); ++i) {
      ASSERT_EQ(static_cast<float>(fitXy[i]), static_cast<float>(plainXy[i] * factor)) << i;
    }
    EXPECT_EQ(valuesOf(fit, {" 30", " 31"}), valuesOf(plain, {" 30", " 31"}));
    EXPECT_NEAR(report.extent.width(), 250, 1e-9);
    EXPECT_EQ(report.contours, 6u);
  }
}

TEST_F(FormatDispatchTest, an_unknown_dxf_version_is_refused_before_any_conversion) {
  ConversionOptions o = options(OutputFormat::Closed);
  o.dxfVersion = 13;
  EXPECT_ERROR_MSG(exportDrawingFile(dir.file("a.dxf"), text, o, glyphs),
                   "The DXF version must be 12 or 2000.");
  EXPECT_TRUE(glyphs.requests.empty());
  EXPECT_TRUE(dir.entries().empty());
}

}  // namespace
}  // namespace kerfline
