#include "export/exact_float.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>

namespace kerfline {
namespace {

ExactDecimal exactOf(float v) {
  const FloatParts p = decomposeFloat(v);
  return exactDecimal(p.mantissa, p.exponent);
}

// Expected digits from Python: decimal.Decimal of the float (exact by construction).
TEST(exact_float_test, exact_decimal_values) {
  const ExactDecimal tenth = exactOf(0.1f);
  EXPECT_EQ(tenth.digits, "100000001490116119384765625");
  EXPECT_EQ(tenth.pointPos, 0);

  const ExactDecimal smallest = exactOf(std::numeric_limits<float>::denorm_min());
  EXPECT_EQ(smallest.digits,
            "140129846432481707092372958328991613128026194187651577175706828388979108268586060"
            "148663818836212158203125");
  EXPECT_EQ(smallest.pointPos, -44);  // 1.4e-45

  const ExactDecimal largest = exactOf(std::numeric_limits<float>::max());
  EXPECT_EQ(largest.digits, "34028234663852885981170418348451692544");
  EXPECT_EQ(largest.pointPos, 39);

  const ExactDecimal hundred = exactOf(-100.0f);
  EXPECT_EQ(hundred.digits, "1");
  EXPECT_EQ(hundred.pointPos, 3);
  EXPECT_TRUE(exactOf(0.0f).digits.empty());
}

TEST(exact_float_test, parts_hold_the_value_and_round_back_unchanged) {
  for (const float v : {1.0f, -1.5f, 0.1f, 3e-39f, -std::numeric_limits<float>::denorm_min(),
                        std::numeric_limits<float>::max(), 0.0f, -0.0f}) {
    const FloatParts p = decomposeFloat(v);
    EXPECT_LT(p.mantissa, 1u << 24);
    EXPECT_EQ(std::ldexp(static_cast<double>(p.mantissa), p.exponent) * (p.negative ? -1 : 1), v);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(roundToFloat(p.mantissa, p.exponent, p.negative)),
              std::bit_cast<std::uint32_t>(v));
  }
  // Half of the smallest subnormal is a tie that goes to even, i.e. zero; above it, up.
  EXPECT_EQ(roundToFloat(1, -150, false), 0.0f);
  EXPECT_EQ(roundToFloat(3, -151, false), std::numeric_limits<float>::denorm_min());
  EXPECT_EQ(roundToFloat(Uint128{1} << 100, 100, true), -std::numeric_limits<float>::infinity());
}

}  // namespace
}  // namespace kerfline
