#pragma once
// V-carving a letter region: a V-bit follows the medial axis at the depth where its flanks
// just touch the outline, so the cut is as wide as the letter everywhere. Where that depth
// passes the limit (the maximum depth, or the cone of the bit's diameter) the floor is flat
// and cleared: by the V-bit in offset passes, or by a flat end mill in a second program while
// the V-bit traces the flat area's edge.
//
// Exactness: a point of the axis with clearance r is cut at depth r / tan(angle / 2), where
// the cone's footprint is the disc of radius r that touches the outline; the flat floor's
// passes run where every point keeps the footprint's radius from the outline. So the cut passes
// the outline only by the flattening tolerance.
#include <optional>
#include <vector>

#include "carving/medial_axis.h"
#include "geometry/contour.h"

namespace kerfline {

/// A point of a tool path: x and y in drawing units, z the depth below the surface (<= 0).
struct CarvePoint {
  double x = 0;
  double y = 0;
  double z = 0;
  friend bool operator==(const CarvePoint&, const CarvePoint&) = default;
};

/// A stroke of the tool, cut from its first point to its last without lifting.
using CarvePath = std::vector<CarvePoint>;

/// What the carving of a region may do.
struct VCarveSettings {
  double bitAngle = 60;               ///< the V-bit's included angle, degrees (0 < a < 180)
  std::optional<double> bitDiameter;  ///< set: no deeper than the cone this wide
  std::optional<double> maxDepth;     ///< set: no deeper than this (drawing units, > 0)
  double stepOver = 0.4;              ///< clearing passes apart, as a share of the tool's width
  std::optional<double> clearTool;    ///< set: a flat end mill this wide clears the floor
  double tolerance = 0.01;            ///< how far curved axis edges and arcs may be flattened
  /// The axis is cut this much deeper than the outline asks (>= 0, below the depth limit): the
  /// cone then passes the outline by startDepth x tan(angle / 2) at the surface, and the walls
  /// meet the outline startDepth below it (an inlay's plug is carved so).
  double startDepth = 0;
  /// Set: the V-bit's floor passes stand so close that the ridges its tip leaves between them
  /// rise no higher than this above the floor (an inlay's floor must not bear on its mate).
  std::optional<double> floorRidge;
  /// Side branches up to retraceLimit + retracePerDepth x (the depth where they branch off)
  /// long are cut there and back rather than lifted out of: a lift costs the rise from that
  /// depth and the plunge back to it.
  double retraceLimit = 0;
  double retracePerDepth = 0;
};

/// The deepest the V-bit may cut (below the surface, start depth included): maxDepth, no
/// deeper than the cone of bitDiameter; infinite when neither is set.
double depthLimit(const VCarveSettings& settings);

/// Half the width of the V-bit's cut at depth (> 0): depth x tan(angle / 2).
double halfWidthAt(const VCarveSettings& settings, double depth);

/// The carving of one region.
struct RegionCarving {
  std::vector<CarvePath> vbit;      ///< the V-bit's strokes: the axis, the flat floor's passes
  std::vector<CarvePath> clearing;  ///< the end mill's passes over the floor (clearTool set)
  bool flat = false;                ///< some of the region reaches the depth limit
  /// The flat floor as closed rings (outlines counter-clockwise, holes clockwise): the region
  /// inset by the cut's half width at the depth limit. Empty when nothing is flat.
  std::vector<std::vector<Vec2>> floor;
};

/// Carves the region the rings bound (as regionRingsOf gives them). Throws Error for settings
/// outside their sense (angle not in (0, 180), a depth, width or step not above 0, a start
/// depth not above the depth limit) and for a region the medial axis refuses. checkpoint, when
/// given, is called between the steps and before each pass of the floor: what it throws ends
/// the carving.
RegionCarving carveRegion(const std::vector<GridRing>& rings, const VCarveSettings& settings,
                          const Checkpoint& checkpoint = {});

/// How many passes passesOf cuts path in: 1 when depthPerPass is unset or not needed. Throws
/// Error as passesOf.
int passCount(const CarvePath& path, std::optional<double> depthPerPass, int maxPasses);

/// The passes that cut path no deeper than depthPerPass at a time: pass k clamps z at
/// -k x depthPerPass, the last reaches the path's own depth, each pass runs back the way the
/// one before came (the tool is where it ended). The path alone when depthPerPass is unset or
/// not needed. Throws Error past maxPasses passes.
std::vector<CarvePath> passesOf(const CarvePath& path, std::optional<double> depthPerPass,
                                int maxPasses);

}  // namespace kerfline
