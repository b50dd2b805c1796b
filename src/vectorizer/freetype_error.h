#pragma once
// FreeType's error codes in words.
#include <string>

namespace kerfline {

/// FreeType's own description of error code err ("invalid composite glyph"), or
/// "FreeType error <err>" for a code it does not list.
std::string freeTypeErrorText(int err);

}  // namespace kerfline
