#include "contour_check.h"

#include <vector>

namespace kerfline::test {

::testing::AssertionResult contoursClosed(const TStrokeCollection& strokes) {
  const std::vector<TStroke>& s = strokes.strokes();
  std::size_t first = 0;  // first stroke of the contour being checked
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (i > first) {
      if (s[i].Contour < s[i - 1].Contour) {
        return ::testing::AssertionFailure()
               << "contour number falls at stroke " << i << ": " << s[i - 1] << " then " << s[i];
      }
      if (s[i].Contour == s[i - 1].Contour &&
          (s[i].X1 != s[i - 1].X2 || s[i].Y1 != s[i - 1].Y2)) {
        return ::testing::AssertionFailure()
               << "gap at stroke " << i << ": " << s[i - 1] << " then " << s[i];
      }
    }
    const bool contourEnds = i + 1 == s.size() || s[i + 1].Contour != s[i].Contour;
    if (contourEnds) {
      if (s[i].X2 != s[first].X1 || s[i].Y2 != s[first].Y1) {
        return ::testing::AssertionFailure()
               << "contour " << s[i].Contour << " open: starts " << s[first] << ", ends " << s[i];
      }
      first = i + 1;
    }
  }
  return ::testing::AssertionSuccess();
}

}  // namespace kerfline::test
