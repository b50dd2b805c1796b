#pragma once
#include <limits>
#include <vector>

#include "fill/tool_run.h"
#include "geometry/contour.h"

namespace kerfline {

/// When two pieces of a fill may be joined without lifting the tool.
struct LinkRules {
  /// The tool's centre must stay inside these closed rings (even-odd) along a link.
  const std::vector<Contour>* allowed = nullptr;
  double maxLink = std::numeric_limits<double>::infinity();  ///< longest link, drawing units
  bool linksCut = false;  ///< a link cuts (a router's tool stays down); else it is dry
  double overscan = 0;    ///< open pieces run on this far beyond each end, dry
};

/// The pieces (in order; open ones in their direction, closed ones from their first point back
/// to it) as runs: a piece joins the run before it by a straight link from the last cut point
/// to its first, where that link is no longer than maxLink and lies inside the allowed rings
/// (touching them only at its ends). Overscan lengthens each open piece by dry moves at both
/// ends along its first and last edges; the link then joins the overscan ends. bulges, when
/// given, holds per piece the bulges of the pieces leaving its points (empty: lines); the runs
/// then carry them (links and overscan straight).
std::vector<ToolRun> linkPieces(const std::vector<Contour>& pieces, const LinkRules& rules,
                                const std::vector<std::vector<double>>* bulges = nullptr);

}  // namespace kerfline
