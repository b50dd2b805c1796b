#pragma once
#include <optional>
#include <string_view>

#include "richtext/styled_text.h"

namespace kerfline {

/// Reads RTF. Returns nothing when the content is not rich text (does not start with "{\rtf");
/// otherwise the text and its formatting as far as it could be read (a truncated file keeps
/// what came before the cut). Never throws, never reads past the buffer.
std::optional<StyledText> readRtf(std::string_view bytes);

}  // namespace kerfline
