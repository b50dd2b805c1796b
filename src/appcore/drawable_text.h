#pragma once
// Whether a text can be drawn at all once faces or glyphs failed to load.
#include "common/text_source.h"

namespace kerfline {

class TTTFToVectorConverter;

/// Throws Error naming the faces and glyphs that could not be loaded when, because of them,
/// no character of text gives anything to draw at the given precision: such a job must fail
/// before any file is replaced. A text of white space alone (or empty) is never refused, nor
/// one whose characters are merely missing from every face. Looks no further than the first
/// character that draws; failures met are left in converter.LoadFailures().
void requireDrawableText(const TextSource& text, int precision, TTTFToVectorConverter& converter);

}  // namespace kerfline
