#pragma once
// What the font spacing cuts for one character: its glyphs shaped within its line, so that a
// preview of one character shows the joined or contextual form the export writes.
#include <cstdint>
#include <optional>

#include "common/text_source.h"
#include "typography/shaped_layout.h"
#include "vectorizer/UTTF2Vct.h"

namespace kerfline {

/// The strokes of the glyphs standing for the character at 1-based position pos of text, shaped
/// with the rest of its line, in outline units relative to the first glyph's origin, at the
/// given precision; nothing when pos is a line break, a character with no glyph of its own (part
/// of a ligature) or without outline. converter is reconfigured.
std::optional<TStrokeCollection> shapedStrokesAt(const TextSource& text, std::int32_t pos,
                                                 const ShapingOptions& options, int precision,
                                                 TTTFToVectorConverter& converter);

}  // namespace kerfline
