#include "export/closed_dxf_header.h"

#include "export/dxf_group_writer.h"

namespace kerfline {

void writeUnitsAndExtent(DxfGroupWriter& out, const Extent& extent, const ClosedDxfFrame& frame) {
  const bool inch = frame.units == DrawingUnits::Inch;
  out.text(9, "$INSUNITS");
  out.integer(70, inch ? 1 : 4);  // 1 inches, 4 millimetres
  out.text(9, "$MEASUREMENT");
  out.integer(70, inch ? 0 : 1);  // 0 imperial, 1 metric
  // Rounding to single precision is monotonic, so the rounded extent still holds every
  // rounded vertex the entities write.
  const bool empty = extent.empty();
  const auto [zLow, zHigh] = frame.zExtent.value_or(std::pair{frame.zCut, frame.zCut});
  out.text(9, "$EXTMIN");
  out.real(10, empty ? 0.0f : static_cast<float>(extent.minX));
  out.real(20, empty ? 0.0f : static_cast<float>(extent.minY));
  out.real(30, zLow);
  out.text(9, "$EXTMAX");
  out.real(10, empty ? 0.0f : static_cast<float>(extent.maxX));
  out.real(20, empty ? 0.0f : static_cast<float>(extent.maxY));
  out.real(30, zHigh);
}

}  // namespace kerfline
