#pragma once
#include <optional>
#include <string_view>

namespace kerfline {

/// Reads text by the number rule: optional leading blanks (code 32 only), an optional sign,
/// digits with an optional "." and fraction digits (either run may be empty, "." alone is 0),
/// an optional exponent ("E"/"e", optional sign, at least one digit), and nothing after it.
/// Empty text, blanks alone and a sign alone are not numbers; "." is always the separator.
/// The value is the decimal number rounded once to single precision (overflow gives +-inf).
std::optional<float> parseNumber(std::string_view text);

/// parseNumber, but only finite values count as numbers (for fields read by the exports).
std::optional<float> parseFiniteNumber(std::string_view text);

}  // namespace kerfline
