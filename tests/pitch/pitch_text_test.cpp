#include "export/pitch_text.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <limits>
#include <string>

namespace kerfline {
namespace {

struct PitchCase {
  std::uint32_t maximumBits;
  std::uint32_t pitchBits;
  const char* text;
};
struct TextCase {
  std::uint32_t valueBits;
  const char* text;
};

// Expected values computed with exact rationals and Python's decimal module.
#include "pitch_table.inc"

float fromBits(std::uint32_t b) { return std::bit_cast<float>(b); }

TEST(pitch_text_test, worked_examples) {
  EXPECT_EQ(formatPitch(suggestedPitch(2.5f)), "-2.750");
  EXPECT_EQ(formatPitch(suggestedPitch(1.8f)), "-1.980");
  EXPECT_EQ(formatPitch(suggestedPitch(2.0f)), "-2.200");  // tallest of 1.2 and 2.0
  EXPECT_EQ(formatPitch(suggestedPitch(0.0f)), "0.000");   // empty text: -0 reads as zero
}

TEST(pitch_text_test, suggestion_is_exact_product_rounded_once) {
  for (const auto& c : kPitchCases) {
    const float maximum = fromBits(c.maximumBits);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(suggestedPitch(maximum)), c.pitchBits) << maximum;
    EXPECT_EQ(formatPitch(fromBits(c.pitchBits)), c.text) << maximum;
  }
}

TEST(pitch_text_test, text_of_any_float) {
  for (const auto& c : kTextCases) {
    EXPECT_EQ(formatPitch(fromBits(c.valueBits)), c.text) << fromBits(c.valueBits);
  }
}

TEST(pitch_text_test, ties_round_away_from_zero) {
  struct Row {
    float value;
    const char* text;
  };
  // Each value is exact in single precision, so the digit after the kept ones is a true 5.
  const Row rows[] = {{1.0625f, "1.063"},          {-1.0625f, "-1.063"},
                      {12345.6875f, "12345.690"},  {-1234567.5f, "-1234568.000"},
                      {0.0625f, "0.063"},          {-0.0078125f, "-0.008"}};
  for (const auto& r : rows) EXPECT_EQ(formatPitch(r.value), r.text) << r.value;
}

TEST(pitch_text_test, zero_and_non_finite) {
  EXPECT_EQ(formatPitch(0.0f), "0.000");
  EXPECT_EQ(formatPitch(-0.0f), "0.000");
  EXPECT_EQ(formatPitch(-0.0004f), "0.000");
  EXPECT_EQ(formatPitch(-std::numeric_limits<float>::infinity()), "-INF");
  EXPECT_EQ(formatPitch(std::numeric_limits<float>::quiet_NaN()), "NAN");
  EXPECT_EQ(formatPitch(suggestedPitch(std::numeric_limits<float>::max())), "-INF");
}

TEST(pitch_text_test, large_magnitudes_use_seven_digit_e_notation) {
  EXPECT_EQ(formatPitch(9999999.0f), "9999999.000");
  EXPECT_EQ(formatPitch(1e7f), "1E7");
  EXPECT_EQ(formatPitch(16777216.0f), "1.677722E7");
  EXPECT_EQ(formatPitch(-1e30f), "-1E30");
}

}  // namespace
}  // namespace kerfline
