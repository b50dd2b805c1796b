#include "export/converter_glyph_source.h"

#include "vectorizer/UTTF2Vct.h"

namespace kerfline {

std::optional<TStrokeCollection> ConverterGlyphSource::strokesOf(const TFontDescription& font,
                                                                 char32_t c, int precision) {
  converter_.SetFont(font);
  converter_.SetPrecision(precision);
  converter_.SetUNICODE(true);
  return converter_.ConvertChar(static_cast<std::int32_t>(c));
}

bool ConverterGlyphSource::outlineOf(const TFontDescription& font, char32_t c, Outline& dest) {
  converter_.SetFont(font);
  converter_.SetUNICODE(true);
  return converter_.OutlineOfChar(static_cast<std::int32_t>(c), dest);
}

}  // namespace kerfline
