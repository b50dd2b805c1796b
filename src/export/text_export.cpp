#include "export/text_export.h"

#include "export/dxf_export.h"
#include "vectorizer/UTTF2Vct.h"

namespace kerfline {

std::optional<TStrokeCollection> ConverterGlyphSource::strokesOf(const TFontDescription& font,
                                                                 char32_t c, int precision) {
  converter_.SetFont(font);
  converter_.SetPrecision(precision);
  converter_.SetUNICODE(true);
  return converter_.ConvertChar(static_cast<std::int32_t>(c));
}

void FileSave(const std::string& path, const TextSource& text, const ExportSettings& settings,
              TTTFToVectorConverter& converter, ExportObserver* observer) {
  ConverterGlyphSource glyphs(converter);
  saveLinesDxf(path, text, settings, glyphs, observer);
}

void SavePoly2(const std::string& path, const TextSource& text, const ExportSettings& settings,
               TTTFToVectorConverter& converter, ExportObserver* observer) {
  ConverterGlyphSource glyphs(converter);
  savePolyLinesDxf(path, text, settings, glyphs, observer);
}

}  // namespace kerfline
