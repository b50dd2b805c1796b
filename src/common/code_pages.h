#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace kerfline {

/// Windows code page numbers used for single-byte text.
namespace codepage {
inline constexpr int Windows1252 = 1252;
inline constexpr int Symbol = 42;  ///< symbol fonts: byte b >= 0x20 maps to U+F000 + b
}  // namespace codepage

/// The code page of a Windows character set (1252 for ANSI and DEFAULT, 1250 for
/// EASTEUROPE, 1251 for RUSSIAN, ... 874 for THAI, 10000 for MAC, 437 for OEM,
/// codepage::Symbol for SYMBOL; 1252 for anything unknown).
int codePageOfCharSet(int charSet);

/// The Unicode character that byte b stands for in the single-byte code page (1250-1258,
/// 874, 437, 850, 10000, codepage::Symbol). Bytes a code page leaves undefined decode to
/// U+FFFD, except Windows-1252's five holes, which decode to U+0081, U+008D, U+008F, U+0090
/// and U+009D as Windows itself does; symbol bytes below 0x20 stay controls. An unknown code
/// page decodes as 1252.
char32_t decodeByte(int codePage, std::uint8_t b);

/// Decodes a whole single-byte string through the code page.
std::u32string decodeSingleByte(int codePage, std::string_view bytes);

/// The byte that stands for c in the code page, or '?' when it has none.
std::uint8_t encodeChar(int codePage, char32_t c);

}  // namespace kerfline
