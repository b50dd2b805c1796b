// The number rule against an independent reading: the grammar as a regular expression, the
// value from the C library's correctly rounded strtof (C locale), and the DXF text of every
// finite result read back to the same float.
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <regex>
#include <string>

#include "export/dxf_real.h"
#include "export/number_rule.h"

namespace {

const std::regex& grammar() {
  // The mantissa spelled without two ways to split a run of digits: the ambiguous
  // "[0-9]*\.?[0-9]*" makes the library's backtracking matcher take exponential time on long
  // digit runs that fail to match at the end.
  static const std::regex re(R"( *[+-]?([0-9]*(?:\.[0-9]*)?)([eE][+-]?[0-9]+)?)",
                             std::regex::ECMAScript | std::regex::optimize);
  return re;
}

void check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "mismatch: %s\n", what);
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 4096) return 0;  // std::regex recurses per character
  const std::string text(reinterpret_cast<const char*>(data), size);
  const auto value = kerfline::parseNumber(text);

  std::smatch m;
  bool expected = std::regex_match(text, m, grammar());
  // The mantissa needs a digit or a point ("." and ".e5" are numbers, "" and "-" are not).
  if (expected) expected = m[1].length() > 0;
  check(value.has_value() == expected, "grammar");
  if (!value) return 0;

  // strtof wants a digit somewhere in the mantissa; a mantissa without one is zero.
  const std::string mantissa = m[1].str();
  const bool hasDigit = mantissa.find_first_of("0123456789") != std::string::npos;
  const std::size_t start = text.find_first_not_of(' ');
  const bool negative = text[start] == '-';
  float reference = 0.0f;
  if (hasDigit) {
    std::setlocale(LC_NUMERIC, "C");
    reference = std::strtof(text.c_str() + start, nullptr);
  } else if (negative) {
    reference = -0.0f;
  }
  check(std::memcmp(&reference, &*value, sizeof reference) == 0, "value");

  const auto finite = kerfline::parseFiniteNumber(text);
  check(finite.has_value() == std::isfinite(*value), "finite");
  if (finite) {
    const std::string dxf = kerfline::DxfReal(*finite);
    const float back = std::strtof(dxf.c_str(), nullptr);
    check(back == *finite, "DxfReal read back");
  }
  return 0;
}
