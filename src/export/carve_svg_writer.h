#pragma once
#include <string>

#include "export/carve_gcode_writer.h"
#include "export/conversion_options.h"

namespace kerfline {

/// Writes program as an SVG seen from above at path: each stroke as open polylines on layer,
/// stroked as wide as the tool cuts at that depth (program.cutter) with round ends and joins,
/// so that a viewer shows the carved area; a reader that ignores stroke widths sees the
/// paths. A stroke is split into runs whose width stays within the largest of 2 x tolerance
/// (drawing units, > 0), the hairline and 5 % of the width; each run is drawn at its middle
/// width. The page holds the strokes grown by half the widest cut. Written to a temporary
/// file and renamed; throws Error with the user's message, leaving any previous file untouched.
void saveCarveSvg(const std::string& path, const CarveProgram& program, const std::string& layer,
                  const ConversionOptions& options, double tolerance);

}  // namespace kerfline
