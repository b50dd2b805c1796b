#include "carving/medial_axis.h"

#include <boost/polygon/point_data.hpp>
#include <boost/polygon/segment_data.hpp>
#include <boost/polygon/segment_concept.hpp>
#include <boost/polygon/voronoi.hpp>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <map>
#include <numbers>
#include <unordered_map>
#include <utility>

#include "common/error.h"
#include "geometry/clipper_region.h"

namespace kerfline {
namespace {

namespace bp = boost::polygon;
using Diagram = bp::voronoi_diagram<double>;
using Edge = Diagram::edge_type;
using Cell = Diagram::cell_type;
using Vertex = Diagram::vertex_type;

// Deep enough for any tolerance a machine resolves (2^-18 of an edge); it only stops a runaway.
constexpr int kMaxDepth = 18;

struct P {
  double x = 0;
  double y = 0;
};
P operator-(P a, P b) { return {a.x - b.x, a.y - b.y}; }
double cross(P a, P b) { return a.x * b.y - a.y * b.x; }
double dot(P a, P b) { return a.x * b.x + a.y * b.y; }

// Distance from q to the closed segment a-b (a point when a == b).
double distanceToSegment(P q, P a, P b) {
  const P d = b - a;
  const double len2 = dot(d, d);
  double t = len2 > 0 ? dot(q - a, d) / len2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(q.x - (a.x + t * d.x), q.y - (a.y + t * d.y));
}

// The input as the builder sees it: segments in a frame shifted to the rings' lower left
// corner (an exact integer shift, so the builder's 32-bit coordinates hold any region up to
// 2^31 - 1 steps across), split and pruned so that sites meet only at their end points, with
// the boundary rays that leave each corner.
class Input {
  using Corner = std::pair<int, int>;

  // Whether c lies on the segment a-b, exactly: coordinates lie in [0, 2^31), so each product
  // of differences stays below 2^62 and their difference fits 64 bits.
  static bool between(const Corner& a, const Corner& c, const Corner& b) {
    const std::int64_t cr = (b.first - std::int64_t{a.first}) * (c.second - std::int64_t{a.second}) -
                            (b.second - std::int64_t{a.second}) * (c.first - std::int64_t{a.first});
    return cr == 0 && std::min(a.first, b.first) <= c.first && c.first <= std::max(a.first, b.first) &&
           std::min(a.second, b.second) <= c.second && c.second <= std::max(a.second, b.second);
  }

 public:
  explicit Input(const std::vector<GridRing>& rings) {
    std::int64_t minX = std::numeric_limits<std::int64_t>::max(), minY = minX;
    std::int64_t maxX = std::numeric_limits<std::int64_t>::min(), maxY = maxX;
    for (const GridRing& r : rings)
      for (const GridPoint& p : r) {
        minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
      }
    if (minX > maxX) return;
    constexpr std::int64_t limit = std::numeric_limits<std::int32_t>::max();
    // Differences of grid coordinates stay far inside 64 bits (the grid's range is 2^62).
    if (maxX - minX > limit || maxY - minY > limit)
      throw Error("Region too large for the medial axis.");
    originX_ = minX;
    originY_ = minY;
    std::vector<std::pair<Corner, Corner>> pieces;
    for (const GridRing& ring : rings) {
      // Repeated points would make zero-length sites; the union never leaves them, but be safe.
      std::vector<Corner> pts;
      for (const GridPoint& p : ring) {
        const Corner q{static_cast<int>(p.x - minX), static_cast<int>(p.y - minY)};
        if (pts.empty() || pts.back() != q) pts.push_back(q);
      }
      while (pts.size() > 1 && pts.front() == pts.back()) pts.pop_back();
      if (pts.size() < 3) continue;
      for (std::size_t i = 0; i < pts.size(); ++i) pieces.push_back({pts[i], pts[(i + 1) % pts.size()]});
    }
    // A ring may touch another (or itself) at a corner lying inside one of its segments; sites
    // may meet only at their end points, so such a segment is split at the corner.
    std::vector<Corner> corners;
    for (const auto& piece : pieces) corners.push_back(piece.first);
    std::sort(corners.begin(), corners.end());
    corners.erase(std::unique(corners.begin(), corners.end()), corners.end());
    std::vector<std::pair<Corner, Corner>> split;
    for (const auto& piece : pieces) {
      const Corner a = piece.first, b = piece.second;
      std::vector<Corner> on{a};
      const auto lo = std::lower_bound(corners.begin(), corners.end(), std::min(a, b));
      const auto hi = std::upper_bound(corners.begin(), corners.end(), std::max(a, b));
      for (auto c = lo; c != hi; ++c)
        if (*c != a && *c != b && between(a, *c, b)) on.push_back(*c);
      const auto along = [&](const Corner& c) {
        return std::int64_t{c.first - a.first} * (b.first - a.first) +
               std::int64_t{c.second - a.second} * (b.second - a.second);
      };
      std::sort(on.begin() + 1, on.end(), [&](const Corner& p, const Corner& q) { return along(p) < along(q); });
      on.push_back(b);
      for (std::size_t i = 1; i < on.size(); ++i) split.push_back({on[i - 1], on[i]});
    }
    // Two rings may run along one stretch in opposite directions (a hole's edge on its outline's
    // edge): the region has no width there, so both pieces go; a piece met twice stays once.
    std::map<std::pair<Corner, Corner>, std::size_t> kept;
    std::vector<bool> alive(split.size(), true);
    for (std::size_t i = 0; i < split.size(); ++i) {
      const auto reverse = kept.find({split[i].second, split[i].first});
      if (reverse != kept.end()) {
        alive[reverse->second] = alive[i] = false;
        kept.erase(reverse);
      } else if (!kept.try_emplace(split[i], i).second) {
        alive[i] = false;
      }
    }
    for (std::size_t i = 0; i < split.size(); ++i) {
      if (!alive[i]) continue;
      const auto& [p0, p1] = split[i];
      segments_.emplace_back(bp::point_data<int>(p0.first, p0.second), bp::point_data<int>(p1.first, p1.second));
      const P p = start(segments_.size() - 1), q = end(segments_.size() - 1);
      rays_[key(p)].push_back({q - p, true});
      rays_[key(q)].push_back({p - q, false});
    }
  }

  const std::vector<bp::segment_data<int>>& segments() const { return segments_; }
  P start(std::size_t i) const { return toP(bp::low(segments_[i])); }
  P end(std::size_t i) const { return toP(bp::high(segments_[i])); }

  // The site of a cell: a whole segment, or one of its end points as a degenerate segment.
  void site(const Cell& c, P& a, P& b) const {
    const std::size_t i = c.source_index();
    switch (c.source_category()) {
      case bp::SOURCE_CATEGORY_SEGMENT_START_POINT: a = b = start(i); break;
      case bp::SOURCE_CATEGORY_SEGMENT_END_POINT: a = b = end(i); break;
      default: a = start(i), b = end(i);
    }
  }

  // Whether direction d from corner v points into the region. Several rings may touch at one
  // corner, so the boundary leaves it in any number of rays: the region lies counter-clockwise
  // of a ray along an outgoing segment and clockwise of one back along an incoming segment, so
  // the first ray met turning clockwise from d says.
  bool pointsInside(P v, P d) const {
    const auto found = rays_.find(key(v));
    if (found == rays_.end()) return false;
    const double angle = std::atan2(d.y, d.x);
    double nearest = INFINITY;
    bool inside = false;
    for (const Ray& r : found->second) {
      double turn = angle - std::atan2(r.direction.y, r.direction.x);
      if (turn <= 0) turn += 2 * std::numbers::pi;
      if (turn < nearest) nearest = turn, inside = r.outgoing;
    }
    return inside;
  }

  Vec2 drawing(P q) const {
    return {(q.x + static_cast<double>(originX_)) / kClipperScale,
            (q.y + static_cast<double>(originY_)) / kClipperScale};
  }

 private:
  static P toP(const bp::point_data<int>& p) { return {double(p.x()), double(p.y())}; }

  std::vector<bp::segment_data<int>> segments_;
  struct Ray {
    P direction;
    bool outgoing = false;
  };
  static std::uint64_t key(P v) {
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(v.x)) << 32) |
           static_cast<std::uint32_t>(v.y);
  }
  std::unordered_map<std::uint64_t, std::vector<Ray>> rays_;  // boundary rays from each corner
  std::int64_t originX_ = 0;
  std::int64_t originY_ = 0;
};

P at(const Vertex& v) { return {v.x(), v.y()}; }

// Whether a finite primary edge runs inside the region. Voronoi edges never cross a site, so
// each lies wholly on one side of the outline: beside a segment site, the side of that segment
// says; between two point sites, whether it leaves the corner into the region.
bool interior(const Edge& e, const Input& in) {
  const P probe{(e.vertex0()->x() + e.vertex1()->x()) / 2, (e.vertex0()->y() + e.vertex1()->y()) / 2};
  for (const Cell* c : {e.cell(), e.twin()->cell()})
    if (c->contains_segment()) {
      const std::size_t i = c->source_index();
      return cross(in.end(i) - in.start(i), probe - in.start(i)) > 0;
    }
  P corner, unused;
  in.site(*e.cell(), corner, unused);
  return in.pointsInside(corner, probe - corner);
}

// Samples the edge between vertices a and b so that the polyline and its interpolated radius
// stay within tol of the exact axis. pointAt(t) gives position and radius at parameter t in
// [0, 1]; both the curve (in its segment's frame) and the radius are convex in t, so the gap
// between chord and curve is concave and at most twice its value at the middle.
template <class PointAt>
void sample(const PointAt& pointAt, double t0, double t1, const AxisPoint& p0, const AxisPoint& p1,
            double tol, int depth, std::vector<AxisPoint>& out, double (*gap)(const AxisPoint&,
            const AxisPoint&, const AxisPoint&)) {
  const double tm = (t0 + t1) / 2;
  const AxisPoint pm = pointAt(tm);
  if (depth < kMaxDepth && gap(p0, pm, p1) > tol / 2) {
    sample(pointAt, t0, tm, p0, pm, tol, depth + 1, out, gap);
    out.push_back(pm);
    sample(pointAt, tm, t1, pm, p1, tol, depth + 1, out, gap);
  }
}

double radiusGap(const AxisPoint& a, const AxisPoint& m, const AxisPoint& b) {
  return std::fabs((a.radius + b.radius) / 2 - m.radius);
}

double positionAndRadiusGap(const AxisPoint& a, const AxisPoint& m, const AxisPoint& b) {
  const double dx = (a.position.x + b.position.x) / 2 - m.position.x;
  const double dy = (a.position.y + b.position.y) / 2 - m.position.y;
  return std::max(std::hypot(dx, dy), radiusGap(a, m, b));
}

}  // namespace

std::vector<GridRing> regionRingsOf(const PlacedCharacter& character) {
  // The union may leave a ring touching itself or another ring in the middle of a segment,
  // which the Voronoi builder does not accept (sites may meet only at their end points). A
  // strictly simple union of the union's own grid rings splits them there, exactly (integers
  // in, integers out: nothing is rounded again).
  ClipperLib::Clipper clipper;
  clipper.StrictlySimple(true);
  clipper.AddPaths(regionOf(closedPathsOf(character)), ClipperLib::ptSubject, true);
  ClipperLib::Paths simple;
  clipper.Execute(ClipperLib::ctUnion, simple, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
  std::vector<GridRing> rings;
  for (const ClipperLib::Path& path : simple) {
    GridRing& ring = rings.emplace_back();
    ring.reserve(path.size());
    for (const ClipperLib::IntPoint& p : path) ring.push_back({p.X, p.Y});
  }
  return rings;
}

MedialAxis medialAxis(const std::vector<GridRing>& rings, double tolerance) {
  if (!(tolerance > 0)) throw Error("Tolerance must be positive.");
  const Input in(rings);
  Diagram diagram;
  bp::construct_voronoi(in.segments().begin(), in.segments().end(), &diagram);

  MedialAxis axis;
  std::unordered_map<const Vertex*, int> vertexIndex;
  const auto radiusIn = [&](const Cell& c, P q) {
    P a, b;
    in.site(c, a, b);
    return distanceToSegment(q, a, b);
  };
  const auto vertexOf = [&](const Vertex* v, const Cell& c) {
    const auto [it, added] = vertexIndex.try_emplace(v, static_cast<int>(axis.vertices.size()));
    if (added) axis.vertices.push_back({in.drawing(at(*v)), radiusIn(c, at(*v)) / kClipperScale});
    return it->second;
  };

  for (const Edge& e : diagram.edges()) {
    if (!e.is_primary() || !e.is_finite() || e.twin() < &e || !interior(e, in)) continue;
    AxisEdge edge;
    edge.from = vertexOf(e.vertex0(), *e.cell());
    edge.to = vertexOf(e.vertex1(), *e.cell());
    const P v0 = at(*e.vertex0()), v1 = at(*e.vertex1());
    const AxisPoint& first = axis.vertices[edge.from];
    const AxisPoint& last = axis.vertices[edge.to];
    edge.points.push_back(first);
    const Cell* pointCell = e.cell()->contains_point() ? e.cell() : e.twin()->cell();
    const Cell* segmentCell = e.cell()->contains_segment() ? e.cell() : e.twin()->cell();
    if (e.is_curved()) {
      // A parabola: focus f, directrix the segment's line. In the segment's frame (x along it,
      // y towards f) the curve is y = ((x - fx)^2 + fy^2) / (2 fy) and y is the radius.
      P a, b, f, unused;
      in.site(*segmentCell, a, b);
      in.site(*pointCell, f, unused);
      const double len = std::hypot(b.x - a.x, b.y - a.y);
      P u{(b.x - a.x) / len, (b.y - a.y) / len};
      P n{-u.y, u.x};
      if (dot(f - a, n) < 0) n = {-n.x, -n.y};
      const double fx = dot(f - a, u), fy = dot(f - a, n);
      const double x0 = dot(v0 - a, u), x1 = dot(v1 - a, u);
      const auto pointAt = [&](double t) {
        const double x = x0 + t * (x1 - x0);
        const double y = ((x - fx) * (x - fx) + fy * fy) / (2 * fy);
        const P q{a.x + x * u.x + y * n.x, a.y + x * u.y + y * n.y};
        return AxisPoint{in.drawing(q), y / kClipperScale};
      };
      // A corner on the segment's own line has no parabola there (such edges are secondary).
      if (fy > 0) sample(pointAt, 0, 1, first, last, tolerance, 0, edge.points, positionAndRadiusGap);
    } else if (e.cell()->contains_point() && e.twin()->cell()->contains_point()) {
      // Between two corners the edge is straight but the radius is not linear along it.
      const auto pointAt = [&](double t) {
        const P q{v0.x + t * (v1.x - v0.x), v0.y + t * (v1.y - v0.y)};
        return AxisPoint{in.drawing(q), radiusIn(*e.cell(), q) / kClipperScale};
      };
      sample(pointAt, 0, 1, first, last, tolerance, 0, edge.points, radiusGap);
    }
    edge.points.push_back(last);
    axis.edges.push_back(std::move(edge));
  }
  return axis;
}

}  // namespace kerfline
