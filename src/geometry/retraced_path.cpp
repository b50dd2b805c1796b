#include "geometry/retraced_path.h"

#include <cmath>

namespace kerfline {

std::optional<std::vector<Vec2>> retracedPath(const std::vector<Vec2>& ring, double tolerance) {
  const auto near = [tolerance](const Vec2& a, const Vec2& b) {
    return std::fabs(a.x - b.x) <= tolerance && std::fabs(a.y - b.y) <= tolerance;
  };
  std::size_t n = ring.size();
  // A ring that repeats its first point at the end is read without the repeat.
  while (n > 1 && ring[n - 1] == ring[0]) --n;
  if (n < 2 || n % 2 != 0) return std::nullopt;  // an odd ring has no point opposite its turn
  const auto at = [&](std::size_t i) -> const Vec2& { return ring[i % n]; };
  for (std::size_t i = 0; i < n; ++i) {
    // Only a point where the ring turns back (its neighbours coincide) can be an end.
    if (!near(at(i + n - 1), at(i + 1))) continue;
    bool mirrored = true;
    for (std::size_t j = 2; j <= n / 2 && mirrored; ++j) mirrored = near(at(i + j), at(i + n - j));
    if (!mirrored) continue;
    std::vector<Vec2> path;
    for (std::size_t j = 0; j <= n / 2; ++j) path.push_back(at(i + j));
    return path;
  }
  return std::nullopt;
}

void openRetracingContours(PlacedCharacter& character, double tolerance) {
  for (Contour& k : character.contours) {
    if (!k.closed) continue;
    if (std::optional<std::vector<Vec2>> path = retracedPath(k.points, tolerance)) {
      k.points = std::move(*path);
      k.tangents.reset();
      k.closed = false;
      k.depth = 0;
    }
  }
}

}  // namespace kerfline
