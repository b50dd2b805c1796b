#include "geometry/entry_candidates.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace kerfline {
namespace {

// The cosine of the ring's turn at vertex i (1: straight on, -1: back the way it came), 1
// where an edge has no length. Cosines order turns as angles do, without an arc tangent per
// vertex.
double turnCosine(const std::vector<Vec2>& ring, std::size_t i) {
  const std::size_t n = ring.size();
  const Vec2& a = ring[(i + n - 1) % n];
  const Vec2& b = ring[i];
  const Vec2& c = ring[(i + 1) % n];
  const double ux = b.x - a.x, uy = b.y - a.y, vx = c.x - b.x, vy = c.y - b.y;
  const double lengths = std::sqrt((ux * ux + uy * uy) * (vx * vx + vy * vy));
  return lengths > 0 ? (ux * vx + uy * vy) / lengths : 1;
}

}  // namespace

std::vector<EntryCandidate> entryCandidates(const std::vector<Vec2>& ring, std::size_t k) {
  std::vector<EntryCandidate> out;
  EntryScratch scratch;
  entryCandidates(ring, k, out, scratch);
  return out;
}

void entryCandidates(const std::vector<Vec2>& ring, std::size_t k, std::vector<EntryCandidate>& out,
                     EntryScratch& scratch) {
  const std::size_t n = ring.size();
  const double cornerCosine = std::cos(kCornerTurnDegrees * std::numbers::pi / 180);
  out.clear();
  if (n < 3 || n <= k) {
    for (std::size_t i = 0; i < n; ++i)
      out.push_back({i, n >= 3 && turnCosine(ring, i) <= cornerCosine});
    return;
  }
  if (k == 0) return;
  std::vector<std::pair<double, std::size_t>>& corners = scratch.corners;  // cosine, vertex
  std::vector<double>& along = scratch.along;
  corners.clear();
  along.assign(n + 1, 0);
  // Neighbours' indices by comparison, not %: a division per vertex costs more than the rest.
  for (std::size_t i = 0; i < n; ++i) {
    const Vec2& a = ring[i];
    const Vec2& b = ring[i + 1 == n ? 0 : i + 1];
    // A plain root: hypot's guard against overflow costs several times more per vertex.
    along[i + 1] = along[i] + std::sqrt((b.x - a.x) * (b.x - a.x) + (b.y - a.y) * (b.y - a.y));
  }
  for (std::size_t i = 0; i < n; ++i) {
    // The turn from the edge lengths already measured: no second root per vertex, and a
    // division only at a corner.
    const std::size_t before = i == 0 ? n - 1 : i - 1;
    const Vec2& a = ring[before];
    const Vec2& b = ring[i];
    const Vec2& c = ring[i + 1 == n ? 0 : i + 1];
    const double lengths = (along[before + 1] - along[before]) * (along[i + 1] - along[i]);
    const double dot = (b.x - a.x) * (c.x - b.x) + (b.y - a.y) * (c.y - b.y);
    if (lengths > 0 && dot <= cornerCosine * lengths) corners.push_back({dot / lengths, i});
  }
  // Sharpest first; equal turns in vertex order.
  const std::size_t keep = std::min(corners.size(), std::max<std::size_t>(1, k / 2));
  std::partial_sort(corners.begin(), corners.begin() + static_cast<std::ptrdiff_t>(keep), corners.end());
  // Vertices with 2 for a corner, 1 for a smooth vertex; sorted and made unique at the end.
  std::vector<std::pair<std::size_t, char>>& chosen = scratch.chosen;
  chosen.clear();
  for (std::size_t i = 0; i < keep; ++i) chosen.push_back({corners[i].second, 2});
  // The rest spread by length, so a smooth ring can be entered on whichever side the tool
  // comes from: the vertex at or after each of the marks perimeter * j / spread.
  const std::size_t spread = k - keep;
  for (std::size_t j = 0; j < spread; ++j) {
    const double mark = along[n] * static_cast<double>(j) / static_cast<double>(spread);
    const auto at = std::lower_bound(along.begin(), along.begin() + static_cast<std::ptrdiff_t>(n), mark);
    const std::size_t v = std::min(n - 1, static_cast<std::size_t>(at - along.begin()));
    chosen.push_back({v, turnCosine(ring, v) <= cornerCosine ? 2 : 1});
  }
  std::sort(chosen.begin(), chosen.end());
  for (const auto& [vertex, kind] : chosen) {
    if (!out.empty() && out.back().vertex == vertex) {
      out.back().corner = out.back().corner || kind == 2;
    } else {
      out.push_back({vertex, kind == 2});
    }
  }
}

}  // namespace kerfline
