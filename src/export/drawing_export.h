#pragma once
#include <cstddef>
#include <string>

#include "common/text_source.h"
#include "export/conversion_options.h"
#include "export/cut_ready_drawing.h"
#include "export/layout_walk.h"
#include "export/toolpath_export.h"
#include "geometry/contour.h"

namespace kerfline {

/// What an export of the contour model did, for --report and the window's status bar.
struct DrawingExportReport {
  ToolpathNotes toolpath;    ///< rings the kerf closed up, characters whose paths overlap
  std::size_t contours = 0;  ///< paths written
  Extent extent;             ///< of the paths written, in drawing units (after any fit)
};

/// True when options ask for more than the two classic files can hold: another form, or any
/// of units, fit, weld, kerf, G-code, font spacing, ligatures, alignment or automatic pitch.
bool needsDrawingExport(const ConversionOptions& options);

/// Writes text to path in options.format: the two classic DXF forms (without weld or kerf the
/// classic walk's files, byte for byte when no fit size is given), the closed-polyline DXF,
/// the SVG or the G-code; every form but the plain classic ones is written from the cut-ready
/// drawing, welded and offset as asked. observer, when given, is told of every character as
/// the walk reaches it; report, when given, is filled. Throws Error with the user's message;
/// a failed export leaves any previous file at path untouched.
void exportDrawingFile(const std::string& path, const TextSource& text,
                       const ConversionOptions& options, GlyphSource& glyphs,
                       DrawingExportReport* report = nullptr, ExportObserver* observer = nullptr);

/// The unit's short name: "mm" or "in".
const char* unitName(DrawingUnits units);

}  // namespace kerfline
