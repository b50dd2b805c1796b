#include "export/fill_order.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "geometry/travel_order.h"

namespace kerfline {
namespace {

double distance(const Vec2& a, const Vec2& b) { return std::hypot(a.x - b.x, a.y - b.y); }

// A run that cuts one closed ring and nothing else (an offset, an outline): it may start at
// any of its vertices.
bool isRing(const ToolRun& run) {
  return run.points.size() >= 4 && run.points.front() == run.points.back() &&
         std::all_of(run.cuts.begin(), run.cuts.end(), [](bool c) { return c; });
}

// The run cut the other way: the same moves backwards, each arc bending the other way.
void reverseRun(ToolRun& run) {
  std::reverse(run.points.begin(), run.points.end());
  std::reverse(run.cuts.begin(), run.cuts.end());
  std::reverse(run.bulges.begin(), run.bulges.end());
  for (double& b : run.bulges) b = -b;
}

// A ring run started at its vertex entry instead (its moves turned round with it).
void enterRingAt(ToolRun& run, std::size_t entry) {
  const std::size_t n = run.points.size() - 1;  // vertices; the last point repeats the first
  if (entry == 0 || entry >= n) return;
  run.points.pop_back();
  std::rotate(run.points.begin(), run.points.begin() + static_cast<std::ptrdiff_t>(entry),
              run.points.end());
  run.points.push_back(run.points.front());
  if (!run.bulges.empty())
    std::rotate(run.bulges.begin(), run.bulges.begin() + static_cast<std::ptrdiff_t>(entry),
                run.bulges.end());
}

// Orders one region's runs from start; returns where the last ends. Open runs may be turned
// round only where reversible says so; every open run comes before every ring (the outline
// after the hatch).
Vec2 orderRegion(std::vector<ToolRun>& runs, const Vec2& start, bool reversible) {
  std::vector<Contour> paths(runs.size());
  std::vector<std::size_t> opens, rings;
  for (std::size_t i = 0; i < runs.size(); ++i) {
    paths[i].points = runs[i].points;
    paths[i].closed = isRing(runs[i]);
    if (paths[i].closed) {
      paths[i].points.pop_back();
      rings.push_back(i);
    } else {
      opens.push_back(i);
    }
  }
  std::vector<CutPrecedence> precedence;
  for (const std::size_t o : opens)
    for (const std::size_t r : rings) precedence.push_back({o, r});
  std::vector<const Contour*> pointers;
  for (const Contour& p : paths) pointers.push_back(&p);
  TravelOptions travel;
  travel.start = start;
  const TravelPlan plan = planTravel(pointers, precedence, travel);
  std::vector<ToolRun> ordered;
  ordered.reserve(runs.size());
  Vec2 at = start;
  double given = 0, planned = 0;
  for (const ToolRun& r : runs) {
    given += distance(at, r.points.front());
    at = r.points.back();
  }
  at = start;
  for (const CutStep& step : plan.steps) {
    ToolRun run = runs[step.path];
    if (paths[step.path].closed) enterRingAt(run, step.entry);
    else if (step.reversed && reversible) reverseRun(run);
    planned += distance(at, run.points.front());
    at = run.points.back();
    ordered.push_back(std::move(run));
  }
  if (planned <= given) runs = std::move(ordered);
  return runs.empty() ? start : runs.back().points.back();
}

}  // namespace

double fillTravel(const FilledDrawing& filled) {
  Vec2 at;
  double travel = 0;
  for (const std::vector<ToolRun>& region : filled.runs)
    for (const ToolRun& run : region) {
      if (run.points.empty()) continue;
      travel += distance(at, run.points.front());
      at = run.points.back();
    }
  return travel;
}

double fillTravelBound(const FilledDrawing& filled) {
  std::vector<Contour> paths;
  for (const std::vector<ToolRun>& region : filled.runs)
    for (const ToolRun& run : region) {
      Contour& path = paths.emplace_back(Contour{run.points, isRing(run), 0});
      if (path.closed) path.points.pop_back();
    }
  std::vector<const Contour*> pointers;
  for (const Contour& c : paths) pointers.push_back(&c);
  return travelLowerBound(pointers, Vec2{});
}

void orderFillForTravel(FilledDrawing& filled, const ConversionOptions& options) {
  // A pocket's passes keep the order that clears from the middle outward; one-way hatch lines
  // keep their direction, and so their order, which already runs row by row.
  const bool hatch = options.cut == CutOperation::Hatch;
  const bool keepRuns =
      options.cut == CutOperation::Pocket || (hatch && options.fill.unidirectional);
  const bool reversible = hatch && !options.fill.unidirectional;
  Vec2 at;
  if (!keepRuns)
    for (std::vector<ToolRun>& region : filled.runs) at = orderRegion(region, at, reversible);

  // The regions, each a path from its first run's start to its last run's end. The planner
  // may choose to enter one at its end; a region is cut whole and forwards, so the order it
  // gives is measured as it will be cut and kept only where it travels no further.
  const std::size_t n = filled.runs.size();
  std::vector<Contour> proxies(n);
  for (std::size_t i = 0; i < n; ++i) {
    proxies[i].closed = false;
    const std::vector<ToolRun>& region = filled.runs[i];
    if (region.empty() || region.front().points.empty()) continue;
    proxies[i].points = {region.front().points.front(), region.back().points.back()};
  }
  std::vector<const Contour*> pointers;
  for (const Contour& p : proxies) pointers.push_back(&p);
  const TravelPlan plan = planTravel(pointers, {}, {});
  FilledDrawing ordered;
  ordered.notes = filled.notes;
  ordered.pieces.layer = filled.pieces.layer;
  // Each region's pieces are one character of the drawing, and its bulges (when any) the
  // lists of that character's paths.
  std::vector<std::size_t> firstPath(n + 1, 0);
  for (std::size_t i = 0; i < n; ++i)
    firstPath[i + 1] = firstPath[i] + filled.pieces.characters[i].contours.size();
  const bool arcs = !filled.pieces.bulges.empty();
  for (const CutStep& step : plan.steps) {
    ordered.runs.push_back(filled.runs[step.path]);
    ordered.pieces.characters.push_back(filled.pieces.characters[step.path]);
    if (arcs)
      for (std::size_t p = firstPath[step.path]; p < firstPath[step.path + 1]; ++p)
        ordered.pieces.bulges.push_back(p < filled.pieces.bulges.size() ? filled.pieces.bulges[p]
                                                                        : std::vector<double>{});
  }
  if (fillTravel(ordered) <= fillTravel(filled)) filled = std::move(ordered);
}

}  // namespace kerfline
