#include "export/carve_dxf_writer.h"

#include <algorithm>

#include "export/closed_dxf_writer.h"
#include "export/dxf_group_writer.h"
#include "export/output_file.h"

namespace kerfline {

void saveCarveDxf(const std::string& path, const CarveProgram& program, const std::string& layer,
                  const ConversionOptions& options) {
  Extent extent;
  float zLow = 0, zHigh = 0;
  bool any = false;
  std::size_t paths = 0, extraHandles = 0;
  for (const CarvePath& stroke : program.strokes) {
    if (stroke.empty()) continue;
    ++paths;
    extraHandles += stroke.size() + 1;  // its vertices and its SEQEND
    for (const CarvePoint& p : stroke) {
      extent.add({p.x, p.y});
      const auto z = static_cast<float>(p.z);
      zLow = any ? std::min(zLow, z) : z;
      zHigh = any ? std::max(zHigh, z) : z;
      any = true;
    }
  }
  ClosedDxfFrame frame = closedDxfFrame(extent, paths, layer, options);
  frame.extraHandles = extraHandles;
  frame.zExtent = std::pair{zLow, zHigh};
  OutputFile file(path);
  DxfGroupWriter out(file, closedDxfLineEnd(options));
  const std::unique_ptr<ClosedDxfBody> body = beginClosedDxf(out, frame, options);
  for (const CarvePath& stroke : program.strokes)
    if (!stroke.empty()) body->path3d(stroke);
  body->finish();
  out.flush();
  file.commit();
}

}  // namespace kerfline
