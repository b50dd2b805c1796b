#pragma once
// A line of text laid out as the product lays it out, in DejaVu Sans, scaled to millimetres so
// that its first letter (a capital) stands 25 mm tall: the line the fill and carving benchmarks
// work on, so their figures compare.
#include <string>
#include <utility>

#include "export/converter_glyph_source.h"
#include "export/drawing_layout.h"
#include "prose_text.h"
#include "vectorizer/UTTF2Vct.h"

namespace kerfline::bench {

inline Drawing capitalsAt25mm(std::u32string text) {
  const OneFaceText line(std::move(text), "DejaVu Sans", 24);
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
