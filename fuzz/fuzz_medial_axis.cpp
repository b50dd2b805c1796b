// Fuzzes the medial axis and the V-carve built on it. Simple polygons with a hole, built from
// the bytes, are checked exactly: every axis point lies inside, and its radius is its distance to the outline, measured
// by the tests' brute-force oracle. The same bytes as arbitrary rings (x, y pairs of small
// numbers, 0x80 ends a ring) then go through the union a letter's contours go through.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <numbers>
#include <vector>

#include "carving/medial_axis.h"
#include "carving/vcarve.h"
#include "../tests/support/grid_ring_oracle.h"

namespace {

using kerfline::GridRing;
using kerfline::Vec2;

constexpr double kGrid = kerfline::oracle::kGridPerUnit;

using kerfline::oracle::distanceToOutline;
using kerfline::oracle::winding;

// A star-shaped ring round the origin from bytes (radius, angle jitter) pairs: angles rise
// strictly by less than a quarter turn, so the ring is simple; radii within [low, low + span).
GridRing starRing(const std::uint8_t* data, std::size_t pairs, double low, double span, bool ccw) {
  const std::size_t n = std::max<std::size_t>(pairs, 8);
  GridRing r;
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint8_t radius = i < pairs ? data[2 * i] : 0, jitter = i < pairs ? data[2 * i + 1] : 0;
    const double a = 2 * std::numbers::pi * (static_cast<double>(i) + 0.9 * jitter / 255.0) / static_cast<double>(n);
    const double d = low + span * radius / 256.0;
    r.push_back({std::llround(d * std::cos(ccw ? a : -a) * kGrid), std::llround(d * std::sin(ccw ? a : -a) * kGrid)});
  }
  return r;
}

// The V-carve of the rings with settings from the first byte: every point of every stroke at or
// below the surface and no deeper than the limit and, where the outline is exactly the rings
// (exact), its footprint (radius -z tan(angle / 2)) inside the outline to within the
// flattening tolerance; the end mill's likewise. Rings through the union may run along one
// stretch both ways, a slit of no width the axis rightly crosses: there only the depths are
// checked. The toolpath builder must take any region the union leaves.
void checkCarving(const std::vector<GridRing>& rings, std::uint8_t choice, bool exact) {
  kerfline::VCarveSettings s;
  s.bitAngle = 30 + (choice & 3) * 30;
  if (choice & 4) s.maxDepth = 0.5 + (choice >> 4) / 4.0;
  if (choice & 8) s.clearTool = 0.5 + (choice >> 5) / 2.0;
  s.retraceLimit = (choice >> 6) * 2.0;
  s.retracePerDepth = choice & 16 ? 3 : 0;
  const kerfline::RegionCarving carved = kerfline::carveRegion(rings, s);
  const double tanHalf = std::tan(s.bitAngle * std::numbers::pi / 360);
  const double limit = kerfline::depthLimit(s);
  const auto check = [&](const std::vector<kerfline::CarvePath>& paths, bool endMill) {
    for (const kerfline::CarvePath& path : paths)
      for (const kerfline::CarvePoint& p : path) {
        if (!(p.z <= 0 && p.z >= -limit - 1e-9)) std::abort();
        const double reach = endMill ? *s.clearTool / 2 : -p.z * tanHalf;
        if (exact && reach > distanceToOutline(rings, {p.x, p.y}) + s.tolerance) std::abort();
      }
  };
  check(carved.vbit, false);
  check(carved.clearing, true);
}

}  // namespace

// First stage: a simple polygon (radii 8 to 16) with a simple hole (radii 1 to 4) when the input
// holds a byte 0x80, checked exactly. Second stage: the bytes as arbitrary rings through the
// union (which may leave rings touching or sharing stretches): the outline is then a part of
// the rings, so the radius may only exceed the distance to them, never fall short of it.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kerfline;
  if (size > 4096) return 0;  // the brute-force check is quadratic
  const std::uint8_t* split = std::find(data, data + size, std::uint8_t{0x80});
  const std::size_t outerPairs = static_cast<std::size_t>(split - data) / 2;
  std::vector<GridRing> simple{starRing(data, outerPairs, 8, 8, true)};
  if (split != data + size) {
    const std::size_t rest = static_cast<std::size_t>(data + size - split - 1);
    simple.push_back(starRing(split + 1, rest / 2, 1, 3, false));
  }
  const MedialAxis exact = medialAxis(simple, 0.01);
  for (const AxisEdge& e : exact.edges) {
    if (e.points.size() < 2 || e.from < 0 || e.to < 0 ||
        static_cast<std::size_t>(std::max(e.from, e.to)) >= exact.vertices.size())
      std::abort();
    for (const AxisPoint& p : e.points) {
      if (std::fabs(p.radius - distanceToOutline(simple, p.position)) > 1e-6) std::abort();
      if (p.radius > 1e-6 && winding(simple, p.position) == 0) std::abort();
    }
  }
  if (size > 0) checkCarving(simple, data[0], true);

  PlacedCharacter c;
  Contour current;
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0x80) {
      if (current.points.size() > 2) c.contours.push_back(current);
      current = Contour{};
    } else if (i + 1 < size) {
      // Quarter units: off the grid of whole numbers, still exact in binary.
      current.points.push_back({static_cast<std::int8_t>(data[i]) / 4.0,
                                static_cast<std::int8_t>(data[i + 1]) / 4.0});
      ++i;
    }
  }
  if (current.points.size() > 2) c.contours.push_back(current);
  const std::vector<GridRing> rings = regionRingsOf(c);
  for (const AxisEdge& e : medialAxis(rings, 0.01).edges)
    for (const AxisPoint& p : e.points)
      if (p.radius < distanceToOutline(rings, p.position) - 1e-6) std::abort();
  if (size > 0) checkCarving(rings, data[0], false);
  return 0;
}
