#pragma once
// A small reader of SVG path data (the "d" attribute): every command of the grammar (M L H V
// C S Q T A Z, absolute and relative, implicit repeats, numbers such as "1e-3" and ".5.5", arc
// flags without separators), curves and arcs flattened to chords.
#include <string_view>
#include <vector>

#include "geometry/contour.h"

namespace kerfline {

/// One subpath as chords, in the data's own coordinates.
using PathPolyline = std::vector<Vec2>;

/// The subpaths of data, each curve and arc divided into chords that stray at most tolerance
/// (> 0) from it. Throws Error naming the place of the first thing that is not path data, and
/// for data of more than a million commands or points.
std::vector<PathPolyline> readSvgPath(std::string_view data, double tolerance);

}  // namespace kerfline
