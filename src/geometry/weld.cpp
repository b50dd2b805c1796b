#include "geometry/weld.h"

#include <algorithm>
#include <numeric>
#include <utility>

#include "geometry/box_grid.h"
#include "geometry/clipper_region.h"
#include "geometry/cut_order.h"

namespace kerfline {
namespace {

using ClipperLib::cInt;
using ClipperLib::IntRect;
using ClipperLib::Paths;

// One character's area, normalised by the non-zero rule, with its bounding box.
struct Region {
  Paths paths;
  IntRect box{0, 0, -1, -1};
  bool empty() const { return paths.empty(); }
};

IntRect boxOf(const Paths& paths) {
  return clipperCall([&] {
    ClipperLib::Clipper c;
    c.AddPaths(paths, ClipperLib::ptSubject, true);
    return c.GetBounds();
  });
}

bool boxesOverlap(const IntRect& a, const IntRect& b) {
  return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

// True when the two areas share more than a boundary. Touching outlines stay apart: they
// cross nowhere, so cutting them one by one is safe.
bool areasOverlap(const Region& a, const Region& b) {
  return clipperCall([&] {
    ClipperLib::Clipper c;
    c.AddPaths(a.paths, ClipperLib::ptSubject, true);
    c.AddPaths(b.paths, ClipperLib::ptClip, true);
    Paths common;
    c.Execute(ClipperLib::ctIntersection, common, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
    return !common.empty();
  });
}

class DisjointSets {
 public:
  explicit DisjointSets(std::size_t n) : parent_(n) { std::iota(parent_.begin(), parent_.end(), 0); }
  std::size_t find(std::size_t i) {
    while (parent_[i] != i) i = parent_[i] = parent_[parent_[i]];
    return i;
  }
  // The smaller index stays the root, so a group's root is its first character.
  void unite(std::size_t a, std::size_t b) {
    a = find(a);
    b = find(b);
    if (a == b) return;
    if (b < a) std::swap(a, b);
    parent_[b] = a;
  }

 private:
  std::vector<std::size_t> parent_;
};

std::vector<Region> regionsOf(const std::vector<PlacedCharacter>& chars,
                              const Checkpoint& checkpoint) {
  std::vector<Region> regions(chars.size());
  for (std::size_t i = 0; i < chars.size(); ++i) {
    if (checkpoint) checkpoint();
    regions[i].paths = regionOf(closedPathsOf(chars[i]));
    if (!regions[i].empty()) regions[i].box = boxOf(regions[i].paths);
  }
  return regions;
}

// Calls overlapping(i, j) for pairs of characters whose areas overlap, i < j; skip(i, j) may
// pass over a pair whose answer is already known. Sweeps over the boxes from left to right:
// only characters whose boxes meet can overlap.
template <class Skip, class Found>
void findOverlaps(const std::vector<Region>& regions, Skip skip, Found overlapping) {
  std::vector<std::size_t> byLeft;
  for (std::size_t i = 0; i < regions.size(); ++i)
    if (!regions[i].empty()) byLeft.push_back(i);
  std::sort(byLeft.begin(), byLeft.end(), [&](std::size_t a, std::size_t b) {
    return regions[a].box.left < regions[b].box.left;
  });
  for (std::size_t k = 0; k < byLeft.size(); ++k) {
    const Region& a = regions[byLeft[k]];
    for (std::size_t m = k + 1; m < byLeft.size() && regions[byLeft[m]].box.left <= a.box.right;
         ++m) {
      const Region& b = regions[byLeft[m]];
      const std::size_t i = std::min(byLeft[k], byLeft[m]);
      const std::size_t j = std::max(byLeft[k], byLeft[m]);
      if (!boxesOverlap(a.box, b.box) || skip(i, j)) continue;
      if (areasOverlap(a, b)) overlapping(i, j);
    }
  }
}

}  // namespace

std::vector<std::pair<std::size_t, std::size_t>> overlappingCharacters(
    const Drawing& drawing, const Checkpoint& checkpoint, std::size_t limit) {
  std::vector<std::pair<std::size_t, std::size_t>> pairs;
  if (limit == 0) return pairs;
  const std::vector<Region> regions = regionsOf(drawing.characters, checkpoint);
  std::vector<Extent> boxes(regions.size());
  for (std::size_t i = 0; i < regions.size(); ++i) {
    const IntRect& b = regions[i].box;
    // Rounding to double keeps every <= between coordinates, so the grid misses no pair;
    // the exact test on the integers follows.
    if (!regions[i].empty())
      boxes[i] = {static_cast<double>(b.left), static_cast<double>(b.top),
                  static_cast<double>(b.right), static_cast<double>(b.bottom)};
  }
  BoxGrid grid(std::move(boxes));
  // The pairs in order, one character's later partners at a time, so that the work ends
  // with the limit-th pair.
  std::vector<std::size_t> later;
  for (std::size_t i = 0; i < regions.size() && pairs.size() < limit; ++i) {
    if (regions[i].empty()) continue;
    if (checkpoint) checkpoint();
    later.clear();
    grid.forEachMeeting(i, [&](std::size_t j) {
      if (j > i && boxesOverlap(regions[i].box, regions[j].box)) later.push_back(j);
    });
    std::sort(later.begin(), later.end());
    for (const std::size_t j : later) {
      if (!areasOverlap(regions[i], regions[j])) continue;
      pairs.emplace_back(i, j);
      if (pairs.size() == limit) break;
    }
  }
  return pairs;
}

void weldOverlaps(Drawing& drawing, const Checkpoint& checkpoint, double bend) {
  std::vector<PlacedCharacter>& chars = drawing.characters;
  const std::size_t n = chars.size();
  std::vector<Region> regions = regionsOf(chars, checkpoint);
  DisjointSets groups(n);
  findOverlaps(
      regions, [&](std::size_t i, std::size_t j) { return groups.find(i) == groups.find(j); },
      [&](std::size_t i, std::size_t j) { groups.unite(i, j); });

  // Members of each group in text order; the group takes its first character's place.
  std::vector<std::vector<std::size_t>> members(n);
  for (std::size_t i = 0; i < n; ++i) members[groups.find(i)].push_back(i);

  std::vector<PlacedCharacter> out;
  out.reserve(n);
  for (std::size_t root = 0; root < n; ++root) {
    if (members[root].empty()) continue;
    if (checkpoint) checkpoint();
    PlacedCharacter welded;
    welded.position = chars[root].position;
    welded.character = chars[root].character;
    welded.line = chars[root].line;
    // Neighbours on the page next to each other, so that the union in pairs stays local.
    std::vector<std::size_t> byPlace;
    for (std::size_t i : members[root])
      if (!regions[i].empty()) byPlace.push_back(i);
    std::sort(byPlace.begin(), byPlace.end(), [&](std::size_t a, std::size_t b) {
      const IntRect& p = regions[a].box;
      const IntRect& q = regions[b].box;
      return std::pair(p.left / 2 + p.right / 2, p.top / 2 + p.bottom / 2) <
             std::pair(q.left / 2 + q.right / 2, q.top / 2 + q.bottom / 2);
    });
    std::vector<Paths> parts;
    parts.reserve(byPlace.size());
    for (std::size_t i : byPlace) parts.push_back(std::move(regions[i].paths));
    if (!parts.empty()) {
      ClipperLib::PolyTree tree;
      regionTreeOf(unionOfRegions(std::move(parts)), tree);
      welded.contours = contoursOf(tree, bend);
    }
    for (std::size_t i : members[root])
      for (Contour& c : chars[i].contours)
        if (!c.closed) welded.contours.push_back(std::move(c));
    if (!welded.contours.empty()) out.push_back(std::move(welded));
  }
  chars = std::move(out);
  orderForCutting(drawing);
}

}  // namespace kerfline
