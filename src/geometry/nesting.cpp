#include "geometry/nesting.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include "geometry/ring_math.h"

namespace kerfline {
namespace {

struct RingFacts {
  Extent box;
  double size = 0;  // |area|
};

bool boxWithin(const Extent& inner, const Extent& outer) {
  return outer.minX <= inner.minX && inner.maxX <= outer.maxX && outer.minY <= inner.minY &&
         inner.maxY <= outer.maxY;
}

// Whether ring lies inside around, for rings that do not cross: the first point of ring that
// is not on around's boundary decides. Touching rings share points, so vertices on the
// boundary are passed over, then edge midpoints; nothing when every such point is on it.
std::optional<bool> pointsInside(const std::vector<Vec2>& ring, const std::vector<Vec2>& around) {
  for (const Vec2& p : ring) {
    const RingSide side = locatePoint(p, around);
    if (side != RingSide::OnBoundary) return side == RingSide::Inside;
  }
  for (std::size_t i = 0; i < ring.size(); ++i) {
    const Vec2& a = ring[i];
    const Vec2& b = ring[(i + 1) % ring.size()];
    const RingSide side = locatePoint({(a.x + b.x) / 2, (a.y + b.y) / 2}, around);
    if (side != RingSide::OnBoundary) return side == RingSide::Inside;
  }
  return std::nullopt;
}

// Whether ring `inner` lies inside ring `outer` of one character; rings that trace the same
// line hold each other by size, the smaller (else the later) one inside.
bool liesInside(const std::vector<Contour>& contours, const std::vector<RingFacts>& facts,
                std::size_t inner, std::size_t outer) {
  if (!boxWithin(facts[inner].box, facts[outer].box)) return false;
  if (const auto inside = pointsInside(contours[inner].points, contours[outer].points))
    return *inside;
  if (facts[inner].size != facts[outer].size) return facts[inner].size < facts[outer].size;
  return outer < inner;
}

// Rings are visited from the largest to the smallest (equal ones in their order), so a ring
// can only be held by one visited before it: rings that cross each other (overlapping
// outlines of a badly made font) can never hold each other in a circle.
bool visitedBefore(const std::vector<RingFacts>& facts, std::size_t a, std::size_t b) {
  if (facts[a].size != facts[b].size) return facts[a].size > facts[b].size;
  return a < b;
}

// Where the rings that may hold a point are found: a coarse grid over the character, each
// cell listing the rings whose box covers it (in visiting order); rings covering many cells
// are listed once, apart. A glyph of many thousand contours then costs about as many
// containment tests as it has rings, not their square.
class RingGrid {
 public:
  RingGrid(const Extent& box, std::size_t rings)
      : box_(box), side_(rings > kFewRings ? kSide : 1), cells_(side_ * side_) {}

  void add(std::size_t ring, const Extent& b) {
    const auto [x0, y0] = cellOf(b.minX, b.minY);
    const auto [x1, y1] = cellOf(b.maxX, b.maxY);
    if ((x1 - x0 + 1) * (y1 - y0 + 1) > kManyCells) {
      wide_.push_back(ring);
      return;
    }
    for (std::size_t y = y0; y <= y1; ++y) {
      for (std::size_t x = x0; x <= x1; ++x) cells_[y * side_ + x].push_back(ring);
    }
  }

  /// Calls test with every ring that may hold point p, the latest added first, until it
  /// returns true; returns that ring or -1.
  template <typename Test>
  int findLatest(const Vec2& p, const std::vector<std::size_t>& rank, Test test) const {
    const auto [x, y] = cellOf(p.x, p.y);
    const std::vector<std::size_t>& cell = cells_[y * side_ + x];
    std::size_t a = cell.size();
    std::size_t b = wide_.size();
    while (a > 0 || b > 0) {
      const bool fromCell = b == 0 || (a > 0 && rank[cell[a - 1]] > rank[wide_[b - 1]]);
      const std::size_t ring = fromCell ? cell[--a] : wide_[--b];
      if (test(ring)) return static_cast<int>(ring);
    }
    return -1;
  }

 private:
  static constexpr std::size_t kFewRings = 64;
  static constexpr std::size_t kSide = 32;
  static constexpr std::size_t kManyCells = 64;

  std::pair<std::size_t, std::size_t> cellOf(double x, double y) const {
    return {axis(x, box_.minX, box_.maxX), axis(y, box_.minY, box_.maxY)};
  }
  std::size_t axis(double v, double lo, double hi) const {
    if (side_ == 1 || !(hi > lo)) return 0;
    const double t = (v - lo) / (hi - lo) * static_cast<double>(side_);
    if (!(t > 0)) return 0;
    return std::min(side_ - 1, static_cast<std::size_t>(t));
  }

  Extent box_;
  std::size_t side_;
  std::vector<std::vector<std::size_t>> cells_;
  std::vector<std::size_t> wide_;
};

}  // namespace

Nesting findNesting(const std::vector<Contour>& contours) {
  const std::size_t n = contours.size();
  Nesting nesting;
  nesting.depth.assign(n, 0);
  nesting.parent.assign(n, -1);
  std::vector<RingFacts> facts(n);
  std::vector<std::size_t> order;
  Extent all;
  for (std::size_t i = 0; i < n; ++i) {
    if (!contours[i].closed || contours[i].points.empty()) continue;
    facts[i].box = extentOf(contours[i].points);
    facts[i].size = std::fabs(signedArea(contours[i].points));
    all.add({facts[i].box.minX, facts[i].box.minY});
    all.add({facts[i].box.maxX, facts[i].box.maxY});
    order.push_back(i);
  }
  std::sort(order.begin(), order.end(),
            [&](std::size_t a, std::size_t b) { return visitedBefore(facts, a, b); });
  std::vector<std::size_t> rank(n, 0);
  for (std::size_t r = 0; r < order.size(); ++r) rank[order[r]] = r;

  // Each ring's holder is the smallest ring visited before it that holds it: the innermost.
  // A ring holding another also holds its first point, so the grid cell of that point lists
  // every candidate.
  RingGrid grid(all, order.size());
  for (const std::size_t i : order) {
    const int parent = grid.findLatest(contours[i].points.front(), rank, [&](std::size_t j) {
      return liesInside(contours, facts, i, j);
    });
    nesting.parent[i] = parent;
    nesting.depth[i] = parent < 0 ? 0 : nesting.depth[static_cast<std::size_t>(parent)] + 1;
    if (contours[i].points.size() >= 3) grid.add(i, facts[i].box);
  }
  return nesting;
}

std::vector<std::vector<std::size_t>> findCharacterHolders(
    const std::vector<PlacedCharacter>& characters) {
  const std::size_t n = characters.size();
  std::vector<std::vector<std::size_t>> holders(n);
  // Every closed ring of the drawing, by character, with its box and area, read once.
  struct Ring {
    const Contour* contour;
    std::size_t owner;
    RingFacts facts;
  };
  std::vector<Ring> rings;
  std::vector<Extent> boxes(n);
  Extent all;
  for (std::size_t c = 0; c < n; ++c) {
    for (const Contour& k : characters[c].contours) {
      if (!k.closed || k.points.size() < 3) continue;
      Ring r{&k, c, {extentOf(k.points), std::fabs(signedArea(k.points))}};
      boxes[c].add({r.facts.box.minX, r.facts.box.minY});
      boxes[c].add({r.facts.box.maxX, r.facts.box.maxY});
      rings.push_back(r);
    }
    if (!boxes[c].empty()) {
      all.add({boxes[c].minX, boxes[c].minY});
      all.add({boxes[c].maxX, boxes[c].maxY});
    }
  }
  std::vector<std::size_t> firstRing(n + 1, 0);
  for (const Ring& r : rings) ++firstRing[r.owner + 1];
  for (std::size_t c = 0; c < n; ++c) firstRing[c + 1] += firstRing[c];

  // Characters indexed by their boxes: only one whose box holds an outline's first point can
  // hold the outline, so the common case (letters side by side) costs a box test or two.
  RingGrid grid(all, n);
  std::vector<std::size_t> rank(n);
  for (std::size_t c = 0; c < n; ++c) {
    rank[c] = c;
    if (!boxes[c].empty()) grid.add(c, boxes[c]);
  }
  for (const Ring& outline : rings) {
    if (outline.contour->depth != 0) continue;
    const Ring* innermost = nullptr;
    grid.findLatest(outline.contour->points.front(), rank, [&](std::size_t other) {
      if (other == outline.owner || !boxWithin(outline.facts.box, boxes[other])) return false;
      for (std::size_t h = firstRing[other]; h < firstRing[other + 1]; ++h) {
        const Ring& holder = rings[h];
        if (holder.facts.size <= outline.facts.size ||
            (innermost && holder.facts.size >= innermost->facts.size) ||
            !boxWithin(outline.facts.box, holder.facts.box))
          continue;
        if (pointsInside(outline.contour->points, holder.contour->points).value_or(false))
          innermost = &holder;
      }
      return false;  // every candidate is looked at: the innermost holder wins
    });
    std::vector<std::size_t>& mine = holders[outline.owner];
    if (innermost && std::find(mine.begin(), mine.end(), innermost->owner) == mine.end())
      mine.push_back(innermost->owner);
  }
  for (std::vector<std::size_t>& h : holders) std::sort(h.begin(), h.end());
  return holders;
}

}  // namespace kerfline
