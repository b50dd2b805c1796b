#pragma once
#include <string>
#include <vector>

#include "export/conversion_options.h"
#include "geometry/contour.h"
#include "geometry/kerf_offset.h"

namespace kerfline {

/// True when options ask to change the paths themselves (weld, or a kerf on a side).
bool changesPaths(const ConversionOptions& options);

/// Welds (when asked) and then offsets by half the kerf (when asked, outward for the outside
/// side, inward for the inside side) the closed contours of drawing, in drawing units after any
/// fit. Open paths are neither welded nor offset. Returns the rings the offset closed up.
std::vector<VanishedPath> applyWeldAndKerf(Drawing& drawing, const ConversionOptions& options);

/// One sentence naming every vanished ring by character, text position and line, for the
/// report and the window's status bar; empty when nothing vanished.
std::string vanishedSummary(const std::vector<VanishedPath>& vanished);

}  // namespace kerfline
