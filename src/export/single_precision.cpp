#include "export/single_precision.h"

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

namespace kerfline {
namespace {

__extension__ typedef unsigned __int128 U128;  // GCC and clang on 64-bit targets

int bitLength(U128 a) {
  const auto high = static_cast<std::uint64_t>(a >> 64);
  return high ? 128 - std::countl_zero(high)
              : 64 - std::countl_zero(static_cast<std::uint64_t>(a));
}

// a * 2^k rounded to the nearest float, ties to even. Built from the bits directly: the
// rounded significand q counts units of the result's ulp, so q = 2^23 of a subnormal and a
// carry to q = 2^24 both land on the right exponent when added to the exponent field.
float roundToFloat(U128 a, int k, bool negative) {
  std::uint32_t bits = 0;
  if (a != 0) {
    const int length = bitLength(a);
    const int ulpExp = std::max(length + k - 24, -149);
    const int shift = ulpExp - k;
    U128 q = 0;
    if (shift <= 0) {
      q = a << -shift;
    } else if (shift <= length) {
      q = a >> shift;
      const U128 rest = a - (q << shift);
      const U128 half = U128{1} << (shift - 1);
      if (rest > half || (rest == half && (q & 1))) ++q;
    }  // else below half the smallest subnormal: zero
    if (q != 0) {
      const long long field = (static_cast<long long>(ulpExp) + 149) * (1LL << 23) +
                              static_cast<long long>(q);
      bits = field >= 0x7F800000LL ? 0x7F800000u : static_cast<std::uint32_t>(field);
    }
  }
  if (negative) bits |= 0x80000000u;
  return std::bit_cast<float>(bits);
}

// A finite float as m * 2^e with an integer m of at most 24 bits.
void decompose(float v, std::uint32_t& m, int& e, bool& negative) {
  const auto bits = std::bit_cast<std::uint32_t>(v);
  negative = (bits >> 31) != 0;
  const int biased = static_cast<int>((bits >> 23) & 0xFF);
  m = bits & 0x7FFFFF;
  e = biased == 0 ? -149 : biased - 150;
  if (biased != 0) m |= 0x800000;
}

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
  std::uint32_t ma = 0;
  std::uint32_t mb = 0;
  int ea = 0;
  int eb = 0;
  bool na = false;
  bool nb = false;
  decompose(a, ma, ea, na);
  decompose(b, mb, eb, nb);
  magnitude_ = std::uint64_t{ma} * mb;
  exponent_ = ea + eb;
  negative_ = na != nb;
}

float ScaledToFloat::operator()(std::int32_t x) const {
  // Outline coordinates stay far below 2^16, where x * (a * b) has at most 64 bits and the
  // long double product is exact: its conversion is then the one rounding.
  if (!finite_ || (x < (1 << 16) && x > -(1 << 16))) return static_cast<float>(x * product_);
  const auto ux = static_cast<std::uint64_t>(x < 0 ? -static_cast<std::int64_t>(x) : x);
  return roundToFloat(U128{ux} * magnitude_, exponent_, negative_ != (x < 0));
}

float productToFloat(std::int32_t x, float a, float b) { return ScaledToFloat(a, b)(x); }

float mulAddToFloat(float a, float b, float c) {
  // Fast path: a * b is exact in double (two 24-bit significands); when the sum is exact in
  // double too (TwoSum finds no error, the usual case in a layout), converting it is the one
  // rounding.
  {
    const double p = static_cast<double>(a) * b;
    const double s = p + c;
    const double bp = s - p;
    const double err = (p - (s - bp)) + (c - bp);
    if (err == 0) return static_cast<float>(s);
  }
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
  const U128 n = negative ? 0 - static_cast<std::uint64_t>(numerator)
                          : static_cast<std::uint64_t>(numerator);
  const U128 d = static_cast<std::uint64_t>(denominator);
  if (n == 0) return negative ? -0.0f : 0.0f;
  // Enough quotient bits (at least 26) that a sticky bit for the remainder settles every tie.
  const int shift = std::max(0, bitLength(d) - bitLength(n) + 28);
  const U128 scaled = n << shift;
  const U128 q = scaled / d;
  const U128 sticky = scaled - q * d != 0 ? 1 : 0;
  return roundToFloat((q << 1) | sticky, -shift - 1, negative);
}

}  // namespace kerfline
