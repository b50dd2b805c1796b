#include "export/drawing_export.h"

#include "common/error.h"
#include "export/drawing_layout.h"
#include "export/dxf_export.h"
#include "export/gcode_writer.h"
#include "export/toolpath_export.h"
#include "geometry/cut_order.h"

namespace kerfline {

bool needsDrawingExport(const ConversionOptions& o) {
  const ConversionOptions classic;
  return (o.format != OutputFormat::Lines && o.format != OutputFormat::PolyLines) ||
         o.units != classic.units || o.fitWidth || o.fitHeight || o.weld || o.kerf ||
         o.kerfSide != classic.kerfSide || o.gcode.feed || o.gcode.plungeFeed ||
         o.gcode.spindleRpm || o.gcode.depthPerPass || o.gcode.laser || o.gcode.power ||
         o.spacing != classic.spacing || o.ligatures || o.align != classic.align ||
         o.autoPitch || o.dxfVersion != classic.dxfVersion;
}

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
  // Options this build accepts but cannot honour yet stop the run rather than be passed over.
  const ConversionOptions plain;
  if (options.format == OutputFormat::Closed || options.format == OutputFormat::Svg ||
      options.fitWidth || options.fitHeight || options.spacing != plain.spacing ||
      options.ligatures || options.align != plain.align || options.autoPitch ||
      options.dxfVersion != plain.dxfVersion ||
      (options.units != plain.units && options.format != OutputFormat::Gcode)) {
    throw Error("This output form is not available yet.");
  }
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
      break;  // refused above
  }
  if (report) {
    report->toolpath = std::move(notes);
    report->contours = 0;
    for (const PlacedCharacter& c : drawing.characters) report->contours += c.contours.size();
    report->extent = drawing.extent();
  }
}

}  // namespace kerfline
