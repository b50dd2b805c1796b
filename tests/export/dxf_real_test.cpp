#include "export/dxf_real.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <limits>
#include <random>
#include <sstream>
#include <vector>

#include "export_test_support.h"

namespace kerfline {
namespace {

// Reference formatter, written independently of the production one: the float's exact value
// as a decimal digit string (base-10^9 limbs multiplied by 2 or 5), then rounding and layout
// done on the string.
std::string exactDigits(std::uint64_t m, int binaryExponent, int& decimalPoint) {
  std::vector<std::uint32_t> limbs;  // little endian, base 10^9
  for (std::uint64_t t = m; t; t /= 1'000'000'000) limbs.push_back(t % 1'000'000'000);
  const auto multiply = [&](std::uint32_t factor) {
    std::uint64_t carry = 0;
    for (auto& limb : limbs) {
      const std::uint64_t t = std::uint64_t{limb} * factor + carry;
      limb = static_cast<std::uint32_t>(t % 1'000'000'000);
      carry = t / 1'000'000'000;
    }
    while (carry) {
      limbs.push_back(static_cast<std::uint32_t>(carry % 1'000'000'000));
      carry /= 1'000'000'000;
    }
  };
  decimalPoint = 0;  // value = digits * 10^-decimalPoint
  for (int i = 0; i < binaryExponent; ++i) multiply(2);
  for (int i = 0; i < -binaryExponent; ++i) {
    multiply(5);
    ++decimalPoint;
  }
  std::string digits = std::to_string(limbs.back());
  for (std::size_t i = limbs.size() - 1; i-- > 0;) {
    std::string part = std::to_string(limbs[i]);
    digits += std::string(9 - part.size(), '0') + part;
  }
  return digits;
}

std::string referenceDxfReal(float v) {
  if (v == 0) return "0";
  int e2 = 0;
  const float fraction = std::frexp(std::fabs(v), &e2);
  const auto m = static_cast<std::uint64_t>(std::ldexp(fraction, 24));
  int point = 0;
  std::string digits = exactDigits(m, e2 - 24, point);
  int e = static_cast<int>(digits.size()) - point;  // |v| = 0.digits * 10^e
  if (digits.size() > 15) {
    const bool up = digits[15] >= '5';
    digits.resize(15);
    if (up) {
      int i = 14;
      while (i >= 0 && digits[static_cast<std::size_t>(i)] == '9') digits[static_cast<std::size_t>(i--)] = '0';
      if (i < 0) {
        // 0.999... rounded up is 0.1 * 10^(e + 1); the carry has made every digit '0'.
        digits[0] = '1';
        ++e;
      } else {
        ++digits[static_cast<std::size_t>(i)];
      }
    }
  }
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  const int n = static_cast<int>(digits.size());
  std::string out = v < 0 ? "-" : "";
  if (e >= -3 && e <= 15) {
    if (e <= 0) return out + "0." + std::string(static_cast<std::size_t>(-e), '0') + digits;
    if (n <= e) return out + digits + std::string(static_cast<std::size_t>(e - n), '0');
    return out + digits.substr(0, static_cast<std::size_t>(e)) + "." + digits.substr(static_cast<std::size_t>(e));
  }
  // Appended piece by piece: a literal in front of a temporary string makes GCC 12 at -O3
  // warn of an overlapping copy that cannot happen (a false -Wrestrict).
  out += digits[0];
  if (n > 1) out.append(".").append(digits, 1);
  return out + "E" + std::to_string(e - 1);
}

TEST(dxf_real_test, worked_examples) {
  const std::pair<float, const char*> cases[] = {
      {2.0f, "2"},
      {-2.0f, "-2"},
      {0.5f, "0.5"},
      {1234.5f, "1234.5"},
      {0.1f, "0.100000001490116"},
      {-0.3f, "-0.300000011920929"},
      {0.00012f, "0.000119999996968545"},
      {0.0001f, "9.99999974737875E-5"},
      {0.00005f, "4.99999987368938E-5"},
      {1e16f, "1.00000002725642E16"},
      {5.0f, "5"},
      {0.0f, "0"},
      {-0.0f, "0"},
      {1e15f, "999999986991104"},     // just below 10^15: still positional
      {1e10f, "10000000000"},         // whole number beyond the digits: filled with zeros
      {0.001f, "0.00100000004749745"},  // E = -2
      {std::numeric_limits<float>::max(), "3.40282346638529E38"},
      {std::numeric_limits<float>::denorm_min(), "1.40129846432482E-45"},
      {-std::numeric_limits<float>::min(), "-1.17549435082229E-38"},
      {0.18f, "0.180000007152557"},
      {1.1f, "1.10000002384186"},
  };
  for (const auto& [value, text] : cases) {
    EXPECT_EQ(DxfReal(value), text) << std::hexfloat << value;
  }
}

TEST(dxf_real_test, append_and_write_give_the_same_text) {
  std::string out = "x=";
  appendDxfReal(out, -0.3f);
  appendDxfReal(out, 2.0f);
  EXPECT_EQ(out, "x=-0.300000011920929" "2");
  char buffer[kDxfRealMaxLength];
  const float longest = -0.000123456789f;
  // Exact value -0.00012345678987912833690643310546875 (Python decimal): 21 characters.
  EXPECT_EQ(std::string(buffer, writeDxfReal(buffer, longest)), "-0.000123456789879128");
}

TEST(dxf_real_test, non_finite_values_are_refused) {
  for (const float v : {std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(),
                        std::numeric_limits<float>::quiet_NaN()}) {
    EXPECT_ERROR_MSG(DxfReal(v), "Coordinate out of range.");
  }
}

// Texts from Python's decimal module (tests/export/make_dxf_real_table.py): worked examples,
// neighbours of every power of ten, carries through runs of nines, exact ties, random floats.
TEST(dxf_real_test, agrees_with_the_python_decimal_table) {
  std::ifstream in(KERFLINE_TEST_DATA_DIR "/export/dxf_real_table.txt");
  ASSERT_TRUE(in) << "table missing";
  std::string line;
  int rows = 0;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::uint32_t bits = 0;
    std::string text;
    fields >> std::hex >> bits >> text;
    const auto v = std::bit_cast<float>(bits);
    ASSERT_EQ(DxfReal(v), text) << "bits " << std::hex << bits;
    ++rows;
  }
  EXPECT_GT(rows, 6000);
}

TEST(dxf_real_test, random_bit_patterns_match_the_exact_expansion) {
  std::mt19937 rng(12345);
  for (int i = 0; i < 300'000; ++i) {
    const auto v = std::bit_cast<float>(static_cast<std::uint32_t>(rng()));
    if (!std::isfinite(v)) continue;
    ASSERT_EQ(DxfReal(v), referenceDxfReal(v)) << "bits " << std::hex << std::bit_cast<std::uint32_t>(v);
  }
}

TEST(dxf_real_test, drawing_range_matches_the_exact_expansion) {
  // Coordinates of real drawings: millimetres to metres, and the tiny values near zero.
  std::mt19937 rng(777);
  std::uniform_real_distribution<float> drawing(-5000.0f, 5000.0f);
  std::uniform_int_distribution<int> exponent(-30, 50);
  for (int i = 0; i < 1'000'000; ++i) {
    float v = drawing(rng);
    if (i % 4 == 0) v = std::ldexp(v, exponent(rng));
    ASSERT_EQ(DxfReal(v), referenceDxfReal(v)) << "bits " << std::hex << std::bit_cast<std::uint32_t>(v);
  }
}

}  // namespace
}  // namespace kerfline
