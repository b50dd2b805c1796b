#include "mainwindow/job_drawing.h"

#include "export/drawing_layout.h"
#include "geometry/cut_order.h"

namespace kerfline {

Drawing jobDrawing(const TextSource& text, const ConversionOptions& options, GlyphSource& glyphs) {
  Drawing drawing = layoutDrawing(text, options.classic, glyphs);
  orderForCutting(drawing);
  return drawing;
}

const char* unitName(DrawingUnits units) {
  return units == DrawingUnits::Inch ? "in" : "mm";
}

}  // namespace kerfline
