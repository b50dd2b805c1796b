#pragma once
#include <functional>
#include <string>

#include "common/text_source.h"
#include "export/layout_walk.h"
#include "export/text_export.h"
#include "geometry/contour.h"

namespace kerfline {

/// FileSave with any glyph source: the "Lines + Z moves" file at path. scale (a fit size's
/// factor) multiplies every X and Y about the origin; at 1 the file is the classic one.
void saveLinesDxf(const std::string& path, const TextSource& text, const ExportSettings& settings,
                  GlyphSource& glyphs, ExportObserver* observer, double scale = 1.0);

/// SavePoly2 with any glyph source: the "PolyLines XY only" file at path; scale as above.
void savePolyLinesDxf(const std::string& path, const TextSource& text,
                      const ExportSettings& settings, GlyphSource& glyphs,
                      ExportObserver* observer, double scale = 1.0);

/// The "Lines + Z moves" file of a drawing's paths, each point rounded once to single precision:
/// a plunge at the start of every path, a LINE per edge (a ring's last edge back to its first
/// point), a retract at its end. Of an unprocessed drawing these are the classic file's bytes.
void saveLinesDxf(const std::string& path, const Drawing& drawing, const ExportSettings& settings);

/// The "PolyLines XY only" file of a drawing's paths: a two-vertex POLYLINE per edge.
void savePolyLinesDxf(const std::string& path, const Drawing& drawing,
                      const ExportSettings& settings);

/// Places a text's strokes, in file order, into the sink it is given.
using StrokeWalk = std::function<void(StrokeSink& sink)>;

/// walk with every placed point multiplied by factor about the origin (a fit size), each value
/// rounded once to single precision; walk itself when factor is 1.
StrokeWalk scaledWalk(StrokeWalk walk, double factor);

/// The "Lines + Z moves" file of the strokes walk places (layer and Z from settings).
void saveLinesDxf(const std::string& path, const ExportSettings& settings, const StrokeWalk& walk);

/// The "PolyLines XY only" file of the strokes walk places (layer and Z from settings).
void savePolyLinesDxf(const std::string& path, const ExportSettings& settings,
                      const StrokeWalk& walk);

}  // namespace kerfline
