#include "typography/placed_export.h"

#include <algorithm>
#include <utility>

#include "export/converter_glyph_source.h"
#include "export/cut_ready_drawing.h"
#include "export/fill_export.h"
#include "export/gcode_writer.h"
#include "layout/sign_placement.h"
#include "typography/text_placement.h"

namespace kerfline {

namespace {

// How much finer than the tolerance a sign's glyphs are flattened, and how far its own chords
// (its bend's, its frame's and holes') may stray, so that the tolerance holds in the finished
// drawing.
struct SignTolerances {
  double glyphFactor = 1;
  double chords = kSignChordTolerance;
};

// For a placed drawing, straight: a fit box scales the sign after bending (at most one of the
// two fits is asked), the sign's stretch and slant lengthen the chords' error by their most, and
// a warp by the most it stretches letters. A warp's own chords (the path's, and each warped
// edge against its bend, by the stretch more) take a tenth of the flattening's share, the
// glyphs the rest. The frame and holes keep to the flattening's share.
SignTolerances signTolerances(const Drawing& placed, const ConversionOptions& options) {
  SignTolerances t;
  if (!curveTolerance(options)) return t;
  t.chords = std::min(kSignChordTolerance, *flatteningTolerance(options));
  const SignLayout& layout = options.layout;
  const double shapeStretch = signShapeStretch(layout);
  const bool warps = layout.bend == BendMode::Warp && layout.bends();
  if (!options.fitWidth && !options.fitHeight && !layout.boxWidth && shapeStretch == 1 && !warps)
    return t;
  const double fit = layout.boxWidth ? signBoxScale(placed, layout)
                     : options.fitWidth || options.fitHeight ? fitFactor(placed.extent(), options)
                                                             : 1.0;
  t.glyphFactor = fit * shapeStretch;
  // A fit size scales the frame with everything; a fit box comes before it.
  if (!layout.boxWidth) t.chords = std::min(kSignChordTolerance, *flatteningTolerance(options) / fit);
  if (warps) {
    const double stretch = signWarpStretch(placed, layout);
    t.chords = std::min(t.chords, *flatteningTolerance(options) / 10 / (fit * (stretch + 1)));
    t.glyphFactor *= stretch / 0.9;
  }
  return t;
}

}  // namespace

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
    const SignTolerances tolerances = signTolerances(drawing, options);
    if (tolerances.glyphFactor != 1.0) {
      ConversionOptions finer = options;
      finer.tolerance = *curveTolerance(options) / tolerances.glyphFactor;
      drawing = placeDrawing(text, finer, converter, nullptr, glyphs);
    }
    placeSign(drawing, options.layout, tolerances.chords);
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
