#pragma once
#include <array>

namespace kerfline::detail {

/// The Unicode characters of bytes 0x80..0xFF of one single-byte code page (0x00..0x7F are ASCII).
using HighHalf = std::array<char32_t, 128>;

/// The high half of a table-driven code page (1250-1258, 874, 437, 850, 10000), or nullptr.
const HighHalf* highHalfTable(int codePage);

}  // namespace kerfline::detail
