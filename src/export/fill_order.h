#pragma once
#include "export/conversion_options.h"
#include "export/fill_export.h"

namespace kerfline {

/// Orders a filled drawing for short rapid travel, keeping what each fill needs: within a
/// region, hatch chains are taken in any order and either way round (not one-way lines), an
/// offset fill's rings in any order, each entered at any vertex, a hatch's outline still after
/// its lines, and a pocket's passes as cleared (innermost first, the finishing pass last);
/// then the regions themselves, each whole. The pieces follow their runs. The order found is
/// kept only where its rapid travel from the origin is no longer than that of the order given.
void orderFillForTravel(FilledDrawing& filled, const ConversionOptions& options);

/// The rapid travel of filled's runs from the origin to the last run's end, drawing units:
/// from each run's end to the next one's start (a router's passes over a region return to
/// its first run, which is not counted).
double fillTravel(const FilledDrawing& filled);

/// No order of filled's runs travels less from the origin (TravelFigures::lowerBound): each
/// run is reached once, a ring at any of its vertices, any other run at either end.
double fillTravelBound(const FilledDrawing& filled);

}  // namespace kerfline
