#pragma once
// The drawing the job view shows: the one the export of the current settings writes.
#include "common/text_source.h"
#include "export/conversion_options.h"
#include "export/drawing_export.h"
#include "export/layout_walk.h"
#include "export/toolpath_export.h"
#include "export/weld_kerf_cache.h"
#include "geometry/contour.h"
#include "vectorizer/UTTF2Vct.h"

namespace kerfline {

/// The drawing an export of text with options writes (finishedDrawing): the same placement
/// (classic walk, font spacing, alignment, pitch), fit size, contour model, cut order, weld and
/// kerf. glyphs serves
/// the conversions by character (a cache of converter's); notes, when given, receives what weld
/// and kerf did; checkpoint is called at every character placed, welded or offset, and may
/// throw to abandon the layout. A fit size that cannot apply (an empty text) is left out rather
/// than refused. weldKerf, when given, keeps each group of lines' weld and offset, so that
/// after an edit only the lines it changed are welded and offset again. Safe on any one thread
/// with a converter, glyph source and weld cache of its own.
Drawing jobDrawing(const TextSource& text, const ConversionOptions& options,
                   TTTFToVectorConverter& converter, GlyphSource& glyphs,
                   ToolpathNotes* notes = nullptr, const Checkpoint& checkpoint = {},
                   WeldKerfCache* weldKerf = nullptr);

}  // namespace kerfline
