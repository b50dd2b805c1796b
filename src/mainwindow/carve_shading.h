#pragma once
// The V-carving as the job view shades it: the V-bit's strokes in pieces of one depth, each
// drawn as wide as the cut is at that depth, and the flat floors. Built once per layout
// (on any thread).
#include <QPolygonF>
#include <cstdint>
#include <vector>

#include "carving/vcarve.h"

namespace kerfline {

struct CarveJob;

/// One band of the groove of one run (a piece of a V-bit stroke at one depth): the points within
/// width / 2 of the run, where the cut is at least depth deep. Painted over the bands of
/// shallower depth, the bands leave every point in the shade of the carved surface's depth
/// there, from the light rim of a groove to its dark line.
struct CarveBand {
  std::int32_t run = 0;  ///< index into CarveShading::runs
  double width = 0;      ///< drawing units; the outermost band is the cut's width at that depth
  double depth = 0;      ///< the surface's depth the band is shaded with
};

/// The job view's picture of a carving.
struct CarveShading {
  std::vector<QPolygonF> runs;    ///< the V-bit's strokes cut into pieces of one depth
  std::vector<CarveBand> bands;   ///< shallowest first, so that deeper cuts lie on top
  std::vector<QPolygonF> floors;  ///< the flat floors' rings; a hole lies inside its outline
  double deepest = 0;             ///< the deepest stroke's depth
  std::uint64_t serial = 0;       ///< different for every shading built: a painted frame's key

  bool empty() const { return bands.empty() && floors.empty(); }
};

/// Strokes differing in depth by less than this share of the deepest are drawn at one depth: a
/// shade and a width step the eye cannot tell apart, and few paths for the painter.
inline constexpr int kCarveDepthLevels = 16;
/// Bands of each groove from its rim (the cut's full width) in to its line.
inline constexpr int kCarveBands = 3;

/// The shading of job's V-bit program, carved with settings' bit.
CarveShading buildCarveShading(const CarveJob& job, const VCarveSettings& settings);

}  // namespace kerfline
