#pragma once
#include <string>
#include <vector>

#include "export/carve_gcode_writer.h"
#include "export/conversion_options.h"
#include "geometry/contour.h"
#include "geometry/travel_order.h"

namespace kerfline {

/// The flattening tolerance of the carving (drawing units): how far the cut may pass the
/// outline where the axis or an arc is curved. The one place that decides it.
double carvingTolerance(const ConversionOptions& options);

/// The V-carving of a finished drawing (made ready, welded as asked): the V-bit's program and,
/// with a clearing tool, the end mill's, each planned for short rapid travel from the origin.
struct CarveJob {
  CarveProgram vbit;
  CarveProgram clearing;             ///< empty without options.vcarve.clearTool
  std::vector<std::string> notes;    ///< what the person at the machine must know
  bool flat = false;                 ///< some letter reaches the depth limit
  std::vector<Contour> floors;       ///< the flat floors' rings (holes clockwise), drawing units
  /// The programs' rapid travel from the origin (both tools' added), that of the strokes in the
  /// order carved, and the bound no order beats.
  TravelFigures travel;
};

/// The carving settings options ask for (bit, depths, step-over, tolerance, when to retrace
/// rather than lift). Throws Error for a Z up not above the surface.
VCarveSettings carveSettings(const ConversionOptions& options);

/// Carves every character of drawing as options.vcarve asks: closed contours as regions along
/// their medial axis, open paths (single-line faces, no area) engraved along their line at the
/// maximum depth or 1 mm. An inlay's pocket is the carving at the inlay's depth; its plug the
/// carving of the box around the mirrored letters (carving/inlay.h). Throws Error for settings
/// outside their sense, and for single-line faces in an inlay. checkpoint, when given, is called
/// at every character and within each region's carving: what it throws ends the carving.
CarveJob carveDrawing(const Drawing& drawing, const ConversionOptions& options,
                      const Checkpoint& checkpoint = {});

/// Throws Error unless options.format is one V-carving is written in: G-code, closed DXF
/// (3-D polylines) or SVG (the cut seen from above).
void checkCarveForm(const ConversionOptions& options);

/// Writes the V-carving of drawing to path in options.format (G-code; closed DXF, R12 or
/// R2000, one 3-D polyline per stroke; SVG, each stroke as wide as it cuts), and the clearing
/// program to options.vcarve.clearOutput in the same form when a clearing tool is given.
/// Returns the carving written. Throws Error as checkCarveForm, for a clearing tool without a
/// second file, or the reverse.
CarveJob writeCarving(const std::string& path, const Drawing& drawing,
                      const ConversionOptions& options);

}  // namespace kerfline
