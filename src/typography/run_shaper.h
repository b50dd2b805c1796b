#pragma once
// HarfBuzz shaping of one run, from the very font file and face the outlines come from.
#include <cstdint>
#include <string_view>
#include <vector>

#include "typography/bidi_runs.h"
#include "vectorizer/UTTF2Vct.h"

namespace kerfline {

/// One glyph as the shaper set it, in font units of its face.
struct ShapedGlyph {
  std::uint32_t glyph = 0;    ///< glyph index in the face
  std::uint32_t cluster = 0;  ///< index into the line of the first code point it stands for
  std::int32_t xAdvance = 0;  ///< pen movement after it
  std::int32_t yAdvance = 0;
  std::int32_t xOffset = 0;   ///< its origin relative to the pen
  std::int32_t yOffset = 0;

  friend bool operator==(const ShapedGlyph&, const ShapedGlyph&) = default;
};

/// Shapes line[run.start, run.end) in face (the rest of line serves as context, so that
/// joining crosses run boundaries), unhinted at a scale of units per em, in the run's
/// direction and script. Optional ligatures (liga, clig, dlig) only when ligatures is true;
/// required ones (rlig, joining forms) always. Glyphs come in visual order (left to right).
/// A face that cannot be opened gives no glyphs.
std::vector<ShapedGlyph> shapeRun(const TFaceInfo& face, std::u32string_view line,
                                  const TextRun& run, bool ligatures);

/// shapeRun, or where HarfBuzz cannot read the face (a Type 1 font FreeType reads well) one
/// glyph per character from its character map with the face's own advance, in visual order, so
/// that no text is lost.
std::vector<ShapedGlyph> shapeRunOrMap(const TFaceInfo& face, std::u32string_view line,
                                       const TextRun& run, bool ligatures,
                                       TTTFToVectorConverter& converter);

}  // namespace kerfline
