#pragma once
// V-carved inlays: a pocket (the letters V-carved down to a flat floor) and a plug (the area
// around the mirrored letters V-carved, so that the letters stand as mesas with sloped walls)
// which, turned over and pressed into the pocket, fills it.
//
// Why the plug's depths are what they are. Let k = tan(angle / 2), d the distance of a point of
// the letters from their outline, D the pocket's depth and G the glue gap. The V-carve leaves
// the pocket's surface at -min(d / k, D) (the envelope of the cones). The plug's axis runs s
// deeper than its outline asks, so its surface, turned over and set with its face at height c,
// lies over the letters at c + max(0, s - d / k): a mesa whose walls leave the outline s below
// its top. The gap between the two surfaces is then
//   - near the outline, both walls sloped:     c + s (one slope on both: the gap is even),
//   - over the pocket's floor (d >= D k):       c + D when the mesa's top is flat there,
//   - in between: running linearly from one to the other,
// so it lies between c + s and c + D everywhere. Pressed in, the walls bear on each other
// (c = -s: no seam shows on the face), and s = D - G leaves exactly G over the floor: every gap
// lies in [0, G]. The plug's background is cut to D, so turned over it stands G clear of the
// pocket's face and never holds the plug off the walls.
#include <vector>

#include "carving/medial_axis.h"

namespace kerfline {

/// The depths of an inlay's two parts, in drawing units below each part's surface.
struct InlayDepths {
  double pocket = 0;     ///< the pocket's floor
  double plugStart = 0;  ///< the plug's axis runs this much deeper than its outline asks
  double plugDepth = 0;  ///< the plug's background
  double glueGap = 0;    ///< left over the pocket's floor once the walls bear
};

/// The depths for a pocket depth and a glue gap. Throws Error unless both are finite and
/// 0 < glueGap < depth.
InlayDepths inlayDepths(double depth, double glueGap);

/// The region a plug is carved from, on the grid of its letters' rings.
struct PlugRegion {
  std::vector<GridRing> rings;  ///< the box less the mirrored letters, as regionRingsOf gives rings
  double mirrorX = 0;           ///< the letters are mirrored about this vertical line
  double left = 0, bottom = 0, right = 0, top = 0;  ///< the box, drawing units
};

/// The box around letters (each character's rings as regionRingsOf gives them) grown by margin
/// (drawing units, >= 0), less the letters mirrored x -> -x about the box's centre. Throws
/// Error when no letter has an area or the margin is not a number of at least 0.
PlugRegion plugRegion(const std::vector<std::vector<GridRing>>& letters, double margin);

}  // namespace kerfline
