#pragma once
#include <string>

#include "common/text_source.h"
#include "export/layout_walk.h"
#include "export/text_export.h"

namespace kerfline {

/// FileSave with any glyph source: the "Lines + Z moves" file at path. scale (a fit size's
/// factor) multiplies every X and Y about the origin; at 1 the file is the classic one.
void saveLinesDxf(const std::string& path, const TextSource& text, const ExportSettings& settings,
                  GlyphSource& glyphs, ExportObserver* observer, double scale = 1.0);

/// SavePoly2 with any glyph source: the "PolyLines XY only" file at path; scale as above.
void savePolyLinesDxf(const std::string& path, const TextSource& text,
                      const ExportSettings& settings, GlyphSource& glyphs,
                      ExportObserver* observer, double scale = 1.0);

}  // namespace kerfline
