#pragma once
#include <string>

namespace kerfline {

/// Longest text DxfReal can give ("-d.ddddddddddddddE-45" and "-0.000ddddddddddddddd" are 21).
inline constexpr int kDxfRealMaxLength = 24;

/// The DXF text of a single-precision value: its exact decimal value rounded to 15
/// significant digits (a 5 in the 16th place away from zero), trailing zeros dropped,
/// positional for 1e-4 <= |v| < 1e15, otherwise "d.dddE-5" form; zero of either sign is "0".
/// Throws Error("Coordinate out of range.") for an infinity or NaN, which DXF cannot hold.
std::string DxfReal(float v);

/// Appends DxfReal(v) to out without a temporary string (the export's hot path).
void appendDxfReal(std::string& out, float v);

/// Writes DxfReal(v) at out, which has room for kDxfRealMaxLength chars; returns the end.
char* writeDxfReal(char* out, float v);

}  // namespace kerfline
