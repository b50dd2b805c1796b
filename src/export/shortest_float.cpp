#include "export/shortest_float.h"

#include <array>
#include <bit>
#include <charconv>
#include <cstdint>
#include <cstring>

#include "common/error.h"
#include "export/exact_float.h"

namespace kerfline {
namespace {

// The shortest digits are searched on exact integers: a float m * 2^e with e < 0 is
// m * 5^q / 10^q (q = -e), so its neighbours' midpoints, scaled by 4 to stay integers, are
// exact multiples of 5^q, and dropping r decimal digits (r <= q) is a multiplication by
// 5^(q-r) and a shift by r. The search never drops fewer than about 0.7 q digits, so that
// product stays below 2^64. Up to q = 43 this covers every float from about 4e-6 to 3e7; the
// rest, and the rare cases where a bound itself is one of the candidates, go to the standard
// library, whose text this one matches.
constexpr int kMaxQ = 43;

constexpr std::array<Uint128, kMaxQ + 1> makePowersOf5() {
  std::array<Uint128, kMaxQ + 1> p{};
  p[0] = 1;
  for (std::size_t i = 1; i < p.size(); ++i) p[i] = p[i - 1] * 5;
  return p;
}
constexpr std::array<Uint128, kMaxQ + 1> kPow5 = makePowersOf5();

// floor(log10(2 * 5^q)): that many digits can always go, as the bounds lie at least
// 2 * 5^q apart.
constexpr std::array<int, kMaxQ + 1> makeSurelyDropped() {
  std::array<int, kMaxQ + 1> d{};
  for (std::size_t q = 0; q < d.size(); ++q) {
    Uint128 w = kPow5[q] * 2;
    int digits = 0;
    while (w >= 10) {
      w /= 10;
      ++digits;
    }
    d[q] = digits;
  }
  return d;
}
constexpr std::array<int, kMaxQ + 1> kSurelyDropped = makeSurelyDropped();

// The powers 5^(q-r) the search uses (r at least kSurelyDropped[q] - 1), in 64 bits; checked
// here to leave a 27-bit factor room below 2^64.
constexpr std::array<std::uint64_t, kMaxQ + 1> makeSmallPowersOf5() {
  std::array<std::uint64_t, kMaxQ + 1> p{};
  for (std::size_t i = 0; i < p.size(); ++i)
    p[i] = kPow5[i] < (Uint128{1} << 37) ? static_cast<std::uint64_t>(kPow5[i]) : 0;
  return p;
}
constexpr std::array<std::uint64_t, kMaxQ + 1> kSmallPow5 = makeSmallPowersOf5();
constexpr bool smallPowersSuffice() {
  for (std::size_t q = 1; q <= kMaxQ; ++q)
    if (kSmallPow5[q - static_cast<std::size_t>(kSurelyDropped[q]) + 1] == 0) return false;
  return true;
}
static_assert(smallPowersSuffice());

struct Decimal {
  std::uint64_t digits;  // without trailing zeros, below 10^9
  int exponent;          // value = digits * 10^exponent
};

// The shortest round-tripping digits of a positive normal float, or false where the exact
// search above does not apply.
bool shortestDecimal(std::uint32_t bits, Decimal& out) {
  const int biased = static_cast<int>((bits >> 23) & 0xFF);
  const std::uint32_t fraction = bits & 0x7FFFFF;
  if (biased == 0) return false;
  const int q = 152 - biased;  // the exponent of 4 * m is biased - 152
  if (q <= 0 || q > kMaxQ) return false;
  const std::uint64_t m = fraction | 0x800000u;
  // Reading back rounds ties to even: an even m keeps its own bounds.
  const bool acceptBounds = (m & 1) == 0;
  const std::uint64_t mv = 4 * m;
  const std::uint64_t mp = 4 * m + 2;
  // Below a power of two the next float down is half as far.
  const std::uint64_t mm = 4 * m - (fraction != 0 || biased <= 1 ? 2 : 1);
  // floor(a * 5^q / 10^r), for a below 2^27 and r from kSurelyDropped[q] - 1 to q
  const auto drop = [q](std::uint64_t a, int r) {
    return (a * kSmallPow5[static_cast<std::size_t>(q - r)]) >> r;
  };
  // The upper bound, one less when it is excluded: a * 5^q - 1 loses one more whenever 10^r
  // divides a * 5^q, that is when 2^r divides mp (r <= 1).
  const auto dropUpper = [&](int r) {
    std::uint64_t x = drop(mp, r);
    if (!acceptBounds && r <= 1) --x;
    return x;
  };
  int r = kSurelyDropped[static_cast<std::size_t>(q)];
  while (true) {
    if (r + 1 > q) return false;
    if (!(dropUpper(r + 1) > drop(mm, r + 1))) break;
    ++r;
  }
  // The lower bound is a candidate when it is accepted and its dropped digits are all 0.
  const bool lowerExact = std::countr_zero(mm) >= r;
  if (acceptBounds && lowerExact) return false;
  const bool restZero = std::countr_zero(mv) >= r - 1;  // digits below the last dropped one
  int lastDropped = static_cast<int>(drop(mv, r - 1) % 10);
  const std::uint64_t vr = drop(mv, r);
  const std::uint64_t vm = drop(mm, r);
  if (restZero && lastDropped == 5 && (vr & 1) == 0) lastDropped = 4;  // a tie: to even
  std::uint64_t digits = vr + ((vr == vm || lastDropped >= 5) ? 1 : 0);
  int exponent = r - q;
  while (digits % 10 == 0) {
    digits /= 10;
    ++exponent;
  }
  out = {digits, exponent};
  return digits < 1'000'000'000;  // always, as r drops at least log10(2 * 5^q) digits
}

// Eight decimal digits of v (below 10^8) as eight characters in one word, the first in the
// lowest byte: divided lane-wise (two lanes of four digits, four of two, eight of one) by
// multiplying with reciprocals small enough that no lane spills into the next.
std::uint64_t eightDigits(std::uint32_t v) {
  const std::uint64_t fours = std::uint64_t{v / 10000} | (std::uint64_t{v % 10000} << 32);
  const std::uint64_t highTwos = ((fours * 10486) >> 20) & 0x0000007F0000007FULL;
  const std::uint64_t twos = highTwos | ((fours - highTwos * 100) << 16);
  const std::uint64_t highOnes = ((twos * 103) >> 10) & 0x000F000F000F000FULL;
  const std::uint64_t ones = highOnes | ((twos - highOnes * 10) << 8);
  return ones | 0x3030303030303030ULL;
}

constexpr std::array<std::uint64_t, 10> kPow10 = {
    1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000, 1000000000};

// The digits of v (below 10^9, not 0) as characters in one 128-bit value, the first in the
// lowest byte, and their count: kept in registers, so that placing them is only stores.
Uint128 digitsOf(std::uint64_t v, int& count) {
  const int estimate = ((64 - std::countl_zero(v)) * 1233) >> 12;  // floor or one below
  count = estimate + (v >= kPow10[static_cast<std::size_t>(estimate)] ? 1 : 0);
  const Uint128 all = Uint128{static_cast<std::uint64_t>('0' + v / 100'000'000)} |
                      (Uint128{eightDigits(static_cast<std::uint32_t>(v % 100'000'000))} << 8);
  return all >> (8 * (9 - count));  // the leading zeros go
}

void store(char* at, Uint128 chars) { std::memcpy(at, &chars, sizeof chars); }

}  // namespace

char* writeShortestFixed(char* out, float v) {
  const auto bits = std::bit_cast<std::uint32_t>(v);
  Decimal d;
  if (!shortestDecimal(bits & 0x7FFFFFFFu, d)) {
    const std::to_chars_result r =
        std::to_chars(out, out + kShortestFixedMaxLength, v, std::chars_format::fixed);
    if (r.ec != std::errc{}) throw Error("Coordinate out of range.");
    return r.ptr;
  }
  // Every piece is written with whole 16-byte stores (out has room for the spill), later
  // stores overwriting the tail of earlier ones.
  *out = '-';
  char* p = out + (bits >> 31);  // signs come in runs, but not predictably
  int n = 0;
  const Uint128 digits = digitsOf(d.digits, n);
  if (d.exponent >= 0) {
    store(p, digits);
    std::memset(p + n, '0', static_cast<std::size_t>(d.exponent));
    return p + n + d.exponent;
  }
  const int before = n + d.exponent;  // digits before the point
  if (before > 0) {
    store(p, digits);
    store(p + before + 1, digits >> (8 * before));
    p[before] = '.';
    return p + n + 1;
  }
  // The fast path's smallest numbers have 5 zeros after the point.
  std::memcpy(p, "0.00000000", 10);
  p += 2 - before;
  store(p, digits);
  return p + n;
}

}  // namespace kerfline
