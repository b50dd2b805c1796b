#pragma once
#include <optional>
#include <string>
#include <vector>

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
  /// rapid travel of the plan, of the text order, and (when asked) the lower bound
  TravelFigures figures;
  bool planned = false;   ///< planned for travel (else in text order)
  bool fitted = false;    ///< the paths are fitted with arcs (their bulges in drawing.bulges)
  std::vector<std::string> leadNotes;  ///< leads shortened or left out, one sentence each
};

/// Where the tool stands before the first cut: the work origin.
inline constexpr Vec2 kToolStart{0, 0};

/// The paths of a finished drawing (made ready, welded and offset) in options' cut order:
/// planned for short rapid travel from kToolStart, every ring cut before the ring that holds it
/// in its character, or in text order. With leads asked, a ring that gets any becomes one open
/// path: lead-in, the ring from its entry back to it, overcut, lead-out.
CutRoute planCutRoute(const Drawing& drawing, const ConversionOptions& options,
                      bool lowerBound = true);

/// True when a route of options is planned on paths already fitted with arcs: arcs asked and
/// no leads, which are built on the polylines. The fitted paths have a tenth of the vertices
/// or fewer, and a file can only enter a ring at one of them.
bool fitsBeforeRouting(const ConversionOptions& options);

/// planCutRoute on drawing's paths fitted with arcs within options' tolerance (every ring and
/// path kept in its place, so a hole still goes before its outline): the route's drawing
/// holds the fitted paths, their bulges turned and reversed with them. For fitsBeforeRouting.
CutRoute planFittedCutRoute(const Drawing& drawing, const ConversionOptions& options,
                            bool lowerBound = true);

/// planCutRoute on paths fitted with arcs already (fittedCutReadyDrawing), holes the
/// precedences of their rings as the polylines they were fitted from nest.
CutRoute planFittedCutRoute(Drawing fitted, const std::vector<CutPrecedence>& holes,
                            const ConversionOptions& options, bool lowerBound = true);

/// The drawing as a file of options cuts it, for a view: planCutRoute's drawing when options
/// route the cuts, else drawing as it is; with arcs asked, its paths fitted and drawn out as
/// polylines within a tenth of the tolerance. travel, when given, receives the rapid travel from
/// kToolStart of that order (drawing units).
Drawing drawingAsCut(Drawing drawing, const ConversionOptions& options, double* travel = nullptr);

}  // namespace kerfline
