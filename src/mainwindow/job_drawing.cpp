#include "mainwindow/job_drawing.h"

#include <utility>

#include "common/error.h"
#include "typography/text_placement.h"

namespace kerfline {
namespace {

// The checkpoint at every character the placement reaches.
class CheckpointObserver final : public ExportObserver {
 public:
  explicit CheckpointObserver(const Checkpoint& checkpoint) : checkpoint_(checkpoint) {}
  void characterBecameCurrent(std::int32_t, char32_t, const TFontDescription&, float) override {
    if (checkpoint_) checkpoint_();
  }

 private:
  const Checkpoint& checkpoint_;
};

}  // namespace

Drawing jobDrawing(const TextSource& text, const ConversionOptions& options,
                   TTTFToVectorConverter& converter, GlyphSource& glyphs, ToolpathNotes* notes,
                   const Checkpoint& checkpoint) {
  CheckpointObserver observer(checkpoint);
  Drawing drawing = placeDrawing(text, options, converter, &observer, &glyphs);
  ToolpathNotes done;
  try {
    done = finishPlacedDrawing(drawing, options, checkpoint);
  } catch (const Error&) {
    // A fit size cannot apply to a drawing with no width or height yet (an empty editor); the
    // view then shows the drawing as placed rather than nothing. The fit is refused before the
    // drawing is touched.
    ConversionOptions asPlaced = options;
    asPlaced.fitWidth.reset();
    asPlaced.fitHeight.reset();
    done = finishPlacedDrawing(drawing, asPlaced, checkpoint);
  }
  if (notes) *notes = std::move(done);
  return drawing;
}

}  // namespace kerfline
