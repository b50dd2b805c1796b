#pragma once
#include <string>

#include "common/text_source.h"
#include "export/conversion_options.h"
#include "export/layout_walk.h"

namespace kerfline {

/// True when options ask for more than the two classic files can hold: another form, or any
/// of units, fit, weld, kerf, G-code, font spacing, ligatures, alignment or automatic pitch.
bool needsDrawingExport(const ConversionOptions& options);

/// Writes text as the drawing options describe (every form but the two classic ones, and the
/// classic forms with any of the newer options) to path, by the same temporary-file-and-rename
/// rule as the classic exports. Throws Error with the user's message on failure.
void exportDrawingFile(const std::string& path, const TextSource& text,
                       const ConversionOptions& options, GlyphSource& glyphs);

}  // namespace kerfline
