#include "export/single_precision.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "export/dxf_real.h"
#include "export/text_export.h"

namespace kerfline {
namespace {

// Independent reference: hi + lo is the exact value (hi its rounding to long double, lo the
// exact rest). Rounding hi to float is right unless hi sits exactly on a midpoint between two
// floats; then the sign of lo decides, and only a true tie goes to even.
float roundExact(long double hi, long double lo) {
  const auto f = static_cast<float>(hi);
  const float other = static_cast<long double>(f) < hi
                          ? std::nextafter(f, std::numeric_limits<float>::infinity())
                          : std::nextafter(f, -std::numeric_limits<float>::infinity());
  const long double mid = (static_cast<long double>(f) + other) / 2;
  if (hi != mid || lo == 0) return f;
  const bool above = lo > 0;
  return (above == (other > f)) ? other : f;
}

float referenceProduct(std::int32_t x, float a, float b) {
  const long double xa = static_cast<long double>(x) * a;  // 31 + 24 bits: exact
  const long double hi = xa * b;
  const long double lo = std::fma(xa, static_cast<long double>(b), -hi);
  return roundExact(hi, lo);
}

float referenceMulAdd(float a, float b, float c) {
  const long double p = static_cast<long double>(a) * b;  // 48 bits: exact
  const long double hi = p + c;
  const long double lo = std::fma(static_cast<long double>(a), static_cast<long double>(b),
                                  static_cast<long double>(c) - hi);
  return roundExact(hi, lo);
}

TEST(single_precision_test, worked_examples_of_the_layout) {
  // Scale 100 and a 10-point character: UnitScale 0.01, StrokeScale 0.001800000031292437.
  const float unitScale = unitScaleFor(100, 10);
  EXPECT_EQ(unitScale, 0.01f);
  EXPECT_EQ(static_cast<double>(kOutlineFactor) * unitScale, 0.001800000031292437);
  EXPECT_EQ(DxfReal(ScaledToFloat(kOutlineFactor, unitScale)(500)), "0.900000035762787");
  EXPECT_EQ(unitScaleFor(10000, 72), 7.2f);
  EXPECT_EQ(unitScaleFor(0, 72), 1.0f);
  EXPECT_EQ(unitScaleFor(-5, 72), 1.0f);
  // SpacePc 10: origins at 1.10000002384186 times the sum of the widths.
  EXPECT_EQ(DxfReal(quotientToFloat(110, 100)), "1.10000002384186");
}

TEST(single_precision_test, quotients_round_once) {
  std::mt19937 rng(5);
  std::uniform_int_distribution<std::int64_t> numerators(-2'000'000'000LL, 2'000'000'000LL);
  for (int i = 0; i < 200'000; ++i) {
    const std::int64_t n = numerators(rng);
    const std::int64_t d = 1 + static_cast<std::int64_t>(rng() % 1'000'000);
    const long double hi = static_cast<long double>(n) / d;
    const long double lo = std::fma(-hi, static_cast<long double>(d), static_cast<long double>(n)) / d;
    ASSERT_EQ(quotientToFloat(n, d), roundExact(hi, lo)) << n << " / " << d;
  }
  EXPECT_EQ(quotientToFloat(16777217, 1), 16777216.0f);  // tie to even
  EXPECT_EQ(quotientToFloat(16777219, 1), 16777220.0f);
  EXPECT_EQ(quotientToFloat(33554435, 2), 16777218.0f);  // 16777217.5: above the tie
}

TEST(single_precision_test, products_round_once) {
  std::mt19937 rng(9);
  std::uniform_real_distribution<float> factor(1e-4f, 100.0f);
  for (int i = 0; i < 300'000; ++i) {
    const auto x = static_cast<std::int32_t>(rng());
    const float a = factor(rng);
    const float b = (i % 3 == 0) ? -factor(rng) : factor(rng);
    ASSERT_EQ(ScaledToFloat(a, b)(x), referenceProduct(x, a, b)) << x << " * " << a << " * " << b;
  }
  EXPECT_EQ(ScaledToFloat(1.0f, 1.0f)(16777217), 16777216.0f);  // a tie goes to even
  EXPECT_EQ(ScaledToFloat(1.0f, 1.0f)(16777219), 16777220.0f);
  EXPECT_EQ(ScaledToFloat(0.5f, 1.0f)(33554435), 16777218.0f);  // 16777217.5: above the tie
  EXPECT_EQ(ScaledToFloat(1.0f, 0.5f)(-33554435), -16777218.0f);
  EXPECT_EQ(ScaledToFloat(-1.0f, 1.0f)(0), 0.0f);
  EXPECT_EQ(ScaledToFloat(0.5f, 0.5f)(-3), -0.75f);
  EXPECT_EQ(ScaledToFloat(std::numeric_limits<float>::denorm_min(), 0.5f)(1), 0.0f);  // tie: even
  EXPECT_EQ(ScaledToFloat(std::numeric_limits<float>::denorm_min(), 0.5f)(3),
            2 * std::numeric_limits<float>::denorm_min());
  EXPECT_EQ(ScaledToFloat(std::numeric_limits<float>::max(), 1.0f)(4),
            std::numeric_limits<float>::infinity());
}

TEST(single_precision_test, placed_coordinates_round_once) {
  // OriginX * SpaceFactor = 2^16 - 2^-30 added to x = 2^40 + 2^17 (an odd float): the exact
  // sum lies just below a midpoint. Rounded to 64 bits first it lands on the midpoint and a
  // second rounding would go up to even; rounded once it stays at x.
  const float a = 256.0f + std::ldexp(1.0f, -15);
  const float b = 256.0f - std::ldexp(1.0f, -15);
  const float c = std::ldexp(1.0f, 40) + std::ldexp(1.0f, 17);
  EXPECT_EQ(mulAddToFloat(a, b, c), c);
  EXPECT_EQ(referenceMulAdd(a, b, c), c);

  std::mt19937 rng(3);
  std::uniform_real_distribution<float> origin(0.0f, 5000.0f);
  std::uniform_real_distribution<float> stroke(-50.0f, 50.0f);
  std::uniform_int_distribution<int> exponent(-40, 20);
  for (int i = 0; i < 300'000; ++i) {
    const float x0 = origin(rng);
    const float f = 1.0f + static_cast<float>(rng() % 101) / 100.0f;
    float x = stroke(rng);
    if (i % 2) x = std::ldexp(x, exponent(rng));
    ASSERT_EQ(mulAddToFloat(x0, f, x), referenceMulAdd(x0, f, x)) << x0 << " " << f << " " << x;
  }
}

}  // namespace
}  // namespace kerfline
