#pragma once
// Stand-in letters for the layout tests: each a box over its advance, from its baseline up to
// a height, with a point at the middle of its foot (the advance's middle on the baseline).
#include <cstdint>

#include "geometry/contour.h"

namespace kerfline::test {

/// Points: 0 foot start, 1 foot middle, 2 foot end, 3 head end, 4 head start.
inline PlacedCharacter letterBox(std::int32_t line, double start, double end, double baseline,
                                 double height) {
  PlacedCharacter c;
  c.line = line;
  c.character = U'X';
  const double mid = (start + end) / 2;
  c.contours.push_back(Contour{{{start, baseline},
                                {mid, baseline},
                                {end, baseline},
                                {end, baseline + height},
                                {start, baseline + height}}});
  c.advance = CharacterAdvance{start, end, baseline};
  return c;
}

}  // namespace kerfline::test
