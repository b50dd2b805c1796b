#include "export/svg_writer.h"

#include <cmath>
#include <cstring>

#include "common/code_pages.h"
#include "common/error.h"
#include "common/utf8.h"
#include "export/output_file.h"
#include "export/shortest_float.h"
#include "geometry/arc_path.h"

namespace kerfline {
namespace {

bool isAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool isAsciiDigit(char c) { return c >= '0' && c <= '9'; }

void appendEscaped(std::string& out, const std::string& text) {
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
}

void appendAttribute(std::string& out, const char* name, float value, const char* unit) {
  out += ' ';
  out += name;
  out += "=\"";
  appendSvgNumber(out, value);
  out += unit;
  out += '"';
}

// " A<r> <r> 0 <large> <sweep> " of the arc from a to b: Y is turned to grow downward, so
// an arc that turns counter-clockwise in the drawing turns the other way in the file.
void appendSvgArc(std::string& out, const Vec2& a, const Vec2& b, double bulge);

}  // namespace

double svgHairline(DrawingUnits units) { return units == DrawingUnits::Inch ? 0.001 : 0.0254; }

char* writeSvgNumber(char* out, float v) {
  if (!std::isfinite(v)) throw Error("Coordinate out of range.");
  if (v == 0) {
    *out = '0';
    return out + 1;
  }
  static_assert(kShortestFixedMaxLength <= kSvgNumberMaxLength);
  return writeShortestFixed(out, v);
}

void appendSvgNumber(std::string& out, float v) {
  char text[kSvgNumberMaxLength];
  out.append(text, writeSvgNumber(text, v));
}

std::string svgLayerId(const std::string& utf8Layer) {
  std::string id;
  if (utf8Layer.empty() || !(isAsciiLetter(utf8Layer[0]) || utf8Layer[0] == '_')) id += '_';
  for (const char c : utf8Layer) {
    id += isAsciiLetter(c) || isAsciiDigit(c) || c == '_' || c == '-' || c == '.' ? c : '_';
  }
  return id;
}

SvgStream::SvgStream(const std::string& path, const Extent& extent, const std::string& layer,
                     const ConversionOptions& options)
    : file_(path),
      out_(file_),
      yTexts_(std::make_unique<NumberTextCache<writeSvgNumber, kSvgNumberMaxLength, 10>>()) {
  const bool inch = options.units == DrawingUnits::Inch;
  const char* unit = inch ? "in" : "mm";
  const bool empty = extent.empty();
  const float minX = empty ? 0.0f : static_cast<float>(extent.minX);
  const float top = empty ? 0.0f : -static_cast<float>(extent.maxY);
  const float width = static_cast<float>(extent.width());
  const float height = static_cast<float>(extent.height());
  // The layer name's bytes are Windows-1252, as in the DXF forms.
  const std::string utf8Layer = u32ToUtf8(decodeSingleByte(codepage::Windows1252, layer));

  std::string out;
  out += "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n";
  out += "<svg xmlns=\"http://www.w3.org/2000/svg\" "
         "xmlns:inkscape=\"http://www.inkscape.org/namespaces/inkscape\" version=\"1.1\"";
  appendAttribute(out, "width", width, unit);
  appendAttribute(out, "height", height, unit);
  out += " viewBox=\"";
  appendSvgNumber(out, minX);
  out += ' ';
  appendSvgNumber(out, top);
  out += ' ';
  appendSvgNumber(out, width);
  out += ' ';
  appendSvgNumber(out, height);
  out += "\">\n";
  out += "<g id=\"";
  appendEscaped(out, svgLayerId(utf8Layer));
  out += "\" inkscape:label=\"";
  appendEscaped(out, utf8Layer);
  out += "\" inkscape:groupmode=\"layer\" fill=\"none\" stroke=\"#000000\" stroke-width=\"";
  appendSvgNumber(out, static_cast<float>(svgHairline(options.units)));
  out += "\">\n";
  out_.put(out);
}

void SvgStream::character(const PlacedCharacter& c, std::span<const std::vector<double>> bulges) {
  // One piece per point: " x y" at most, or "Z M" and a point where a ring ends and the next
  // path begins; an arc's radii and flags go before its point as a piece of their own.
  constexpr std::size_t kPointRoom = 2 * kSvgNumberMaxLength + 8;
  out_.put("<path d=\"");
  bool first = true;
  std::string arc;
  for (std::size_t contour = 0; contour < c.contours.size(); ++contour) {
    const Contour& k = c.contours[contour];
    if (k.points.empty()) continue;
    const std::vector<double>* arcs = contour < bulges.size() ? &bulges[contour] : nullptr;
    const auto bends = [&](std::size_t i) { return arcs && i < arcs->size() && (*arcs)[i] != 0; };
    char* at = out_.room(kPointRoom);
    if (!first) *at++ = ' ';
    first = false;
    *at++ = 'M';
    const std::size_t n = k.points.size();
    bool afterArc = false;  // numbers after an A are read as another arc: a line needs its L
    for (std::size_t i = 0; i < n; ++i) {
      const Vec2& p = k.points[i];
      if (i > 0) {
        // The piece that arrives here: an arc where the point before bends it, else a line.
        if (bends(i - 1)) {
          arc.clear();
          appendSvgArc(arc, k.points[i - 1], p, (*arcs)[i - 1]);
          out_.put(arc);
          at = out_.room(kPointRoom);
          afterArc = true;
        } else {
          at = out_.room(kPointRoom);
          *at++ = ' ';
          if (afterArc) *at++ = 'L';
          afterArc = false;
        }
      }
      at = writeSvgNumber(at, static_cast<float>(p.x));
      *at++ = ' ';
      at = yTexts_->write(at, -static_cast<float>(p.y));
      out_.advance(at);
    }
    // A ring's closing piece is drawn out as an arc before the Z when it bends.
    if (k.closed && n > 1 && bends(n - 1)) {
      arc.clear();
      appendSvgArc(arc, k.points[n - 1], k.points[0], (*arcs)[n - 1]);
      appendSvgNumber(arc, static_cast<float>(k.points[0].x));
      arc += ' ';
      appendSvgNumber(arc, -static_cast<float>(k.points[0].y));
      out_.put(arc);
    }
    if (k.closed) out_.put("Z");
  }
  out_.put("\"/>\n");
}

void SvgStream::beginGroup(std::string_view attributes) {
  out_.put("<g ");
  out_.put(attributes);
  out_.put(">\n");
}

void SvgStream::endGroup() { out_.put("</g>\n"); }

void SvgStream::polyline(std::span<const Vec2> points, float width) {
  if (points.empty()) return;
  constexpr std::size_t kPointRoom = 2 * kSvgNumberMaxLength + 8;
  out_.put("<path d=\"M");
  bool first = true;
  for (const Vec2& p : points) {
    char* at = out_.room(kPointRoom);
    if (!first) *at++ = ' ';
    first = false;
    at = writeSvgNumber(at, static_cast<float>(p.x));
    *at++ = ' ';
    at = yTexts_->write(at, -static_cast<float>(p.y));
    out_.advance(at);
  }
  // A single point draws nothing with a round cap unless the path has a length: "z" closes
  // it onto itself, which draws the cap's disc.
  if (points.size() == 1) out_.put(" z");
  out_.put("\"");
  if (width > 0) {
    char* at = out_.room(kSvgNumberMaxLength + 20);
    std::memcpy(at, " stroke-width=\"", 15);
    at = writeSvgNumber(at + 15, width);
    *at++ = '"';
    out_.advance(at);
  }
  out_.put("/>\n");
}

void SvgStream::commit() {
  out_.put("</g>\n</svg>\n");
  out_.flush();
  file_.commit();
}

void saveSvg(const std::string& path, const Drawing& drawing, const ConversionOptions& options) {
  SvgStream svg(path, drawing.page.value_or(drawing.extent()), drawing.layer, options);
  std::size_t first = 0;
  for (const PlacedCharacter& c : drawing.characters) {
    svg.character(c, drawing.bulgesOfCharacter(first, c.contours.size()));
    first += c.contours.size();
  }
  svg.commit();
}

namespace {

void appendSvgArc(std::string& out, const Vec2& a, const Vec2& b, double bulge) {
  const float radius = static_cast<float>(arcGeometry(a, b, bulge).radius);
  out += " A";
  appendSvgNumber(out, radius);
  out += ' ';
  appendSvgNumber(out, radius);
  out += std::fabs(bulge) > 1 ? " 0 1 " : " 0 0 ";
  out += bulge > 0 ? "0 " : "1 ";
}

}  // namespace

}  // namespace kerfline
