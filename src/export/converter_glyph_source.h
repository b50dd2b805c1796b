#pragma once
#include <optional>

#include "export/layout_walk.h"

namespace kerfline {

class TTTFToVectorConverter;

/// The converter as a glyph source: font, Precision and Unicode set before every character.
class ConverterGlyphSource final : public GlyphSource {
 public:
  /// Uses (and reconfigures) converter for every character; it must outlive this source.
  explicit ConverterGlyphSource(TTTFToVectorConverter& converter) : converter_(converter) {}
  /// The converter's strokes of c in font at the given precision.
  std::optional<TStrokeCollection> strokesOf(const TFontDescription& font, char32_t c,
                                             int precision) override;
  /// The converter's outline records of c in font (OutlineOfChar).
  bool outlineOf(const TFontDescription& font, char32_t c, Outline& dest) override;

 private:
  TTTFToVectorConverter& converter_;
};

}  // namespace kerfline
