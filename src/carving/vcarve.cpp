#include "carving/vcarve.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <string>

#include "carving/axis_chains.h"
#include "common/error.h"
#include "geometry/clipper_scale.h"

namespace kerfline {
namespace {

constexpr int kMaxFloorPasses = 2000;

void checkSettings(const VCarveSettings& s) {
  if (!(s.bitAngle > 0 && s.bitAngle < 180)) throw Error("The bit angle must lie between 0 and 180 degrees.");
  const auto positive = [](const std::optional<double>& v, const char* what) {
    if (v && !(std::isfinite(*v) && *v > 0)) throw Error(std::string(what) + " must be a number above 0.");
  };
  positive(s.bitDiameter, "The bit diameter");
  positive(s.maxDepth, "The maximum depth");
  positive(s.clearTool, "The clearing tool's diameter");
  if (!(s.stepOver > 0 && s.stepOver < 1)) throw Error("The step-over must lie between 0 and 1.");
  if (!(s.tolerance > 0)) throw Error("Tolerance must be positive.");
  positive(s.floorRidge, "The floor's ridge height");
  if (!(std::isfinite(s.startDepth) && s.startDepth >= 0 && s.startDepth < depthLimit(s)))
    throw Error("The start depth must lie between 0 and the depth limit.");
}

ClipperLib::Paths pathsOf(const std::vector<GridRing>& rings) {
  ClipperLib::Paths paths;
  for (const GridRing& r : rings) {
    ClipperLib::Path& p = paths.emplace_back();
    for (const GridPoint& q : r) p.push_back({q.x, q.y});
  }
  return paths;
}

// The region inset by distance (drawing units): every point at least that far from the
// outline. Round joins are flattened with their vertices on the arc, so each chord lies nearer
// the outline than the arc by at most tolerance / 4: the footprint passes it by no more.
ClipperLib::Paths inset(const ClipperLib::Paths& region, double distance, double tolerance) {
  ClipperLib::ClipperOffset offset;
  offset.ArcTolerance = std::max(1.0, tolerance / 4 * kClipperScale);
  offset.AddPaths(region, ClipperLib::jtRound, ClipperLib::etClosedPolygon);
  ClipperLib::Paths out;
  clipperCall([&] { offset.Execute(out, -distance * kClipperScale); });
  return out;
}

// Closed rings at depth z as strokes that end where they start.
void addRings(const ClipperLib::Paths& rings, double z, std::vector<CarvePath>& out) {
  for (const ClipperLib::Path& ring : rings) {
    if (ring.size() < 2) continue;
    CarvePath& path = out.emplace_back();
    path.reserve(ring.size() + 1);
    for (const ClipperLib::IntPoint& p : ring) {
      const Vec2 q = fromClipper(p);
      path.push_back({q.x, q.y, z});
    }
    path.push_back(path.front());
  }
}

// Contour-parallel passes of a tool of radius toolRadius over the area at least `from` inside
// the region, until `to` inside: rings at from, from + step, ... Every point of the area lies
// within the footprint of the ring nearest it on the outer side as long as the rings stand no
// farther apart than the radius; where a full step would leave nothing, one more ring at nine
// tenths of the radius takes what lies between.
void offsetPasses(const ClipperLib::Paths& region, double from, double to, double toolRadius,
                  double step, double z, double tolerance, std::vector<CarvePath>& out,
                  const Checkpoint& checkpoint) {
  for (double d = from; d <= to;) {
    if (checkpoint) checkpoint();
    const ClipperLib::Paths rings = inset(region, d, tolerance);
    if (rings.empty()) break;
    addRings(rings, z, out);
    const double short_ = std::min(step, 0.9 * toolRadius);
    if (step > short_ && inset(region, d + step, tolerance).empty()) {
      d += short_;
    } else {
      d += step;
    }
  }
}

// The stroke of a chain at depth: z = -min(start + r / tan(angle / 2), limit). Where r passes
// the limit's radius between two points the crossing becomes a point of its own, so that the
// depth, linear between points, never cuts the corner of the clamp.
CarvePath strokeOf(const AxisChain& chain, double tanHalf, double start, double limit) {
  const double rLimit = (limit - start) * tanHalf;
  CarvePath out;
  out.reserve(chain.size());
  const auto push = [&](Vec2 p, double r) {
    out.push_back({p.x, p.y, -std::min(start + r / tanHalf, limit)});
  };
  for (std::size_t i = 0; i < chain.size(); ++i) {
    if (i > 0) {
      const AxisPoint& a = chain[i - 1];
      const AxisPoint& b = chain[i];
      if ((a.radius < rLimit) != (b.radius < rLimit) && a.radius != b.radius) {
        const double t = (rLimit - a.radius) / (b.radius - a.radius);
        if (t > 0 && t < 1)
          push({a.position.x + t * (b.position.x - a.position.x),
                a.position.y + t * (b.position.y - a.position.y)}, rLimit);
      }
    }
    push(chain[i].position, chain[i].radius);
  }
  return out;
}

}  // namespace

double depthLimit(const VCarveSettings& s) {
  double limit = s.maxDepth.value_or(std::numeric_limits<double>::infinity());
  if (s.bitDiameter) limit = std::min(limit, *s.bitDiameter / 2 / std::tan(s.bitAngle * std::numbers::pi / 360));
  return limit;
}

double halfWidthAt(const VCarveSettings& s, double depth) {
  return depth * std::tan(s.bitAngle * std::numbers::pi / 360);
}

RegionCarving carveRegion(const std::vector<GridRing>& rings, const VCarveSettings& s,
                          const Checkpoint& checkpoint) {
  checkSettings(s);
  RegionCarving out;
  const double tanHalf = std::tan(s.bitAngle * std::numbers::pi / 360);
  const double limit = depthLimit(s);
  if (checkpoint) checkpoint();
  const MedialAxis axis = medialAxis(rings, s.tolerance);
  if (checkpoint) checkpoint();
  const auto retrace = [&](double radius) {
    return s.retraceLimit + s.retracePerDepth * std::min(s.startDepth + radius / tanHalf, limit);
  };
  // The floor: where the cone would go deeper, the region inset by the clearance that reaches
  // the limit.
  const double rLimit = (limit - s.startDepth) * tanHalf;
  for (const AxisChain& chain : axisChains(axis, retrace)) {
    out.vbit.push_back(strokeOf(chain, tanHalf, s.startDepth, limit));
    for (const AxisPoint& p : chain) out.flat = out.flat || p.radius > rLimit;
  }
  if (!out.flat) return out;
  // The V-bit's tip leaves a ridge between two passes; a point of the floor lies at most one
  // step from the nearest pass (where the next inset vanishes), so the ridge rises at most
  // step / tan(angle / 2).
  double vStep = s.stepOver * 2 * rLimit;
  if (s.floorRidge) vStep = std::min(vStep, *s.floorRidge * tanHalf);
  // Each pass is an offset of the whole region: a floor needing more passes than any real
  // tool makes (a micron's depth limit under a wide letter) is refused, not ground through.
  double widest = 0;
  for (const AxisPoint& v : axis.vertices) widest = std::max(widest, v.radius);
  const double toolStep = s.stepOver * s.clearTool.value_or(std::numeric_limits<double>::infinity());
  const double passes = (widest - rLimit) / std::min(vStep, toolStep);
  if (passes > kMaxFloorPasses)
    throw Error("The flat floor would take more than " + std::to_string(kMaxFloorPasses) +
                " passes: raise the maximum depth, the step-over or the clearing tool.");
  const ClipperLib::Paths region = pathsOf(rings);
  for (const ClipperLib::Path& ring : inset(region, rLimit, s.tolerance)) {
    std::vector<Vec2>& own = out.floor.emplace_back();
    for (const ClipperLib::IntPoint& p : ring) own.push_back(fromClipper(p));
  }
  if (s.clearTool) {
    // The V-bit clears the floor's edge band as far in as the end mill's rim cannot reach in
    // sharp corners (its radius); the end mill clears the rest.
    const double rTool = *s.clearTool / 2;
    offsetPasses(region, rLimit, rLimit + rTool, rLimit, vStep, -limit, s.tolerance, out.vbit,
                 checkpoint);
    offsetPasses(region, rLimit + rTool, std::numeric_limits<double>::infinity(), rTool,
                 s.stepOver * 2 * rTool, -limit, s.tolerance, out.clearing, checkpoint);
  } else {
    offsetPasses(region, rLimit, std::numeric_limits<double>::infinity(), rLimit, vStep, -limit,
                 s.tolerance, out.vbit, checkpoint);
  }
  return out;
}

int passCount(const CarvePath& path, std::optional<double> depthPerPass, int maxPasses) {
  if (!depthPerPass || path.empty()) return 1;
  const double step = *depthPerPass;
  if (!(std::isfinite(step) && step > 0)) throw Error("The depth per pass must be a number above 0.");
  double deepest = 0;
  for (const CarvePoint& p : path) deepest = std::min(deepest, p.z);
  const double count = std::ceil(-deepest / step - 1e-9);
  if (count > maxPasses)
    throw Error("The depth per pass gives more than " + std::to_string(maxPasses) +
                " passes: check it against the depth.");
  return std::max(1, static_cast<int>(count));
}

std::vector<CarvePath> passesOf(const CarvePath& path, std::optional<double> depthPerPass,
                                int maxPasses) {
  const int passes = passCount(path, depthPerPass, maxPasses);
  if (passes == 1) return {path};
  const double step = *depthPerPass;
  std::vector<CarvePath> out;
  for (int k = 1; k <= passes; ++k) {
    CarvePath& pass = out.emplace_back(path);
    if (k < passes)
      for (CarvePoint& p : pass) p.z = std::max(p.z, -k * step);
    if (k % 2 == 0) std::reverse(pass.begin(), pass.end());
  }
  return out;
}

}  // namespace kerfline
