// Single-line faces through the converter and every output form, read back by ezdxf.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "export/converter_glyph_source.h"
#include "export/drawing_export.h"
#include "export/drawing_layout.h"
#include "export/dxf_export.h"
#include "export/text_export.h"
#include "export_test_support.h"
#include "geometry/retraced_path.h"
#include "richtext/document_loader.h"
#include "vectorizer/UTTF2Vct.h"
#include "vectorizer/outline_walk.h"
#include "vectorizer/single_line_faces.h"

namespace kerfline {
namespace {

using test::FakeGlyphs;
using test::MemoryText;
using test::TempDir;

std::optional<TStrokeCollection> convert(const std::string& face, char32_t c) {
  TTTFToVectorConverter converter;
  TFontDescription f;
  f.Name = face;
  converter.SetFont(f);
  converter.SetPrecision(4);
  converter.SetUNICODE(true);
  return converter.ConvertChar(static_cast<std::int32_t>(c));
}

std::string fileOf(std::string_view name) {
  const std::unique_ptr<SingleLineFace> face = SingleLineFaces::shared().lookup(name);
  return face ? face->path : "(none)";
}

TEST(single_line_faces, names_find_faces_regardless_of_case_and_blanks) {
  EXPECT_EQ(fileOf("iso 3098"), "/usr/share/librecad/fonts/iso3098.lff");
  EXPECT_EQ(fileOf("ISO3098 (single-line)"), "/usr/share/librecad/fonts/iso3098.lff");
  // Two files call themselves ISO3098: the one not named so carries its file name.
  EXPECT_EQ(fileOf("iso3098 (iso3098_i)"), "/usr/share/librecad/fonts/iso3098_i.lff");
  EXPECT_EQ(fileOf("Hershey Sans"), "/usr/share/hershey-fonts/futural.jhf");
  EXPECT_EQ(fileOf("HERSHEY SERIF"), "/usr/share/hershey-fonts/rowmans.jhf");
  // Three files call themselves "Roman Simplex"; the bare name takes the first file.
  EXPECT_EQ(fileOf("Roman Simplex"), "/usr/share/librecad/fonts/romans.lff");
  EXPECT_EQ(fileOf("Roman Simplex (simplex)"), "/usr/share/librecad/fonts/simplex.lff");
  // Names documents use for outline faces stay theirs.
  EXPECT_EQ(fileOf("Symbol"), "(none)");
  EXPECT_EQ(fileOf("Liberation Sans"), "(none)");
  EXPECT_EQ(fileOf("Symbol (symbol.lff)"), "/usr/share/librecad/fonts/symbol.lff");

  // Every installed file is a face, each name once.
  const std::vector<SingleLineFace> faces = SingleLineFaces::shared().faces();
  std::set<std::string> paths, keys;
  for (const SingleLineFace& f : faces) {
    paths.insert(f.path);
    keys.insert(faceKey(f.name));
  }
  EXPECT_EQ(faces.size(), 32u + 46u);
  EXPECT_EQ(paths.size(), faces.size());
  EXPECT_EQ(keys.size(), faces.size());
}

TEST(single_line_faces, the_users_folder_adds_faces) {
  TempDir dir;
  std::filesystem::create_directories(dir.path() / "a");
  std::filesystem::create_directories(dir.path() / "b");
  const std::string plate = "# Name: Plate Letters\n[0041] A\n0,0;4,9;8,0\n";
  test::writeFile(dir.file("a/plate.lff"), plate);
  test::writeFile(dir.file("b/plate.lff"), plate);
  test::writeFile(dir.file("b/nameless.LFF"), "[0041] A\n0,0;1,1\n");
  test::writeFile(dir.file("b/notes.txt"), "not a font");
  test::writeFile(dir.file("b/latin1.lff"), "# Name: Gr\xfcn\n[0041] A\n0,0;1,1\n");
  SingleLineFaces faces({dir.file("a"), dir.file("b"), dir.file("missing")});
  std::vector<std::string> names;
  for (const SingleLineFace& f : faces.faces()) names.push_back(f.name);
  // A name that is not UTF-8 gives way to the file's name.
  EXPECT_EQ(names, (std::vector<std::string>{"latin1", "nameless", "Plate Letters (plate)",
                                             "Plate Letters (plate) 2"}));
  const LoadedSingleLineFace* font = faces.find("plateletters");
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(font->font.glyphs.size(), 1u);

  ::setenv("XDG_DATA_HOME", "/srv/data", 1);
  EXPECT_EQ(defaultSingleLineFolders().back(), "/srv/data/kerfline/fonts");
  ::unsetenv("XDG_DATA_HOME");
  ::setenv("HOME", "/home/someone", 1);
  EXPECT_EQ(defaultSingleLineFolders().back(), "/home/someone/.local/share/kerfline/fonts");
}

TEST(single_line_converter, capitals_as_tall_as_liberation_sans_and_missing_characters_fall_back) {
  const std::optional<TStrokeCollection> liberation = convert("Liberation Sans", U'H');
  ASSERT_TRUE(liberation);
  EXPECT_FALSE(liberation->openPaths());
  const TRect reference = liberation->GetBounds();
  // Liberation Sans: "H" from 0 to 1409 of 2048 units; at the em of 1365 that is 939.
  EXPECT_EQ(reference.Bottom - reference.Top, 939);
  for (const char* face : {"ISO 3098", "Hershey Sans", "Hershey Serif", "Roman Simplex", "Unicode"}) {
    SCOPED_TRACE(face);
    const std::optional<TStrokeCollection> h = convert(face, U'H');
    ASSERT_TRUE(h);
    EXPECT_TRUE(h->openPaths());
    EXPECT_EQ(h->Count(), 3);  // two stems and a bar, three paths of one stroke
    const TRect r = h->GetBounds();
    EXPECT_EQ(r.Top, 0);
    EXPECT_EQ(r.Bottom, 939);
  }
  // Advances for a layout by the font's own spacing: ISO3098 "H" ends at x 7.81 and the face
  // adds no letter spacing; a space advances by its word spacing, 6.75; both at the face's
  // scale, its "H" being 8.75 tall.
  TTTFToVectorConverter converter;
  TFontDescription iso;
  iso.Name = "ISO 3098";
  converter.SetFont(iso);
  EXPECT_TRUE(converter.SingleLineFont());
  EXPECT_DOUBLE_EQ(converter.SingleLineAdvance(U'H').value_or(-1), 7.81 * kReferenceCapHeight / 8.75);
  EXPECT_DOUBLE_EQ(converter.SingleLineAdvance(U' ').value_or(-1), 6.75 * kReferenceCapHeight / 8.75);
  EXPECT_FALSE(converter.SingleLineAdvance(U'\u2192'));
  iso.Name = "Liberation Sans";
  converter.SetFont(iso);
  EXPECT_FALSE(converter.SingleLineFont());
  EXPECT_FALSE(converter.SingleLineAdvance(U'H'));

  // "→" is not in ISO 3098: the outline face fontconfig offers for an unknown name draws it.
  const std::optional<TStrokeCollection> arrow = convert("ISO 3098", U'\u2192');
  const std::optional<TStrokeCollection> unknown = convert("No Such Face Anywhere", U'\u2192');
  ASSERT_TRUE(arrow);
  ASSERT_TRUE(unknown);
  EXPECT_FALSE(arrow->openPaths());
  EXPECT_EQ(arrow->strokes(), unknown->strokes());
}

// Tool paths as tool_paths.py replays them from a Lines file.
struct ToolPath {
  int segments = 0;
  bool closed = false;
  double minX = 0, maxX = 0, minY = 0, maxY = 0;
};

std::vector<ToolPath> toolPaths(const std::string& dxf, std::vector<std::string>& faults) {
  const std::string out = test::runPython("export/tool_paths.py", {dxf});
  std::istringstream in(out);
  std::vector<ToolPath> paths;
  std::string word;
  while (in >> word) {
    if (word == "PATH") {
      ToolPath p;
      std::string kind;
      in >> p.segments >> kind >> p.minX >> p.maxX >> p.minY >> p.maxY;
      p.closed = kind == "closed";
      paths.push_back(p);
    } else {
      std::string rest;
      std::getline(in, rest);
      faults.push_back(word + rest);
    }
  }
  return paths;
}

constexpr const char* kMixedRtf =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 ISO 3098;}{\\f1 Liberation Sans;}}\n"
    "\\f0\\fs40 EN1\\f1 EN1\\par}\n";

TEST(single_line_export, mixed_line_cuts_open_paths_where_single_line_and_closed_elsewhere) {
  TempDir dir;
  test::writeFile(dir.file("mixed.rtf"), kMixedRtf);
  const StyledText text = loadDocument(dir.file("mixed.rtf"), TFontDescription{});
  ExportSettings settings;
  TTTFToVectorConverter converter;
  FileSave(dir.file("lines.dxf"), text, settings, converter);
  SavePoly2(dir.file("poly.dxf"), text, settings, converter);

  std::vector<std::string> faults;
  const std::vector<ToolPath> paths = toolPaths(dir.file("lines.dxf"), faults);
  EXPECT_TRUE(faults.empty()) << faults.front();  // every plunge paired with a retract
  // ISO 3098 draws "E" as a three-stroke path and a bar, "N" as one path of three strokes
  // (its file continues each line where the last ended) and "1" as one of two; Liberation
  // Sans's three characters are one closed outline each.
  ASSERT_EQ(paths.size(), 4u + 3u);
  const int segments[] = {3, 1, 3, 2};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(paths[i].segments, segments[i]) << i;
    EXPECT_FALSE(paths[i].closed) << i;
  }
  for (int i = 4; i < 7; ++i) EXPECT_TRUE(paths[i].closed) << i;
  // Both "E"s have one height: 1409/2048 of the em, at 20 points 0.18 * 20/1000 * 939 units.
  EXPECT_EQ(paths[0].maxY - paths[0].minY, paths[4].maxY - paths[4].minY);
  EXPECT_NEAR(paths[0].maxY, 939 * 0.18 * 0.02, 1e-5);

  // PolyLines XY only: one two-vertex POLYLINE per cut segment of the Lines file.
  int cut = 0;
  for (const ToolPath& p : paths) cut += p.segments;
  const std::string summary = test::runPython("export/read_dxf.py", {dir.file("poly.dxf")});
  EXPECT_EQ(summary.substr(0, summary.find('\n')),
            "LINE 0 POLYLINE " + std::to_string(cut) + " VERTEX " + std::to_string(2 * cut));

  // The contour model: open paths of segments + 1 points, closed rings elsewhere.
  TTTFToVectorConverter again;
  ConverterGlyphSource glyphs(again);
  const Drawing drawing = layoutDrawing(text, settings, glyphs);
  ASSERT_EQ(drawing.characters.size(), 6u);
  std::vector<std::pair<bool, std::size_t>> contours;
  for (const PlacedCharacter& c : drawing.characters)
    for (const Contour& k : c.contours) contours.emplace_back(k.closed, k.points.size());
  EXPECT_EQ(contours[0], std::make_pair(false, std::size_t{4}));
  EXPECT_EQ(contours[1], std::make_pair(false, std::size_t{2}));
  EXPECT_EQ(contours[2], std::make_pair(false, std::size_t{4}));
  EXPECT_EQ(contours[3], std::make_pair(false, std::size_t{3}));
  for (std::size_t i = 4; i < contours.size(); ++i) EXPECT_TRUE(contours[i].first);
}

TEST(single_line_export, open_paths_and_dots_in_the_lines_form_and_the_drawing) {
  // An "i" of a single-line face: a stem path of two strokes, then a dot (a stroke from a
  // point to itself), then a path that happens to end where it began.
  FakeGlyphs glyphs;
  glyphs.setStrokes(U'i',
                    {{0, 0, 0, 0, 300}, {0, 0, 300, 0, 600}, {1, 0, 800, 0, 800},
                     {2, 100, 0, 200, 0}, {2, 200, 0, 100, 0}},
                    true);
  MemoryText text(U"ii");
  TempDir dir;
  saveLinesDxf(dir.file("i.dxf"), text, ExportSettings{}, glyphs, nullptr);
  std::vector<std::string> faults;
  const std::vector<ToolPath> paths = toolPaths(dir.file("i.dxf"), faults);
  EXPECT_TRUE(faults.empty()) << faults.front();
  ASSERT_EQ(paths.size(), 6u);
  EXPECT_EQ(paths[0].segments, 2);
  EXPECT_FALSE(paths[0].closed);
  EXPECT_EQ(paths[1].segments, 0);  // the dot: down and up again, nothing cut
  EXPECT_NEAR(paths[1].minY, 800 * 0.18 * 0.028, 1e-6);
  EXPECT_EQ(paths[2].segments, 2);  // cut out and back as the face draws it
  // The second "i" starts after the first one's rightmost point, stretched by 10 %.
  EXPECT_NEAR(paths[3].minX, 1.1f * float(200 * 0.18 * 0.028), 1e-6);

  const Drawing drawing = layoutDrawing(text, ExportSettings{}, glyphs);
  ASSERT_EQ(drawing.characters.size(), 2u);
  const std::vector<Contour>& k = drawing.characters[0].contours;
  ASSERT_EQ(k.size(), 3u);
  EXPECT_FALSE(k[0].closed);
  EXPECT_EQ(k[0].points.size(), 3u);
  EXPECT_FALSE(k[1].closed);
  EXPECT_EQ(k[1].points.size(), 1u);
  EXPECT_FALSE(k[2].closed);
  EXPECT_EQ(k[2].points.size(), 3u);  // an open path keeps its last point, even its first again

  // Every route to the Lines form cuts the same paths, the dot a plunge and a retract: the
  // drawing as placed, the stroke walk scaled to a fit size (its own width: factor 1), and the
  // drawing made ready to cut and welded (a weld leaves open paths as they are).
  ConversionOptions fit;
  fit.fitWidth = drawing.extent().width();
  ConversionOptions welded;
  welded.weld = true;
  saveLinesDxf(dir.file("drawing.dxf"), drawing, ExportSettings{});
  exportDrawingFile(dir.file("fit.dxf"), text, fit, glyphs);
  exportDrawingFile(dir.file("welded.dxf"), text, welded, glyphs);
  for (const char* route : {"drawing.dxf", "fit.dxf", "welded.dxf"}) {
    const std::vector<ToolPath> again = toolPaths(dir.file(route), faults);
    EXPECT_TRUE(faults.empty()) << route;
    ASSERT_EQ(again.size(), paths.size()) << route;
    int dots = 0;
    for (const ToolPath& p : again) dots += p.segments == 0 && p.minY == paths[1].minY;
    EXPECT_EQ(dots, 2) << route;
  }
}

TEST(retracing_contour, a_stroke_drawn_out_and_back_is_cut_once) {
  // A "V" drawn as one contour out along its strokes and back: (0,9) (4,0) (8,9) (4,0).
  const std::vector<Vec2> v{{0, 9}, {4, 0}, {8, 9}, {4, 0}};
  EXPECT_EQ(retracedPath(v), (std::vector<Vec2>{{0, 9}, {4, 0}, {8, 9}}));
  // Starting mid-way: read from the first turn, at (8,9).
  const std::vector<Vec2> rotated{{4, 0}, {8, 9}, {4, 0}, {0, 9}};
  EXPECT_EQ(retracedPath(rotated), (std::vector<Vec2>{{8, 9}, {4, 0}, {0, 9}}));
  EXPECT_EQ(retracedPath({{1, 1}, {5, 1}}), (std::vector<Vec2>{{1, 1}, {5, 1}}));
  // The way back rounded one unit off the way out: a retrace within the tolerance only.
  const std::vector<Vec2> off{{0, 0}, {510, 210}, {912, 433}, {511, 210}};
  EXPECT_FALSE(retracedPath(off));
  EXPECT_EQ(retracedPath(off, 1.5), (std::vector<Vec2>{{0, 0}, {510, 210}, {912, 433}}));
  EXPECT_FALSE(retracedPath({{0, 0}, {510, 210}, {912, 433}, {513, 210}}, 1.5));
  // Area, however thin, is no retrace; nor is a path that comes back by another way.
  EXPECT_FALSE(retracedPath({{0, 0}, {1, 0}, {1, 100}, {0, 100}}));
  EXPECT_FALSE(retracedPath({{0, 0}, {4, 0}, {4, 4}, {4, 0}, {0, 0.5}, {-1, 0}}));
  EXPECT_FALSE(retracedPath({{0, 0}, {4, 0}, {8, 0}}));

  // Through the walk: a hand-made glyph of a retracing contour becomes one open path.
  FakeGlyphs glyphs;
  glyphs.set(U'v', {{{0, 900}, {400, 0}, {800, 900}, {400, 0}}});
  MemoryText text(U"v");
  const Drawing drawing = layoutDrawing(text, ExportSettings{}, glyphs);
  ASSERT_EQ(drawing.characters.size(), 1u);
  ASSERT_EQ(drawing.characters[0].contours.size(), 1u);
  EXPECT_FALSE(drawing.characters[0].contours[0].closed);
  EXPECT_EQ(drawing.characters[0].contours[0].points.size(), 3u);

  // A stroke of an engraving face with curves, out along a quadratic and a cubic piece and
  // back along the same pieces reversed, as such a face draws it; flattened by the converter's
  // own walk, the way back meets the same points.
  const OutlinePoint a{13.7, 0}, q{200.3, 611.1}, b{405.9, 300.2}, c1{500.4, -120.6},
      c2{700.2, 820.9}, e{911.5, 433.3};
  Outline outline{OutlinePolygon{a, {QuadraticRecord{{q, b}}, CubicRecord{{c1, c2, e}},
                                     CubicRecord{{c2, c1, b}}, QuadraticRecord{{q, a}}}}};
  for (int precision : {2, 7, 16}) {
    TStrokeCollection walked;
    walkOutline(outline, precision, walked);
    FakeGlyphs curved;
    curved.setStrokes(U's', walked.strokes());
    const Drawing d = layoutDrawing(MemoryText(U"s"), ExportSettings{}, curved);
    ASSERT_EQ(d.characters.size(), 1u);
    ASSERT_EQ(d.characters[0].contours.size(), 1u);
    EXPECT_FALSE(d.characters[0].contours[0].closed) << precision;
    EXPECT_EQ(d.characters[0].contours[0].points.size(), std::size_t(2 * precision + 1)) << precision;
  }

  // No glyph of an ordinary face retraces: every printable ASCII character of narrow,
  // condensed and light faces keeps closed rings only.
  TTTFToVectorConverter outlines;
  ConverterGlyphSource faces(outlines);
  std::u32string ascii;
  for (char32_t c = 33; c < 127; ++c) ascii += c;
  for (const char* name : {"Liberation Sans Narrow", "Nimbus Sans Narrow", "DejaVu Sans Condensed",
                           "DejaVu Sans Mono", "Liberation Serif", "Cantarell"}) {
    TFontDescription f;
    f.Name = name;
    f.Size = 8;  // the smallest drawing: the tolerance is the same number of outline units
    const Drawing d = layoutDrawing(MemoryText(ascii, f), ExportSettings{}, faces);
    for (const PlacedCharacter& c : d.characters)
      for (const Contour& k : c.contours) EXPECT_TRUE(k.closed) << name << " " << char(c.character);
  }

  // The "l" of a condensed face is a thin ring, and stays one.
  TTTFToVectorConverter converter;
  ConverterGlyphSource real(converter);
  TFontDescription narrow;
  narrow.Name = "Liberation Sans Narrow";
  MemoryText l(U"l", narrow);
  const Drawing ld = layoutDrawing(l, ExportSettings{}, real);
  ASSERT_EQ(ld.characters.size(), 1u);
  ASSERT_EQ(ld.characters[0].contours.size(), 1u);
  EXPECT_TRUE(ld.characters[0].contours[0].closed);
}

}  // namespace
}  // namespace kerfline
