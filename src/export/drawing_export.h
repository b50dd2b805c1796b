#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "common/text_source.h"
#include "export/arc_drawing.h"
#include "export/conversion_options.h"
#include "export/cut_ready_drawing.h"
#include "export/layout_walk.h"
#include "export/toolpath_export.h"
#include "geometry/contour.h"
#include "geometry/travel_order.h"

namespace kerfline {

/// What an export of the contour model did, for --report and the window's status bar.
struct DrawingExportReport {
  ToolpathNotes toolpath;    ///< rings the kerf closed up, characters whose paths overlap
  std::size_t contours = 0;  ///< paths written
  Extent extent;             ///< of the paths written, in drawing units (after any fit)
  std::optional<TravelFigures> travel;  ///< when the paths were planned for travel
  /// Whether travel holds the lower bound too: a nearest-point search per path, worth its time
  /// only where the figures are shown.
  bool travelBound = true;
  std::vector<std::string> leadNotes;   ///< leads shortened or left out
  std::optional<PieceCounts> pieces;    ///< lines and arcs written, with a curve tolerance
  std::vector<std::string> fillNotes;   ///< what a fill could not reach, what it engraved
  std::vector<std::string> carveNotes;  ///< what a carving did that the machinist must know
};

/// Fills report, when given, with drawing's path count and extent.
void fillReport(DrawingExportReport* report, const Drawing& drawing);

/// True when options ask for more than the two classic files can hold: another form, or any
/// of units, fit, weld, kerf, G-code, font spacing, ligatures, alignment, automatic pitch,
/// a curve tolerance or arcs.
bool needsDrawingExport(const ConversionOptions& options);

/// The two ways from placed text to a file.
enum class DrawingRoute {
  StrokeWalk,     ///< the placed strokes in placement order, to the two stroke forms
  PlacedDrawing,  ///< the placed drawing made ready to cut, welded and offset, to any writer
  /// the placed drawing handed to the writer a character at a time, never held whole (two
  /// walks: the first measures the extent and path count the file's header needs)
  StreamedDrawing,
};

/// The one answer to which way an export of options goes, asked by every export and by the job
/// view: the stroke walk for the two stroke forms while the paths keep their shape (no weld, no
/// kerf); the SVG and the closed DXF of classically placed text, paths unchanged and in text
/// order, streamed; the placed drawing for every other form or when the paths change. The
/// drawing is the same on all three.
DrawingRoute drawingRoute(const ConversionOptions& options);

/// Writes text, placed by the classic walk, to path in options.format: the two classic DXF
/// forms (without weld or kerf the classic walk's files, byte for byte when no fit size is
/// given), the closed-polyline DXF, the SVG or the G-code; every form but the plain classic
/// ones is written from the cut-ready drawing, welded and offset as asked. observer, when given, is told of every character as
/// the walk reaches it; report, when given, is filled. Throws Error with the user's message;
/// a failed export leaves any previous file at path untouched. Options that place text
/// otherwise (font spacing, alignment, automatic pitch) are refused with Error: such text is
/// placed by the typography, which hands its drawing to writePlacedDrawing.
void exportDrawingFile(const std::string& path, const TextSource& text,
                       const ConversionOptions& options, GlyphSource& glyphs,
                       DrawingExportReport* report = nullptr, ExportObserver* observer = nullptr);

/// Throws Error for what can be refused before any text is placed (a DXF version other
/// than 12 or 2000 for the closed form, leads or arcs in the two classic forms, a tolerance
/// that is not above 0), so that a bad option costs no conversion.
void checkDrawingOptions(const ConversionOptions& options);

/// Writes a drawing as placed (any placement, not yet made ready) to path in options.format:
/// made ready to cut, welded and offset as asked, then written. report, when given, is filled.
/// Same failure rules as exportDrawingFile.
void writePlacedDrawing(const std::string& path, Drawing drawing,
                        const ConversionOptions& options, DrawingExportReport* report = nullptr);

/// Writes a finished drawing (made ready, welded and offset, as typography's finishedDrawing
/// gives it) to path in options.format, in the order cutOrderFor(options) names and with any
/// leads asked, fitted with arcs last when asked; report, when given, receives the travel
/// figures of a plan, the lead notes and, with a curve tolerance, the lines and arcs written.
/// Same failure rules as exportDrawingFile.
void writeFinishedDrawing(const std::string& path, const Drawing& drawing,
                          const ConversionOptions& options, DrawingExportReport* report = nullptr);

/// writeFinishedDrawing of a drawing fitted with arcs glyph by glyph (fittedCutReadyDrawing).
void writeFittedDrawing(const std::string& path, FittedCutReadyDrawing fitted,
                        const ConversionOptions& options, DrawingExportReport* report = nullptr);

/// Writes text, placed classically, to path for fitsGlyphsOnce options: what placing it with
/// cutReadyDrawing and writeFinishedDrawing writes, with every glyph fitted once; report as
/// exportDrawingFile fills it.
void exportFittedText(const std::string& path, const TextSource& text,
                      const ConversionOptions& options, GlyphSource& glyphs,
                      DrawingExportReport* report = nullptr, ExportObserver* observer = nullptr);

/// Writes finished sheets (as writeFinishedDrawing takes one) into one G-code program at path,
/// each routed on its own, with a pause between them. Throws Error for any other form.
void writeFinishedSheets(const std::string& path, const std::vector<Drawing>& sheets,
                         const ConversionOptions& options);

/// The unit's short name: "mm" or "in".
const char* unitName(DrawingUnits units);

}  // namespace kerfline
