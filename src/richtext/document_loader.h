#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "common/font_description.h"
#include "richtext/styled_text.h"

namespace kerfline {

/// Largest document read, in bytes: far beyond any text worth cutting (each character becomes
/// a glyph conversion), yet small enough that the decoded text, at most 8 bytes per input
/// byte, stays within memory.
inline constexpr std::size_t kMaxDocumentBytes = std::size_t{64} << 20;

/// The loading rule shared by Open, the batch run and kerfline-convert: rich text when the
/// content is rich text, otherwise the same bytes again from the start as plain text.
/// Throws Error("Cannot open file <path>") when the file cannot be opened or is no regular
/// file, and Error("Failed to Load Stream") when the content can be read neither way (a read
/// error after opening, or more than 64 MiB).
StyledText loadDocument(const std::string& path, const TFontDescription& plainFormat);

/// The same rule on bytes already in memory.
StyledText loadDocumentBytes(std::string_view bytes, const TFontDescription& plainFormat);

}  // namespace kerfline
