#pragma once
// Cut order for short rapid travel.
//
// How to call it: list the drawing's paths once (pathAddresses, pathsAt), state which must be
// cut before which (holesBeforeOutlines gives each character's own nesting; cross-character
// nesting adds its pairs to the same list), then planTravel gives the order, the ring entry
// vertices and the direction of open paths. A writer walks plan.steps and writes
// cutPoints(*paths[step.path], step) for each; travelFigures reports how much rapid travel the
// plan saves. Leads and overcut (cut_leads.h) start from the same plan.
//
// Algorithm: greedy nearest neighbour over a uniform grid (point_grid.h) of the candidate entry
// points of the paths whose predecessors are all cut, then 2-opt and Or-opt moves against each
// path's nearest neighbours (moves that would break a precedence are refused), then a dynamic
// programme that picks every path's entry point jointly for the final order (O(n K^2) over K
// candidates per ring, two directions per open path); improvement and entry choice run twice,
// the second improvement moving single paths only.
#include <cstddef>
#include <vector>

#include "geometry/contour.h"

namespace kerfline {

/// Path `before` must be cut before path `after` (indices into the paths given): a hole before
/// the outline that holds it, so no part falls loose before its holes are cut.
struct CutPrecedence {
  std::size_t before = 0;
  std::size_t after = 0;
  friend bool operator==(const CutPrecedence&, const CutPrecedence&) = default;
};

/// Choices of the travel planner.
struct TravelOptions {
  Vec2 start;                     ///< where the tool stands before the first cut
  std::size_t entryCandidates = 8;  ///< K: vertices of a ring considered for its entry
  /// Rapid travel a corner entry may cost more than a smooth one, as a share of the ring's
  /// extent diagonal: a pierce mark or closing seam on a smooth curve shows, at a corner not.
  double cornerPreference = 0.1;
  int improvementRounds = 2;  ///< improvement and entry choice, each run this often
};

/// One path in the plan.
struct CutStep {
  std::size_t path = 0;   ///< index into the paths given
  std::size_t entry = 0;  ///< closed: the vertex where the cut starts and closes; open: 0
  bool reversed = false;  ///< open paths: cut from the last point to the first
  friend bool operator==(const CutStep&, const CutStep&) = default;
};

/// Every path once, in cutting order.
struct TravelPlan {
  std::vector<CutStep> steps;
  double travel = 0;  ///< rapid travel from options.start to the last path's end, drawing units
};

/// Plans the order of paths (closed rings or open paths) for short rapid travel, keeping every
/// precedence. A precedence cycle (not produced by nesting) is broken in the paths' order;
/// pairs naming a path out of range are ignored. Paths without points come last.
TravelPlan planTravel(const std::vector<const Contour*>& paths,
                      const std::vector<CutPrecedence>& precedence,
                      const TravelOptions& options = {});

/// The points of one path in cutting order: a ring rotated to start at its entry vertex (it
/// still closes back to it), an open path reversed when the step says so.
std::vector<Vec2> cutPoints(const Contour& path, const CutStep& step);

/// The rapid travel of steps from start: to each path's first cut point from the previous
/// path's last one (a ring ends where it started).
double rapidTravel(const std::vector<const Contour*>& paths, const std::vector<CutStep>& steps,
                   const Vec2& start);

/// How good a plan is.
struct TravelFigures {
  double travel = 0;           ///< of the plan
  double textOrderTravel = 0;  ///< of the paths in the order given, rings entered at vertex 0
  /// No order entering paths at vertices travels less: every path is reached by exactly one
  /// rapid, which starts at the start point or on another path's vertex and ends on one of its
  /// own, so it is at least that path's gap to the nearest other path or to the start; the
  /// bound is the sum of these gaps.
  double lowerBound = 0;
};

/// No order of paths from start travels less than this (TravelFigures::lowerBound says why): a
/// rapid may end on any vertex of a ring but only at an end of an open path.
double travelLowerBound(const std::vector<const Contour*>& paths, const Vec2& start);

/// The figures of plan over paths; the lower bound (a nearest-point question per vertex, the
/// costliest figure) is left 0 unless lowerBound.
TravelFigures travelFigures(const std::vector<const Contour*>& paths, const TravelPlan& plan,
                            const Vec2& start, bool lowerBound = true);

/// Where a path lies in a drawing.
struct PathAddress {
  std::size_t character = 0;  ///< index into drawing.characters
  std::size_t contour = 0;    ///< index into that character's contours
  friend bool operator==(const PathAddress&, const PathAddress&) = default;
};

/// Every path of the drawing in text order.
std::vector<PathAddress> pathAddresses(const Drawing& drawing);

/// The paths at addresses (pointers into drawing, valid while it is unchanged).
std::vector<const Contour*> pathsAt(const Drawing& drawing, const std::vector<PathAddress>& addresses);

/// Within each character, every closed ring before the ring that immediately holds it, found
/// from the geometry (findNesting); indices into addresses.
std::vector<CutPrecedence> holesBeforeOutlines(const Drawing& drawing,
                                               const std::vector<PathAddress>& addresses);

}  // namespace kerfline
