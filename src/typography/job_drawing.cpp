#include "typography/job_drawing.h"

#include "common/error.h"
#include "typography/placed_export.h"

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
                   const Checkpoint& checkpoint, WeldKerfCache* weldKerf) {
  CheckpointObserver observer(checkpoint);
  try {
    return finishedDrawing(text, options, converter, &glyphs, &observer, notes, checkpoint,
                           weldKerf);
  } catch (const Error&) {
    // A fit size cannot apply to a drawing with no width or height yet (an empty editor); the
    // view then shows the drawing as placed rather than nothing.
    ConversionOptions asPlaced = options;
    asPlaced.fitWidth.reset();
    asPlaced.fitHeight.reset();
    return finishedDrawing(text, asPlaced, converter, &glyphs, &observer, notes, checkpoint,
                           weldKerf);
  }
}

}  // namespace kerfline
