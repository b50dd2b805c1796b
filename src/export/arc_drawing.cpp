#include "export/arc_drawing.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>
#include <utility>

#include "geometry/arc_fitting.h"

namespace kerfline {
namespace {

// A text repeats a few dozen glyphs thousands of times, and each ring of a repeated glyph is
// the same ring moved: it is fitted once and the fit moved into place. A ring is known by its
// points relative to its least point (x, then y), from that point on, on a grid far finer
// than any tolerance, so that the rounding of placing it elsewhere does not make it another
// ring; where it does (a point on a grid line), the ring is only fitted once more.
class RingFits {
 public:
  explicit RingFits(const ArcFitting& fit) : fit_(fit) {}

  ArcPath fitted(const Contour& ring) {
    const std::size_t n = ring.points.size();
    const std::size_t least = static_cast<std::size_t>(
        std::min_element(ring.points.begin(), ring.points.end(),
                         [](const Vec2& a, const Vec2& b) { return a.x < b.x || (a.x == b.x && a.y < b.y); }) -
        ring.points.begin());
    const Vec2 origin = ring.points[least];
    std::vector<std::int64_t> key;
    key.reserve(2 * n);
    bool onGrid = true;
    for (std::size_t i = 0; i < n; ++i) {
      const Vec2& p = ring.points[(least + i) % n];
      const double gx = std::round((p.x - origin.x) / kGrid), gy = std::round((p.y - origin.y) / kGrid);
      onGrid = onGrid && std::fabs(gx) < 1e15 && std::fabs(gy) < 1e15;
      key.push_back(static_cast<std::int64_t>(gx));
      key.push_back(static_cast<std::int64_t>(gy));
    }
    if (!onGrid) return fitArcs(ring, fit_);
    auto found = fits_.find(key);
    if (found == fits_.end()) {
      Contour canonical;
      canonical.closed = true;
      canonical.points.reserve(n);
      for (std::size_t i = 0; i < n; ++i) {
        const Vec2& p = ring.points[(least + i) % n];
        canonical.points.push_back({p.x - origin.x, p.y - origin.y});
      }
      found = fits_.emplace(std::move(key), fitArcs(canonical, fit_)).first;
    }
    ArcPath path = found->second;
    for (ArcVertex& v : path.vertices) v.at = {v.at.x + origin.x, v.at.y + origin.y};
    return path;
  }

 private:
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

void fitDrawingArcs(Drawing& drawing, double tolerance) {
  ArcFitting fit;
  fit.tolerance = arcToleranceShares(tolerance).fitting;
  RingFits rings(fit);
  drawing.bulges.clear();
  for (PlacedCharacter& c : drawing.characters) {
    for (Contour& k : c.contours) {
      std::vector<double> bulges;
      if (k.points.size() > 2) {
        ArcPath path = k.closed ? rings.fitted(k) : fitArcs(k, fit);
        startAt(path, k.points.front(), 1e-6 * tolerance);
        k.points.clear();
        bulges.reserve(path.vertices.size());
        for (const ArcVertex& v : path.vertices) {
          k.points.push_back(v.at);
          bulges.push_back(v.bulge);
        }
      } else {
        bulges.assign(k.points.size(), 0.0);
      }
      drawing.bulges.push_back(std::move(bulges));
    }
  }
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
