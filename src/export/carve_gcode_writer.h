#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "carving/vcarve.h"
#include "export/conversion_options.h"

namespace kerfline {

class OutputFile;

/// The tool of a carving program as seen from above: how wide it cuts at each depth.
struct CarveCutter {
  double bitAngle = 0;  ///< a V-bit's included angle, degrees; 0: a flat end mill
  double diameter = 0;  ///< the end mill's diameter (drawing units)
  /// The width of the cut with the tip at z (<= 0): 2 |z| tan(angle / 2) for a V-bit, the
  /// diameter for an end mill below the surface; 0 at the surface.
  double widthAt(double z) const;
};

/// One carving program: the strokes of one tool in cutting order, and what its header says.
struct CarveProgram {
  CarveCutter cutter;               ///< the tool's shape
  std::vector<CarvePath> strokes;   ///< each cut from its first point, passes already split
  std::vector<bool> continues;      ///< per stroke: true when it goes on from where the one
                                    ///< before ended without a lift (the next pass down)
  std::string operation;            ///< "V-carve", "floor clearing", ...
  std::string tool;                 ///< the tool as the comment names it
  std::vector<std::string> notes;   ///< further header lines
};

/// Writes program as G-code in the subset GRBL and LinuxCNC both run: the date-free header
/// comments (source, units, operation, tool, feeds), G21/G20, G90, G17; each stroke a rapid to
/// its start at Z up, a plunge at the plunge feed to its first depth and 3-axis G1 moves at the
/// feed, then back to Z up; M5 and M2 at the end. Z up comes from options.classic; feeds and
/// spindle from options.gcode. Throws Error for a Z up not above the surface, feeds not positive.
void writeCarveGcode(OutputFile& file, const CarveProgram& program,
                     const ConversionOptions& options);

/// writeCarveGcode into path (a temporary beside it, renamed over it when complete).
void saveCarveGcode(const std::string& path, const CarveProgram& program,
                    const ConversionOptions& options);

/// Z up of options as the writer uses it (above the surface, else Error).
double carveZUp(const ConversionOptions& options);

}  // namespace kerfline
