#pragma once
#include <vector>

#include "geometry/contour.h"

namespace kerfline {

/// One stretch of a fill the tool runs without lifting: straight moves from point to point.
struct ToolRun {
  std::vector<Vec2> points;  ///< in drawing units, in the order the tool visits them
  /// One per move (points[i] to points[i + 1]): true where the move cuts, false where it only
  /// carries the tool on (a laser's overscan and the links between hatch lines, beam off).
  std::vector<bool> cuts;
  /// Empty when every move is straight; else one per move, the bulge of its arc (0 a line;
  /// geometry/arc_path.h), kept when offsets are fitted with arcs.
  std::vector<double> bulges;

  friend bool operator==(const ToolRun&, const ToolRun&) = default;
};

/// The paths of one filled region (one letter, or letters that overlap), in cutting order.
struct RegionFill {
  /// What is cut, in order: hatch lines (open, two points each, in their cutting direction)
  /// and closed loops (pocket passes, offsets, outlines), each starting where it is entered.
  std::vector<Contour> pieces;
  std::vector<ToolRun> runs;  ///< the pieces joined into runs where the links allow
};

}  // namespace kerfline
