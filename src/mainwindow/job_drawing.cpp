#include "mainwindow/job_drawing.h"

#include "export/cut_ready_drawing.h"

namespace kerfline {

Drawing jobDrawing(const TextSource& text, const ConversionOptions& options, GlyphSource& glyphs) {
  return cutReadyDrawing(text, options, glyphs);
}

}  // namespace kerfline
