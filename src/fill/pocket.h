#pragma once
#include <vector>

#include "geometry/contour.h"

namespace kerfline {

/// The cutter and how it clears a pocket, in drawing units.
struct PocketSettings {
  double toolDiameter = 1;     ///< the cutter's width (> 0)
  double stepOver = 0.4;       ///< passes apart by this fraction of the width (0 < s < 1)
  double finishAllowance = 0;  ///< left on the walls by the clearing passes (below the radius)
  double tolerance = 0.01;     ///< largest stray of a round join's chords from the true arc
};

/// A region cleared by a cutter.
struct PocketFill {
  /// Closed loops of the tool's centre in cutting order, each starting nearest where the one
  /// before ended: the clearing passes of each part of the region from its middle outward,
  /// then the finishing pass along the walls (and round the islands) at the tool's radius.
  std::vector<Contour> loops;
  std::vector<Contour> centreArea;  ///< where the tool's centre may go without cutting the walls
  double area = 0;       ///< of the region, square drawing units
  double unreached = 0;  ///< of the region no position of the tool's disc inside it covers
};

/// Contour-parallel passes inside the area the closed rings bound (even-odd; holes are islands
/// the tool goes round): inward offsets with round joins, stepOver times the width apart.
PocketFill pocketRegion(const std::vector<Contour>& rings, const PocketSettings& settings);

/// The area between the rings' box grown by margin on every side and the area the rings bound:
/// the background of raised letters, as rings (the box, then the letters' rings).
std::vector<Contour> backgroundRings(const std::vector<Contour>& rings, double margin);

}  // namespace kerfline
