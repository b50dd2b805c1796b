#include "typography/placed_export.h"

#include <utility>

#include "export/converter_glyph_source.h"
#include "export/cut_ready_drawing.h"
#include "layout/sign_placement.h"
#include "typography/text_placement.h"

namespace kerfline {

void exportTextFile(const std::string& path, const TextSource& text,
                    const ConversionOptions& options, TTTFToVectorConverter& converter,
                    DrawingExportReport* report, ExportObserver* observer) {
  checkDrawingOptions(options);
  if (drawingRoute(options) == DrawingRoute::StreamedDrawing) {
    ConverterGlyphSource glyphs(converter);
    exportDrawingFile(path, text, options, glyphs, report, observer);
    return;
  }
  if (drawingRoute(options) == DrawingRoute::StrokeWalk) {
    // A fit size needs the extent first: the drawing is placed once to measure it, and the
    // file is written by a second, scaled walk.
    double factor = 1.0;
    Drawing measured;
    if (options.fitWidth || options.fitHeight || report) {
      measured = placeDrawing(text, options, converter);
      factor = fitFactor(measured.extent(), options);
      scaleDrawing(measured, factor);
    }
    saveStrokeDxf(path, text, options, converter, observer, factor);
    fillReport(report, measured);
    return;
  }
  ToolpathNotes notes;
  const Drawing drawing = finishedDrawing(text, options, converter, nullptr, observer, &notes);
  writeFinishedDrawing(path, drawing, options, report);
  fillReport(report, drawing);
  if (report) report->toolpath = std::move(notes);
}

Drawing finishedDrawing(const TextSource& text, const ConversionOptions& options,
                        TTTFToVectorConverter& converter, GlyphSource* glyphs,
                        ExportObserver* observer, ToolpathNotes* notes,
                        const Checkpoint& checkpoint, WeldKerfCache* weldKerf) {
  Drawing drawing;
  if (placesClassically(options)) {
    ConverterGlyphSource converted(converter);
    drawing = cutReadyDrawing(text, options, glyphs ? *glyphs : converted, observer);
  } else {
    drawing = placeDrawing(text, options, converter, observer, glyphs);
    placeSign(drawing, options.layout);
    makeCutReady(drawing, options);
  }
  ToolpathNotes done = weldKerf ? weldKerf->apply(drawing, options, checkpoint)
                               : applyWeldAndKerf(drawing, options, checkpoint);
  if (notes) *notes = std::move(done);
  return drawing;
}

}  // namespace kerfline
