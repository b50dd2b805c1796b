#include "export/cut_route.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <utility>

#include "export/arc_drawing.h"
#include "export/cut_ready_drawing.h"
#include "geometry/ring_math.h"

namespace kerfline {
namespace {

// The text order as a plan: every path in the drawing's order, entered where it starts.
TravelPlan textOrder(std::size_t paths) {
  TravelPlan plan;
  for (std::size_t i = 0; i < paths; ++i) plan.steps.push_back({i, 0, false});
  return plan;
}

LeadOptions leadOptions(const ConversionOptions& options) {
  LeadOptions leads;
  leads.shape = options.leadShape;
  leads.leadIn = options.leadIn.value_or(0);
  leads.leadOut = options.leadOut.value_or(0);
  leads.overcut = options.overcut.value_or(0);
  // Cutting on the line keeps parts as drawn, as the outside side does.
  leads.kerfOutsideParts = options.kerfSide != KerfSide::Inside;
  // Arc leads are chords until the arcs are fitted; within the flattening's share the fit
  // finds their circle again.
  if (const std::optional<double> tolerance = flatteningTolerance(options))
    leads.arcTolerance = *tolerance;
  return leads;
}

std::string describe(const LeadNote& note, const PlacedCharacter& where) {
  char buffer[200];
  const char* what = note.leadIn ? "Lead-in" : "Lead-out";
  if (note.trouble == LeadTrouble::LeftOut) {
    std::snprintf(buffer, sizeof buffer,
                  "%s left out at text position %d (U+%04X): it would cross another path", what,
                  static_cast<int>(where.position), static_cast<unsigned>(where.character));
  } else {
    std::snprintf(buffer, sizeof buffer,
                  "%s shortened to %.4g at text position %d (U+%04X): it would cross another path",
                  what, note.keptLength, static_cast<int>(where.position),
                  static_cast<unsigned>(where.character));
  }
  return buffer;
}

// The bulges of a path cut as step says, bulge i belonging to the piece from point i to the
// next, as cutPoints turns the points: a ring's turned with its points; an open path's run
// backwards, each piece's bulge negated, the last point's (no piece leaves it) staying 0.
std::vector<double> cutBulges(std::vector<double> out, const Contour& path, const CutStep& step) {
  if (path.closed && step.entry < out.size()) {
    std::rotate(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(step.entry), out.end());
  } else if (!path.closed && step.reversed && out.size() > 1) {
    const auto last = out.end() - 1;
    std::reverse(out.begin(), last);
    for (auto it = out.begin(); it != last; ++it) *it = -*it;
    *last = 0;
  }
  return out;
}

// The route of drawing's paths; holes tells which ring must go before which (asked only for a
// planned route). spent, when given, is drawing itself, whose paths and bulges the route may
// take instead of copying them.
template <typename Holes>
CutRoute routeOf(const Drawing& drawing, const Holes& holes, const ConversionOptions& options,
                 bool lowerBound, Drawing* spent = nullptr) {
  const std::vector<PathAddress> addresses = pathAddresses(drawing);
  const std::vector<const Contour*> paths = pathsAt(drawing, addresses);
  TravelOptions travel;
  travel.start = kToolStart;
  CutRoute route;
  route.planned = cutOrderFor(options) == CutOrder::Travel;
  const TravelPlan plan = route.planned
                              ? planTravel(paths, holes(addresses), travel)
                              : textOrder(paths.size());
  route.figures = travelFigures(paths, plan, travel.start, lowerBound);
  const auto from = [&](std::size_t path) -> const PlacedCharacter& {
    return drawing.characters[addresses[path].character];
  };

  route.drawing.layer = drawing.layer;
  route.drawing.page = drawing.page;
  route.drawing.characters.reserve(plan.steps.size());
  const auto add = [&](std::size_t path, Contour contour) {
    const PlacedCharacter& c = from(path);
    route.drawing.characters.push_back({c.position, c.character, c.line, {std::move(contour)}});
  };
  if (!asksForLeads(options)) {
    const bool bulges = !drawing.bulges.empty();
    if (bulges) route.drawing.bulges.reserve(plan.steps.size());
    for (const CutStep& step : plan.steps) {
      if (bulges) {
        const std::vector<double>* b = drawing.bulgesOf(step.path);
        route.drawing.bulges.push_back(
            !b      ? std::vector<double>(paths[step.path]->points.size())
            : spent ? cutBulges(std::move(spent->bulges[step.path]), *paths[step.path], step)
                    : cutBulges(*b, *paths[step.path], step));
      }
      const PathAddress& at = addresses[step.path];
      Contour path = spent ? std::move(spent->characters[at.character].contours[at.contour])
                           : *paths[step.path];
      if (path.closed) {
        startRingAt(path, step.entry);
      } else {
        path.points = cutPoints(path, step);
        path.tangents.reset();
      }
      add(step.path, std::move(path));
    }
    return route;
  }
  const LeadResult leads = addLeads(paths, plan, leadOptions(options));
  for (const CutPath& cut : leads.cuts) {
    Contour path = *paths[cut.path];
    path.tangents.reset();  // the cut's points are the plan's, with or without leads
    const bool extended = !cut.leadIn.empty() || !cut.overcut.empty() || !cut.leadOut.empty();
    if (cut.closed && extended) {
      path.points = cut.toolPath();
      path.closed = false;
    } else {
      path.points = cut.points;
      // A ring without leads keeps its closing seam implicit.
      if (path.closed && path.points.size() > 1 && path.points.back() == path.points.front())
        path.points.pop_back();
    }
    add(cut.path, std::move(path));
  }
  for (const LeadNote& note : leads.notes) route.leadNotes.push_back(describe(note, from(note.path)));
  return route;
}

// Holes before outlines as nesting (same paths, same places, any shape within the tolerance)
// holds them.
auto holesOf(const Drawing& nesting) {
  return [&nesting](const std::vector<PathAddress>& addresses) {
    return holesBeforeOutlines(nesting, addresses);
  };
}

}  // namespace

CutRoute planCutRoute(const Drawing& drawing, const ConversionOptions& options, bool lowerBound) {
  return routeOf(drawing, holesOf(drawing), options, lowerBound);
}

bool fitsBeforeRouting(const ConversionOptions& options) {
  return options.arcs && !asksForLeads(options) && curveTolerance(options).has_value();
}

CutRoute planFittedCutRoute(const Drawing& drawing, const ConversionOptions& options,
                            bool lowerBound) {
  Drawing fitted = fittedDrawing(drawing, *curveTolerance(options));
  // The nesting from the polylines: a ring of few arcs has chords that cut far inside it.
  CutRoute route = routeOf(fitted, holesOf(drawing), options, lowerBound, &fitted);
  route.fitted = true;
  return route;
}

CutRoute planFittedCutRoute(Drawing fitted, const std::vector<CutPrecedence>& holes,
                            const ConversionOptions& options, bool lowerBound) {
  CutRoute route = routeOf(
      fitted,
      [&holes](const std::vector<PathAddress>&) -> const std::vector<CutPrecedence>& {
        return holes;
      },
      options, lowerBound, &fitted);
  route.fitted = true;
  return route;
}

Drawing drawingAsCut(Drawing drawing, const ConversionOptions& options, double* travel) {
  bool fitted = false;
  if (routesCuts(options)) {
    // The view shows the travel, never its bound.
    CutRoute route = fitsBeforeRouting(options) ? planFittedCutRoute(drawing, options, false)
                                                : planCutRoute(drawing, options, false);
    fitted = route.fitted;
    if (travel) *travel = route.planned ? route.figures.travel : route.figures.textOrderTravel;
    drawing = std::move(route.drawing);
  } else if (travel) {
    const std::vector<PathAddress> addresses = pathAddresses(drawing);
    const std::vector<const Contour*> paths = pathsAt(drawing, addresses);
    *travel = rapidTravel(paths, textOrder(paths.size()).steps, kToolStart);
  }
  // The view shows the arcs the file holds, drawn out far finer than they were fitted.
  if (options.arcs && options.format != OutputFormat::Lines &&
      options.format != OutputFormat::PolyLines) {
    const double tolerance = *curveTolerance(options);
    if (!fitted) fitDrawingArcs(drawing, tolerance);
    sampleDrawingArcs(drawing, tolerance / 10);
  }
  return drawing;
}

}  // namespace kerfline
