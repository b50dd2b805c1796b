#pragma once
#include <string>

namespace kerfline {

/// The suggested line pitch for the tallest character height: maximum x (-1.1 held in
/// extended precision), the exact product rounded once to single precision (ties to even).
float suggestedPitch(float maximum);

/// The pitch as the pitch field shows it: fixed point with three decimals after rounding the
/// exact value to at most 7 significant digits and 3 decimals (a 5 rounds away from zero);
/// "0.000" for anything that rounds to zero; magnitudes of 1e7 or more as "d.ddddddE7"
/// (7 significant digits, trailing zeros dropped); "INF", "-INF" and "NAN" as such.
std::string formatPitch(float pitch);

}  // namespace kerfline
