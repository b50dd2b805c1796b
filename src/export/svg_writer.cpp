#include "export/svg_writer.h"

#include <charconv>
#include <cmath>

#include "common/code_pages.h"
#include "common/utf8.h"
#include "common/error.h"
#include "common/utf8.h"
#include "export/output_file.h"
#include "geometry/arc_path.h"

namespace kerfline {
namespace {

constexpr std::size_t kFlushAt = std::size_t{1} << 20;

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

void appendSvgNumber(std::string& out, float v) {
  if (!std::isfinite(v)) throw Error("Coordinate out of range.");
  if (v == 0) {
    out += '0';
    return;
  }
  // Room for the fixed form of every float: at most 39 digits before the point (3.4e38) and
  // 47 after it (1.4e-45).
  char text[128];
  const std::to_chars_result r = std::to_chars(text, text + sizeof text, v, std::chars_format::fixed);
  out.append(text, r.ptr);
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
    : file_(path) {
  const bool inch = options.units == DrawingUnits::Inch;
  const char* unit = inch ? "in" : "mm";
  const bool empty = extent.empty();
  const float minX = empty ? 0.0f : static_cast<float>(extent.minX);
  const float top = empty ? 0.0f : -static_cast<float>(extent.maxY);
  const float width = static_cast<float>(extent.width());
  const float height = static_cast<float>(extent.height());
  // The layer name's bytes are Windows-1252, as in the DXF forms.
  const std::string utf8Layer = u32ToUtf8(decodeSingleByte(codepage::Windows1252, layer));

  std::string& out = out_;
  out.reserve(kFlushAt + (kFlushAt >> 2));
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
  // Hairline: 0.001 inch, the width laser drivers take for "cut this line".
  out += "\" inkscape:groupmode=\"layer\" fill=\"none\" stroke=\"#000000\" stroke-width=\"";
  out += inch ? "0.001" : "0.0254";
  out += "\">\n";
}

void SvgStream::character(const PlacedCharacter& c, std::span<const std::vector<double>> bulges) {
  std::string& out = out_;
  out += "<path d=\"";
  bool first = true;
  for (std::size_t contour = 0; contour < c.contours.size(); ++contour) {
    const Contour& k = c.contours[contour];
    if (k.points.empty()) continue;
    if (!first) out += ' ';
    first = false;
    out += 'M';
    const std::vector<double>* arcs = contour < bulges.size() ? &bulges[contour] : nullptr;
    const std::size_t n = k.points.size();
    bool afterArc = false;  // numbers after an A are read as another arc: a line needs its L
    for (std::size_t i = 0; i < n; ++i) {
      const Vec2& p = k.points[i];
      // The piece that arrives here: an arc where the point before bends it, else a line.
      const std::size_t before = i == 0 ? 0 : i - 1;
      if (i > 0 && arcs && before < arcs->size() && (*arcs)[before] != 0) {
        appendSvgArc(out, k.points[before], p, (*arcs)[before]);
        afterArc = true;
      } else if (i > 0) {
        out += afterArc ? " L" : " ";
        afterArc = false;
      }
      appendSvgNumber(out, static_cast<float>(p.x));
      out += ' ';
      appendSvgNumber(out, -static_cast<float>(p.y));
    }
    // A ring's closing piece is drawn out as an arc before the Z when it bends.
    if (k.closed && arcs && n > 1 && n - 1 < arcs->size() && (*arcs)[n - 1] != 0) {
      appendSvgArc(out, k.points[n - 1], k.points[0], (*arcs)[n - 1]);
      appendSvgNumber(out, static_cast<float>(k.points[0].x));
      out += ' ';
      appendSvgNumber(out, -static_cast<float>(k.points[0].y));
    }
    if (k.closed) out += 'Z';
  }
  out += "\"/>\n";
  if (out.size() >= kFlushAt) {
    file_.write(out.data(), out.size());
    out.clear();
  }
}

void SvgStream::commit() {
  out_ += "</g>\n</svg>\n";
  file_.write(out_.data(), out_.size());
  file_.commit();
}

void saveSvg(const std::string& path, const Drawing& drawing, const ConversionOptions& options) {
  SvgStream svg(path, drawing.extent(), drawing.layer, options);
  std::size_t path0 = 0;
  for (const PlacedCharacter& c : drawing.characters) {
    std::span<const std::vector<double>> bulges;
    if (path0 + c.contours.size() <= drawing.bulges.size())
      bulges = std::span(drawing.bulges).subspan(path0, c.contours.size());
    svg.character(c, bulges);
    path0 += c.contours.size();
  }
  svg.commit();
}

}  // namespace kerfline
