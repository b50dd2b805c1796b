#pragma once
#include <optional>

#include "export/conversion_options.h"
#include "geometry/contour.h"
#include "geometry/travel_order.h"

namespace kerfline {

/// A finished drawing as a file cuts it.
struct CutRoute {
  /// One character per path, in cutting order: each ring starts at its entry vertex, each open
  /// path runs in its cutting direction; the character's position, code point and line are
  /// those of the character the path came from.
  Drawing drawing;
  TravelFigures figures;  ///< rapid travel of the plan, of the text order, and the lower bound
};

/// Where the tool stands before the first cut: the work origin.
inline constexpr Vec2 kToolStart{0, 0};

/// Plans the paths of a finished drawing (made ready, welded and offset) for short rapid
/// travel from kToolStart, every ring cut before the ring that holds it in its character.
CutRoute planCutRoute(const Drawing& drawing);

}  // namespace kerfline
