#include "export/drawing_export.h"

#include <utility>

#include "common/error.h"
#include "export/closed_dxf_writer.h"
#include "export/drawing_layout.h"
#include "export/dxf_export.h"
#include "export/gcode_writer.h"
#include "export/svg_writer.h"

namespace kerfline {

void fillReport(DrawingExportReport* report, const Drawing& drawing) {
  if (!report) return;
  report->contours = 0;
  for (const PlacedCharacter& c : drawing.characters) report->contours += c.contours.size();
  report->extent = drawing.extent();
}

bool needsDrawingExport(const ConversionOptions& o) {
  const ConversionOptions classic;
  return (o.format != OutputFormat::Lines && o.format != OutputFormat::PolyLines) ||
         o.units != classic.units || o.fitWidth || o.fitHeight || o.weld || o.kerf ||
         o.kerfSide != classic.kerfSide || o.gcode.feed || o.gcode.plungeFeed ||
         o.gcode.spindleRpm || o.gcode.depthPerPass || o.gcode.laser || o.gcode.power ||
         o.spacing != classic.spacing || o.ligatures || o.align != classic.align ||
         o.autoPitch || o.dxfVersion != classic.dxfVersion;
}

void exportDrawingFile(const std::string& path, const TextSource& text,
                       const ConversionOptions& options, GlyphSource& glyphs,
                       DrawingExportReport* report, ExportObserver* observer) {
  // Shaped or aligned text is placed above this module (exportTextFile); placing it
  // classically here would cut something else than was asked for.
  if (!placesClassically(options)) {
    throw Error("Font spacing, alignment and automatic pitch need the shaped placement.");
  }
  const bool classic =
      options.format == OutputFormat::Lines || options.format == OutputFormat::PolyLines;
  if (classic && !changesPaths(options)) {
    // The classic forms keep their own walk. A fit size needs the extent first: the drawing
    // is laid out once to measure it, and the file is written by a second, scaled walk.
    double factor = 1.0;
    Drawing drawing;
    if (options.fitWidth || options.fitHeight || report) {
      drawing = layoutDrawing(text, options.classic, glyphs);
      factor = fitFactor(drawing.extent(), options);
      scaleDrawing(drawing, factor);
    }
    if (options.format == OutputFormat::Lines) {
      saveLinesDxf(path, text, options.classic, glyphs, observer, factor);
    } else {
      savePolyLinesDxf(path, text, options.classic, glyphs, observer, factor);
    }
    fillReport(report, drawing);
    return;
  }
  checkDrawingOptions(options);
  writePlacedDrawing(path, layoutDrawing(text, options.classic, glyphs, observer), options,
                     report);
}

void checkDrawingOptions(const ConversionOptions& options) {
  if (options.format == OutputFormat::Closed && options.dxfVersion != 12 &&
      options.dxfVersion != 2000) {
    throw Error("The DXF version must be 12 or 2000.");
  }
}

ToolpathNotes finishPlacedDrawing(Drawing& drawing, const ConversionOptions& options,
                                  const Checkpoint& checkpoint) {
  makeCutReady(drawing, options);
  return applyWeldAndKerf(drawing, options, checkpoint);
}

void writePlacedDrawing(const std::string& path, Drawing drawing,
                        const ConversionOptions& options, DrawingExportReport* report) {
  checkDrawingOptions(options);
  ToolpathNotes notes = finishPlacedDrawing(drawing, options);
  switch (options.format) {
    case OutputFormat::Lines:
      saveLinesDxf(path, drawing, options.classic);
      break;
    case OutputFormat::PolyLines:
      savePolyLinesDxf(path, drawing, options.classic);
      break;
    case OutputFormat::Closed:
      saveClosedPolylineDxf(path, drawing, options);
      break;
    case OutputFormat::Svg:
      saveSvg(path, drawing, options);
      break;
    case OutputFormat::Gcode:
      saveGcodeFile(path, drawing, options, options.sourceName);
      break;
  }
  fillReport(report, drawing);
  if (report) report->toolpath = std::move(notes);
}

const char* unitName(DrawingUnits units) { return units == DrawingUnits::Inch ? "in" : "mm"; }

}  // namespace kerfline
