#pragma once
// Drawing units <-> Clipper's integer grid. Only the geometry sources include this header, so
// the rest of the program never sees the polygon library.
#include <polyclipping/clipper.hpp>

#include <cmath>
#include <utility>

#include "common/error.h"
#include "geometry/contour.h"

namespace kerfline {

/// Integer steps per drawing unit: Clipper computes on 64-bit integers, so every point is
/// rounded to a grid of 1e-6 drawing units (a nanometre in millimetres, 25 nm in inches),
/// far below what the single-precision points of the drawing resolve at their usual size.
inline constexpr double kClipperScale = 1e6;

/// The largest distance from the origin, in drawing units, that any point given to Clipper
/// or made by it may have. Clipper refuses coordinates beyond 2^62 grid steps (about 4.6e12
/// units); a quarter of that leaves room for the points an offset adds beyond its input and
/// for the rounding inside Clipper. The largest text the window can place (scale 10,000, a
/// 1,600-point face, thousands of characters on a line) stays under 1e9 units.
inline constexpr double kGridReach = 1e12;

/// The message of every coordinate the grid cannot hold.
inline constexpr const char* kOutOfRange = "Coordinate out of range.";

/// True when v (drawing units) lies within the grid's reach; false for infinities and NaN.
inline bool withinGrid(double v) { return std::fabs(v) <= kGridReach; }

/// The grid point nearest p. Throws Error when p is not finite or beyond the grid's reach.
inline ClipperLib::IntPoint toClipper(const Vec2& p) {
  if (!withinGrid(p.x) || !withinGrid(p.y)) throw Error(kOutOfRange);
  return {static_cast<ClipperLib::cInt>(std::round(p.x * kClipperScale)),
          static_cast<ClipperLib::cInt>(std::round(p.y * kClipperScale))};
}

/// The drawing point of grid point p.
inline Vec2 fromClipper(const ClipperLib::IntPoint& p) {
  return {static_cast<double>(p.X) / kClipperScale, static_cast<double>(p.Y) / kClipperScale};
}

/// Runs work, a call into Clipper, and turns Clipper's own exceptions (a coordinate beyond
/// its range, a failed sweep) into Error with the user's sentence, so that no caller sees
/// the library's wording or lets it escape past the places that report Error.
template <class Work>
decltype(auto) clipperCall(Work&& work) {
  try {
    return std::forward<Work>(work)();
  } catch (const ClipperLib::clipperException&) {
    throw Error(kOutOfRange);
  }
}

}  // namespace kerfline
