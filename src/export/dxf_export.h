#pragma once
#include <functional>
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

/// Places a text's strokes, in file order, into the sink it is given.
using StrokeWalk = std::function<void(StrokeSink& sink)>;

/// The "Lines + Z moves" file of the strokes walk places (layer and Z from settings).
void saveLinesDxf(const std::string& path, const ExportSettings& settings, const StrokeWalk& walk);

/// The "PolyLines XY only" file of the strokes walk places (layer and Z from settings).
void savePolyLinesDxf(const std::string& path, const ExportSettings& settings,
                      const StrokeWalk& walk);

}  // namespace kerfline
