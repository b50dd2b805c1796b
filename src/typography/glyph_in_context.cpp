#include "typography/glyph_in_context.h"

#include <algorithm>
#include <cmath>

namespace kerfline {
namespace {

// One line of a longer text, as a text of its own.
class LineOfText final : public TextSource {
 public:
  LineOfText(const TextSource& text, std::int32_t first, std::int32_t last)
      : text_(text), offset_(first - 1), length_(last - first + 1) {}
  std::int32_t length() const override { return length_; }
  char32_t charAt(std::int32_t pos) const override { return text_.charAt(pos + offset_); }
  TFontDescription fontAt(std::int32_t pos) const override { return text_.fontAt(pos + offset_); }

 private:
  const TextSource& text_;
  std::int32_t offset_;
  std::int32_t length_;
};

bool isBreak(char32_t c) { return c == 10 || c == 13; }

}  // namespace

std::optional<TStrokeCollection> shapedStrokesAt(const TextSource& text, std::int32_t pos,
                                                 const ShapingOptions& options, int precision,
                                                 TTTFToVectorConverter& converter) {
  if (pos < 1 || pos > text.length() || isBreak(text.charAt(pos))) return std::nullopt;
  std::int32_t first = pos;
  while (first > 1 && !isBreak(text.charAt(first - 1))) --first;
  std::int32_t last = pos;
  while (last < text.length() && !isBreak(text.charAt(last + 1))) ++last;
  const LineOfText line(text, first, last);
  ShapingOptions untracked = options;
  untracked.tracking = 0;  // one character alone: no neighbour to keep apart from
  const ShapedText shaped = shapeText(line, untracked, converter);
  if (shaped.lines.empty()) return std::nullopt;

  converter.SetPrecision(precision);
  const std::int32_t local = pos - first + 1;
  TStrokeCollection out;
  bool found = false;
  double originX = 0;
  double originY = 0;
  std::int32_t contourBase = 0;
  for (const PlacedGlyph& g : shaped.lines[0].glyphs) {
    if (g.position != local) continue;
    const double perOutlineUnit = drawingUnitsPerOutlineUnit(g.unitScale);
    if (!found) {
      found = true;
      originX = g.x;
      originY = g.y;
    }
    const std::optional<TStrokeCollection> strokes = converter.ConvertGlyph(shaped.faces[g.face], g.glyph);
    if (!strokes) continue;
    // A second glyph of the same character (a mark, a split vowel) keeps its place beside the
    // first, in whole outline units as the strokes are.
    const auto dx = static_cast<std::int32_t>(std::lround((g.x - originX) / perOutlineUnit));
    const auto dy = static_cast<std::int32_t>(std::lround((g.y - originY) / perOutlineUnit));
    std::int32_t contours = 0;
    for (TStroke s : strokes->strokes()) {
      contours = std::max(contours, s.Contour + 1);
      s.Contour += contourBase;
      s.X1 += dx;
      s.X2 += dx;
      s.Y1 += dy;
      s.Y2 += dy;
      out.Add(s);
    }
    contourBase += contours;
  }
  if (out.Count() == 0) return std::nullopt;
  return out;
}

}  // namespace kerfline
