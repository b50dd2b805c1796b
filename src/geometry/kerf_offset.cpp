#include "geometry/kerf_offset.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
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
  // One point of each new ring, by X, so each old ring tests only the points its box spans:
  // a weld group of thousands of holes must not cost their square.
  std::vector<std::pair<ClipperLib::IntPoint, const PolyNode*>> probes;
  for (const PolyNode* r : now)
    if (!r->Contour.empty()) probes.push_back({r->Contour.front(), r});
  std::sort(probes.begin(), probes.end(),
            [](const auto& a, const auto& b) { return a.first.X < b.first.X; });
  int closed = 0;
  for (const PolyNode* ring : old) {
    ClipperLib::cInt left = 0, right = -1, bottom = 0, top = -1;
    for (const ClipperLib::IntPoint& p : ring->Contour) {
      if (right < left) left = right = p.X, bottom = top = p.Y;
      left = std::min(left, p.X), right = std::max(right, p.X);
      bottom = std::min(bottom, p.Y), top = std::max(top, p.Y);
    }
    auto it = std::lower_bound(probes.begin(), probes.end(), left,
                               [](const auto& probe, ClipperLib::cInt x) { return probe.first.X < x; });
    bool survives = false;
    for (; it != probes.end() && it->first.X <= right && !survives; ++it)
      survives = bottom <= it->first.Y && it->first.Y <= top && insideLevel(it->first, *ring);
    if (!survives) ++closed;
  }
  return closed;
}

// The largest distance of any point of a closed contour of the drawing from the origin, along
// either axis.
double reachOf(const Drawing& drawing) {
  double reach = 0;
  for (const PlacedCharacter& c : drawing.characters)
    for (const Contour& k : c.contours)
      if (k.closed)
        for (const Vec2& p : k.points) reach = std::max({reach, std::fabs(p.x), std::fabs(p.y)});
  return reach;
}

}  // namespace

double kerfArcTolerance(double distance, double most) {
  const double d = std::fabs(distance);
  // The chord of a turn of kMaxChordsPerTurn steps lies d (1 - cos(pi / steps)) inside its arc.
  const double fewestChords = d * (1 - std::cos(std::numbers::pi / kMaxChordsPerTurn));
  return std::max(std::min(most, d * 0.01), fewestChords);
}

std::vector<VanishedPath> offsetForKerf(Drawing& drawing, double distance,
                                        const Checkpoint& checkpoint, double most) {
  std::vector<VanishedPath> vanished;
  if (distance == 0) return vanished;
  // Every point moves by up to the distance, and the offset's own sweep sees each hole grown
  // by it even when moving inward: the grown drawing must still fit the grid.
  if (!withinGrid(reachOf(drawing) + std::fabs(distance)))
    throw Error("The kerf is too wide: the offset outlines would reach beyond " +
                std::to_string(static_cast<long long>(kGridReach)) +
                " drawing units from the origin.");
  const double delta = distance * kClipperScale;
  const double bend = kerfArcTolerance(distance, most);
  const double arcTolerance = bend * kClipperScale;
  const bool inward = distance < 0;

  std::vector<PlacedCharacter> kept;
  kept.reserve(drawing.characters.size());
  for (PlacedCharacter& character : drawing.characters) {
    if (checkpoint) checkpoint();
    ClipperLib::Paths paths = closedPathsOf(character);
    if (!paths.empty()) {
      ClipperLib::PolyTree before;
      regionTreeOf(paths, before);
      ClipperLib::PolyTree after;
      clipperCall([&] {
        // The union gives outlines positive and holes negative orientation, which is what the
        // offset reads to tell which way is outward.
        ClipperLib::Paths region;
        ClipperLib::PolyTreeToPaths(before, region);
        ClipperLib::ClipperOffset offset(2.0, arcTolerance);
        offset.AddPaths(region, ClipperLib::jtRound, ClipperLib::etClosedPolygon);
        offset.Execute(after, delta);
      });

      const int closed = countClosedUp(before, after, /*holes=*/!inward);
      for (int i = 0; i < closed; ++i)
        vanished.push_back({character.position, character.character, character.line, !inward});

      std::vector<Contour> contours = contoursOf(after, bend);
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
