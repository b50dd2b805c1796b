#pragma once
// UTF-8 and the character that stands in for one that could not be read.
#include <string>
#include <string_view>

namespace kerfline {

/// U+FFFD REPLACEMENT CHARACTER: what every reader gives for a character it could not read.
inline constexpr char32_t kReplacementChar = 0xFFFD;

/// UTF-8 helpers. Invalid sequences decode to U+FFFD, one per bad byte.
std::u32string utf8ToU32(std::string_view utf8);
/// True when the bytes are well-formed UTF-8 (no overlongs, surrogates or values past U+10FFFF).
bool isValidUtf8(std::string_view bytes);
/// Encodes code points as UTF-8 (see appendUtf8 for invalid ones).
std::string u32ToUtf8(std::u32string_view text);
/// Appends c as UTF-8; a surrogate or a value past U+10FFFF is written as U+FFFD.
void appendUtf8(std::string& out, char32_t c);

}  // namespace kerfline
