#include "export/cut_route.h"

namespace kerfline {

CutRoute planCutRoute(const Drawing& drawing) {
  const std::vector<PathAddress> addresses = pathAddresses(drawing);
  const std::vector<const Contour*> paths = pathsAt(drawing, addresses);
  TravelOptions travel;
  travel.start = kToolStart;
  const TravelPlan plan = planTravel(paths, holesBeforeOutlines(drawing, addresses), travel);

  CutRoute route;
  route.figures = travelFigures(paths, plan, travel.start);
  route.drawing.layer = drawing.layer;
  route.drawing.characters.reserve(plan.steps.size());
  for (const CutStep& step : plan.steps) {
    const PlacedCharacter& from = drawing.characters[addresses[step.path].character];
    PlacedCharacter one{from.position, from.character, from.line, {}};
    Contour path = *paths[step.path];
    path.points = cutPoints(path, step);
    one.contours.push_back(std::move(path));
    route.drawing.characters.push_back(std::move(one));
  }
  return route;
}

}  // namespace kerfline
