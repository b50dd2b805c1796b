#include "fill/pocket.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "common/error.h"
#include "fill/region_offsets.h"

namespace kerfline {
namespace {

// More clearing passes than this in one region are refused: a tool far too small for the job.
constexpr std::size_t kMaxLevels = 20000;

// One connected piece of one offset: its outline and the holes round the islands in it.
struct Component {
  std::vector<Contour> rings;  // outline first
  ClipperLib::Path outline;
  double outlineArea = 0;
  std::vector<std::size_t> children;  // components of the next offset inward inside this one
};

std::vector<Component> componentsOf(const ClipperLib::PolyTree& tree) {
  std::vector<Component> out;
  std::vector<const ClipperLib::PolyNode*> stack(tree.Childs.rbegin(), tree.Childs.rend());
  while (!stack.empty()) {
    const ClipperLib::PolyNode* node = stack.back();
    stack.pop_back();
    Component c;
    c.outline = node->Contour;
    c.outlineArea = std::fabs(ClipperLib::Area(node->Contour));
    if (Contour ring = ringOf(node->Contour, 0); ring.points.size() >= 3)
      c.rings.push_back(std::move(ring));
    for (const ClipperLib::PolyNode* hole : node->Childs) {
      if (Contour ring = ringOf(hole->Contour, 1); ring.points.size() >= 3)
        c.rings.push_back(std::move(ring));
      for (const ClipperLib::PolyNode* island : hole->Childs) stack.push_back(island);
    }
    if (!c.rings.empty()) out.push_back(std::move(c));
  }
  return out;
}

double distance2(const Vec2& a, const Vec2& b) {
  return (a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y);
}

std::size_t nearestVertex(const Contour& ring, const Vec2& p) {
  std::size_t best = 0;
  double bestD = std::numeric_limits<double>::infinity();
  for (std::size_t i = 0; i < ring.points.size(); ++i)
    if (const double d = distance2(ring.points[i], p); d < bestD) bestD = d, best = i;
  return best;
}

// Appends the rings, nearest first, each entered at its vertex nearest the tool.
void emitNearestFirst(std::vector<const Contour*> rings, Vec2& tool, std::vector<Contour>& out) {
  while (!rings.empty()) {
    std::size_t pick = 0, vertex = 0;
    double bestD = std::numeric_limits<double>::infinity();
    for (std::size_t r = 0; r < rings.size(); ++r) {
      const std::size_t v = nearestVertex(*rings[r], tool);
      if (const double d = distance2(rings[r]->points[v], tool); d < bestD)
        bestD = d, pick = r, vertex = v;
    }
    Contour loop = *rings[pick];
    std::rotate(loop.points.begin(), loop.points.begin() + static_cast<long>(vertex),
                loop.points.end());
    tool = loop.points.front();
    out.push_back(std::move(loop));
    rings.erase(rings.begin() + static_cast<long>(pick));
  }
}

class ClearingOrder {
 public:
  ClearingOrder(const std::vector<std::vector<Component>>& levels, std::vector<Contour>& out)
      : levels_(levels), out_(out) {}

  // Every component of level 0 with everything inside it, innermost first.
  void run(Vec2& tool) {
    if (levels_.empty()) return;
    std::vector<std::size_t> roots(levels_[0].size());
    for (std::size_t i = 0; i < roots.size(); ++i) roots[i] = i;
    visit(0, roots, tool);
  }

 private:
  void visit(std::size_t level, std::vector<std::size_t> siblings, Vec2& tool) {
    // Siblings nearest first: the next is the one whose outline comes closest to the tool.
    while (!siblings.empty()) {
      std::size_t pick = 0;
      double bestD = std::numeric_limits<double>::infinity();
      for (std::size_t s = 0; s < siblings.size(); ++s) {
        const Contour& ring = levels_[level][siblings[s]].rings.front();
        if (const double d = distance2(ring.points[nearestVertex(ring, tool)], tool); d < bestD)
          bestD = d, pick = s;
      }
      const Component& c = levels_[level][siblings[pick]];
      siblings.erase(siblings.begin() + static_cast<long>(pick));
      if (!c.children.empty()) visit(level + 1, c.children, tool);
      std::vector<const Contour*> rings;
      for (const Contour& r : c.rings) rings.push_back(&r);
      emitNearestFirst(rings, tool, out_);
    }
  }

  const std::vector<std::vector<Component>>& levels_;
  std::vector<Contour>& out_;
};

// Each component of the inner level becomes a child of the component of the outer level whose
// outline holds it (the smallest such, where an island's component lies inside another's).
void attachLevels(std::vector<Component>& outer, const std::vector<Component>& inner) {
  for (std::size_t i = 0; i < inner.size(); ++i) {
    const ClipperLib::IntPoint probe = inner[i].outline.front();
    std::size_t parent = outer.size();
    for (std::size_t o = 0; o < outer.size(); ++o)
      if (ClipperLib::PointInPolygon(probe, outer[o].outline) != 0 &&
          (parent == outer.size() || outer[o].outlineArea < outer[parent].outlineArea))
        parent = o;
    if (parent < outer.size()) outer[parent].children.push_back(i);
  }
}

}  // namespace

PocketFill pocketRegion(const std::vector<Contour>& rings, const PocketSettings& settings) {
  PocketFill fill;
  const ClipperLib::Paths region = evenOddRegion(rings);
  if (region.empty()) return fill;
  const double radius = settings.toolDiameter / 2;
  const double step = settings.stepOver * settings.toolDiameter;
  const double allowance = std::clamp(settings.finishAllowance, 0.0, radius * 0.9);
  fill.area = areaOf(region);

  ClipperLib::PolyTree finish;
  insetTree(region, radius, settings.tolerance, finish);
  const std::vector<Component> finishing = componentsOf(finish);
  for (const Component& c : finishing)
    for (const Contour& r : c.rings) fill.centreArea.push_back(r);
  // What no disc inside the region reaches: the region less its opening by the tool's disc.
  ClipperLib::Paths centres;
  ClipperLib::PolyTreeToPaths(finish, centres);
  fill.unreached = std::max(0.0, fill.area - areaOf(outset(centres, radius, settings.tolerance)));
  if (finishing.empty()) return fill;

  // Clearing passes: the first one the allowance inside the finishing pass (or a step, when
  // there is no allowance and the finishing pass would be its twin), then a step apart.
  std::vector<std::vector<Component>> levels;
  for (double d = radius + (allowance > 0 ? allowance : step);; d += step) {
    if (levels.size() >= kMaxLevels)
      throw Error("The pocket needs more than " + std::to_string(kMaxLevels) +
                  " passes: the tool is too small for the letters.");
    ClipperLib::PolyTree tree;
    insetTree(region, d, settings.tolerance, tree);
    std::vector<Component> level = componentsOf(tree);
    if (level.empty()) break;
    if (!levels.empty()) attachLevels(levels.back(), level);
    levels.push_back(std::move(level));
  }
  Vec2 tool = finishing.front().rings.front().points.front();
  ClearingOrder(levels, fill.loops).run(tool);
  std::vector<const Contour*> walls;
  for (const Component& c : finishing)
    for (const Contour& r : c.rings) walls.push_back(&r);
  emitNearestFirst(walls, tool, fill.loops);
  return fill;
}

std::vector<Contour> backgroundRings(const std::vector<Contour>& rings, double margin) {
  Extent e;
  for (const Contour& r : rings)
    if (r.closed)
      for (const Vec2& p : r.points) e.add(p);
  if (e.empty()) return {};
  Contour box;
  box.points = {{e.minX - margin, e.minY - margin},
                {e.maxX + margin, e.minY - margin},
                {e.maxX + margin, e.maxY + margin},
                {e.minX - margin, e.maxY + margin}};
  std::vector<Contour> out{box};
  for (const Contour& r : rings)
    if (r.closed) {
      out.push_back(r);
      out.back().depth = r.depth + 1;
    }
  return out;
}

}  // namespace kerfline
