#pragma once
// Drawing units <-> Clipper's integer grid. Only the geometry sources include this header, so
// the rest of the program never sees the polygon library.
#include <polyclipping/clipper.hpp>

#include <cmath>

#include "common/error.h"
#include "geometry/contour.h"

namespace kerfline {

/// Integer steps per drawing unit: Clipper computes on 64-bit integers, so every point is
/// rounded to a grid of 1e-6 drawing units (a micrometre in millimetres, 25 nm in inches),
/// far below what the single-precision points of the drawing resolve at their usual size.
/// Headroom: Clipper accepts coordinates up to 2^62 (about 4.6e18), that is 4.6e12 drawing
/// units; the largest text the window can place (scale 10,000, a 1,600-point face, thousands
/// of characters on a line) stays under 1e9 units, three orders of magnitude inside.
inline constexpr double kClipperScale = 1e6;

/// The grid point nearest p. Throws Error when p is not finite or beyond Clipper's range.
inline ClipperLib::IntPoint toClipper(const Vec2& p) {
  constexpr double limit = static_cast<double>(ClipperLib::hiRange);
  const double x = std::round(p.x * kClipperScale);
  const double y = std::round(p.y * kClipperScale);
  if (!(std::fabs(x) < limit && std::fabs(y) < limit)) throw Error("Coordinate out of range.");
  return {static_cast<ClipperLib::cInt>(x), static_cast<ClipperLib::cInt>(y)};
}

/// The drawing point of grid point p.
inline Vec2 fromClipper(const ClipperLib::IntPoint& p) {
  return {static_cast<double>(p.X) / kClipperScale, static_cast<double>(p.Y) / kClipperScale};
}

}  // namespace kerfline
