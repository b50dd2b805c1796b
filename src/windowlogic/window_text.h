#pragma once
// Qt-free texts of the main window: caret display, error box text, integer fields.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kerfline {

/// Panel2's caption: "  Pos [line:column]   Sel : [count]   " (line and column 1-based).
std::string caretPositionText(std::int32_t line, std::int32_t column, std::int32_t selLineCount);

/// The general error report's text: a full stop appended unless the message is empty or
/// ends in "." or a character that sorts before it.
std::string errorBoxText(std::string message);

/// A whole decimal number as integer fields read it: optional leading blanks, an optional
/// sign, digits, nothing after them, within 32 bits. Nothing otherwise.
std::optional<std::int32_t> parseWholeNumber(std::string_view text);

}  // namespace kerfline
