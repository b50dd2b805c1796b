#pragma once
#include "export/closed_dxf_writer.h"

namespace kerfline {

/// The header variables both DXF versions share: $INSUNITS, $MEASUREMENT, $EXTMIN and
/// $EXTMAX (extent at the cutting depth; all 0 for an empty drawing).
void writeUnitsAndExtent(DxfGroupWriter& out, const Extent& extent, const ClosedDxfFrame& frame);

}  // namespace kerfline
