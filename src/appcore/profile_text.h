#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace kerfline {

/// Longest value a profile read returns, in bytes (never cutting a UTF-8 sequence).
inline constexpr std::size_t kProfileValueLimit = 2047;

/// The value of key in the first section named section of an initialisation-file text:
/// names matched regardless of ASCII case with blanks around them ignored, blanks around
/// the value and then one pair of matching quotes removed, cut to kProfileValueLimit bytes.
/// Nothing when the section or key is missing. Lines may end in CR LF, LF or nothing; a UTF-8
/// byte-order mark at the start is passed over (and kept by setProfileValue).
std::optional<std::string> findProfileValue(std::string_view content, std::string_view section,
                                            std::string_view key);

/// The text with key set to value in the first section named section: the key's line
/// replaced in place, else a line added after the section's last key line (after its header
/// when it has none), else the section and the line appended at the end. Written lines end
/// in CR LF; every other byte is kept. CR, LF and NUL in the value become blanks.
std::string setProfileValue(std::string_view content, std::string_view section,
                            std::string_view key, std::string_view value);

}  // namespace kerfline
