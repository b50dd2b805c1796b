#pragma once
#include <cstdint>
#include <ostream>

namespace kerfline {

/// One straight stroke of a glyph contour, in outline units (Y up, origin on the baseline).
struct TStroke {
  std::int32_t Contour = 0;  ///< 0-based contour number in outline order
  std::int32_t X1 = 0;       ///< start point
  std::int32_t Y1 = 0;
  std::int32_t X2 = 0;       ///< end point
  std::int32_t Y2 = 0;

  friend bool operator==(const TStroke&, const TStroke&) = default;
  friend std::ostream& operator<<(std::ostream& os, const TStroke& s) {
    return os << '#' << s.Contour << " (" << s.X1 << ", " << s.Y1 << ")->(" << s.X2 << ", "
              << s.Y2 << ')';
  }
};

/// Bounding rectangle of stroke end points: Top is the lowest Y, Bottom the highest.
struct TRect {
  std::int32_t Left = 0;
  std::int32_t Top = 0;
  std::int32_t Right = 0;
  std::int32_t Bottom = 0;

  friend bool operator==(const TRect&, const TRect&) = default;
  friend std::ostream& operator<<(std::ostream& os, const TRect& r) {
    return os << "{L " << r.Left << " T " << r.Top << " R " << r.Right << " B " << r.Bottom << '}';
  }
};

}  // namespace kerfline
