#pragma once
// Stencil bridges: text cut out of a sheet loses the middle of every O, A, R and B (the island
// inside each counter) unless a strip of the sheet is left across the letter's stroke to hold it.
#include <cstddef>
#include <optional>

#include "geometry/contour.h"

namespace kerfline {

/// Which way a bridge may run across a stroke.
enum class BridgeDirection { Vertical, Horizontal, Any };

/// What bridges stencil text asks for, in drawing units.
struct BridgeRule {
  double width = 1;                  ///< material each bridge leaves
  int bridges = 1;                   ///< bridges per island
  std::optional<double> twoAbove;    ///< islands wider or higher than this get at least two
  BridgeDirection direction = BridgeDirection::Vertical;
};

/// What bridging did, for the report.
struct BridgeNotes {
  std::size_t islands = 0;   ///< islands found
  std::size_t bridges = 0;   ///< bridges made
  std::size_t loose = 0;     ///< islands no bridge could reach in the direction asked
};

/// Joins every island of drawing (the material inside a hole of a character) to the material
/// around the character by rule.bridges bridges (two for islands larger than rule.twoAbove),
/// each the shortest cut across the stroke in the direction asked, rule.width wide: the
/// character's outline is split around each bridge. Run before an inward kerf offset, which
/// then keeps each bridge exactly rule.width wide.
BridgeNotes addStencilBridges(Drawing& drawing, const BridgeRule& rule);

}  // namespace kerfline
