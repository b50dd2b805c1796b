#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "common/text_source.h"
#include "export/conversion_options.h"
#include "export/layout_walk.h"
#include "geometry/contour.h"
#include "export/toolpath_export.h"

namespace kerfline {

/// What an export of the contour model did, for --report and the window's status bar.
struct DrawingExportReport {
  ToolpathNotes toolpath;  ///< rings the kerf closed up, characters whose paths overlap
  std::size_t contours = 0;            ///< paths written
  Extent extent;                       ///< of the paths written, in drawing units
};

/// The drawing of text as options place it, ready for the cutting writers: laid out by the
/// classic walk, scaled to the fit size when one is asked, ordered for cutting.
Drawing cutReadyDrawing(const TextSource& text, const ConversionOptions& options,
                        GlyphSource& glyphs, ExportObserver* observer = nullptr);

/// True when options ask for more than the two classic files can hold: another form, or any
/// of units, fit, weld, kerf, G-code, font spacing, ligatures, alignment or automatic pitch.
bool needsDrawingExport(const ConversionOptions& options);

/// Writes text to path in options.format. The classic forms without weld or kerf are the
/// classic files byte for byte; with them, and for every other form, the cut-ready drawing is
/// welded and offset as asked first. observer, when given, is told of every character as the
/// walk reaches it; report, when given, is filled. Throws Error with the user's message; a
/// failed export leaves any previous file at path untouched.
void exportDrawingFile(const std::string& path, const TextSource& text,
                       const ConversionOptions& options, GlyphSource& glyphs,
                       DrawingExportReport* report = nullptr, ExportObserver* observer = nullptr);

}  // namespace kerfline
