#include "geometry/cut_order.h"

#include <utility>

#include "geometry/nesting.h"
#include "geometry/ring_math.h"

namespace kerfline {

void orderForCutting(PlacedCharacter& character) {
  std::vector<Contour>& contours = character.contours;
  const std::size_t n = contours.size();
  if (n == 0) return;
  const Nesting nesting = findNesting(contours);

  std::vector<std::vector<std::size_t>> children(n);
  std::vector<std::size_t> roots;
  for (std::size_t i = 0; i < n; ++i) {
    Contour& c = contours[i];
    if (!c.closed) {
      c.depth = 0;
      continue;
    }
    c.depth = nesting.depth[i];
    // Even depth holds material (outline), odd depth is a hole: counter-clockwise outlines,
    // clockwise holes, whichever way the font ran them.
    const double area = signedArea(c.points);
    if ((c.isHole() && area > 0) || (!c.isHole() && area < 0)) reverseRing(c);
    if (nesting.parent[i] < 0) {
      roots.push_back(i);
    } else {
      children[static_cast<std::size_t>(nesting.parent[i])].push_back(i);
    }
  }

  // Every ring after everything it holds, so no part is cut free before its holes (and their
  // islands) are cut: a post-order walk of the nesting, siblings in their outline order.
  // Iterative, as a hostile font may nest thousands of rings.
  std::vector<std::size_t> order;
  order.reserve(n);
  std::vector<std::pair<std::size_t, std::size_t>> stack;  // ring, next child to visit
  for (const std::size_t root : roots) {
    stack.push_back({root, 0});
    while (!stack.empty()) {
      auto& [ring, next] = stack.back();
      if (next < children[ring].size()) {
        const std::size_t child = children[ring][next++];
        stack.push_back({child, 0});
      } else {
        order.push_back(ring);
        stack.pop_back();
      }
    }
  }
  for (std::size_t i = 0; i < n; ++i) {
    if (!contours[i].closed) order.push_back(i);
  }

  std::vector<Contour> ordered;
  ordered.reserve(n);
  for (const std::size_t i : order) ordered.push_back(std::move(contours[i]));
  contours = std::move(ordered);
}

CrossCharacterOrder crossCharacterOrder(const std::vector<PlacedCharacter>& chars) {
  const std::size_t n = chars.size();
  CrossCharacterOrder result;
  result.order.reserve(n);
  result.tree.reserve(n);
  const std::vector<std::vector<std::size_t>> holders = findCharacterHolders(chars);
  std::vector<std::vector<std::size_t>> held(n);  // ascending, as the holders are visited so
  bool nests = false;
  for (std::size_t c = 0; c < n; ++c) {
    for (const std::size_t h : holders[c]) held[h].push_back(c);
    nests = nests || !holders[c].empty();
  }
  if (!nests) {
    for (std::size_t c = 0; c < n; ++c) {
      result.order.push_back(c);
      result.tree.push_back(c);
    }
    return result;
  }

  // Each character right after everything it holds, in text order otherwise: a post-order
  // walk, so a letter in a counter moves to just before its holder and a frame goes last.
  // A character held twice (crossing letters) is placed at its first holder; iterative, as a
  // frame may hold thousands of letters.
  std::vector<bool> placed(n, false);
  std::vector<std::pair<std::size_t, std::size_t>> stack;  // character, next held to visit
  for (std::size_t root = 0; root < n; ++root) {
    if (placed[root]) continue;
    placed[root] = true;
    stack.push_back({root, 0});
    while (!stack.empty()) {
      auto& [c, next] = stack.back();
      if (next < held[c].size()) {
        const std::size_t inner = held[c][next++];
        if (!placed[inner]) {
          placed[inner] = true;
          stack.push_back({inner, 0});
        }
      } else {
        result.order.push_back(c);
        result.tree.push_back(root);
        stack.pop_back();
      }
    }
  }
  return result;
}

void orderAcrossCharacters(Drawing& drawing) {
  std::vector<PlacedCharacter>& chars = drawing.characters;
  const std::vector<std::size_t> order = crossCharacterOrder(chars).order;
  bool moved = false;
  for (std::size_t k = 0; k < order.size() && !moved; ++k) moved = order[k] != k;
  if (!moved) return;
  std::vector<PlacedCharacter> ordered;
  ordered.reserve(chars.size());
  for (const std::size_t c : order) ordered.push_back(std::move(chars[c]));
  chars = std::move(ordered);
}

void orderForCutting(Drawing& drawing) {
  for (PlacedCharacter& c : drawing.characters) orderForCutting(c);
  orderAcrossCharacters(drawing);
}

}  // namespace kerfline
