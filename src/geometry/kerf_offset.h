#pragma once
#include <cstdint>
#include <ostream>
#include <vector>

#include "geometry/contour.h"

namespace kerfline {

/// A ring that the kerf offset closed up, so it is not cut at all.
struct VanishedPath {
  std::int32_t position = 0;  ///< text position of the character (of a weld group: its first)
  char32_t character = 0;     ///< its code point
  std::int32_t line = 0;      ///< 0-based line of text
  bool hole = false;          ///< true: a hole smaller than the kerf; false: a whole part

  friend bool operator==(const VanishedPath&, const VanishedPath&) = default;
  friend std::ostream& operator<<(std::ostream& os, const VanishedPath& v) {
    return os << (v.hole ? "hole" : "part") << " of U+" << std::hex
              << static_cast<std::uint32_t>(v.character) << std::dec << " at " << v.position
              << " line " << v.line;
  }
};

/// Most chords a round join may spend on a full turn, so that the points of an offset stay
/// bounded however wide the kerf (1,024 chords keep a kerf of 400 units within 0.001 units).
inline constexpr int kMaxChordsPerTurn = 1024;

/// Largest deviation, in drawing units, of a round join's chords from the true arc when the
/// path moves by distance: one percent of the distance, and never more than most (by default
/// 0.001 units, about 44 chords to a full turn however small the kerf), unless that would take
/// more than kMaxChordsPerTurn chords to a full turn (a distance over about 213 units at 0.001).
double kerfArcTolerance(double distance, double most = 0.001);

/// Moves the closed contours of every character by distance (drawing units) with round joins:
/// a positive distance grows parts and shrinks holes (a cut outside the line, so the piece keeps
/// its drawn size), a negative one the reverse. The area of a character's contours is read by
/// the non-zero rule. A ring that closes up disappears and is listed in the result, in text
/// order; characters left without any path are dropped. Open paths are never offset.
/// The result is ordered for cutting. Throws Error for a coordinate beyond the integer grid
/// or a distance that would move the drawing beyond it (kGridReach), infinities included.
/// checkpoint is called between characters. The round joins' chords, and the clean-up of the
/// rings, stray at most kerfArcTolerance(distance, most) from the true offset.
std::vector<VanishedPath> offsetForKerf(Drawing& drawing, double distance,
                                        const Checkpoint& checkpoint = {}, double most = 0.001);

}  // namespace kerfline
