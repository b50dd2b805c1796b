// The SVG's numbers: the shortest text that reads back, checked against the standard
// library's own (an independent implementation of the same rule), over a table of edge cases
// and a random sweep of every binade; and the cache of recent texts against fresh formatting.
#include "export/shortest_float.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

#include "export/number_text_cache.h"

namespace kerfline {
namespace {

std::string library(float v) {
  char text[128];
  return {text, std::to_chars(text, text + sizeof text, v, std::chars_format::fixed).ptr};
}

std::string ours(float v) {
  char text[kShortestFixedMaxLength];
  return {text, writeShortestFixed(text, v)};
}

TEST(shortest_float_test, edge_values_read_as_the_library_writes_them) {
  using L = std::numeric_limits<float>;
  const float table[] = {
      1.0f, 0.5f, 0.1f, 0.3f, 2.0f / 3, 123.456f, 100.0f, 1e7f, 9999999.0f, 16777216.0f,
      33554432.0f, 33554436.0f, 3e7f, 4.5e7f, 1e-5f, 5e-6f, 3.8e-6f, 3.814697265625e-6f,
      3.8146968e-6f, 1e-6f, 0.0001f, 0.001f, 4.0f, 8388608.0f, 8388609.0f, 0.2f, 1.5f,
      L::min(), L::denorm_min(), L::max(), L::epsilon(), 1e38f, 1e-38f, 7.0e-45f,
      std::nextafter(1.0f, 2.0f), std::nextafter(1.0f, 0.0f), std::nextafter(1e-5f, 0.0f),
      std::ldexp(1.0f, -18), std::ldexp(1.0f, -19), std::ldexp(1.0f, 24), std::ldexp(1.0f, 25),
      std::ldexp(1.0f, 26), 9.5367431640625e-7f, 0.0009765625f, 1234.5f, 1234.25f};
  for (const float v : table) {
    EXPECT_EQ(ours(v), library(v)) << std::bit_cast<std::uint32_t>(v);
    EXPECT_EQ(ours(-v), library(-v)) << std::bit_cast<std::uint32_t>(v);
  }
}

// Every binade, 2,000 random values each, both signs: 1 million values.
TEST(shortest_float_test, a_random_sweep_of_every_binade_reads_as_the_library_writes_it) {
  std::mt19937 rng(20261208);
  std::uniform_int_distribution<std::uint32_t> fraction(0, 0x7FFFFF);
  int differ = 0;
  for (std::uint32_t biased = 0; biased < 255; ++biased) {
    for (int i = 0; i < 2000; ++i) {
      const std::uint32_t bits = (biased << 23) | fraction(rng) | (i % 2 ? 0x80000000u : 0);
      const float v = std::bit_cast<float>(bits);
      if (v == 0) continue;
      if (ours(v) != library(v) && ++differ <= 10) ADD_FAILURE() << bits << ": " << ours(v);
    }
  }
  EXPECT_EQ(differ, 0);
}

// A cache of 16 entries, so that values evict each other; every text as formatted afresh.
TEST(shortest_float_test, cached_texts_are_the_formatted_texts) {
  NumberTextCache<writeShortestFixed, kShortestFixedMaxLength, 4> cache;
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> pick(0, 99);
  std::vector<float> values;
  for (int i = 0; i < 100; ++i)
    values.push_back(std::ldexp(static_cast<float>(i * 7919 % 1000), i % 40 - 20));
  values[3] = 1e30f;  // a text too long to keep
  for (int i = 0; i < 20000; ++i) {
    const float v = values[static_cast<std::size_t>(pick(rng))];
    char text[kShortestFixedMaxLength];
    ASSERT_EQ(std::string(text, cache.write(text, v)), ours(v)) << v;
  }
}

}  // namespace
}  // namespace kerfline
