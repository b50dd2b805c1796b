#pragma once
#include <cstddef>
#include <utility>
#include <vector>

#include "geometry/contour.h"

namespace kerfline {

/// A vertex where the ring turns by at least 30 degrees is a corner: a pierce mark or the seam
/// where the cut closes hides there. Chords of flattened curves turn far less.
inline constexpr double kCornerTurnDegrees = 30;

/// A vertex where a closed ring may be entered.
struct EntryCandidate {
  std::size_t vertex = 0;  ///< index into the ring's points
  bool corner = false;     ///< turns by kCornerTurnDegrees or more

  friend bool operator==(const EntryCandidate&, const EntryCandidate&) = default;
};

/// Up to k vertices where the closed ring may be entered: every vertex when it has no more
/// than k; otherwise its sharpest corners (at most half of k, so the route keeps a choice) and
/// vertices spread evenly by length around the ring for the rest. In vertex order, no repeats;
/// empty for an empty ring.
std::vector<EntryCandidate> entryCandidates(const std::vector<Vec2>& ring, std::size_t k);

/// Room entryCandidates works in, kept between calls so a loop over many rings allocates
/// only while its rings grow.
struct EntryScratch {
  std::vector<double> along;
  std::vector<std::pair<double, std::size_t>> corners;
  std::vector<std::pair<std::size_t, char>> chosen;
};

/// The same candidates written to out (cleared first), working in scratch.
void entryCandidates(const std::vector<Vec2>& ring, std::size_t k, std::vector<EntryCandidate>& out,
                     EntryScratch& scratch);

}  // namespace kerfline
