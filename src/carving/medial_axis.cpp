#include "carving/medial_axis.h"

#include <boost/polygon/point_data.hpp>
#include <boost/polygon/segment_data.hpp>
#include <boost/polygon/segment_concept.hpp>
#include <boost/polygon/voronoi.hpp>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <unordered_map>

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
// 2^31 - 1 steps across), each knowing its neighbours along its ring.
class Input {
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
    for (const GridRing& ring : rings) {
      // Repeated points would make zero-length sites; the union never leaves them, but be safe.
      std::vector<bp::point_data<int>> pts;
      for (const GridPoint& p : ring) {
        const bp::point_data<int> q(static_cast<int>(p.x - minX), static_cast<int>(p.y - minY));
        if (pts.empty() || !(pts.back() == q)) pts.push_back(q);
      }
      while (pts.size() > 1 && pts.front() == pts.back()) pts.pop_back();
      if (pts.size() < 3) continue;
      const std::size_t first = segments_.size();
      for (std::size_t i = 0; i < pts.size(); ++i) {
        segments_.emplace_back(pts[i], pts[(i + 1) % pts.size()]);
        previous_.push_back(i == 0 ? first + pts.size() - 1 : segments_.size() - 2);
        next_.push_back(i + 1 == pts.size() ? first : segments_.size());
      }
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

  // A point site's cell lies inside the region exactly where the outline turns right there
  // (a reflex corner of the region, which lies left of every segment).
  bool reflexCorner(const Cell& c) const {
    const std::size_t i = c.source_index();
    const bool atStart = c.source_category() == bp::SOURCE_CATEGORY_SEGMENT_START_POINT;
    const std::size_t in = atStart ? previous_[i] : i;
    const std::size_t out = atStart ? i : next_[i];
    return cross(end(in) - start(in), end(out) - start(out)) < 0;
  }

  Vec2 drawing(P q) const {
    return {(q.x + static_cast<double>(originX_)) / kClipperScale,
            (q.y + static_cast<double>(originY_)) / kClipperScale};
  }

 private:
  static P toP(const bp::point_data<int>& p) { return {double(p.x()), double(p.y())}; }

  std::vector<bp::segment_data<int>> segments_;
  std::vector<std::size_t> previous_;
  std::vector<std::size_t> next_;
  std::int64_t originX_ = 0;
  std::int64_t originY_ = 0;
};

P at(const Vertex& v) { return {v.x(), v.y()}; }

// Whether a finite primary edge runs inside the region. Voronoi edges never cross a site, so
// each lies wholly on one side of the outline: beside a segment site, the side of that segment
// says; between two point sites, whether the corner is reflex.
bool interior(const Edge& e, const Input& in) {
  const P probe{(e.vertex0()->x() + e.vertex1()->x()) / 2, (e.vertex0()->y() + e.vertex1()->y()) / 2};
  for (const Cell* c : {e.cell(), e.twin()->cell()})
    if (c->contains_segment()) {
      const std::size_t i = c->source_index();
      return cross(in.end(i) - in.start(i), probe - in.start(i)) > 0;
    }
  return in.reflexCorner(*e.cell());
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
  std::vector<GridRing> rings;
  for (const ClipperLib::Path& path : regionOf(closedPathsOf(character))) {
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
      sample(pointAt, 0, 1, first, last, tolerance, 0, edge.points, positionAndRadiusGap);
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
