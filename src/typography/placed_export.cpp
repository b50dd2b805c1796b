#include "typography/placed_export.h"

#include <utility>

#include "export/converter_glyph_source.h"
#include "export/cut_ready_drawing.h"
#include "export/fill_export.h"
#include "export/gcode_writer.h"
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
  if (fitsGlyphsOnce(options)) {
    ConverterGlyphSource glyphs(converter);
    exportFittedText(path, text, options, glyphs, report, observer);
    return;
  }
  ToolpathNotes notes;
  const Drawing drawing = finishedDrawing(text, options, converter, nullptr, observer, &notes);
  writeFinishedDrawing(path, drawing, options, report);
  if (!fillsLetters(options)) fillReport(report, drawing);  // a fill reports its own paths
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
    const double shapeStretch = signShapeStretch(options.layout);
    if (curveTolerance(options) &&
        (options.fitWidth || options.fitHeight || options.layout.boxWidth || shapeStretch != 1)) {
      // The tolerance holds in the finished drawing: placed again, flattened for the factor
      // (a fit box scales the sign after bending; at most one of the two fits is asked),
      // and for the most the sign's stretch and slant lengthen the chords' error.
      const double fit = options.layout.boxWidth ? signBoxScale(drawing, options.layout)
                         : options.fitWidth || options.fitHeight ? fitFactor(drawing.extent(), options)
                                                                 : 1.0;
      const double factor = fit * shapeStretch;
      if (factor != 1.0) {
        ConversionOptions finer = options;
        finer.tolerance = *curveTolerance(options) / factor;
        drawing = placeDrawing(text, finer, converter, nullptr, glyphs);
      }
    }
    placeSign(drawing, options.layout);
    makeCutReady(drawing, options);
  }
  // Bridges come before the kerf: an inward offset then leaves each exactly its width.
  BridgeNotes bridges;
  if (options.stencilBridge) bridges = addStencilBridges(drawing, bridgeRuleFor(options));
  ToolpathNotes done = weldKerf ? weldKerf->apply(drawing, options, checkpoint)
                               : applyWeldAndKerf(drawing, options, checkpoint);
  done.bridges = bridges;
  // Tabs come last: they cut gaps in the paths the tool follows, after weld and kerf.
  // A router that crosses tabs at a height keeps each ring whole, its tabs marked.
  if (asksForTabs(options)) {
    TabRule rule = tabRuleFor(options);
    rule.raise = raisedTabZ(options).has_value();
    done.tabs = addHoldingTabs(drawing, rule);
  }
  if (notes) *notes = std::move(done);
  return drawing;
}

}  // namespace kerfline
