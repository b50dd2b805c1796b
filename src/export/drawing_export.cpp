#include "export/drawing_export.h"

#include "common/error.h"
#include "export/drawing_layout.h"
#include "export/dxf_export.h"
#include "export/gcode_writer.h"
#include "export/toolpath_export.h"
#include "geometry/cut_order.h"

namespace kerfline {

Drawing cutReadyDrawing(const TextSource& text, const ConversionOptions& options,
                        GlyphSource& glyphs, ExportObserver* observer) {
  Drawing drawing = layoutDrawing(text, options.classic, glyphs, observer);
  orderForCutting(drawing);
  return drawing;
}

void exportDrawingFile(const std::string& path, const TextSource& text,
                       const ConversionOptions& options, GlyphSource& glyphs,
                       DrawingExportReport* report, ExportObserver* observer) {
  const bool classic =
      options.format == OutputFormat::Lines || options.format == OutputFormat::PolyLines;
  if (classic && !changesPaths(options)) {
    if (options.format == OutputFormat::Lines) {
      saveLinesDxf(path, text, options.classic, glyphs, observer);
    } else {
      savePolyLinesDxf(path, text, options.classic, glyphs, observer);
    }
    return;
  }
  Drawing drawing = cutReadyDrawing(text, options, glyphs, observer);
  ToolpathNotes notes = applyWeldAndKerf(drawing, options);
  switch (options.format) {
    case OutputFormat::Lines:
      saveLinesDxf(path, drawing, options.classic);
      break;
    case OutputFormat::PolyLines:
      savePolyLinesDxf(path, drawing, options.classic);
      break;
    case OutputFormat::Gcode:
      saveGcodeFile(path, drawing, options, options.sourceName);
      break;
    case OutputFormat::Closed:
    case OutputFormat::Svg:
      throw Error("This output form is not available yet.");
  }
  if (report) {
    report->toolpath = std::move(notes);
    report->contours = 0;
    for (const PlacedCharacter& c : drawing.characters) report->contours += c.contours.size();
    report->extent = drawing.extent();
  }
}

}  // namespace kerfline
