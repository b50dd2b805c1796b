#include "mainwindow/job_drawing.h"

#include "common/error.h"
#include "export/cut_ready_drawing.h"

namespace kerfline {

Drawing jobDrawing(const TextSource& text, const ConversionOptions& options, GlyphSource& glyphs) {
  try {
    return cutReadyDrawing(text, options, glyphs);
  } catch (const Error&) {
    // A fit size cannot apply to a drawing with no width or height yet (an empty editor);
    // the view then shows the drawing as placed rather than nothing.
    ConversionOptions asPlaced = options;
    asPlaced.fitWidth.reset();
    asPlaced.fitHeight.reset();
    return cutReadyDrawing(text, asPlaced, glyphs);
  }
}

}  // namespace kerfline
