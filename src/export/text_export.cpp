#include "export/text_export.h"

#include "export/converter_glyph_source.h"
#include "export/dxf_export.h"

namespace kerfline {

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
