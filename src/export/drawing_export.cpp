#include "export/drawing_export.h"

#include "common/error.h"

namespace kerfline {

bool needsDrawingExport(const ConversionOptions& o) {
  const ConversionOptions classic;
  return (o.format != OutputFormat::Lines && o.format != OutputFormat::PolyLines) ||
         o.units != classic.units || o.fitWidth || o.fitHeight || o.weld || o.kerf ||
         o.kerfSide != classic.kerfSide || o.gcode.feed || o.gcode.plungeFeed ||
         o.gcode.spindleRpm || o.gcode.depthPerPass || o.gcode.laser || o.gcode.power ||
         o.spacing != classic.spacing || o.ligatures || o.align != classic.align ||
         o.autoPitch || o.dxfVersion != classic.dxfVersion;
}

void exportDrawingFile(const std::string&, const TextSource&, const ConversionOptions&,
                       GlyphSource&) {
  throw Error("This output form is not available yet.");
}

}  // namespace kerfline
