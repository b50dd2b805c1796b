#pragma once
// The area a character's closed contours enclose, as Clipper paths, and the way back to
// contours. Shared by the weld and the kerf offset (geometry sources only).
#include <vector>

#include "geometry/clipper_scale.h"

namespace kerfline {

/// The closed contours of character, each a grid path (open paths are left out).
ClipperLib::Paths closedPathsOf(const PlacedCharacter& character);

/// The area the paths enclose by the non-zero rule, as non-overlapping rings: outlines with
/// positive orientation (counter-clockwise, Y up), holes negative. The non-zero rule reads
/// TrueType (outlines clockwise) and CFF (counter-clockwise) glyphs alike, as long as each
/// glyph winds all its contours one way.
ClipperLib::Paths regionOf(const ClipperLib::Paths& paths);

/// The union of parts, each already a region (as regionOf gives), as one region. Parts that lie
/// next to each other in the list should lie next to each other on the page: they are united
/// in pairs, then the pairs in pairs, so that each union sees only the outlines of its
/// neighbourhood and text that overlaps everywhere costs about n log n, not n squared.
ClipperLib::Paths unionOfRegions(std::vector<ClipperLib::Paths> parts);

/// The union of paths by the non-zero rule as a tree: which outline holds which holes.
void regionTreeOf(const ClipperLib::Paths& paths, ClipperLib::PolyTree& tree);

/// Every ring of the tree as a closed contour in drawing units, depth its nesting level, its
/// short edges dropped (dropShortEdges with kShortestEdge and bend, at least kShortEdgeBend;
/// rings left with fewer than three points go, with whatever they hold). Every ring the weld
/// and the kerf make comes through here.
std::vector<Contour> contoursOf(const ClipperLib::PolyTree& tree, double bend);

}  // namespace kerfline
