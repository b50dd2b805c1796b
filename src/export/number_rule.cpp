#include "export/number_rule.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>

namespace kerfline {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t digitRun(std::string_view text, std::size_t i) {
  while (i < text.size() && isDigit(text[i])) ++i;
  return i;
}

// The decimal exponent of the first significant digit (1 for 1..9.99, 0 for 0.1..0.999), with
// the exponent saturated far beyond float range; the text has passed the grammar and holds a
// nonzero digit. Out-of-range results are decided by it alone, whatever the locale.
long long decimalMagnitude(std::string_view text, std::size_t intStart, std::size_t intEnd,
                           std::size_t fracStart, std::size_t fracEnd, std::size_t expStart) {
  long long exponent = 0;
  if (expStart < text.size()) {
    std::size_t i = expStart + 1;
    bool negative = false;
    if (text[i] == '+' || text[i] == '-') negative = text[i++] == '-';
    for (; i < text.size(); ++i) {
      if (exponent < 1'000'000'000) exponent = exponent * 10 + (text[i] - '0');
    }
    if (negative) exponent = -exponent;
  }
  std::size_t i = intStart;
  while (i < intEnd && text[i] == '0') ++i;
  if (i < intEnd) return exponent + static_cast<long long>(intEnd - i);
  i = fracStart;
  while (i < fracEnd && text[i] == '0') ++i;
  return exponent - static_cast<long long>(i - fracStart);
}

}  // namespace

std::optional<float> parseNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';

  const std::size_t intStart = i;
  i = digitRun(text, i);
  const std::size_t intEnd = i;
  std::size_t fracStart = i;
  std::size_t fracEnd = i;
  bool point = false;
  if (i < text.size() && text[i] == '.') {
    point = true;
    fracStart = ++i;
    i = fracEnd = digitRun(text, i);
  }
  const bool noDigits = intStart == intEnd && fracStart == fracEnd;
  // A sign alone (or nothing) is not a number, but "." and "-." are: both runs may be empty
  // once the point is there.
  if (noDigits && !point) return std::nullopt;

  const std::size_t expStart = i;
  if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    const std::size_t expDigits = i;
    i = digitRun(text, i);
    if (i == expDigits) return std::nullopt;
  }
  if (i != text.size()) return std::nullopt;

  float value = 0.0f;
  if (!noDigits) {
    // from_chars wants at least one digit before an exponent and no sign, so hand it
    // "<int>.<frac>e<exp>" with an empty integer run written as "0".
    std::string canonical;
    canonical.reserve(text.size() + 1);
    if (intStart == intEnd) canonical.push_back('0');
    canonical.append(text.substr(intStart, intEnd - intStart));
    if (fracStart != fracEnd) {
      canonical.push_back('.');
      canonical.append(text.substr(fracStart, fracEnd - fracStart));
    }
    canonical.append(text.substr(expStart));
    const char* first = canonical.data();
    const char* last = first + canonical.size();
    const auto [end, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
      // libstdc++ leaves value untouched here; the decimal value is either beyond the largest
      // float (rounds to infinity) or below half the smallest subnormal (rounds to zero).
      value = decimalMagnitude(text, intStart, intEnd, fracStart, fracEnd, expStart) > 0
                  ? std::numeric_limits<float>::infinity()
                  : 0.0f;
    } else if (ec != std::errc() || end != last) {
      return std::nullopt;
    }
  }
  return negative ? -value : value;
}

std::optional<float> parseFiniteNumber(std::string_view text) {
  const auto value = parseNumber(text);
  if (!value || !std::isfinite(*value)) return std::nullopt;
  return value;
}

}  // namespace kerfline
