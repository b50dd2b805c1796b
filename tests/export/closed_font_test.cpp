// The closed-contour forms of real fonts (TrueType and CFF), checked by independent readers:
// shapely for nesting, direction and order, ezdxf and dxf2gcode's importer for the DXF, and
// the "Lines + Z moves" file of the same text for the points.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <sstream>

#include "command_output.h"
#include "export/converter_glyph_source.h"
#include "export/drawing_export.h"
#include "export/drawing_layout.h"
#include "export/dxf_export.h"
#include "export_test_support.h"
#include "geometry/ring_math.h"
#include "vectorizer/UTTF2Vct.h"

namespace kerfline {
namespace {

using test::MemoryText;
using test::TempDir;
using test::face;
using test::dxfLines;
using test::readFile;
using test::runPython;


std::string commandOutput(const std::string& command) { return test::runCommand(command).output; }

// The first line of check_cut_order.py, and its per-path depth lists.
struct CutOrderView {
  std::string summary;
  std::vector<std::string> depths;
};

CutOrderView checkCutOrder(const std::string& svg) {
  const std::string out = runPython("export/check_cut_order.py", {svg});
  CutOrderView view;
  std::istringstream in(out);
  std::string line;
  std::getline(in, view.summary);
  while (std::getline(in, line)) {
    if (line.rfind("depths ", 0) == 0) view.depths.push_back(line.substr(7));
  }
  return view;
}

// "wrong_direction 0 wrong_order 0" and no open path, whatever the counts.
void expectSound(const CutOrderView& view) {
  EXPECT_NE(view.summary.find(" open 0 "), std::string::npos) << view.summary;
  EXPECT_NE(view.summary.find("wrong_direction 0 wrong_order 0"), std::string::npos) << view.summary;
}

std::string sortedDepths(std::string list) {
  std::sort(list.begin(), list.end());
  return list;
}

// Letters whose rings nest alike in every ordinary face.
const std::u32string kHoled = U"oBe%A8aDPR";

TEST(closed_font_test, cff_and_truetype_fonts_are_cut_alike_after_ordering) {
  // Make sure the two faces really are one of each outline kind.
  ASSERT_EQ(commandOutput("fc-match -f '%{fontformat}' Cantarell"), "CFF");
  ASSERT_EQ(commandOutput("fc-match -f '%{fontformat}' 'Liberation Sans'"), "TrueType");
  TempDir dir;
  TTTFToVectorConverter converter;
  ConverterGlyphSource glyphs(converter);
  std::map<std::string, CutOrderView> views;
  std::map<std::string, double> rawOutline;
  for (const char* name : {"Liberation Sans", "Cantarell"}) {
    SCOPED_TRACE(name);
    MemoryText text(kHoled, face(name, 24));
    ConversionOptions options;
    // The fonts' own direction, before ordering: TrueType runs outlines clockwise, CFF
    // counter-clockwise; the order must not care.
    const Drawing raw = layoutDrawing(text, options.classic, glyphs);
    ASSERT_FALSE(raw.characters.empty());
    rawOutline[name] = signedArea(raw.characters[0].contours.at(0).points);
    options.format = OutputFormat::Svg;
    exportDrawingFile(dir.file("t.svg"), text, options, glyphs);
    views[name] = checkCutOrder(dir.file("t.svg"));
    expectSound(views[name]);
    ASSERT_EQ(views[name].depths.size(), kHoled.size());
  }
  EXPECT_LT(rawOutline["Liberation Sans"], 0);
  EXPECT_GT(rawOutline["Cantarell"], 0);
  for (std::size_t i = 0; i < kHoled.size(); ++i) {
    EXPECT_EQ(sortedDepths(views["Liberation Sans"].depths[i]),
              sortedDepths(views["Cantarell"].depths[i]))
        << "character " << i;
  }
  EXPECT_EQ(views["Cantarell"].depths[0], "1,0");    // o: the hole, then the outline
  EXPECT_EQ(views["Cantarell"].depths[1], "1,1,0");  // B
}

// Every printable ASCII character and some with rings in rings, in three faces and two lines.
MemoryText realText() {
  std::u32string chars;
  for (char32_t c = 33; c < 127; ++c) chars += c;
  chars += U"\r\n\u00AE\u00A9\u00C5\u00D8\u00E6\u00DF\u20AC@&%";
  MemoryText text(chars, face("Liberation Serif", 12));
  for (std::int32_t pos = 40; pos <= 80; ++pos) text.setFont(pos, face("DejaVu Sans", 14, true));
  for (std::int32_t pos = 97; pos <= static_cast<std::int32_t>(chars.size()); ++pos) {
    text.setFont(pos, face("Cantarell", 16));
  }
  return text;
}

TEST(closed_font_test, real_readers_take_every_ring_of_a_real_text_as_closed) {
  TempDir dir;
  TTTFToVectorConverter converter;
  ConverterGlyphSource glyphs(converter);
  const MemoryText text = realText();
  ConversionOptions options;
  options.classic.layerText = "TEXT";
  options.classic.zLevelText = "-2";
  options.format = OutputFormat::Svg;
  DrawingExportReport report;
  exportDrawingFile(dir.file("t.svg"), text, options, glyphs, &report);
  const CutOrderView svg = checkCutOrder(dir.file("t.svg"));
  expectSound(svg);
  const std::string rings = "rings " + std::to_string(report.contours) + " ";
  EXPECT_NE(svg.summary.find(rings), std::string::npos) << svg.summary;

  options.format = OutputFormat::Closed;
  for (const int version : {12, 2000}) {
    SCOPED_TRACE(version);
    options.dxfVersion = version;
    options.units = version == 12 ? DrawingUnits::Millimetre : DrawingUnits::Inch;
    exportDrawingFile(dir.file("t.dxf"), text, options, glyphs);
    const std::string ezdxf = runPython("export/read_closed_dxf.py", {dir.file("t.dxf")});
    EXPECT_NE(ezdxf.find("\naudit 0 0\n"), std::string::npos) << ezdxf.substr(0, 2000);
    EXPECT_NE(ezdxf.find(version == 12 ? "\ninsunits 4\n" : "\ninsunits 1\n"), std::string::npos);
    std::size_t entities = 0;
    std::istringstream in(ezdxf);
    const std::string closed = version == 12 ? "entity POLYLINE TEXT 1 1 -2.0 "
                                             : "entity LWPOLYLINE TEXT 1 1 -2.0 ";
    for (std::string line; std::getline(in, line);) {
      if (line.rfind("entity ", 0) != 0) continue;
      ++entities;
      EXPECT_EQ(line.rfind(closed, 0), 0u) << line;
    }
    EXPECT_EQ(entities, report.contours);

    // dxf2gcode reads the unit and takes every polyline as one closed contour.
    const std::string cam = runPython("export/read_with_dxf2gcode.py", {dir.file("t.dxf")});
    EXPECT_NE(cam.find(version == 12 ? "units metric" : "units imperial"), std::string::npos) << cam;
    const std::string all = std::to_string(report.contours);
    EXPECT_NE(cam.find("contours " + all + " closed " + all + "\n"), std::string::npos)
        << cam.substr(0, 2000);
  }
}

// A ring's points as the DXF texts "x y", in a set: the same ring whatever its start or
// direction.
using PointTexts = std::set<std::pair<std::string, std::string>>;

// The contours of a "Lines + Z moves" file: from each plunge (a LINE going down at one X and
// Y) to its retract, the points of every stroke in between.
std::multiset<PointTexts> linesFileContours(const std::string& bytes) {
  const auto l = dxfLines(bytes);
  std::multiset<PointTexts> out;
  PointTexts current;
  bool open = false;
  for (std::size_t i = 4; i + 16 <= l.size(); i += 16) {
    const std::string x1 = l[i + 5], y1 = l[i + 7], z1 = l[i + 9];
    const std::string x2 = l[i + 11], y2 = l[i + 13], z2 = l[i + 15];
    if (z1 != z2) {  // a plunge or a retract
      if (open) out.insert(current);
      current.clear();
      open = !open;
      continue;
    }
    current.insert({x1, y1});
    current.insert({x2, y2});
  }
  return out;
}

// The rings of a closed-polyline R12 file, vertex by vertex.
std::multiset<PointTexts> closedFileContours(const std::string& bytes) {
  const auto l = dxfLines(bytes);
  std::multiset<PointTexts> out;
  PointTexts current;
  bool inPolyline = false;
  for (std::size_t i = 0; i + 1 < l.size(); i += 2) {
    if (l[i] == "  0" && l[i + 1] == "POLYLINE") {
      inPolyline = true;
      current.clear();
    } else if (l[i] == "  0" && l[i + 1] == "SEQEND") {
      out.insert(current);
      inPolyline = false;
    } else if (inPolyline && l[i] == "  0" && l[i + 1] == "VERTEX") {
      current.insert({l[i + 5], l[i + 7]});
    }
  }
  return out;
}

TEST(closed_font_test, closed_polyline_vertices_are_the_points_of_the_lines_file) {
  TempDir dir;
  TTTFToVectorConverter converter;
  ConverterGlyphSource glyphs(converter);
  const MemoryText text = realText();
  ConversionOptions options;
  options.classic.resolution = 5;
  exportDrawingFile(dir.file("lines.dxf"), text, options, glyphs);
  options.format = OutputFormat::Closed;
  exportDrawingFile(dir.file("closed.dxf"), text, options, glyphs);
  const auto lines = linesFileContours(readFile(dir.file("lines.dxf")));
  const auto closed = closedFileContours(readFile(dir.file("closed.dxf")));
  EXPECT_GT(lines.size(), 150u);
  EXPECT_EQ(closed.size(), lines.size());
  EXPECT_TRUE(closed == lines);
}

// LibreCAD, a CAD program of its own, must draw every DXF form of one text alike: the picture
// it prints fitted to a page has the proportions of the extent ezdxf reads, and the same box in
// all four forms.
TEST(closed_font_test, librecad_draws_every_dxf_form_of_a_text_alike) {
  TempDir dir;
  TTTFToVectorConverter converter;
  ConverterGlyphSource glyphs(converter);
  MemoryText text(U"AVATAR\r\nTo Wa", face("Liberation Sans", 36));
  ConversionOptions options;
  options.classic.pitchText = "-7";
  struct Form {
    const char* file;
    OutputFormat format;
    int version;
  };
  std::vector<int> first;
  for (const Form& f : {Form{"lines.dxf", OutputFormat::Lines, 12},
                        Form{"polylines.dxf", OutputFormat::PolyLines, 12},
                        Form{"r12.dxf", OutputFormat::Closed, 12},
                        Form{"r2000.dxf", OutputFormat::Closed, 2000}}) {
    SCOPED_TRACE(f.file);
    options.format = f.format;
    options.dxfVersion = f.version;
    exportDrawingFile(dir.file(f.file), text, options, glyphs);
    std::istringstream seen(runPython("export/render_with_librecad.py", {dir.file(f.file)}));
    std::string word;
    std::vector<int> ink(4);
    std::vector<double> extent(4);
    seen >> word >> ink[0] >> ink[1] >> ink[2] >> ink[3];
    ASSERT_EQ(word, "ink") << seen.str();
    ASSERT_TRUE(seen) << "LibreCAD drew nothing: " << seen.str();
    seen >> word >> extent[0] >> extent[1] >> extent[2] >> extent[3];
    ASSERT_EQ(word, "extent") << seen.str();
    const double inkWidth = ink[2] - ink[0];
    const double inkHeight = ink[3] - ink[1];
    ASSERT_GT(inkHeight, 100) << seen.str();
    // A pixel of either side of the box is the whole uncertainty of the picture.
    const double aspect = (extent[2] - extent[0]) / (extent[3] - extent[1]);
    EXPECT_NEAR(inkWidth / inkHeight, aspect, aspect * (1.0 / inkWidth + 1.0 / inkHeight) * 2);
    if (first.empty()) {
      first = ink;
    } else {
      for (int i = 0; i < 4; ++i) EXPECT_NEAR(ink[i], first[i], 1) << i;
    }
  }
}

}  // namespace
}  // namespace kerfline
