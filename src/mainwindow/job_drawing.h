#pragma once
// The drawing the job view shows: the one the export of the current settings writes.
#include "common/text_source.h"
#include "export/conversion_options.h"
#include "export/drawing_export.h"  // unitName: "mm" or "in"
#include "export/layout_walk.h"
#include "geometry/contour.h"

namespace kerfline {

/// The drawing an export of text with options writes: the export's own walk and contour
/// model, every character's contours in cut order (Qt-free; safe on any one thread with a
/// glyph source of its own).
Drawing jobDrawing(const TextSource& text, const ConversionOptions& options, GlyphSource& glyphs);


}  // namespace kerfline
