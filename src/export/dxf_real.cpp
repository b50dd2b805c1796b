#include "export/dxf_real.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "common/error.h"
#include "export/exact_float.h"

namespace kerfline {
namespace {

using U128 = Uint128;

constexpr int kDigits = 15;
constexpr std::uint64_t kTen15 = 1'000'000'000'000'000ULL;
constexpr std::uint64_t kTen14 = 100'000'000'000'000ULL;

constexpr std::array<U128, 40> makePowersOf10() {
  std::array<U128, 40> p{};
  p[0] = 1;
  for (std::size_t i = 1; i < p.size(); ++i) p[i] = p[i - 1] * 10;
  return p;
}
constexpr std::array<U128, 40> kPow10 = makePowersOf10();

// A float is m * 2^e with m < 2^24. For e < 0 its exact value is m * 5^k / 10^k (k = -e), and
// m * 5^k stays below 2^128 up to k = 44: every float from about 5e-7 upwards takes this path.
constexpr int kMaxFastK = 44;
constexpr std::array<U128, kMaxFastK + 1> makePowersOf5() {
  std::array<U128, kMaxFastK + 1> p{};
  p[0] = 1;
  for (std::size_t i = 1; i < p.size(); ++i) p[i] = p[i - 1] * 5;
  return p;
}
constexpr std::array<U128, kMaxFastK + 1> kPow5 = makePowersOf5();

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

int decimalLength(U128 n) {
  const int bits = bitLength(n);
  int d = (bits * 1233) >> 12;  // floor(bits * log10(2)), never above the true length
  if (d < 39 && n >= kPow10[d]) ++d;
  return d;
}

// The 15 leading significant digits of n (which has length decimal digits), rounded half up
// on everything below them. Returns false when the rounding carried to 10^15.
bool leadingDigits(U128 n, int length, std::uint64_t& q) {
  if (length <= kDigits) {
    q = static_cast<std::uint64_t>(n);
    return true;
  }
  const U128 unit = kPow10[length - kDigits];
  U128 quotient;
  U128 rest;
  if ((n >> 64) == 0) {
    const auto n64 = static_cast<std::uint64_t>(n);
    const auto u64 = static_cast<std::uint64_t>(unit);
    quotient = n64 / u64;
    rest = n64 % u64;
  } else {
    quotient = n / unit;
    rest = n - quotient * unit;
  }
  q = static_cast<std::uint64_t>(quotient);
  // The 16th digit is 5 or more exactly when the rest is at least half a unit: away from zero.
  if (rest * 2 >= unit) ++q;
  if (q == kTen15) {
    q = kTen14;
    return false;
  }
  return true;
}

void putPair(char* out, std::uint32_t pair) { std::memcpy(out, kDigitPairs + pair * 2, 2); }

// Writes the 15 decimal digits of q (q < 10^15, zero-filled on the left) at out, unrolled:
// this and the layout below are the export's hottest code.
void writeFifteenDigits(char* out, std::uint64_t q) {
  const auto high = static_cast<std::uint32_t>(q / 100'000'000);  // 7 digits
  const auto low = static_cast<std::uint32_t>(q % 100'000'000);   // 8 digits
  out[0] = static_cast<char>('0' + high / 1'000'000);
  const std::uint32_t h = high % 1'000'000;
  putPair(out + 1, h / 10000);
  putPair(out + 3, (h / 100) % 100);
  putPair(out + 5, h % 100);
  const std::uint32_t a = low / 10000;
  const std::uint32_t b = low % 10000;
  putPair(out + 7, a / 100);
  putPair(out + 9, a % 100);
  putPair(out + 11, b / 100);
  putPair(out + 13, b % 100);
}

}  // namespace

char* writeDxfReal(char* out, float v) {
  if (!std::isfinite(v)) throw Error("Coordinate out of range.");
  const FloatParts parts = decomposeFloat(v);
  const bool negative = parts.negative;
  std::uint32_t m = parts.mantissa;
  if (m == 0) {
    *out = '0';
    return out + 1;
  }
  int e = parts.exponent;
  const int zeros = std::countr_zero(m);
  m >>= zeros;
  e += zeros;

  std::uint64_t q = 0;
  int exponent = 0;  // |v| = 0.d1d2... * 10^exponent
  int count = kDigits;
  if (e < 0 && -e <= kMaxFastK) {
    const int k = -e;
    const U128 n = U128{m} * kPow5[static_cast<std::size_t>(k)];
    const int length = decimalLength(n);
    exponent = length - k;
    if (length <= kDigits) {
      q = static_cast<std::uint64_t>(n);
      count = length;
    } else {
      // Dropping s digits divides by 10^s = 2^s * 5^s. As n = m * 5^k with s < k, that is
      // m * 5^(k-s) / 2^s: a shift, and the first dropped bit decides the rounding.
      const int s = length - kDigits;
      const U128 t = U128{m} * kPow5[static_cast<std::size_t>(k - s)];
      q = static_cast<std::uint64_t>(t >> s);
      if ((t >> (s - 1)) & 1) ++q;
      if (q == kTen15) {
        q = kTen14;
        ++exponent;
      }
    }
  } else if (e >= 0) {
    const U128 n = U128{m} << e;
    const int length = decimalLength(n);
    exponent = length;
    if (!leadingDigits(n, length, q)) ++exponent;
    if (length < kDigits) count = length;
  } else {
    // Tiny floats, beyond the 128-bit path: their exact digits the long way.
    const ExactDecimal exact = exactDecimal(m, e);
    const std::string& digits = exact.digits;
    const int length = static_cast<int>(digits.size());
    exponent = exact.pointPos;
    if (length < kDigits) count = length;
    for (int i = 0; i < count; ++i) q = q * 10 + static_cast<std::uint64_t>(digits[i] - '0');
    if (length > kDigits && digits[kDigits] >= '5' && ++q == kTen15) {
      q = kTen14;
      ++exponent;
    }
  }

  // The text is laid out in a scratch buffer with fixed-size moves (over-reading the padded
  // digits, over-writing the scratch) and copied out in one fixed-size move.
  char digits[32];
  if (count < kDigits) q *= static_cast<std::uint64_t>(kPow10[static_cast<std::size_t>(kDigits - count)]);
  writeFifteenDigits(digits, q);
  std::memset(digits + kDigits, '0', sizeof digits - kDigits);
  count = kDigits;
  while (digits[count - 1] == '0') --count;

  char scratch[48];
  char* p = scratch;
  if (negative) *p++ = '-';
  if (exponent >= -3 && exponent <= 15) {
    if (exponent <= 0) {
      std::memcpy(p, "0.000", 5);
      p += 2 - exponent;
      std::memcpy(p, digits, 16);
      p += count;
    } else if (count <= exponent) {
      std::memcpy(p, digits, 16);  // the zero padding fills up to the decimal point
      p += exponent;
    } else {
      std::memcpy(p, digits, 16);
      std::memcpy(p + exponent + 1, digits + exponent, 16);
      p[exponent] = '.';
      p += count + 1;
    }
  } else {
    *p++ = digits[0];
    if (count > 1) {
      *p = '.';
      std::memcpy(p + 1, digits + 1, 16);
      p += count;
    }
    *p++ = 'E';
    int shown = exponent - 1;
    if (shown < 0) {
      *p++ = '-';
      shown = -shown;
    }
    if (shown >= 10) *p++ = static_cast<char>('0' + shown / 10);
    *p++ = static_cast<char>('0' + shown % 10);
  }
  static_assert(kDxfRealMaxLength <= sizeof scratch);
  std::memcpy(out, scratch, kDxfRealMaxLength);
  return out + (p - scratch);
}

void appendDxfReal(std::string& out, float v) {
  char buffer[kDxfRealMaxLength];
  out.append(buffer, writeDxfReal(buffer, v));
}

std::string DxfReal(float v) {
  std::string text;
  appendDxfReal(text, v);
  return text;
}

}  // namespace kerfline
