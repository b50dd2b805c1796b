#include "export/pitch_text.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <vector>

namespace kerfline {
namespace {

__extension__ typedef unsigned __int128 Uint128;

// The exact decimal value of a finite non-zero float as 0.d1d2...dn x 10^pointPos, digits
// without leading or trailing zeros. A float is M x 2^e, so its decimal expansion is finite:
// M x 2^e for e >= 0, or M x 5^-e / 10^-e otherwise; both are small big-integer products.
struct ExactDecimal {
  std::string digits;
  int pointPos = 0;
};

class BigDecimalInteger {
 public:
  explicit BigDecimalInteger(std::uint32_t v) : limbs_{v % kBase, v / kBase} {}
  void multiply(std::uint32_t factor) {
    std::uint64_t carry = 0;
    for (auto& limb : limbs_) {
      const std::uint64_t p = std::uint64_t{limb} * factor + carry;
      limb = static_cast<std::uint32_t>(p % kBase);
      carry = p / kBase;
    }
    while (carry != 0) {
      limbs_.push_back(static_cast<std::uint32_t>(carry % kBase));
      carry /= kBase;
    }
  }
  std::string toString() const {
    std::string s;
    for (auto it = limbs_.rbegin(); it != limbs_.rend(); ++it) {
      std::string part = std::to_string(*it);
      s += std::string(9 - part.size(), '0') + part;
    }
    const auto first = s.find_first_not_of('0');
    return first == std::string::npos ? std::string() : s.substr(first);
  }

 private:
  static constexpr std::uint32_t kBase = 1000000000;
  std::vector<std::uint32_t> limbs_;  // base 1e9, least significant first
};

ExactDecimal exactDecimal(float magnitude) {
  int exponent = 0;
  const float fraction = std::frexp(magnitude, &exponent);
  auto mantissa = static_cast<std::uint32_t>(std::ldexp(fraction, 24));
  int e = exponent - 24;
  while ((mantissa & 1u) == 0) {
    mantissa >>= 1;
    ++e;
  }
  BigDecimalInteger n(mantissa);
  for (int i = 0; i < std::abs(e); ++i) n.multiply(e > 0 ? 2 : 5);
  ExactDecimal d;
  d.digits = n.toString();
  d.pointPos = static_cast<int>(d.digits.size()) - (e < 0 ? -e : 0);
  d.digits.erase(d.digits.find_last_not_of('0') + 1);
  return d;
}

// Keeps the first `keep` digits, a 5 in the next place rounding away from zero (the digits
// are exact, so any 5 there means "half or more").
void roundToDigits(ExactDecimal& d, int keep) {
  if (keep >= static_cast<int>(d.digits.size())) return;
  if (keep < 0) {
    d.digits.clear();
    return;
  }
  const bool up = d.digits[static_cast<std::size_t>(keep)] >= '5';
  d.digits.resize(static_cast<std::size_t>(keep));
  if (up) {
    int i = keep - 1;
    while (i >= 0 && d.digits[static_cast<std::size_t>(i)] == '9') d.digits[static_cast<std::size_t>(i--)] = '0';
    if (i >= 0) {
      ++d.digits[static_cast<std::size_t>(i)];
    } else {
      d.digits.insert(d.digits.begin(), '1');
      ++d.pointPos;
    }
  }
  d.digits.erase(d.digits.find_last_not_of('0') + 1);
}

char digitAt(const ExactDecimal& d, int index) {
  return index >= 0 && index < static_cast<int>(d.digits.size()) ? d.digits[static_cast<std::size_t>(index)] : '0';
}

}  // namespace

float suggestedPitch(float maximum) {
  static constexpr long double kFactor = -1.1L;
  if (!std::isfinite(maximum) || maximum == 0.0f) return static_cast<float>(maximum * kFactor);

  // The product of a 24-bit and a 64-bit mantissa needs 88 bits: form it exactly and round it
  // to single precision once, so no intermediate extended rounding can shift a tie.
  int maxExp = 0;
  const auto maxMant = static_cast<std::uint32_t>(std::ldexp(std::frexp(std::fabs(maximum), &maxExp), 24));
  int facExp = 0;
  const auto facMant = static_cast<std::uint64_t>(std::ldexp(std::frexp(std::fabs(kFactor), &facExp), 64));
  const Uint128 product = Uint128{maxMant} * facMant;
  const int k = (maxExp - 24) + (facExp - 64);

  const auto high = static_cast<std::uint64_t>(product >> 64);
  const int bits = high != 0 ? 128 - std::countl_zero(high) : 64 - std::countl_zero(static_cast<std::uint64_t>(product));
  const int topExp = bits - 1 + k;
  const int shift = topExp >= -126 ? bits - 24 : -149 - k;  // keep 24 bits, or down to 2^-149
  float magnitude = 0.0f;
  if (shift <= 0) {
    magnitude = std::ldexp(static_cast<float>(static_cast<std::uint32_t>(product)), k);
  } else {
    Uint128 q = product >> shift;
    const Uint128 rest = product - (q << shift);
    const Uint128 half = Uint128{1} << (shift - 1);
    if (rest > half || (rest == half && (q & 1) != 0)) ++q;
    magnitude = std::ldexp(static_cast<float>(static_cast<std::uint32_t>(q)), k + shift);
  }
  return (maximum > 0.0f) ? -magnitude : magnitude;
}

std::string formatPitch(float pitch) {
  if (std::isnan(pitch)) return "NAN";
  if (std::isinf(pitch)) return pitch < 0 ? "-INF" : "INF";
  if (pitch == 0.0f) return "0.000";

  ExactDecimal d = exactDecimal(std::fabs(pitch));
  const std::string sign = pitch < 0 ? "-" : "";
  if (d.pointPos > 7) {  // 1e7 or more: not a usable pitch, shown in E notation
    roundToDigits(d, 7);
    std::string text = sign + d.digits.substr(0, 1);
    if (d.digits.size() > 1) {  // two appends: "." + string trips GCC 12's -Wrestrict at -O3
      text += '.';
      text += d.digits.substr(1);
    }
    return text + "E" + std::to_string(d.pointPos - 1);
  }
  roundToDigits(d, std::min(7, d.pointPos + 3));
  // Anything that rounds to zero reads "0.000", never "-0.000".
  if (d.digits.empty()) return "0.000";
  std::string text = sign;
  if (d.pointPos <= 0) {
    text += '0';
  } else {
    for (int i = 0; i < d.pointPos; ++i) text += digitAt(d, i);
  }
  text += '.';
  for (int i = d.pointPos; i < d.pointPos + 3; ++i) text += digitAt(d, i);
  return text;
}

}  // namespace kerfline
