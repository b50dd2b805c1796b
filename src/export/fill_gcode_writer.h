#pragma once
#include <string>
#include <vector>

#include "export/conversion_options.h"
#include "export/fill_export.h"

namespace kerfline {

class OutputFile;

/// Writes a filled drawing as a G-code program of the same dialect as writeGcode: region by
/// region, each run entered by a rapid move and cut without lifting. A router cuts every pass
/// depth of a region (--depth-per-pass) before the next region, plunging at the start of each
/// run and retracting at its end. A laser (no Z words) turns the beam on with M4 at the start
/// of a run and off with M5 at its end; within the run every move carries its power, S0 over
/// overscan and links. Throws Error for settings a machine must not run, as writeGcode.
void writeFillGcode(OutputFile& file, const FilledDrawing& filled,
                    const ConversionOptions& options);

}  // namespace kerfline
