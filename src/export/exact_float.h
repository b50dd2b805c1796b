#pragma once
// Exact arithmetic on single-precision values: a float taken apart into integers, an exact
// integer result rounded once back to a float, and a float's exact decimal value.
#include <bit>
#include <cstdint>
#include <string>

namespace kerfline {

/// Unsigned 128-bit integer (GCC and clang on 64-bit targets): wide enough for the product of
/// two significands and for every float from about 5e-7 upwards written as an integer.
__extension__ typedef unsigned __int128 Uint128;

/// A finite float as (-1)^negative * mantissa * 2^exponent, mantissa below 2^24 (0 for zero).
struct FloatParts {
  std::uint32_t mantissa = 0;  ///< the significand with its leading bit, as an integer
  int exponent = 0;            ///< power of two of its last bit (-149 for subnormals)
  bool negative = false;       ///< the sign bit
};

/// The parts of a finite float, read from its bits (no rounding anywhere).
inline FloatParts decomposeFloat(float v) {
  const auto bits = std::bit_cast<std::uint32_t>(v);
  const int biased = static_cast<int>((bits >> 23) & 0xFF);
  FloatParts p;
  p.negative = (bits >> 31) != 0;
  p.mantissa = bits & 0x7FFFFF;
  p.exponent = biased == 0 ? -149 : biased - 150;
  if (biased != 0) p.mantissa |= 0x800000;
  return p;
}

/// Number of significant bits of a (0 for 0).
inline int bitLength(Uint128 a) {
  const auto high = static_cast<std::uint64_t>(a >> 64);
  return high ? 128 - std::countl_zero(high)
              : 64 - std::countl_zero(static_cast<std::uint64_t>(a));
}

/// a * 2^k, negated when negative, rounded once to the nearest float (ties to even), with
/// subnormals, underflow to a signed zero and overflow to a signed infinity.
float roundToFloat(Uint128 a, int k, bool negative);

/// The exact decimal value of a float's magnitude: 0.d1d2...dn x 10^pointPos.
struct ExactDecimal {
  std::string digits;  ///< without leading or trailing zeros; empty for zero
  int pointPos = 0;    ///< where the decimal point goes, counted from the first digit
};

/// The exact decimal value of mantissa * 2^exponent. Every float has a finite expansion: the
/// integer mantissa * 2^e for e >= 0, or mantissa * 5^-e / 10^-e otherwise.
ExactDecimal exactDecimal(std::uint32_t mantissa, int exponent);

}  // namespace kerfline
