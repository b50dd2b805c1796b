#pragma once

namespace kerfline {

/// Longest text writeShortestFixed gives (the fixed form of -1.4e-45 is 48 characters).
inline constexpr int kShortestFixedMaxLength = 64;

/// Writes the finite float v at out (room for kShortestFixedMaxLength chars) as the shortest
/// decimal that reads back as v, the one nearest v where several are as short (ties to an
/// even last digit), in plain positional form: std::to_chars(v, chars_format::fixed)'s text.
/// Returns the end.
char* writeShortestFixed(char* out, float v);

}  // namespace kerfline
