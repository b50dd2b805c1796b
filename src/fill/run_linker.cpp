#include "fill/run_linker.h"

#include <cmath>
#include <memory>

#include "geometry/ring_math.h"
#include "geometry/segment_grid.h"

namespace kerfline {
namespace {

// Along the link, meetings this close to either end are the rings the ends lie on.
constexpr double kEndSlack = 1e-9;

class AllowedArea {
 public:
  explicit AllowedArea(const std::vector<Contour>& rings) {
    std::vector<const Contour*> closed;
    for (const Contour& r : rings) {
      if (!r.closed) continue;
      closed.push_back(&r);
      extents_.push_back(extentOf(r.points));
    }
    closedRings_ = closed;
    grid_ = std::make_unique<SegmentGrid>(closed);
  }

  // True when a->b crosses no ring between its ends and its middle lies inside (or on) them.
  bool holds(const Vec2& a, const Vec2& b) const {
    const std::optional<SegmentHit> hit = grid_->firstHit(a, b, kEndSlack);
    if (hit && hit->t < 1 - kEndSlack) return false;
    const Vec2 middle{(a.x + b.x) / 2, (a.y + b.y) / 2};
    bool inside = false;
    for (std::size_t i = 0; i < closedRings_.size(); ++i) {
      const Extent& e = extents_[i];
      if (middle.x < e.minX || middle.x > e.maxX || middle.y < e.minY || middle.y > e.maxY)
        continue;
      const RingSide side = locatePoint(middle, closedRings_[i]->points);
      if (side == RingSide::OnBoundary) return true;
      if (side == RingSide::Inside) inside = !inside;
    }
    return inside;
  }

 private:
  std::vector<const Contour*> closedRings_;
  std::vector<Extent> extents_;
  std::unique_ptr<SegmentGrid> grid_;
};

double distance(const Vec2& a, const Vec2& b) { return std::hypot(a.x - b.x, a.y - b.y); }

// p moved by length beyond `to`, along from -> to.
Vec2 beyond(const Vec2& from, const Vec2& to, double length) {
  const double d = distance(from, to);
  if (d == 0) return to;
  return {to.x + (to.x - from.x) / d * length, to.y + (to.y - from.y) / d * length};
}

// bulge: of the move to p; recorded only in runs that carry arcs.
void append(ToolRun& run, const Vec2& p, bool cuts, bool arcs, double bulge = 0) {
  if (run.points.empty()) {
    run.points.push_back(p);
    return;
  }
  if (run.points.back() == p) return;
  run.points.push_back(p);
  run.cuts.push_back(cuts);
  if (arcs) run.bulges.push_back(bulge);
}

}  // namespace

std::vector<ToolRun> linkPieces(const std::vector<Contour>& pieces, const LinkRules& rules,
                                const std::vector<std::vector<double>>* bulges) {
  std::vector<ToolRun> runs;
  bool arcs = false;
  if (bulges)
    for (const std::vector<double>& b : *bulges) arcs = arcs || !b.empty();
  std::unique_ptr<AllowedArea> area;
  if (rules.allowed) area = std::make_unique<AllowedArea>(*rules.allowed);
  const bool overscan = rules.overscan > 0;
  Vec2 lastCut;  // where the run before stopped cutting
  for (std::size_t p = 0; p < pieces.size(); ++p) {
    const Contour& piece = pieces[p];
    if (piece.points.size() < 2) continue;
    const std::vector<double>* bends =
        arcs && p < bulges->size() && (*bulges)[p].size() == piece.points.size() ? &(*bulges)[p]
                                                                                 : nullptr;
    const auto bend = [&](std::size_t i) { return bends ? (*bends)[i] : 0.0; };
    const Vec2& first = piece.points.front();
    const bool joins = !runs.empty() && area && distance(lastCut, first) <= rules.maxLink &&
                       area->holds(lastCut, first);
    if (!joins) runs.emplace_back();
    ToolRun& run = runs.back();
    if (!piece.closed && overscan) {
      const Vec2 start = beyond(piece.points[1], first, rules.overscan);
      append(run, start, joins && rules.linksCut, arcs);
      append(run, first, false, arcs);
    } else {
      append(run, first, rules.linksCut, arcs);
    }
    for (std::size_t i = 1; i < piece.points.size(); ++i)
      append(run, piece.points[i], true, arcs, bend(i - 1));
    if (piece.closed) append(run, first, true, arcs, bend(piece.points.size() - 1));
    lastCut = run.points.back();
    if (!piece.closed && overscan) {
      const std::size_t n = piece.points.size();
      append(run, beyond(piece.points[n - 2], piece.points[n - 1], rules.overscan), false, arcs);
    }
  }
  return runs;
}

}  // namespace kerfline
