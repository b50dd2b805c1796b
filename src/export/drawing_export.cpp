#include "export/drawing_export.h"

#include <utility>

#include "common/error.h"
#include "export/carve_export.h"
#include "export/closed_dxf_writer.h"
#include "export/cut_route.h"
#include "export/drawing_layout.h"
#include "export/dxf_export.h"
#include "export/dxf_layer.h"
#include "export/fill_export.h"
#include "export/fill_order.h"
#include "export/gcode_writer.h"
#include "export/svg_writer.h"

namespace kerfline {
namespace {

// The last steps of every export of a cut-ready drawing: weld and kerf as asked, the file, the
// report.
void weldWriteAndReport(const std::string& path, Drawing& drawing,
                        const ConversionOptions& options, DrawingExportReport* report) {
  ToolpathNotes notes = applyWeldAndKerf(drawing, options);
  writeFinishedDrawing(path, drawing, options, report);
  if (!fillsLetters(options)) fillReport(report, drawing);
  if (report) report->toolpath = std::move(notes);
}

// The SVG or closed DXF of a text too big to hold as a drawing: a first walk measures the
// extent and counts the paths (the header's size, view box and handle seed, and any fit), a
// second writes each character as it is placed. Only the text and its few dozen ready glyphs
// are held.
template <typename Stream>
void streamCharacters(Stream& stream, CutReadyWalker& walker, double factor,
                      ExportObserver* observer) {
  walker.walk([&](PlacedCharacter&& c) { stream.character(c); }, factor, observer);
  stream.commit();
}

void streamDrawing(const std::string& path, const TextSource& text,
                   const ConversionOptions& options, GlyphSource& glyphs,
                   DrawingExportReport* report, ExportObserver* observer) {
  CutReadyWalker walker(text, options, glyphs);
  const WalkMeasure natural = walker.measure();
  const double factor = fitFactor(natural.extent, options);
  // Multiplying by a factor above 0 keeps the order of the points: the extreme points of the
  // scaled drawing are the scaled extreme points.
  Extent extent;
  if (!natural.extent.empty()) {
    extent.add({natural.extent.minX * factor, natural.extent.minY * factor});
    extent.add({natural.extent.maxX * factor, natural.extent.maxY * factor});
  }
  const std::string layer = dxfLayerName(options.classic.layerText);
  if (options.format == OutputFormat::Svg) {
    SvgStream svg(path, extent, layer, options);
    streamCharacters(svg, walker, factor, observer);
  } else {
    ClosedDxfStream dxf(path, extent, natural.paths, layer, options);
    streamCharacters(dxf, walker, factor, observer);
  }
  if (report) {
    *report = DrawingExportReport{};
    report->contours = natural.paths;
    report->extent = extent;
  }
}

}  // namespace

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
         o.autoPitch || o.dxfVersion != classic.dxfVersion || o.tolerance || o.arcs ||
         o.cut != classic.cut || o.layout.active();
}

DrawingRoute drawingRoute(const ConversionOptions& options) {
  const bool strokeForm =
      options.format == OutputFormat::Lines || options.format == OutputFormat::PolyLines;
  // Curves flattened to a tolerance are not the strokes the stroke walk writes; every
  // operation but the profile looks across the whole letter, holes and neighbours; a sign's
  // layout bends, turns and frames the whole drawing before any form gets it.
  if (changesPaths(options) || curveTolerance(options) || shapesForProduction(options) ||
      options.cut != CutOperation::Profile || options.layout.active())
    return DrawingRoute::PlacedDrawing;
  if (strokeForm) return DrawingRoute::StrokeWalk;
  // Weld and kerf look across characters, and shaped or aligned lines are placed only once
  // the whole text is shaped; without them each character can go to the file as it is placed.
  // A travel plan looks across the whole drawing too.
  const bool streams =
      options.format == OutputFormat::Svg || options.format == OutputFormat::Closed;
  if (streams && placesClassically(options) && !routesCuts(options))
    return DrawingRoute::StreamedDrawing;
  return DrawingRoute::PlacedDrawing;
}

void exportDrawingFile(const std::string& path, const TextSource& text,
                       const ConversionOptions& options, GlyphSource& glyphs,
                       DrawingExportReport* report, ExportObserver* observer) {
  // Shaped or aligned text is placed above this module (exportTextFile); placing it
  // classically here would cut something else than was asked for.
  if (!placesClassically(options)) {
    throw Error("Font spacing, alignment and automatic pitch need the shaped placement.");
  }
  checkDrawingOptions(options);
  if (drawingRoute(options) == DrawingRoute::StrokeWalk) {
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
  if (drawingRoute(options) == DrawingRoute::StreamedDrawing) {
    streamDrawing(path, text, options, glyphs, report, observer);
    return;
  }
  if (fitsGlyphsOnce(options)) {
    exportFittedText(path, text, options, glyphs, report, observer);
    return;
  }
  Drawing drawing = cutReadyDrawing(text, options, glyphs, observer);
  weldWriteAndReport(path, drawing, options, report);
}

void checkDrawingOptions(const ConversionOptions& options) {
  if (asksForLeads(options) &&
      (options.format == OutputFormat::Lines || options.format == OutputFormat::PolyLines)) {
    throw Error("Leads and overcut need the closed, SVG or G-code form.");
  }
  if (options.arcs &&
      (options.format == OutputFormat::Lines || options.format == OutputFormat::PolyLines)) {
    throw Error("Arcs need the closed, SVG or G-code form.");
  }
  flatteningTolerance(options);
  if (options.format == OutputFormat::Closed && options.dxfVersion != 12 &&
      options.dxfVersion != 2000) {
    throw Error("The DXF version must be 12 or 2000.");
  }
  checkFillOptions(options);
  if (options.cut == CutOperation::VCarve) checkCarveForm(options);
  // The bit's own width is the carving's offset, and it enters along the axis.
  if (options.cut == CutOperation::VCarve && (options.kerf || asksForLeads(options)))
    throw Error("V-carving takes no kerf, leads or overcut: turn them off.");
}

namespace {

// The cuts in the order, direction and pieces the options plan or lead them; none when the
// drawing is cut as it stands. Arcs are fitted first where no lead needs the polylines.
std::optional<CutRoute> routeOf(const Drawing& given, const ConversionOptions& options, bool bound) {
  if (!routesCuts(options)) return std::nullopt;
  return fitsBeforeRouting(options) ? planFittedCutRoute(given, options, bound)
                                    : planCutRoute(given, options, bound);
}

// The routed (or given) drawing with arcs fitted, when arcs are asked and the route has not
// fitted them already; none otherwise. Takes the route's drawing.
std::optional<Drawing> fittedAfterRouting(const Drawing& given, std::optional<CutRoute>& route,
                                          const ConversionOptions& options) {
  if (!options.arcs || (route && route->fitted)) return std::nullopt;
  Drawing fitted = route ? std::move(route->drawing) : given;
  fitDrawingArcs(fitted, *curveTolerance(options));
  return fitted;
}

// Writes the profile cuts of given: along route when the options route them, fitted with arcs
// when asked (given fitted already: as it stands).
void writeProfile(const std::string& path, const Drawing& given, std::optional<CutRoute> route,
                  bool givenFitted, const ConversionOptions& options,
                  DrawingExportReport* report) {
  if (route && report) {
    if (route->planned) report->travel = route->figures;
    report->leadNotes = route->leadNotes;
  }
  std::optional<Drawing> fitted;
  if (!givenFitted) fitted = fittedAfterRouting(given, route, options);
  const Drawing& drawing = fitted ? *fitted : route ? route->drawing : given;
  if (report && curveTolerance(options)) report->pieces = countPieces(drawing);
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
      saveGcodeFile(path, drawing, options, options.sourceName, route.has_value());
      break;
  }
}

}  // namespace

void writePlacedDrawing(const std::string& path, Drawing drawing,
                        const ConversionOptions& options, DrawingExportReport* report) {
  checkDrawingOptions(options);
  makeCutReady(drawing, options);
  weldWriteAndReport(path, drawing, options, report);
}

void writeFinishedDrawing(const std::string& path, const Drawing& given,
                          const ConversionOptions& options,
                          DrawingExportReport* report) {
  checkDrawingOptions(options);
  if (options.cut == CutOperation::VCarve) {
    CarveJob job = writeCarving(path, given, options);
    if (!report) return;
    report->carveNotes = std::move(job.notes);
    report->travel = job.travel;
    return;
  }
  if (fillsLetters(options)) {
    FilledDrawing filled = writeFilledDrawing(path, given, options);
    fillReport(report, filled.pieces);
    if (!report) return;
    if (curveTolerance(options)) report->pieces = countPieces(filled.pieces);
    report->fillNotes = std::move(filled.notes);
    if (filled.travel && report->travelBound) filled.travel->lowerBound = fillTravelBound(filled);
    report->travel = filled.travel;
    return;
  }
  // The travel's lower bound is for the report alone.
  writeProfile(path, given, routeOf(given, options, report && report->travelBound), false,
               options, report);
}

void writeFittedDrawing(const std::string& path, FittedCutReadyDrawing fitted,
                        const ConversionOptions& options, DrawingExportReport* report) {
  checkDrawingOptions(options);
  if (!routesCuts(options)) {
    writeProfile(path, fitted.drawing, std::nullopt, true, options, report);
    return;
  }
  // The route takes the paths: the drawing is not written as it stands.
  writeProfile(path, {},
               planFittedCutRoute(std::move(fitted.drawing), fitted.holes, options,
                                  report && report->travelBound),
               true, options, report);
}

void exportFittedText(const std::string& path, const TextSource& text,
                      const ConversionOptions& options, GlyphSource& glyphs,
                      DrawingExportReport* report, ExportObserver* observer) {
  FittedCutReadyDrawing fitted = fittedCutReadyDrawing(text, options, glyphs, observer);
  // As fillReport tells of the polylines the paths were fitted from.
  const std::size_t paths = fitted.drawing.bulges.size();
  const Extent extent = fitted.outlineExtent;
  writeFittedDrawing(path, std::move(fitted), options, report);
  if (!report) return;
  report->contours = paths;
  report->extent = extent;
  report->toolpath = {};
}

void writeFinishedSheets(const std::string& path, const std::vector<Drawing>& sheets,
                         const ConversionOptions& options) {
  checkDrawingOptions(options);
  if (options.format != OutputFormat::Gcode)
    throw Error("Sheets go into one file only as a G-code program (a pause between them).");
  // One program of many sheets holds outline cuts; fills and carvings each write their own
  // file per sheet, so a sheet never silently loses its operation.
  if (options.cut != CutOperation::Profile)
    throw Error("Sheets go into one program only when the letters are cut along their outlines; "
                "leave out --one-file to write a file per sheet.");
  std::vector<Drawing> routed;
  routed.reserve(sheets.size());
  for (const Drawing& sheet : sheets) {
    std::optional<CutRoute> route = routeOf(sheet, options, false);
    std::optional<Drawing> fitted = fittedAfterRouting(sheet, route, options);
    routed.push_back(fitted ? std::move(*fitted) : route ? std::move(route->drawing) : sheet);
  }
  saveGcodeSheets(path, routed, options, options.sourceName, routesCuts(options));
}

const char* unitName(DrawingUnits units) { return units == DrawingUnits::Inch ? "in" : "mm"; }

}  // namespace kerfline
