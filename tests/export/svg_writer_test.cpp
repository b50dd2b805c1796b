// The SVG writer: the whole file for a hand-made drawing, numbers against Python's shortest
// single-precision decimals, and the file parsed by Python's XML parser and drawn by
// rsvg-convert.
#include "export/svg_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "export/dxf_layer.h"
#include "export_test_support.h"

namespace kerfline {
namespace {

using test::TempDir;
using test::sampleDrawing;
using test::readFile;
using test::runPython;


// What Python saw (see read_svg.py), by first word.
std::map<std::string, std::string> readBack(const std::string& svg, const std::string& png) {
  const std::string out = runPython("export/read_svg.py", {svg, png});
  std::map<std::string, std::string> facts;
  std::istringstream in(out);
  std::string line;
  while (std::getline(in, line)) {
    const auto blank = line.find(' ');
    if (blank != std::string::npos) facts[line.substr(0, blank)] = line.substr(blank + 1);
  }
  if (facts.count("png") == 0) ADD_FAILURE() << "reader said: " << out;
  return facts;
}

TEST(svg_writer_test, the_whole_file_of_a_small_drawing) {
  TempDir dir;
  saveSvg(dir.file("a.svg"), sampleDrawing(), ConversionOptions{});
  EXPECT_EQ(readFile(dir.file("a.svg")),
            "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n"
            "<svg xmlns=\"http://www.w3.org/2000/svg\" "
            "xmlns:inkscape=\"http://www.inkscape.org/namespaces/inkscape\" version=\"1.1\" "
            "width=\"6.5mm\" height=\"4.25mm\" viewBox=\"0 -4 6.5 4.25\">\n"
            "<g id=\"cut\" inkscape:label=\"cut\" inkscape:groupmode=\"layer\" fill=\"none\" "
            "stroke=\"#000000\" stroke-width=\"0.0254\">\n"
            "<path d=\"M1 -1 1 -2.5 3 -1Z M0 0.25 4 0.25 4 -4 0 -4Z M5 0 6.5 -4\"/>\n"
            "</g>\n"
            "</svg>\n");
}

TEST(svg_writer_test, numbers_are_the_shortest_plain_decimals_of_the_float) {
  // Expected texts from numpy: format_float_positional(float32(v), unique=True, trim='-'),
  // except that where several texts of the same length read back as the float (whole
  // numbers beyond 2^24), the writer takes the exact one.
  const struct {
    float v;
    const char* text;
  } table[] = {
      {0.1f, "0.1"},
      {1e-7f, "0.0000001"},
      {123456789.0f, "123456792"},
      {-2.5f, "-2.5"},
      {0.3333333432674408f, "0.33333334"},
      {-1234.5677490234375f, "-1234.5677"},
      {1e15f, "999999986991104"},
      {3.4028234663852886e38f, "340282346638528859811704183484516925440"},
      {1.401298464324817e-45f, "0.000000000000000000000000000000000000000000001"},
      {-0.0f, "0"},
  };
  for (const auto& row : table) {
    std::string out;
    appendSvgNumber(out, row.v);
    EXPECT_EQ(out, row.text);
  }
  std::string out;
  EXPECT_ERROR_MSG(appendSvgNumber(out, std::nanf("")), "Coordinate out of range.");
  EXPECT_ERROR_MSG(appendSvgNumber(out, -INFINITY), "Coordinate out of range.");
}

TEST(svg_writer_test, layer_ids_are_xml_names_and_labels_keep_the_name) {
  EXPECT_EQ(svgLayerId("cut"), "cut");
  EXPECT_EQ(svgLayerId("Cut_2.outer-line"), "Cut_2.outer-line");
  EXPECT_EQ(svgLayerId("0"), "_0");  // the default layer: an id may not start with a digit
  EXPECT_EQ(svgLayerId("engrave 1"), "engrave_1");
  EXPECT_EQ(svgLayerId("Fräse"), "Fr__se");  // two UTF-8 bytes
  EXPECT_EQ(svgLayerId("-x"), "_-x");

  TempDir dir;
  Drawing d = sampleDrawing();
  d.layer = dxfLayerName("a&b \"<Fräse>\"");
  ConversionOptions inches;
  inches.units = DrawingUnits::Inch;
  saveSvg(dir.file("l.svg"), d, inches);
  const auto facts = readBack(dir.file("l.svg"), dir.file("l.png"));
  EXPECT_EQ(facts.at("layer"), "a_b___Fr__se__ layer a&b \"<Fräse>\"");
  EXPECT_EQ(facts.at("size"), "6.5in 4.25in");
}

TEST(svg_writer_test, python_parses_it_and_rsvg_draws_the_whole_extent) {
  TempDir dir;
  // Two characters far apart: the drawing's Y grows upward, the picture's downward.
  Drawing d = sampleDrawing();
  PlacedCharacter far = d.characters[0];
  for (Contour& k : far.contours) {
    for (Vec2& p : k.points) p = {p.x + 20, p.y - 10};
  }
  d.characters.push_back(far);
  saveSvg(dir.file("a.svg"), d, ConversionOptions{});
  const auto facts = readBack(dir.file("a.svg"), dir.file("a.png"));
  EXPECT_EQ(facts.at("size"), "26.5mm 14.25mm");
  EXPECT_EQ(facts.at("viewbox"), "0 -4 26.5 14.25");
  EXPECT_EQ(facts.at("paths"), "2 closed 4 open 2 points 18");
  EXPECT_EQ(facts.at("extent"), "0.0 -4.0 26.5 10.25");
  // The picture is inked from edge to edge: nothing of the drawing lies outside the viewBox,
  // and the viewBox holds no margin. rsvg keeps the aspect: 800 x 430.2, rounded up.
  int width = 0, height = 0, x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  std::string png, ink;
  std::istringstream in(facts.at("png"));
  in >> width >> height >> ink >> x0 >> y0 >> x1 >> y1;
  EXPECT_EQ(width, 800);
  EXPECT_EQ(height, 431);
  EXPECT_LE(x0, 1);
  EXPECT_LE(y0, 1);
  EXPECT_GE(x1, width - 1);
  EXPECT_GE(y1, height - 1);
}

TEST(svg_writer_test, an_empty_drawing_and_a_failed_write) {
  TempDir dir;
  saveSvg(dir.file("e.svg"), Drawing{}, ConversionOptions{});
  const std::string text = readFile(dir.file("e.svg"));
  EXPECT_NE(text.find("width=\"0mm\" height=\"0mm\" viewBox=\"0 0 0 0\""), std::string::npos);
  EXPECT_NE(text.find("<g id=\"_0\" inkscape:label=\"0\""), std::string::npos);

  test::writeFile(dir.file("a.svg"), "previous");
  Drawing d = sampleDrawing();
  d.characters[0].contours[0].points[1].y = INFINITY;
  EXPECT_ERROR_MSG(saveSvg(dir.file("a.svg"), d, ConversionOptions{}), "Coordinate out of range.");
  EXPECT_EQ(dir.entries(), (std::vector<std::string>{"a.svg", "e.svg"}));
  EXPECT_EQ(readFile(dir.file("a.svg")), "previous");
}

}  // namespace
}  // namespace kerfline
