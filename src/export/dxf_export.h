#pragma once
#include <string>

#include "common/text_source.h"
#include "export/layout_walk.h"
#include "export/text_export.h"

namespace kerfline {

/// FileSave with any glyph source: the "Lines + Z moves" file at path.
void saveLinesDxf(const std::string& path, const TextSource& text, const ExportSettings& settings,
                  GlyphSource& glyphs, ExportObserver* observer);

/// SavePoly2 with any glyph source: the "PolyLines XY only" file at path.
void savePolyLinesDxf(const std::string& path, const TextSource& text,
                      const ExportSettings& settings, GlyphSource& glyphs,
                      ExportObserver* observer);

}  // namespace kerfline
