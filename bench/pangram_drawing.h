#pragma once
// A line of text laid out as the product lays it out, in DejaVu Sans, scaled to millimetres so
// that its first letter (a capital) stands 25 mm tall: the line the fill and carving benchmarks
// work on, so their figures compare.
#include <cstdint>
#include <string>
#include <utility>

#include "common/text_source.h"
#include "export/converter_glyph_source.h"
#include "export/drawing_layout.h"
#include "vectorizer/UTTF2Vct.h"

namespace kerfline::bench {

class OneFaceLine final : public TextSource {
 public:
  explicit OneFaceLine(std::u32string text) : text_(std::move(text)) {
    font_.Name = "DejaVu Sans";
    font_.Size = 24;
  }
  std::int32_t length() const override { return static_cast<std::int32_t>(text_.size()); }
  char32_t charAt(std::int32_t pos) const override { return text_[static_cast<std::size_t>(pos - 1)]; }
  TFontDescription fontAt(std::int32_t) const override { return font_; }

 private:
  std::u32string text_;
  TFontDescription font_;
};

inline Drawing capitalsAt25mm(std::u32string text) {
  const OneFaceLine line(std::move(text));
  TTTFToVectorConverter converter;
  ConverterGlyphSource glyphs(converter);
  Drawing d = layoutDrawing(line, ExportSettings{}, glyphs);
  Drawing capital;
  capital.characters = {d.characters.front()};
  const double scale = 25 / capital.extent().height();
  for (PlacedCharacter& c : d.characters)
    for (Contour& k : c.contours)
      for (Vec2& p : k.points) p = {p.x * scale, p.y * scale};
  return d;
}

}  // namespace kerfline::bench
