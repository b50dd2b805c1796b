#include "export/exact_float.h"

#include <algorithm>
#include <vector>

namespace kerfline {

float roundToFloat(Uint128 a, int k, bool negative) {
  // Built from the bits directly: the rounded significand q counts units of the result's ulp,
  // so q = 2^23 of a subnormal and a carry to q = 2^24 both land on the right exponent when
  // added to the exponent field.
  std::uint32_t bits = 0;
  if (a != 0) {
    const int length = bitLength(a);
    const int ulpExp = std::max(length + k - 24, -149);
    const int shift = ulpExp - k;
    Uint128 q = 0;
    if (shift <= 0) {
      q = a << -shift;
    } else if (shift <= length) {
      q = a >> shift;
      const Uint128 rest = a - (q << shift);
      const Uint128 half = Uint128{1} << (shift - 1);
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

ExactDecimal exactDecimal(std::uint32_t mantissa, int exponent) {
  ExactDecimal d;
  if (mantissa == 0) return d;
  // mantissa * 2^e or mantissa * 5^-e as base-10^9 limbs, least significant first; the
  // factor goes in as large powers so that the slowest case (2^-149) takes a few dozen passes.
  constexpr std::uint32_t kBase = 1'000'000'000;
  std::vector<std::uint32_t> limbs{mantissa % kBase, mantissa / kBase};
  const std::uint32_t base = exponent > 0 ? 2 : 5;
  const std::uint32_t bigFactor = exponent > 0 ? 1u << 29 : 1'220'703'125u;  // 2^29, 5^13
  const int bigPower = exponent > 0 ? 29 : 13;
  int left = exponent < 0 ? -exponent : exponent;
  while (left > 0) {
    std::uint32_t factor = bigFactor;
    if (left >= bigPower) {
      left -= bigPower;
    } else {
      factor = 1;
      for (; left > 0; --left) factor *= base;
    }
    std::uint64_t carry = 0;
    for (auto& limb : limbs) {
      const std::uint64_t p = std::uint64_t{limb} * factor + carry;
      limb = static_cast<std::uint32_t>(p % kBase);
      carry = p / kBase;
    }
    while (carry != 0) {
      limbs.push_back(static_cast<std::uint32_t>(carry % kBase));
      carry /= kBase;
    }
  }
  for (auto it = limbs.rbegin(); it != limbs.rend(); ++it) {
    char part[9];
    std::uint32_t v = *it;
    for (int i = 8; i >= 0; --i, v /= 10) part[i] = static_cast<char>('0' + v % 10);
    d.digits.append(part, 9);
  }
  d.digits.erase(0, d.digits.find_first_not_of('0'));
  d.pointPos = static_cast<int>(d.digits.size()) + (exponent < 0 ? exponent : 0);
  d.digits.erase(d.digits.find_last_not_of('0') + 1);
  return d;
}

}  // namespace kerfline
