#pragma once
// Shared helpers of the geometry tests: hand-made rings, areas and the shapely check.
#include <string>
#include <vector>

#include "common/font_description.h"
#include "export/text_export.h"
#include "geometry/contour.h"

namespace kerfline::test {

/// A closed axis-aligned square ring, counter-clockwise when ccw.
Contour square(double x, double y, double side, bool ccw = true);
/// A closed regular polygon with n corners approximating a circle, counter-clockwise when ccw.
Contour circle(double cx, double cy, double r, int n, bool ccw = true);
/// A character at text position pos on line 0 holding contours.
PlacedCharacter character(std::int32_t pos, std::vector<Contour> contours, std::int32_t line = 0);

/// The text s, every character in font, laid out by the classic walk with settings.
Drawing layOut(std::u32string s, const TFontDescription& font, const ExportSettings& settings = {});

/// Signed area of a ring (shoelace; positive counter-clockwise, Y up).
double signedArea(const Contour& ring);
/// The area the closed contours of the drawing enclose, holes subtracted, read from the
/// nesting depth of the rings (even depth adds, odd depth subtracts).
double areaByDepth(const Drawing& drawing);

/// What the independent shapely check says about a weld of `before` into `after`.
struct RegionCheck {
  double unionArea = 0;       ///< area of the union of the characters' areas before
  double areaAfter = 0;       ///< area enclosed by the rings after (even-odd)
  double difference = 0;      ///< area of the symmetric difference of both
  double perimeterAfter = 0;  ///< summed length of the rings after
  int crossingAfter = 0;      ///< pairs of rings after whose areas overlap without nesting
  int invalidAfter = 0;       ///< rings after that cross themselves
  int unionHoles = 0;         ///< holes of the union
  int holesAfter = 0;         ///< rings after inside an odd number of others
  std::string error;          ///< set when the checker could not run
};
RegionCheck checkWeld(const Drawing& before, const Drawing& after);

/// What shapely says about the closed rings of a drawing ready to cut (check_crossings.py).
struct CrossingCheck {
  int crossing = 0;   ///< pairs of rings whose areas overlap without nesting
  int invalid = 0;    ///< rings that cross themselves
  std::string error;  ///< set when the checker could not run
};
CrossingCheck checkCrossings(const Drawing& drawing);

}  // namespace kerfline::test
