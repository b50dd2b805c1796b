// The closed-polyline DXF, line by line for R12, and read back by ezdxf (strict readfile and
// audit) for both versions.
#include "export/closed_dxf_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <sstream>

#include "export/dxf_layer.h"
#include "export_test_support.h"

namespace kerfline {
namespace {

using test::TempDir;
using test::sampleDrawing;
using test::dxfLines;
using test::readFile;
using test::runPython;


ConversionOptions closedOptions(int version) {
  ConversionOptions o;
  o.format = OutputFormat::Closed;
  o.dxfVersion = version;
  o.classic.zLevelText = "-1.5";
  o.classic.zMoveText = "5";
  return o;
}

std::vector<std::string> lines(std::initializer_list<std::string> l) { return l; }

void append(std::vector<std::string>& to, const std::vector<std::string>& more) {
  to.insert(to.end(), more.begin(), more.end());
}

// What ezdxf made of a file: its fact lines (see read_closed_dxf.py), by first word.
struct ReaderView {
  std::map<std::string, std::string> facts;
  std::vector<std::string> auditReports;
  struct Entity {
    std::string type, layer;
    int flags = -1;
    bool closed = false;
    double elevation = 0;
    std::vector<std::array<double, 3>> vertices;
  };
  std::vector<Entity> entities;
};

ReaderView readBack(const std::string& path) {
  const std::string out = runPython("export/read_closed_dxf.py", {path});
  ReaderView view;
  std::istringstream in(out);
  in.imbue(std::locale::classic());
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    words.imbue(std::locale::classic());
    std::string first;
    words >> first;
    if (first == "entity") {
      ReaderView::Entity e;
      int closed = 0;
      std::size_t count = 0;
      words >> e.type >> e.layer >> e.flags >> closed >> e.elevation >> count;
      e.closed = closed != 0;
      view.entities.push_back(e);
    } else if (first == "vertex") {
      std::array<double, 3> v{};
      words >> v[0] >> v[1] >> v[2];
      if (view.entities.empty()) ADD_FAILURE() << "vertex before entity";
      else view.entities.back().vertices.push_back(v);
    } else if (first == "error" || first == "fix") {
      view.auditReports.push_back(line);
    } else if (!first.empty()) {
      std::string rest;
      std::getline(words, rest);
      view.facts[first] = rest.empty() ? rest : rest.substr(1);
    }
  }
  if (view.facts.count("version") == 0) ADD_FAILURE() << "reader said: " << out;
  return view;
}

// The reader saw exactly the drawing: one polyline per contour in order, closed as the
// contour, every vertex at its single-precision place and at the cutting depth.
void expectSameContours(const ReaderView& view, const Drawing& drawing, const std::string& type,
                        double z) {
  std::size_t i = 0;
  for (const PlacedCharacter& c : drawing.characters) {
    for (const Contour& k : c.contours) {
      ASSERT_LT(i, view.entities.size());
      const ReaderView::Entity& e = view.entities[i++];
      EXPECT_EQ(e.type, type);
      EXPECT_EQ(e.layer, drawing.layer);
      EXPECT_EQ(e.flags, k.closed ? 1 : 0);
      EXPECT_EQ(e.closed, k.closed);
      EXPECT_EQ(e.elevation, z);
      ASSERT_EQ(e.vertices.size(), k.points.size());
      for (std::size_t p = 0; p < k.points.size(); ++p) {
        EXPECT_EQ(e.vertices[p][0], static_cast<float>(k.points[p].x));
        EXPECT_EQ(e.vertices[p][1], static_cast<float>(k.points[p].y));
        EXPECT_EQ(e.vertices[p][2], z);
      }
    }
  }
  EXPECT_EQ(i, view.entities.size());
}

TEST(closed_dxf_test, r12_is_a_complete_file_of_closed_polylines_line_by_line) {
  TempDir dir;
  saveClosedPolylineDxf(dir.file("c.dxf"), sampleDrawing(), closedOptions(12));
  std::vector<std::string> expected = lines({
      "  0", "SECTION", "  2", "HEADER",
      "  9", "$ACADVER", "  1", "AC1009",
      "  9", "$DWGCODEPAGE", "  3", "ANSI_1252",
      "  9", "$INSUNITS", " 70", "     4",
      "  9", "$MEASUREMENT", " 70", "     1",
      "  9", "$EXTMIN", " 10", "0", " 20", "-0.25", " 30", "-1.5",
      "  9", "$EXTMAX", " 10", "6.5", " 20", "4", " 30", "-1.5",
      "  0", "ENDSEC",
      "  0", "SECTION", "  2", "TABLES",
      "  0", "TABLE", "  2", "LTYPE", " 70", "     1",
      "  0", "LTYPE", "  2", "CONTINUOUS", " 70", "     0", "  3", "Solid line",
      " 72", "    65", " 73", "     0", " 40", "0",
      "  0", "ENDTAB",
      "  0", "TABLE", "  2", "LAYER", " 70", "     2",
      "  0", "LAYER", "  2", "0", " 70", "     0", " 62", "     7", "  6", "CONTINUOUS",
      "  0", "LAYER", "  2", "cut", " 70", "     0", " 62", "     7", "  6", "CONTINUOUS",
      "  0", "ENDTAB",
      "  0", "ENDSEC",
      "  0", "SECTION", "  2", "BLOCKS", "  0", "ENDSEC",
      "  0", "SECTION", "  2", "ENTITIES"});
  const auto polyline = [](const char* flag, std::vector<std::pair<std::string, std::string>> v) {
    std::vector<std::string> out = lines({"  0", "POLYLINE", "  8", "cut", " 66", "     1",
                                          " 10", "0", " 20", "0", " 30", "-1.5", " 70", flag});
    for (const auto& [x, y] : v) {
      append(out, lines({"  0", "VERTEX", "  8", "cut", " 10", x, " 20", y, " 30", "-1.5"}));
    }
    append(out, lines({"  0", "SEQEND", "  8", "cut"}));
    return out;
  };
  append(expected, polyline("     1", {{"1", "1"}, {"1", "2.5"}, {"3", "1"}}));
  append(expected, polyline("     1", {{"0", "-0.25"}, {"4", "-0.25"}, {"4", "4"}, {"0", "4"}}));
  append(expected, polyline("     0", {{"5", "0"}, {"6.5", "4"}}));
  append(expected, lines({"  0", "ENDSEC", "  0", "EOF"}));
  EXPECT_EQ(dxfLines(readFile(dir.file("c.dxf"))), expected);
}

TEST(closed_dxf_test, ezdxf_reads_both_versions_strictly_and_audits_them_clean) {
  TempDir dir;
  const Drawing drawing = sampleDrawing();
  for (const int version : {12, 2000}) {
    SCOPED_TRACE(version);
    saveClosedPolylineDxf(dir.file("c.dxf"), drawing, closedOptions(version));
    const ReaderView view = readBack(dir.file("c.dxf"));
    EXPECT_EQ(view.facts.at("version"), version == 12 ? "AC1009" : "AC1015");
    EXPECT_EQ(view.facts.at("audit"), "0 0");
    EXPECT_TRUE(view.auditReports.empty()) << view.auditReports.front();
    EXPECT_EQ(view.facts.at("insunits"), "4");
    EXPECT_EQ(view.facts.at("measurement"), "1");
    EXPECT_EQ(view.facts.at("extmin"), "0.0 -0.25 -1.5");
    EXPECT_EQ(view.facts.at("extmax"), "6.5 4.0 -1.5");
    EXPECT_EQ(view.facts.at("layers"), "0 cut");
    expectSameContours(view, drawing, version == 12 ? "POLYLINE" : "LWPOLYLINE", -1.5);
  }
}

TEST(closed_dxf_test, r2000_gives_every_object_its_own_handle_below_the_seed) {
  TempDir dir;
  saveClosedPolylineDxf(dir.file("c.dxf"), sampleDrawing(), closedOptions(2000));
  // Lines end in LF alone.
  const std::string bytes = readFile(dir.file("c.dxf"));
  EXPECT_EQ(bytes.find('\r'), std::string::npos);
  std::vector<std::string> l;
  std::istringstream in(bytes);
  for (std::string line; std::getline(in, line);) l.push_back(line);
  ASSERT_EQ(l.size() % 2, 0u);
  EXPECT_EQ(l.back(), "EOF");
  std::set<unsigned long> handles;
  unsigned long seed = 0;
  std::size_t lwpolylines = 0;
  bool inHeader = true;  // where group 5 is the seed's value, not a handle
  for (std::size_t i = 0; i + 1 < l.size(); i += 2) {
    if (l[i] == "  9" && l[i + 1] == "$HANDSEED") seed = std::stoul(l[i + 3], nullptr, 16);
    if (l[i] == "  0" && l[i + 1] == "ENDSEC") inHeader = false;
    if (!inHeader && (l[i] == "  5" || l[i] == "105")) {
      EXPECT_TRUE(handles.insert(std::stoul(l[i + 1], nullptr, 16)).second) << l[i + 1];
    }
    if (l[i] == "  0" && l[i + 1] == "LWPOLYLINE") {
      ++lwpolylines;
      // Handle, owner (the model space's block record), subclass markers, in this order.
      EXPECT_EQ(l[i + 2], "  5");
      EXPECT_EQ(l[i + 4], "330");
      EXPECT_EQ(l[i + 5], "18");
      EXPECT_EQ(l[i + 6], "100");
      EXPECT_EQ(l[i + 7], "AcDbEntity");
      EXPECT_EQ(l[i + 10], "100");
      EXPECT_EQ(l[i + 11], "AcDbPolyline");
    }
  }
  EXPECT_EQ(lwpolylines, 3u);
  ASSERT_FALSE(handles.empty());
  EXPECT_GT(seed, *handles.rbegin());
}

TEST(closed_dxf_test, inches_empty_drawings_and_foreign_layer_names_read_back) {
  TempDir dir;
  Drawing empty;
  ConversionOptions options = closedOptions(12);
  options.units = DrawingUnits::Inch;
  for (const int version : {12, 2000}) {
    SCOPED_TRACE(version);
    options.dxfVersion = version;
    saveClosedPolylineDxf(dir.file("e.dxf"), empty, options);
    const ReaderView view = readBack(dir.file("e.dxf"));
    EXPECT_EQ(view.facts.at("audit"), "0 0");
    EXPECT_EQ(view.facts.at("insunits"), "1");
    EXPECT_EQ(view.facts.at("measurement"), "0");
    EXPECT_EQ(view.facts.at("layers"), "0");
    EXPECT_TRUE(view.entities.empty());

    // The layer field's text as every DXF form writes it: Windows-1252 bytes.
    Drawing d = sampleDrawing();
    d.layer = dxfLayerName("Fräse 1");
    saveClosedPolylineDxf(dir.file("l.dxf"), d, options);
    const ReaderView named = readBack(dir.file("l.dxf"));
    EXPECT_EQ(named.facts.at("audit"), "0 0");
    EXPECT_EQ(named.facts.at("layers"), "0 Fräse 1");
    ASSERT_EQ(named.entities.size(), 3u);
    EXPECT_EQ(named.entities[0].layer, "Fräse");  // the reader's line splits at the blank

    // Characters no layer table may hold: a strict reader refuses the file with them.
    d.layer = dxfLayerName("a<b>*?|=:;\"/\\`x");
    saveClosedPolylineDxf(dir.file("l.dxf"), d, options);
    const ReaderView safe = readBack(dir.file("l.dxf"));
    EXPECT_EQ(safe.facts.at("audit"), "0 0");
    EXPECT_EQ(safe.facts.at("layers"), "0 a_b___________x");
  }
}

TEST(closed_dxf_test, failures_leave_the_previous_file_and_nothing_else) {
  TempDir dir;
  test::writeFile(dir.file("c.dxf"), "previous");
  Drawing d = sampleDrawing();
  d.characters[0].contours[1].points[2].x = std::nan("");
  for (const int version : {12, 2000}) {
    EXPECT_ERROR_MSG(saveClosedPolylineDxf(dir.file("c.dxf"), d, closedOptions(version)),
                     "Coordinate out of range.");
  }
  d.characters[0].contours[1].points[2].x = 1e39;  // beyond single precision
  EXPECT_ERROR_MSG(saveClosedPolylineDxf(dir.file("c.dxf"), d, closedOptions(12)),
                   "Coordinate out of range.");
  EXPECT_ERROR_MSG(saveClosedPolylineDxf(dir.file("c.dxf"), sampleDrawing(), closedOptions(14)),
                   "The DXF version must be 12 or 2000.");
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"c.dxf"});
  EXPECT_EQ(readFile(dir.file("c.dxf")), "previous");
}

}  // namespace
}  // namespace kerfline
