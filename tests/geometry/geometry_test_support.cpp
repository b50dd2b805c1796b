#include "geometry_test_support.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <sstream>

#include "command_output.h"
#include "common/text_source.h"
#include "export/converter_glyph_source.h"
#include "export/drawing_layout.h"
#include "vectorizer/UTTF2Vct.h"

namespace kerfline::test {

Drawing layOut(std::u32string s, const TFontDescription& font, const ExportSettings& settings) {
  struct Text final : TextSource {
    std::u32string s;
    TFontDescription f;
    std::int32_t length() const override { return static_cast<std::int32_t>(s.size()); }
    char32_t charAt(std::int32_t pos) const override { return s[pos - 1]; }
    TFontDescription fontAt(std::int32_t) const override { return f; }
  } text;
  text.s = std::move(s);
  text.f = font;
  TTTFToVectorConverter converter;
  ConverterGlyphSource glyphs(converter);
  return layoutDrawing(text, settings, glyphs);
}

Contour square(double x, double y, double side, bool ccw) {
  Contour c;
  c.points = {{x, y}, {x + side, y}, {x + side, y + side}, {x, y + side}};
  if (!ccw) std::reverse(c.points.begin(), c.points.end());
  return c;
}

Contour circle(double cx, double cy, double r, int n, bool ccw) {
  Contour c;
  for (int i = 0; i < n; ++i) {
    const double a = 2 * std::numbers::pi * i / n * (ccw ? 1 : -1);
    c.points.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
  }
  return c;
}

PlacedCharacter character(std::int32_t pos, std::vector<Contour> contours, std::int32_t line) {
  PlacedCharacter c;
  c.position = pos;
  c.character = U'x';
  c.line = line;
  c.contours = std::move(contours);
  return c;
}

double signedArea(const Contour& ring) {
  double twice = 0;
  const std::size_t n = ring.points.size();
  for (std::size_t i = 0; i < n; ++i) {
    const Vec2& a = ring.points[i];
    const Vec2& b = ring.points[(i + 1) % n];
    twice += a.x * b.y - b.x * a.y;
  }
  return twice / 2;
}

double areaByDepth(const Drawing& drawing) {
  double area = 0;
  for (const PlacedCharacter& c : drawing.characters)
    for (const Contour& k : c.contours)
      if (k.closed) area += (k.depth % 2 == 0 ? 1 : -1) * std::fabs(signedArea(k));
  return area;
}

namespace {

void writeRing(std::ostream& out, const Contour& ring) {
  out.precision(17);
  for (const Vec2& p : ring.points) out << ' ' << p.x << ' ' << p.y;
  out << '\n';
}

}  // namespace

RegionCheck checkWeld(const Drawing& before, const Drawing& after) {
  RegionCheck r;
  const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                     ("kerfline-weld-" + std::to_string(::getpid()) + ".txt");
  {
    std::ofstream out(file);
    int index = 0;
    for (const PlacedCharacter& c : before.characters) {
      for (const Contour& k : c.contours) {
        if (!k.closed) continue;
        out << "I " << index;
        writeRing(out, k);
      }
      ++index;
    }
    for (const PlacedCharacter& c : after.characters)
      for (const Contour& k : c.contours)
        if (k.closed) {
          out << 'O';
          writeRing(out, k);
        }
  }
  const std::string command =
      "/usr/bin/python3 " KERFLINE_SOURCE_DIR "/tests/geometry/check_region.py '" + file.string() +
      "' 2>&1";
  const test::CommandOutput run = test::runCommand(command);
  const std::string& output = run.output;
  if (run.status == -1) {
    r.error = "checker did not start";
  } else if (!run.ok()) {
    r.error = "checker failed: " + output;
  }
  std::filesystem::remove(file);
  if (!r.error.empty()) return r;
  std::istringstream in(output);
  if (!(in >> r.unionArea >> r.areaAfter >> r.difference >> r.perimeterAfter >> r.crossingAfter >>
        r.invalidAfter >> r.unionHoles >> r.holesAfter))
    r.error = "unreadable checker output: " + output;
  return r;
}

CrossingCheck checkCrossings(const Drawing& drawing) {
  CrossingCheck r;
  const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                     ("kerfline-crossings-" + std::to_string(::getpid()) + ".txt");
  {
    std::ofstream out(file);
    for (const PlacedCharacter& c : drawing.characters)
      for (const Contour& k : c.contours)
        if (k.closed) writeRing(out, k);
  }
  const test::CommandOutput run = test::runCommand(
      "/usr/bin/python3 " KERFLINE_SOURCE_DIR "/tests/geometry/check_crossings.py '" +
      file.string() + "' 2>&1");
  std::filesystem::remove(file);
  std::istringstream in(run.output);
  if (!run.ok() || !(in >> r.crossing >> r.invalid)) r.error = "checker failed: " + run.output;
  return r;
}

}  // namespace kerfline::test
