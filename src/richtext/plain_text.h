#pragma once
#include <string>
#include <string_view>

#include "common/font_description.h"
#include "richtext/styled_text.h"

namespace kerfline {

/// The text encodings a plain-text file is recognised in.
enum class PlainTextEncoding { Utf8Bom, Utf16Le, Utf16Be, Utf8, Windows1252 };

/// Which encoding decodePlainText reads the bytes in: a byte-order mark decides; without one,
/// well-formed UTF-8 is UTF-8 and anything else Windows-1252.
PlainTextEncoding detectPlainTextEncoding(std::string_view bytes);

/// The bytes as Unicode code points with every line break (CR LF, lone LF, lone CR) made
/// CR LF and NUL characters dropped. Malformed UTF-16 units decode to U+FFFD.
std::u32string decodePlainTextChars(std::string_view bytes);

/// Decodes plain text: UTF-8 (byte-order mark removed), UTF-16 LE/BE with a byte-order mark,
/// otherwise Windows-1252. CR LF, LF and CR all become CR LF; NULs are dropped. Every
/// character takes format.
StyledText decodePlainText(std::string_view bytes, const TFontDescription& format);

}  // namespace kerfline
