#include "geometry/entry_candidates.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace kerfline {

double turnAt(const std::vector<Vec2>& ring, std::size_t i) {
  const std::size_t n = ring.size();
  if (n < 3) return 0;
  const Vec2& a = ring[(i + n - 1) % n];
  const Vec2& b = ring[i];
  const Vec2& c = ring[(i + 1) % n];
  const double ux = b.x - a.x, uy = b.y - a.y, vx = c.x - b.x, vy = c.y - b.y;
  if ((ux == 0 && uy == 0) || (vx == 0 && vy == 0)) return 0;
  return std::fabs(std::atan2(ux * vy - uy * vx, ux * vx + uy * vy));
}

std::vector<EntryCandidate> entryCandidates(const std::vector<Vec2>& ring, std::size_t k) {
  const std::size_t n = ring.size();
  std::vector<double> turn(n);
  for (std::size_t i = 0; i < n; ++i) turn[i] = turnAt(ring, i);
  std::vector<char> chosen(n, 0);
  if (n <= k) {
    std::fill(chosen.begin(), chosen.end(), 1);
  } else if (k > 0) {
    std::vector<std::size_t> byTurn(n);
    std::iota(byTurn.begin(), byTurn.end(), 0u);
    std::stable_sort(byTurn.begin(), byTurn.end(),
                     [&](std::size_t a, std::size_t b) { return turn[a] > turn[b]; });
    const std::size_t corners = std::max<std::size_t>(1, k / 2);
    std::size_t taken = 0;
    for (std::size_t i = 0; i < corners && turn[byTurn[i]] >= kCornerTurn; ++i, ++taken)
      chosen[byTurn[i]] = 1;
    // The rest spread by length, so a smooth ring can be entered on whichever side the tool
    // comes from: the vertex at or after each of the marks perimeter * j / spread.
    std::vector<double> along(n + 1, 0);
    for (std::size_t i = 0; i < n; ++i)
      along[i + 1] = along[i] + std::hypot(ring[(i + 1) % n].x - ring[i].x,
                                           ring[(i + 1) % n].y - ring[i].y);
    const std::size_t spread = k - taken;
    for (std::size_t j = 0; j < spread; ++j) {
      const double mark = along[n] * static_cast<double>(j) / static_cast<double>(spread);
      std::size_t v = static_cast<std::size_t>(
          std::lower_bound(along.begin(), along.begin() + static_cast<std::ptrdiff_t>(n), mark) -
          along.begin());
      if (v >= n) v = n - 1;
      chosen[v] = 1;
    }
  }
  std::vector<EntryCandidate> out;
  for (std::size_t i = 0; i < n; ++i)
    if (chosen[i]) out.push_back({i, turn[i] >= kCornerTurn});
  return out;
}

}  // namespace kerfline
