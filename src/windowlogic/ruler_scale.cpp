#include "windowlogic/ruler_scale.h"

#include <charconv>
#include <cmath>

namespace kerfline {

GridSpacing gridSpacingFor(double pixelsPerUnit, double minPixels) {
  GridSpacing g;
  if (!(pixelsPerUnit > 0) || !std::isfinite(pixelsPerUnit)) return g;
  const double wanted = minPixels / pixelsPerUnit;  // smallest step in units
  int exponent = static_cast<int>(std::floor(std::log10(wanted)));
  double power = std::pow(10.0, exponent);
  int mantissa = 1;
  // log10 may land a hair below an exact power; step up until the spacing is wide enough.
  for (;;) {
    if (power * 1 >= wanted) { mantissa = 1; break; }
    if (power * 2 >= wanted) { mantissa = 2; break; }
    if (power * 5 >= wanted) { mantissa = 5; break; }
    power *= 10;
    ++exponent;
  }
  g.major = mantissa * power;
  g.minor = g.major / (mantissa == 2 ? 4 : 5);
  g.decimals = exponent < 0 ? -exponent : 0;
  return g;
}

void gridIndices(double lo, double hi, double step, std::int64_t limit, std::int64_t& first,
                 std::int64_t& last) {
  first = 1;
  last = 0;
  if (!(step > 0) || !std::isfinite(lo) || !std::isfinite(hi) || hi < lo) return;
  const double a = std::ceil(lo / step);
  const double b = std::floor(hi / step);
  if (b - a + 1 > static_cast<double>(limit) || b < a) return;
  first = static_cast<std::int64_t>(a);
  last = static_cast<std::int64_t>(b);
}

std::string rulerLabel(std::int64_t k, double step, int decimals) {
  if (k == 0) return "0";
  // to_chars: the window runs under the user's locale, which may print a decimal comma.
  char text[400];
  const auto r = std::to_chars(text, text + sizeof text, static_cast<double>(k) * step,
                               std::chars_format::fixed, decimals);
  return std::string(text, r.ec == std::errc{} ? r.ptr : text);
}

}  // namespace kerfline
