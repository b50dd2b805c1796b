#include "export/cut_route.h"

#include <cstdio>
#include <utility>

#include "export/arc_drawing.h"
#include "export/cut_ready_drawing.h"

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

}  // namespace

CutRoute planCutRoute(const Drawing& drawing, const ConversionOptions& options) {
  const std::vector<PathAddress> addresses = pathAddresses(drawing);
  const std::vector<const Contour*> paths = pathsAt(drawing, addresses);
  TravelOptions travel;
  travel.start = kToolStart;
  CutRoute route;
  route.planned = cutOrderFor(options) == CutOrder::Travel;
  const TravelPlan plan = route.planned
                              ? planTravel(paths, holesBeforeOutlines(drawing, addresses), travel)
                              : textOrder(paths.size());
  route.figures = travelFigures(paths, plan, travel.start);
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
    for (const CutStep& step : plan.steps) {
      Contour path = *paths[step.path];
      path.points = cutPoints(path, step);
      add(step.path, std::move(path));
    }
    return route;
  }
  const LeadResult leads = addLeads(paths, plan, leadOptions(options));
  for (const CutPath& cut : leads.cuts) {
    Contour path = *paths[cut.path];
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

Drawing drawingAsCut(Drawing drawing, const ConversionOptions& options, double* travel) {
  if (routesCuts(options)) {
    CutRoute route = planCutRoute(drawing, options);
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
    fitDrawingArcs(drawing, tolerance);
    sampleDrawingArcs(drawing, tolerance / 10);
  }
  return drawing;
}

}  // namespace kerfline
