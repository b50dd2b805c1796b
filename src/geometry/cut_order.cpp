#include "geometry/cut_order.h"

namespace kerfline {

void orderForCutting(PlacedCharacter&) {}

void orderForCutting(Drawing& drawing) {
  for (PlacedCharacter& c : drawing.characters) orderForCutting(c);
}

}  // namespace kerfline
