#pragma once
#include <cstdint>

namespace kerfline {

/// Multiplies outline integers by the exact product of two finite floats (StrokeScale =
/// OutlineFactor * UnitScale) and rounds each result once to single precision.
class ScaledToFloat {
 public:
  /// The factor a * b, held exactly.
  ScaledToFloat(float a, float b);
  /// x * a * b rounded once to the nearest float, ties to even.
  float operator()(std::int32_t x) const;

 private:
  std::uint64_t magnitude_ = 0;  // |a| * |b| / 2^exponent_, at most 48 bits
  int exponent_ = 0;
  bool negative_ = false;
  bool finite_ = true;
  long double product_ = 0;  // a * b, exact (48 bits)
};

/// The exact value a * b + c rounded once to single precision (nearest, ties to even).
float mulAddToFloat(float a, float b, float c);

/// The exact quotient numerator / denominator rounded once to single precision; denominator > 0.
float quotientToFloat(std::int64_t numerator, std::int64_t denominator);

}  // namespace kerfline
