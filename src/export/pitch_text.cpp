#include "export/pitch_text.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "export/exact_float.h"

namespace kerfline {
namespace {

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
  const FloatParts parts = decomposeFloat(maximum);
  int facExp = 0;
  const auto facMant = static_cast<std::uint64_t>(std::ldexp(std::frexp(std::fabs(kFactor), &facExp), 64));
  const Uint128 product = Uint128{parts.mantissa} * facMant;
  return roundToFloat(product, parts.exponent + (facExp - 64), maximum > 0.0f);
}

std::string formatPitch(float pitch) {
  if (std::isnan(pitch)) return "NAN";
  if (std::isinf(pitch)) return pitch < 0 ? "-INF" : "INF";
  if (pitch == 0.0f) return "0.000";

  const FloatParts parts = decomposeFloat(pitch);
  ExactDecimal d = exactDecimal(parts.mantissa, parts.exponent);
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
