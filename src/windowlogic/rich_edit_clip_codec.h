#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "richtext/styled_text.h"

namespace kerfline {

/// Clipboard type under which the editor puts its own selection, every character with its
/// complete format (HTML would lose the character set and pitch).
inline constexpr char StyledClipMimeType[] = "application/x-kerfline-styled-text";

/// Serialises a styled text for the clipboard.
std::string encodeStyledClip(const StyledText& text);

/// Reads back what encodeStyledClip wrote; nothing for anything else (the clipboard is outside
/// input: every count is checked against the bytes left before it is used).
std::optional<StyledText> decodeStyledClip(std::string_view bytes);

}  // namespace kerfline
