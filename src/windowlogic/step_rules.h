#pragma once
// Qt-free rules of character stepping.
#include <cstdint>

namespace kerfline {

/// Next 1-based position in a text of length len (> 0): after the last comes the first.
std::int32_t nextCharPos(std::int32_t pos, std::int32_t len);
/// Previous position: before the first comes the last; a position the text has meanwhile
/// lost is brought back to the last character.
std::int32_t prevCharPos(std::int32_t pos, std::int32_t len);
/// Empty-editor stepping of an 8-bit code: 255 -> 32, else + 1 (8-bit).
std::uint8_t nextEmptyCode(std::uint8_t code);
/// 32 -> 255, else - 1 (8-bit, so 0 -> 255).
std::uint8_t prevEmptyCode(std::uint8_t code);

}  // namespace kerfline
