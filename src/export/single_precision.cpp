#include "export/single_precision.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "export/exact_float.h"

namespace kerfline {
namespace {

static_assert(std::numeric_limits<long double>::digits == 64,
              "the layout needs the x87 80-bit long double for its exact intermediate products");

bool lowestBitSet(long double v) {
  std::uint64_t significand = 0;
  std::memcpy(&significand, &v, sizeof significand);  // x87 extended: significand comes first
  return (significand & 1) != 0;
}

}  // namespace

ScaledToFloat::ScaledToFloat(float a, float b) : product_(static_cast<long double>(a) * b) {
  if (!std::isfinite(a) || !std::isfinite(b)) {
    finite_ = false;
    return;
  }
  const FloatParts pa = decomposeFloat(a);
  const FloatParts pb = decomposeFloat(b);
  magnitude_ = std::uint64_t{pa.mantissa} * pb.mantissa;
  exponent_ = pa.exponent + pb.exponent;
  negative_ = pa.negative != pb.negative;
}

float ScaledToFloat::operator()(std::int32_t x) const {
  // Outline coordinates stay far below 2^16, where x * (a * b) has at most 64 bits and the
  // long double product is exact: its conversion is then the one rounding.
  if (!finite_ || (x < (1 << 16) && x > -(1 << 16))) return static_cast<float>(x * product_);
  const auto ux = static_cast<std::uint64_t>(x < 0 ? -static_cast<std::int64_t>(x) : x);
  return roundToFloat(Uint128{ux} * magnitude_, exponent_, negative_ != (x < 0));
}

float mulAddToFloat(float a, float b, float c) {
  // a * b is exact in 64 bits. The sum may not be, so its error is recovered (TwoSum) and the
  // sum rounded to odd: an inexact sum gets an odd last bit, which rules out the one case in
  // which rounding twice differs from rounding once (a sum landing on a float midpoint).
  const long double p = static_cast<long double>(a) * b;
  long double s = p + c;
  if (!std::isfinite(s)) return static_cast<float>(s);
  const long double bp = s - p;
  const long double err = (p - (s - bp)) + (c - bp);
  if (err != 0 && !lowestBitSet(s)) {
    s = std::nextafter(s, err > 0 ? std::numeric_limits<long double>::infinity()
                                  : -std::numeric_limits<long double>::infinity());
  }
  return static_cast<float>(s);
}

float quotientToFloat(std::int64_t numerator, std::int64_t denominator) {
  const bool negative = numerator < 0;
  const Uint128 n = negative ? 0 - static_cast<std::uint64_t>(numerator)
                             : static_cast<std::uint64_t>(numerator);
  const Uint128 d = static_cast<std::uint64_t>(denominator);
  if (n == 0) return negative ? -0.0f : 0.0f;
  // Enough quotient bits (at least 26) that a sticky bit for the remainder settles every tie.
  const int shift = std::max(0, bitLength(d) - bitLength(n) + 28);
  const Uint128 scaled = n << shift;
  const Uint128 q = scaled / d;
  const Uint128 sticky = scaled - q * d != 0 ? 1 : 0;
  return roundToFloat((q << 1) | sticky, -shift - 1, negative);
}

}  // namespace kerfline
