#include "export/weld_kerf_cache.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <numeric>
#include <utility>

#include "geometry/box_grid.h"
#include "geometry/cut_order.h"
#include "geometry/ring_distance.h"

namespace kerfline {
namespace {

Extent extentOf(const PlacedCharacter& c) {
  Extent e;
  for (const Contour& k : c.contours)
    for (const Vec2& p : k.points) e.add(p);
  return e;
}

bool hasOpenPath(const PlacedCharacter& c) {
  return std::any_of(c.contours.begin(), c.contours.end(), [](const Contour& k) { return !k.closed; });
}

bool boxWithin(const Extent& inner, const Extent& outer) {
  return inner.minX >= outer.minX && inner.maxX <= outer.maxX && inner.minY >= outer.minY &&
         inner.maxY <= outer.maxY;
}

// A quick mix of a group's code points and paths, what its weld and offset depend on: a word at
// a time, since it runs over every point after every edit. Equal hashes are confirmed by
// comparing the groups.
class Hash {
 public:
  void add(std::uint64_t v) {
    h_ = (h_ ^ v) * 0x9e3779b97f4a7c15ull;
    h_ ^= h_ >> 29;
  }
  void add(double v) { add(std::bit_cast<std::uint64_t>(v)); }
  std::uint64_t value() const { return h_; }

 private:
  std::uint64_t h_ = 0xcbf29ce484222325ull;
};

std::uint64_t hashOf(const Drawing& drawing, const std::vector<std::size_t>& members) {
  Hash h;
  for (const std::size_t i : members) {
    const PlacedCharacter& c = drawing.characters[i];
    h.add(static_cast<std::uint64_t>(c.character));
    for (const Contour& k : c.contours) {
      h.add(static_cast<std::uint64_t>(k.points.size() * 2 + (k.closed ? 1 : 0)));
      for (const Vec2& p : k.points) {
        h.add(p.x);
        h.add(p.y);
      }
    }
  }
  return h.value();
}

// The same code points and paths, wherever in the text.
bool sameGroup(const std::vector<PlacedCharacter>& known, const Drawing& drawing,
               const std::vector<std::size_t>& members) {
  if (known.size() != members.size()) return false;
  for (std::size_t i = 0; i < known.size(); ++i) {
    const PlacedCharacter& c = drawing.characters[members[i]];
    if (known[i].character != c.character || known[i].contours != c.contours) return false;
  }
  return true;
}

// A result names a character by its 1-based index in its group: the group member it stands for.
std::size_t memberOf(std::int32_t position, const std::vector<std::size_t>& members) {
  return members[static_cast<std::size_t>(position - 1)];
}

CharacterPlace placeIn(const Drawing& drawing, std::size_t index) {
  const PlacedCharacter& c = drawing.characters[index];
  return {c.position, c.character, c.line};
}

}  // namespace

std::vector<std::vector<std::size_t>> touchingGroups(const Drawing& drawing, double kerf) {
  const std::size_t n = drawing.characters.size();
  std::vector<Extent> extents(n), grown(n);
  std::vector<char> open(n);
  for (std::size_t i = 0; i < n; ++i) {
    const Extent& e = extents[i] = extentOf(drawing.characters[i]);
    if (!e.empty()) grown[i] = {e.minX - kerf, e.minY - kerf, e.maxX + kerf, e.maxY + kerf};
    open[i] = hasOpenPath(drawing.characters[i]);
  }
  std::vector<std::size_t> parent(n);
  std::iota(parent.begin(), parent.end(), std::size_t{0});
  const auto find = [&](std::size_t i) {
    while (parent[i] != i) i = parent[i] = parent[parent[i]];
    return i;
  };
  // Boxes meet for far more pairs than weld or offset can join: the descender of a "g" and
  // the ascender of an "h" below it, lines apart. Those would chain whole paragraphs into one
  // group, all welded again after any edit in it. A pair is joined only where the weld and the
  // offset could reach: rings within the kerf of each other, or one character within the
  // other's box (a letter in a counter, cut before it). The distance has room to spare for the
  // offset's rounding to the integer grid and for the arithmetic at any distance from the
  // origin; open paths, which neither weld nor offset moves, are not measured.
  const auto mayJoin = [&](std::size_t i, std::size_t j) {
    const PlacedCharacter& a = drawing.characters[i];
    const PlacedCharacter& b = drawing.characters[j];
    if (open[i] || open[j]) return true;
    if (boxWithin(extents[i], grown[j]) || boxWithin(extents[j], grown[i])) return true;
    const double reach = std::max({std::fabs(extents[i].minX), std::fabs(extents[i].maxX),
                                   std::fabs(extents[i].minY), std::fabs(extents[i].maxY)});
    return closedRingsWithin(a, extents[i], b, extents[j], kerf + 1e-3 + 1e-9 * reach);
  };
  const auto unite = [&](std::size_t p, std::size_t q) {
    parent[std::max(p, q)] = std::min(p, q);  // the root stays a group's first character
  };
  // A grid of the grown boxes: each character meets its neighbours in a few cells, whether the
  // lines lie apart or on top of each other.
  BoxGrid grid(grown);
  for (std::size_t i = 0; i < n; ++i) {
    grid.forEachMeeting(i, [&](std::size_t j) {
      if (j < i) return;  // each pair once
      const std::size_t p = find(i), q = find(j);
      if (p != q && mayJoin(i, j)) unite(p, q);
    });
  }
  // The weld makes one character of a group, whose rings may hold a letter that no member
  // holds alone (two brackets welded round it). A character within a group's box, grown by the
  // kerf, joins the group; the group grows with it, so again until none joins.
  for (bool joined = true; joined;) {
    joined = false;
    std::vector<Extent> groupBox(n);
    std::vector<std::size_t> size(n, 0);
    for (std::size_t i = 0; i < n; ++i) {
      if (extents[i].empty()) continue;
      const std::size_t r = find(i);
      groupBox[r].add({grown[i].minX, grown[i].minY});
      groupBox[r].add({grown[i].maxX, grown[i].maxY});
      ++size[r];
    }
    for (std::size_t r = 0; r < n; ++r) {
      if (size[r] < 2) continue;  // one character's box: the pairs above looked at it
      grid.forEachMeetingBox(groupBox[r], [&](std::size_t j) {
        const std::size_t q = find(j), p = find(r);
        if (p == q || !boxWithin(extents[j], groupBox[r])) return;
        unite(p, q);
        joined = true;
      });
    }
  }
  std::vector<std::vector<std::size_t>> groups;
  std::vector<std::size_t> groupOf(n);
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t root = find(i);
    if (root == i) {
      groupOf[i] = groups.size();
      groups.emplace_back();
    }
    groups[groupOf[root]].push_back(i);
  }
  return groups;
}

ToolpathNotes WeldKerfCache::apply(Drawing& drawing, const ConversionOptions& options,
                                   const Checkpoint& checkpoint) {
  if (!changesPaths(options)) return applyWeldAndKerf(drawing, options, checkpoint);
  const Settings settings{options.weld, options.kerf, options.kerfSide};
  if (settings_ != settings) entries_.clear();
  settings_ = settings;
  ++generation_;
  recomputed_ = 0;

  const std::vector<std::vector<std::size_t>> groups =
      touchingGroups(drawing, options.kerf ? std::fabs(*options.kerf) : 0.0);
  groupCount_ = groups.size();
  // Every result character: the run it is cut in (by the drawing index heading it), its group
  // and its place in the group's result.
  struct Piece {
    std::size_t run;
    std::size_t group;
    const PlacedCharacter* character;
  };
  std::vector<Piece> pieces;
  std::vector<std::pair<std::size_t, VanishedPath>> vanished;
  std::vector<std::pair<std::pair<std::size_t, std::size_t>, std::pair<CharacterPlace, CharacterPlace>>>
      overlapping;
  bool moreOverlapping = false;
  pieces.reserve(drawing.characters.size());
  for (std::size_t g = 0; g < groups.size(); ++g) {
    const std::vector<std::size_t>& members = groups[g];
    const std::uint64_t key = hashOf(drawing, members);
    auto [lo, hi] = entries_.equal_range(key);
    auto found = std::find_if(
        lo, hi, [&](const auto& e) { return sameGroup(e.second.input, drawing, members); });
    if (found == hi) {
      found = entries_.emplace(key, weldAndOffset(drawing, members, options, checkpoint));
      ++recomputed_;
    }
    Entry& e = found->second;
    e.generation = generation_;
    for (std::size_t k = 0; k < e.output.size(); ++k)
      pieces.push_back({memberOf(e.runs[k], members), g, &e.output[k]});
    for (VanishedPath v : e.notes.vanished) {
      const std::size_t at = memberOf(v.position, members);
      const CharacterPlace place = placeIn(drawing, at);
      v.position = place.position;
      v.line = place.line;
      vanished.emplace_back(at, v);
    }
    for (const auto& [a, b] : e.notes.overlapping) {
      const std::size_t i = memberOf(a.position, members), j = memberOf(b.position, members);
      overlapping.push_back({{i, j}, {placeIn(drawing, i), placeIn(drawing, j)}});
    }
    moreOverlapping = moreOverlapping || e.notes.moreOverlapping;
  }

  // Each group's result is in its cutting order, in runs of characters nested in one another;
  // the runs of all groups in the order of their first characters are the whole drawing's
  // cutting order (nothing lies in a character of another group). The notes follow the text.
  const auto byIndex = [](const auto& a, const auto& b) { return a.first < b.first; };
  std::stable_sort(pieces.begin(), pieces.end(),
                   [](const Piece& a, const Piece& b) { return a.run < b.run; });
  std::stable_sort(vanished.begin(), vanished.end(), byIndex);
  std::stable_sort(overlapping.begin(), overlapping.end(), byIndex);
  std::vector<PlacedCharacter> out;
  out.reserve(pieces.size());
  for (const Piece& p : pieces) {
    out.push_back(*p.character);
    const CharacterPlace place = placeIn(drawing, memberOf(p.character->position, groups[p.group]));
    out.back().position = place.position;
    out.back().line = place.line;
  }
  ToolpathNotes notes;
  for (auto& [at, v] : vanished) notes.vanished.push_back(v);
  for (auto& [at, pair] : overlapping) {
    if (notes.overlapping.size() == kListedOverlaps) {
      moreOverlapping = true;
      break;
    }
    notes.overlapping.push_back(pair);
  }
  notes.moreOverlapping = moreOverlapping;
  drawing.characters = std::move(out);
  std::erase_if(entries_, [&](const auto& e) { return e.second.generation != generation_; });
  return notes;
}

WeldKerfCache::Entry WeldKerfCache::weldAndOffset(const Drawing& drawing,
                                                  const std::vector<std::size_t>& members,
                                                  const ConversionOptions& options,
                                                  const Checkpoint& checkpoint) {
  Drawing group;
  group.layer = drawing.layer;
  for (std::size_t i = 0; i < members.size(); ++i) {
    group.characters.push_back(drawing.characters[members[i]]);
    group.characters.back().position = static_cast<std::int32_t>(i + 1);
    group.characters.back().line = 0;
  }
  Entry e;
  e.input = group.characters;
  e.notes = applyWeldAndKerf(group, options, checkpoint);
  // Weld puts each group where its first character was, and the offset keeps that order; then
  // every character held inside another's ring goes before it, as in the whole drawing.
  std::stable_sort(group.characters.begin(), group.characters.end(),
                   [](const PlacedCharacter& a, const PlacedCharacter& b) {
                     return a.position < b.position;
                   });
  const CrossCharacterOrder order = crossCharacterOrder(group.characters);
  e.output.reserve(order.order.size());
  e.runs.reserve(order.order.size());
  for (std::size_t k = 0; k < order.order.size(); ++k) {
    e.output.push_back(std::move(group.characters[order.order[k]]));
    e.runs.push_back(group.characters[order.tree[k]].position);
  }
  return e;
}

}  // namespace kerfline
