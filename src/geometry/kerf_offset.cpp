#include "geometry/kerf_offset.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "geometry/clipper_region.h"
#include "geometry/cut_order.h"

namespace kerfline {
namespace {

using ClipperLib::PolyNode;

// Every ring of the tree at depth parity `holes` (false: outlines, true: holes).
void ringsOf(const PolyNode& node, bool holes, std::vector<const PolyNode*>& out) {
  for (const PolyNode* child : node.Childs) {
    if (child->IsHole() == holes) out.push_back(child);
    ringsOf(*child, holes, out);
  }
}

// True when point lies inside ring but in none of ring's children (the rings directly inside
// it), so inside the area the ring bounds at its own level.
bool insideLevel(const ClipperLib::IntPoint& point, const PolyNode& ring) {
  if (ClipperLib::PointInPolygon(point, ring.Contour) != 1) return false;
  return std::none_of(ring.Childs.begin(), ring.Childs.end(), [&](const PolyNode* inner) {
    return ClipperLib::PointInPolygon(point, inner->Contour) != 0;
  });
}

// The rings of `before` of the kind the offset shrinks (outlines when moving inward, holes
// when moving outward) that no ring of the same kind of `after` lies within. Every ring the
// offset produces keeps at least the offset distance from the old boundary, so one of its
// points tells where it lies.
int countClosedUp(const PolyNode& before, const PolyNode& after, bool holes) {
  std::vector<const PolyNode*> old, now;
  ringsOf(before, holes, old);
  ringsOf(after, holes, now);
  int closed = 0;
  for (const PolyNode* ring : old) {
    const bool survives = std::any_of(now.begin(), now.end(), [&](const PolyNode* r) {
      return !r->Contour.empty() && insideLevel(r->Contour.front(), *ring);
    });
    if (!survives) ++closed;
  }
  return closed;
}

}  // namespace

double kerfArcTolerance(double distance) { return std::min(0.001, std::fabs(distance) * 0.01); }

std::vector<VanishedPath> offsetForKerf(Drawing& drawing, double distance,
                                        const Checkpoint& checkpoint) {
  std::vector<VanishedPath> vanished;
  if (distance == 0) return vanished;
  const double delta = distance * kClipperScale;
  const double arcTolerance = kerfArcTolerance(distance) * kClipperScale;
  const bool inward = distance < 0;

  std::vector<PlacedCharacter> kept;
  kept.reserve(drawing.characters.size());
  for (PlacedCharacter& character : drawing.characters) {
    if (checkpoint) checkpoint();
    ClipperLib::Paths paths = closedPathsOf(character);
    if (!paths.empty()) {
      ClipperLib::PolyTree before;
      regionTreeOf(paths, before);
      // The union gives outlines positive and holes negative orientation, which is what the
      // offset reads to tell which way is outward.
      ClipperLib::Paths region;
      ClipperLib::PolyTreeToPaths(before, region);
      ClipperLib::ClipperOffset offset(2.0, arcTolerance);
      offset.AddPaths(region, ClipperLib::jtRound, ClipperLib::etClosedPolygon);
      ClipperLib::PolyTree after;
      offset.Execute(after, delta);

      const int closed = countClosedUp(before, after, /*holes=*/!inward);
      for (int i = 0; i < closed; ++i)
        vanished.push_back({character.position, character.character, character.line, !inward});

      std::vector<Contour> contours = contoursOf(after);
      for (Contour& c : character.contours)
        if (!c.closed) contours.push_back(std::move(c));
      character.contours = std::move(contours);
    }
    if (!character.contours.empty()) kept.push_back(std::move(character));
  }
  drawing.characters = std::move(kept);
  orderForCutting(drawing);
  return vanished;
}

}  // namespace kerfline
