#pragma once
#include <string>

#include "export/carve_gcode_writer.h"
#include "export/conversion_options.h"

namespace kerfline {

/// Writes program as a closed-polyline DXF of options.dxfVersion (12 or 2000) at path: one open
/// 3-D POLYLINE (flag 8, vertices flag 32 with their depth) per stroke in cutting order on layer,
/// the header's extent from the deepest point to the highest. Written to a temporary file and
/// renamed; throws Error with the user's message, leaving any previous file untouched.
void saveCarveDxf(const std::string& path, const CarveProgram& program, const std::string& layer,
                  const ConversionOptions& options);

}  // namespace kerfline
