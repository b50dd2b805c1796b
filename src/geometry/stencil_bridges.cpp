#include "geometry/stencil_bridges.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

#include "geometry/clipper_region.h"
#include "geometry/clipper_scale.h"
#include "geometry/ring_math.h"

namespace kerfline {
namespace {

// Samples along an island's edge: enough that the shortest crossing is missed by little, few
// enough that a large counter costs no more than a few thousand rays.
constexpr int kMaxSamples = 512;

struct Crossing {
  Vec2 from, to;  // from the island's edge across the stroke to the far side
  Vec2 direction;
  double length = std::numeric_limits<double>::infinity();
};

std::vector<Vec2> directionsFor(BridgeDirection d) {
  switch (d) {
    case BridgeDirection::Vertical: return {{0, 1}, {0, -1}};
    case BridgeDirection::Horizontal: return {{1, 0}, {-1, 0}};
    case BridgeDirection::Any: break;
  }
  std::vector<Vec2> out;
  for (int k = 0; k < 16; ++k) {
    const double a = k * std::numbers::pi / 8;
    out.push_back({std::cos(a), std::sin(a)});
  }
  return out;
}

// Even-odd rule: whether p lies inside ring.
bool pointInRing(const Vec2& p, const std::vector<Vec2>& ring) {
  bool inside = false;
  for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
    const Vec2& a = ring[i];
    const Vec2& b = ring[j];
    if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
      inside = !inside;
  }
  return inside;
}

struct Hit {
  double t;
  const Contour* ring;
};

// Every edge of rings the ray p + t d (t > 0) meets, nearest first.
std::vector<Hit> hitsAlong(const Vec2& p, const Vec2& d, const std::vector<const Contour*>& rings) {
  std::vector<Hit> hits;
  for (const Contour* ring : rings) {
    const std::vector<Vec2>& q = ring->points;
    for (std::size_t i = 0; i < q.size(); ++i) {
      const Vec2& a = q[i];
      const Vec2& b = q[(i + 1) % q.size()];
      const Vec2 e{b.x - a.x, b.y - a.y};
      const double den = d.x * e.y - d.y * e.x;
      if (std::fabs(den) < 1e-15) continue;
      const Vec2 w{a.x - p.x, a.y - p.y};
      const double t = (w.x * e.y - w.y * e.x) / den;
      const double s = (w.x * d.y - w.y * d.x) / den;
      if (t > 0 && s >= 0 && s < 1) hits.push_back({t, ring});
    }
  }
  std::sort(hits.begin(), hits.end(), [](const Hit& a, const Hit& b) { return a.t < b.t; });
  return hits;
}

// Points every step along the ring (its vertices among them), at most kMaxSamples.
std::vector<Vec2> samples(const std::vector<Vec2>& ring, double step) {
  double total = 0;
  for (std::size_t i = 0; i < ring.size(); ++i) {
    const Vec2& a = ring[i];
    const Vec2& b = ring[(i + 1) % ring.size()];
    total += std::hypot(b.x - a.x, b.y - a.y);
  }
  step = std::max(step, total / kMaxSamples);
  std::vector<Vec2> out;
  for (std::size_t i = 0; i < ring.size(); ++i) {
    const Vec2& a = ring[i];
    const Vec2& b = ring[(i + 1) % ring.size()];
    const int n = std::max(1, static_cast<int>(std::hypot(b.x - a.x, b.y - a.y) / step));
    for (int k = 0; k < n; ++k) out.push_back({a.x + (b.x - a.x) * k / n, a.y + (b.y - a.y) * k / n});
  }
  return out;
}

// A rectangle width wide around the crossing, run on past both ends so that it cuts through
// the edges it joins whatever their slope.
ClipperLib::Path bridgeStrip(const Crossing& c, double width) {
  const Vec2 d = c.direction, n{-d.y, d.x};
  const double over = width;
  const Vec2 a{c.from.x - d.x * over, c.from.y - d.y * over};
  const Vec2 b{c.to.x + d.x * over, c.to.y + d.y * over};
  const double h = width / 2;
  return {toClipper({a.x + n.x * h, a.y + n.y * h}), toClipper({b.x + n.x * h, b.y + n.y * h}),
          toClipper({b.x - n.x * h, b.y - n.y * h}), toClipper({a.x - n.x * h, a.y - n.y * h})};
}

}  // namespace

BridgeNotes addStencilBridges(Drawing& drawing, const BridgeRule& rule) {
  BridgeNotes notes;
  const std::vector<Vec2> directions = directionsFor(rule.direction);
  for (PlacedCharacter& character : drawing.characters) {
    std::vector<const Contour*> rings;
    for (const Contour& k : character.contours)
      if (k.closed && k.points.size() >= 3) rings.push_back(&k);
    ClipperLib::Paths strips;
    for (const Contour* island : rings) {
      if (!island->isHole()) continue;
      ++notes.islands;
      Extent e;
      for (const Vec2& p : island->points) e.add(p);
      const int wanted = std::max(rule.bridges, rule.twoAbove && std::max(e.width(), e.height()) > *rule.twoAbove ? 2 : 1);
      // Every crossing from the island's edge into the stroke: the ray must leave the island
      // into the letter (the hole's own inside is the island, not the stroke).
      std::vector<Crossing> crossings;
      // A bridge is a strip rule.width wide. Its middle and both edges start half a width
      // inside the island (so the island is that wide where the bridge holds it), leave the
      // island once and then meet the letter's outline: a ray that meets a hole there (another
      // counter, or this one again round a bend) would only join island to island ...
      const double h = rule.width / 2;
      for (const Vec2& p : samples(island->points, rule.width / 4)) {
        for (const Vec2& d : directions) {
          const Vec2 n{-d.y, d.x};
          double far = 0;
          bool holds = true;
          for (const double side : {0.0, -1.0, 1.0}) {
            const Vec2 start{p.x + n.x * h * side - d.x * h, p.y + n.y * h * side - d.y * h};
            if (!pointInRing(start, island->points)) {
              holds = false;
              break;
            }
            const std::vector<Hit> hits = hitsAlong(start, d, rings);
            // ... and the sheet beyond the outline at least a width deep (not the tip of a notch).
            if (hits.size() < 2 || hits[0].ring != island || hits[1].ring->isHole() ||
                (hits.size() > 2 && hits[2].t - hits[1].t < rule.width)) {
              holds = false;
              break;
            }
            far = std::max(far, hits[1].t);
          }
          if (!holds) continue;
          const Vec2 from{p.x - d.x * h, p.y - d.y * h};
          crossings.push_back({from, {from.x + d.x * far, from.y + d.y * far}, d, far - h});
        }
      }
      std::sort(crossings.begin(), crossings.end(),
                [](const Crossing& a, const Crossing& b) { return a.length < b.length; });
      // Each further bridge at least half the island's span from those chosen, so that two
      // bridges hold the island from two sides rather than side by side.
      const double apart = std::max(e.width(), e.height()) / 2;
      std::vector<Crossing> chosen;
      for (const Crossing& c : crossings) {
        if (static_cast<int>(chosen.size()) >= wanted) break;
        bool far = true;
        for (const Crossing& o : chosen)
          far = far && std::hypot(c.from.x - o.from.x, c.from.y - o.from.y) >= std::max(apart, 2 * rule.width);
        if (far) chosen.push_back(c);
      }
      if (chosen.empty()) ++notes.loose;
      for (const Crossing& c : chosen) strips.push_back(bridgeStrip(c, rule.width));
      notes.bridges += chosen.size();
    }
    if (strips.empty()) continue;
    // The letter's area less the bridges, back to rings: the outline now runs round each bridge.
    ClipperLib::PolyTree tree;
    clipperCall([&] {
      ClipperLib::Clipper clipper;
      clipper.AddPaths(regionOf(closedPathsOf(character)), ClipperLib::ptSubject, true);
      clipper.AddPaths(strips, ClipperLib::ptClip, true);
      clipper.Execute(ClipperLib::ctDifference, tree, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
    });
    std::vector<Contour> contours = contoursOf(tree, kShortEdgeBend);
    for (Contour& k : character.contours)
      if (!k.closed) contours.push_back(std::move(k));
    character.contours = std::move(contours);
  }
  return notes;
}

}  // namespace kerfline
