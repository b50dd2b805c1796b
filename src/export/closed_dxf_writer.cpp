#include "export/closed_dxf_writer.h"

#include "common/error.h"
#include "export/dxf_group_writer.h"
#include "export/number_rule.h"
#include "export/output_file.h"

namespace kerfline {

void saveClosedPolylineDxf(const std::string& path, const Drawing& drawing,
                           const ConversionOptions& options) {
  if (options.dxfVersion != 12 && options.dxfVersion != 2000) {
    throw Error("The DXF version must be 12 or 2000.");
  }
  ClosedDxfFrame frame;
  // Z cutting as the classic forms read it: a field that is not a number counts as 0.
  frame.zCut = parseFiniteNumber(options.classic.zLevelText).value_or(0.0f);
  frame.units = options.units;
  OutputFile file(path);
  // R12 keeps the classic forms' CR LF. R2000 ends its lines in LF alone, which every reader
  // of that version takes, and which keeps its files about a third of a "Lines + Z moves" file.
  DxfGroupWriter out(file, options.dxfVersion == 2000 ? "\n" : "\r\n");
  if (options.dxfVersion == 2000) {
    writeClosedDxfR2000(out, drawing, frame);
  } else {
    writeClosedDxfR12(out, drawing, frame);
  }
  out.flush();
  file.commit();
}

}  // namespace kerfline
