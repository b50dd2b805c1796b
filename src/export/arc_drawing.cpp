#include "export/arc_drawing.h"

#include <algorithm>
#include <utility>

#include "geometry/arc_fitting.h"

namespace kerfline {
namespace {

// The fitter may start a ring at its first corner; the route chose the first point as the
// entry (a corner where it could), so the ring is turned back to start there when it can.
void startAt(ArcPath& path, const Vec2& entry) {
  if (!path.closed) return;
  const auto it = std::find_if(path.vertices.begin(), path.vertices.end(),
                               [&](const ArcVertex& v) { return v.at == entry; });
  if (it != path.vertices.end()) std::rotate(path.vertices.begin(), it, path.vertices.end());
}

}  // namespace

void fitDrawingArcs(Drawing& drawing, double tolerance) {
  ArcFitting fit;
  fit.tolerance = arcToleranceShares(tolerance).fitting;
  drawing.bulges.clear();
  for (PlacedCharacter& c : drawing.characters) {
    for (Contour& k : c.contours) {
      std::vector<double> bulges;
      if (k.points.size() > 2) {
        ArcPath path = fitArcs(k, fit);
        if (!k.points.empty()) startAt(path, k.points.front());
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

PieceCounts countPieces(const Drawing& drawing) {
  PieceCounts counts;
  std::size_t path = 0;
  for (const PlacedCharacter& c : drawing.characters) {
    for (const Contour& k : c.contours) {
      const std::size_t n = k.points.size();
      const std::size_t pieces = n < 2 ? 0 : (k.closed ? n : n - 1);
      const std::vector<double>* bulges = drawing.bulgesOf(path);
      for (std::size_t i = 0; i < pieces; ++i) {
        if (bulges && i < bulges->size() && (*bulges)[i] != 0) {
          ++counts.arcs;
        } else {
          ++counts.lines;
        }
      }
      ++path;
    }
  }
  return counts;
}

}  // namespace kerfline
