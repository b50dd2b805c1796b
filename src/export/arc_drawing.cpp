#include "export/arc_drawing.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <utility>

#include "geometry/arc_fitting.h"

namespace kerfline {
namespace {

// A ring's tangents, when it carries them and they still belong to its points: one per point,
// and each chord leaving within a right angle of the tangents at its two ends (a chord of a
// curve flattened within a tolerance turns far less). Anything else a step did to the points
// without telling falls back to tangents estimated from the polyline.
const PolylineTangents* tangentsOf(const Contour& k) {
  const PolylineTangents* t = k.tangents.get();
  const std::size_t n = k.points.size();
  if (!t || !k.closed || t->in.size() != n || t->out.size() != n) return nullptr;
  const auto dot = [](const Vec2& a, const Vec2& b) { return a.x * b.x + a.y * b.y; };
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t j = i + 1 == n ? 0 : i + 1;
    const Vec2 chord{k.points[j].x - k.points[i].x, k.points[j].y - k.points[i].y};
    if (dot(chord, t->out[i]) < 0 || dot(chord, t->in[j]) < 0) return nullptr;
  }
  return t;
}

// A text repeats a few dozen glyphs thousands of times, and each ring of a repeated glyph is
// the same ring moved: it is fitted once and the fit moved into place. A ring is known by its
// points relative to its least point (x, then y), from that point on, on a grid far finer
// than any tolerance, so that the rounding of placing it elsewhere does not make it another
// ring; where it does (a point on a grid line), the ring is only fitted once more.
class RingFits {
 public:
  explicit RingFits(const ArcFitting& fit) : fit_(fit) {}
  const ArcFitting& fitting() const { return fit_; }

  // ring's fit, written to out (whose room is reused).
  void fitted(const Contour& ring, ArcPath& out) {
    const std::size_t n = ring.points.size();
    // Every copy of a glyph's ring shares its tangents: one seen before needs no key.
    if (ring.tangents) {
      const auto seen = byTangents_.find(ring.tangents.get());
      if (seen != byTangents_.end() && seen->second.sameShape(ring)) {
        moved(*seen->second.fit, ring.points[seen->second.least], out);
        return;
      }
    }
    const PolylineTangents* tangents = tangentsOf(ring);
    const std::size_t least = static_cast<std::size_t>(
        std::min_element(ring.points.begin(), ring.points.end(),
                         [](const Vec2& a, const Vec2& b) { return a.x < b.x || (a.x == b.x && a.y < b.y); }) -
        ring.points.begin());
    const Vec2 origin = ring.points[least];
    std::vector<std::int64_t>& key = key_;  // kept: a ring's key is as long as its points
    key.clear();
    // The same points fit otherwise with the curve's tangents than with estimated ones.
    key.push_back(tangents ? 1 : 0);
    bool onGrid = true;
    for (std::size_t i = 0; i < n; ++i) {
      const Vec2& p = ring.points[(least + i) % n];
      const double gx = std::round((p.x - origin.x) / kGrid), gy = std::round((p.y - origin.y) / kGrid);
      onGrid = onGrid && std::fabs(gx) < 1e15 && std::fabs(gy) < 1e15;
      key.push_back(static_cast<std::int64_t>(gx));
      key.push_back(static_cast<std::int64_t>(gy));
    }
    if (!onGrid) {
      out = fitArcs(ring, fit_, tangents);
      return;
    }
    auto found = fits_.find(key);
    if (found == fits_.end()) {
      const std::vector<std::int64_t> stored = key;
      Contour canonical;
      canonical.closed = true;
      canonical.points.reserve(n);
      PolylineTangents turned;
      for (std::size_t i = 0; i < n; ++i) {
        const Vec2& p = ring.points[(least + i) % n];
        canonical.points.push_back({p.x - origin.x, p.y - origin.y});
        if (tangents) {
          turned.in.push_back(tangents->in[(least + i) % n]);
          turned.out.push_back(tangents->out[(least + i) % n]);
        }
      }
      found = fits_.emplace(stored, fitArcs(canonical, fit_, tangents ? &turned : nullptr)).first;
    }
    if (tangents) byTangents_[tangents] = {&found->second, least, shapeOf(ring)};
    moved(found->second, origin, out);
  }

 private:
  // A ring's shape in brief: its count and two of its points relative to its first. A step
  // that turned or bent a ring without dropping its tangents would change them.
  struct Shape {
    std::size_t n = 0;
    Vec2 second, middle;
  };
  static Shape shapeOf(const Contour& ring) {
    const std::vector<Vec2>& p = ring.points;
    const std::size_t n = p.size();
    return {n, {p[1].x - p[0].x, p[1].y - p[0].y}, {p[n / 2].x - p[0].x, p[n / 2].y - p[0].y}};
  }
  struct SeenRing {
    const ArcPath* fit = nullptr;  // in fits_, whose nodes never move
    std::size_t least = 0;         // the point the fit is relative to
    Shape shape;
    bool sameShape(const Contour& ring) const {
      if (ring.points.size() != shape.n) return false;
      const Shape s = shapeOf(ring);
      const auto near = [](const Vec2& a, const Vec2& b) {
        return std::fabs(a.x - b.x) <= 1e3 * kGrid && std::fabs(a.y - b.y) <= 1e3 * kGrid;
      };
      return near(s.second, shape.second) && near(s.middle, shape.middle);
    }
  };

  static void moved(const ArcPath& fit, const Vec2& origin, ArcPath& out) {
    out.closed = fit.closed;
    out.vertices.clear();
    for (const ArcVertex& v : fit.vertices)
      out.vertices.push_back({{v.at.x + origin.x, v.at.y + origin.y}, v.bulge});
  }

  static constexpr double kGrid = 1e-9;  // drawing units
  struct KeyHash {
    std::size_t operator()(const std::vector<std::int64_t>& key) const {
      std::size_t h = key.size();
      for (const std::int64_t v : key) h = h * 1000003u ^ static_cast<std::size_t>(v);
      return h;
    }
  };

  ArcFitting fit_;
  std::unordered_map<std::vector<std::int64_t>, ArcPath, KeyHash> fits_;
  std::unordered_map<const PolylineTangents*, SeenRing> byTangents_;
  std::vector<std::int64_t> key_;
};

// The fitter may start a ring at its first corner, and a shared fit starts where the ring was
// first met; the route chose the first point as the entry (a corner where it could), so the
// ring is turned to start at the vertex there when it has one, put exactly on the entry.
void startAt(ArcPath& path, const Vec2& entry, double within) {
  if (!path.closed || path.vertices.empty()) return;
  auto nearest = path.vertices.begin();
  double best = INFINITY;
  for (auto it = path.vertices.begin(); it != path.vertices.end(); ++it) {
    const double d = std::hypot(it->at.x - entry.x, it->at.y - entry.y);
    if (d < best) {
      best = d;
      nearest = it;
    }
  }
  if (best > within) return;
  nearest->at = entry;
  std::rotate(path.vertices.begin(), nearest, path.vertices.end());
}

}  // namespace

struct PathFitter::Rings : RingFits {
  using RingFits::RingFits;
};

PathFitter::PathFitter(double tolerance) : tolerance_(tolerance) {
  ArcFitting fit;
  fit.tolerance = arcToleranceShares(tolerance).fitting;
  rings_ = std::make_unique<Rings>(fit);
}

PathFitter::~PathFitter() = default;

void PathFitter::fit(const Contour& k, Contour& to, std::vector<double>& bulges) {
  to.closed = k.closed;
  to.depth = k.depth;
  to.points.clear();
  to.tangents.reset();
  to.tabs.clear();
  bulges.clear();
  if (k.points.size() <= 2) {
    to.points = k.points;
    bulges.assign(k.points.size(), 0.0);
    return;
  }
  ArcPath& path = path_;
  if (k.closed) {
    rings_->fitted(k, path);
  } else {
    path = fitArcs(k, rings_->fitting());
  }
  startAt(path, k.points.front(), 1e-6 * tolerance_);
  to.points.reserve(path.vertices.size());
  bulges.reserve(path.vertices.size());
  for (const ArcVertex& v : path.vertices) {
    to.points.push_back(v.at);
    bulges.push_back(v.bulge);
  }
}

Drawing fittedDrawing(const Drawing& drawing, double tolerance) {
  PathFitter fitter(tolerance);
  Drawing fitted;
  fitted.layer = drawing.layer;
  fitted.characters.reserve(drawing.characters.size());
  for (const PlacedCharacter& c : drawing.characters) {
    // The character's other fields copied, its polylines not: they are most of a drawing.
    PlacedCharacter& out = fitted.characters.emplace_back();
    out.position = c.position;
    out.character = c.character;
    out.line = c.line;
    out.advance = c.advance;
    out.contours.reserve(c.contours.size());
    for (const Contour& k : c.contours) {
      std::vector<double> bulges;
      fitter.fit(k, out.contours.emplace_back(), bulges);
      fitted.bulges.push_back(std::move(bulges));
    }
  }
  return fitted;
}

void fitDrawingArcs(Drawing& drawing, double tolerance) {
  drawing = fittedDrawing(drawing, tolerance);
}

void sampleDrawingArcs(Drawing& drawing, double tolerance) {
  std::size_t path = 0;
  for (PlacedCharacter& c : drawing.characters) {
    for (Contour& k : c.contours) {
      const std::vector<double>* bulges = drawing.bulgesOf(path++);
      if (!bulges || bulges->size() != k.points.size()) continue;
      ArcPath arcs;
      arcs.closed = k.closed;
      for (std::size_t i = 0; i < k.points.size(); ++i) arcs.vertices.push_back({k.points[i], (*bulges)[i]});
      k.points = sampleArcPath(arcs, tolerance).points;
      k.tangents.reset();
    }
  }
  drawing.bulges.clear();
}

PieceCounts countPieces(const Drawing& drawing) {
  PieceCounts counts;
  std::size_t path = 0;
  for (const PlacedCharacter& c : drawing.characters) {
    for (const Contour& k : c.contours) {
      const std::size_t n = k.points.size();
      const std::size_t pieces = n < 2 ? 0 : (k.closed ? n : n - 1);
      const std::vector<double>* bulges = drawing.bulgesOf(path++);
      for (std::size_t i = 0; i < pieces; ++i) {
        if (bulges && i < bulges->size() && (*bulges)[i] != 0) {
          ++counts.arcs;
        } else {
          ++counts.lines;
        }
      }
    }
  }
  return counts;
}

}  // namespace kerfline
