// Fuzzes the contour model's nesting and cut order with the rings a hostile font could give:
// the input's bytes are (x, y) pairs of small integers, a byte 0x80 ends a ring (0x81: ends an
// open path). Every path must come out once, with its points, and closed rings turned by depth.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "geometry/cut_order.h"
#include "geometry/ring_math.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kerfline;
  PlacedCharacter c;
  Contour current;
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0x80 || data[i] == 0x81) {
      current.closed = data[i] == 0x80;
      removeRepeatedPoints(current);
      if (current.points.size() > 1) c.contours.push_back(current);
      current = Contour{};
    } else if (i + 1 < size) {
      current.points.push_back({static_cast<double>(static_cast<std::int8_t>(data[i])),
                                static_cast<double>(static_cast<std::int8_t>(data[i + 1]))});
      ++i;
    }
  }
  // Each path's points, sorted: the same before and after, whatever the start or direction.
  const auto pointSets = [](const PlacedCharacter& ch) {
    std::vector<std::vector<std::pair<double, double>>> sets;
    for (const Contour& k : ch.contours) {
      std::vector<std::pair<double, double>> s;
      for (const Vec2& p : k.points) s.push_back({p.x, p.y});
      std::sort(s.begin(), s.end());
      sets.push_back(s);
    }
    std::sort(sets.begin(), sets.end());
    return sets;
  };
  const auto before = pointSets(c);
  orderForCutting(c);
  if (pointSets(c) != before) std::abort();
  bool openSeen = false;
  for (const Contour& k : c.contours) {
    if (!k.closed) {
      openSeen = true;
      continue;
    }
    if (openSeen) std::abort();  // open paths come after every ring
    const double area = signedArea(k.points);
    if ((k.isHole() && area > 0) || (!k.isHole() && area < 0)) std::abort();
  }
  return 0;
}
