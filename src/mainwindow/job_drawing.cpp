#include "mainwindow/job_drawing.h"

#include <utility>

#include "common/error.h"
#include "typography/text_placement.h"

namespace kerfline {

Drawing jobDrawing(const TextSource& text, const ConversionOptions& options,
                   TTTFToVectorConverter& converter, GlyphSource& glyphs, ToolpathNotes* notes,
                   ExportObserver* observer) {
  Drawing drawing = placeDrawing(text, options, converter, observer, &glyphs);
  ToolpathNotes done;
  try {
    done = finishPlacedDrawing(drawing, options);
  } catch (const Error&) {
    // A fit size cannot apply to a drawing with no width or height yet (an empty editor); the
    // view then shows the drawing as placed rather than nothing. The fit is refused before the
    // drawing is touched.
    ConversionOptions asPlaced = options;
    asPlaced.fitWidth.reset();
    asPlaced.fitHeight.reset();
    done = finishPlacedDrawing(drawing, asPlaced);
  }
  if (notes) *notes = std::move(done);
  return drawing;
}

}  // namespace kerfline
