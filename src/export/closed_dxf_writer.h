#pragma once
#include <string>

#include "export/conversion_options.h"
#include "geometry/contour.h"

namespace kerfline {

class DxfGroupWriter;

/// The closed-polyline DXF of the drawing at path, one polyline per contour in the drawing's
/// order: closed rings flagged closed (first vertex not repeated), open paths open, all at
/// the cutting depth (Z cutting of options.classic) on the drawing's layer (characters a
/// layer table may not hold made "_"), with a HEADER
/// giving the unit and the extent. options.dxfVersion 12 writes R12 (AC1009) POLYLINEs in CR LF
/// lines, 2000 writes R2000 (AC1015) LWPOLYLINEs with handles and owners in LF lines; numbers
/// by the DxfReal rule in both. Written to a temporary file
/// and renamed; throws Error with the user's message, leaving any previous file untouched.
void saveClosedPolylineDxf(const std::string& path, const Drawing& drawing,
                           const ConversionOptions& options);

/// What both versions of the closed-polyline DXF write besides the contours.
struct ClosedDxfFrame {
  float zCut = 0;                                 ///< elevation of every polyline
  DrawingUnits units = DrawingUnits::Millimetre;  ///< $INSUNITS and $MEASUREMENT
};

/// The R12 file's text (every section and EOF).
void writeClosedDxfR12(DxfGroupWriter& out, const Drawing& drawing, const ClosedDxfFrame& frame);

/// The R2000 file's text (every section and EOF).
void writeClosedDxfR2000(DxfGroupWriter& out, const Drawing& drawing,
                         const ClosedDxfFrame& frame);

}  // namespace kerfline
