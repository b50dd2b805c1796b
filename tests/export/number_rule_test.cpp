#include "export/number_rule.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace kerfline {
namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();

struct NumberCase {
  std::string text;
  std::optional<float> value;  // nothing: not a number
};

TEST(number_rule_test, grammar_and_value) {
  const NumberCase cases[] = {
      {"-2.000", -2.0f},
      {"0.1", 0.1f},
      {"1.00", 1.0f},
      {"   12", 12.0f},        // leading blanks (code 32) only
      {"+3", 3.0f},
      {"-.5", -0.5f},
      {"5.", 5.0f},
      {".", 0.0f},             // both digit runs may be empty
      {"-.", -0.0f},
      {".e5", 0.0f},
      {"1e3", 1000.0f},
      {"1E+3", 1000.0f},
      {"25e-1", 2.5f},
      {"-2.5e-0", -2.5f},
      {"00000000000000000000000001.5", 1.5f},
      {"1e-40", 1e-40f},       // subnormal, correctly rounded
      {"1e-50", 0.0f},         // below half the smallest subnormal
      {"-1e-50", -0.0f},
      {"3.4028235e38", std::numeric_limits<float>::max()},
      {"1e39", kInf},          // overflow is a number: infinity (parseFiniteNumber refuses it)
      {"-1e39", -kInf},
      {"0e999999999999999999999", 0.0f},
      {"1e-999999999999999999999", 0.0f},
      {"16777217", 16777216.0f},  // ties to even
      {"16777219", 16777220.0f},
      {"0.100000001490116119384765625", 0.1f},
      {"", std::nullopt},
      {"   ", std::nullopt},
      {"-", std::nullopt},
      {"+", std::nullopt},
      {" -", std::nullopt},
      {"-2,5", std::nullopt},   // the separator is always "."
      {"-2.5 ", std::nullopt},  // nothing after the number, not even a blank
      {"\t1", std::nullopt},    // only code 32 counts as a blank
      {"1e", std::nullopt},
      {"1e+", std::nullopt},
      {"e5", std::nullopt},
      {"1.2.3", std::nullopt},
      {"--1", std::nullopt},
      {"- 1", std::nullopt},
      {"inf", std::nullopt},
      {"nan", std::nullopt},
      {"0x10", std::nullopt},
      {"1_000", std::nullopt},
      {std::string("1\0", 2), std::nullopt},
  };
  for (const auto& c : cases) {
    const auto got = parseNumber(c.text);
    ASSERT_EQ(got.has_value(), c.value.has_value()) << '"' << c.text << '"';
    if (!got) continue;
    EXPECT_EQ(*got, *c.value) << '"' << c.text << '"';
    EXPECT_EQ(std::signbit(*got), std::signbit(*c.value)) << '"' << c.text << '"';
  }
}

TEST(number_rule_test, finite_numbers_only_for_the_export_fields) {
  EXPECT_EQ(parseFiniteNumber("-2.5"), -2.5f);
  EXPECT_EQ(parseFiniteNumber("3.4028235e38"), std::numeric_limits<float>::max());
  EXPECT_FALSE(parseFiniteNumber("1e39"));
  EXPECT_FALSE(parseFiniteNumber("-1e400"));
  EXPECT_FALSE(parseFiniteNumber("-2,5"));
}

TEST(number_rule_test, long_inputs_are_read_exactly) {
  // 0.1f is 13421773 * 2^-27 (odd); the midpoint to its upper neighbour rounds up (to even),
  // and so does anything above it, while a long string just below it must not.
  const std::string mid = "0.1000000052154064178466796875";
  const float up = std::nextafter(0.1f, 1.0f);
  EXPECT_EQ(parseNumber(mid), up);
  EXPECT_EQ(parseNumber(mid + std::string(5000, '0') + "1"), up);
  EXPECT_EQ(parseNumber("0.1000000052154064178466796874" + std::string(5000, '9')), 0.1f);
  EXPECT_EQ(parseNumber(std::string(100000, ' ') + "7"), 7.0f);
}

}  // namespace
}  // namespace kerfline
