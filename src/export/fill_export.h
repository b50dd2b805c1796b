#pragma once
#include <optional>
#include <string>
#include <vector>

#include "export/conversion_options.h"
#include "fill/tool_run.h"
#include "geometry/contour.h"
#include "geometry/travel_order.h"

namespace kerfline {

/// True when options fill the letters (pocket, raised letters, hatch or offset fill) rather
/// than cut along them.
bool fillsLetters(const ConversionOptions& options);

/// The letters of a finished drawing filled as options ask.
struct FilledDrawing {
  /// Every piece cut, one character per filled region (a letter, letters that overlap, or the
  /// background of raised letters) in text order: hatch lines and engraved single-line paths
  /// open, pocket passes, offsets and outlines closed. What the DXF and SVG forms write.
  Drawing pieces;
  std::vector<std::vector<ToolRun>> runs;  ///< per region of pieces: what the G-code runs
  std::vector<std::string> notes;          ///< what the person at the machine must know
  /// Planned for travel: the order's rapid travel and that of the runs as filled, in text order
  /// (fillTravel); the lower bound is left 0 (fillTravelBound finds it).
  std::optional<TravelFigures> travel;
};

/// Throws Error for fill options that cannot run (no interval, no tool, a step-over out of
/// range, a kerf or leads with a fill, overscan without the laser, a classic form).
void checkFillOptions(const ConversionOptions& options);

/// Fills the closed regions of a finished drawing (overlapping letters united first, holes
/// kept by the weld's rule); single-line paths are engraved along their line, not filled.
/// Throws Error as checkFillOptions. checkpoint, when given, is called at every region: what it
/// throws ends the fill.
FilledDrawing fillDrawing(const Drawing& finished, const ConversionOptions& options,
                          const Checkpoint& checkpoint = {});

/// Turns pieces fitted with arcs (options.arcs) back into polylines far finer than the fit, for
/// a view, which draws what the file holds; pieces.bulges is emptied.
void sampleFillArcs(Drawing& pieces, const ConversionOptions& options);

/// Writes a finished drawing filled as options ask to path in options.format (closed DXF, SVG
/// or G-code). Returns the fill written: its pieces, notes and travel.
FilledDrawing writeFilledDrawing(const std::string& path, const Drawing& finished,
                                 const ConversionOptions& options);

}  // namespace kerfline
