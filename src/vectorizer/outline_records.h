#pragma once
// A glyph outline as plain values: polygons of line, quadratic and cubic records in outline units.
#include <cstddef>
#include <ostream>
#include <variant>
#include <vector>

namespace kerfline {

/// One point in outline units (unrounded), Y up, origin on the baseline.
struct OutlinePoint {
  double x = 0;
  double y = 0;
  friend bool operator==(const OutlinePoint&, const OutlinePoint&) = default;
  friend std::ostream& operator<<(std::ostream& os, const OutlinePoint& p) {
    return os << '(' << p.x << ", " << p.y << ')';
  }
};

/// Straight lines from the current point through each point in turn.
struct LineRecord {
  friend bool operator==(const LineRecord&, const LineRecord&) = default;
  std::vector<OutlinePoint> points;  ///< end point of each line
};

/// Quadratic B-spline: control points Q0..Qn-2 then the end point Qn-1; implied on-curve
/// points lie midway between consecutive control points.
struct QuadraticRecord {
  friend bool operator==(const QuadraticRecord&, const QuadraticRecord&) = default;
  std::vector<OutlinePoint> points;  ///< control points followed by the end point
};

/// Cubic Bezier pieces: (control, control, end) triples continuing from the current point.
struct CubicRecord {
  friend bool operator==(const CubicRecord&, const CubicRecord&) = default;
  std::vector<OutlinePoint> points;  ///< three points per piece
};

/// Calls piece(control, end) for each piece of a quadratic record's points, in order: the
/// implied on-curve points lie midway between consecutive control points and the record's last
/// point ends the last piece. Fewer than two points describe no piece.
template <class Piece>
void forEachQuadraticPiece(const std::vector<OutlinePoint>& q, Piece&& piece) {
  if (q.size() < 2) return;
  const std::size_t pieces = q.size() - 1;
  for (std::size_t i = 0; i < pieces; ++i) {
    const OutlinePoint e = i + 1 < pieces
                               ? OutlinePoint{(q[i].x + q[i + 1].x) / 2, (q[i].y + q[i + 1].y) / 2}
                               : q[pieces];
    piece(q[i], e);
  }
}

/// One record of a polygon, held by value.
using OutlineRecord = std::variant<LineRecord, QuadraticRecord, CubicRecord>;

/// One closed contour: a start point and the records that walk from it.
struct OutlinePolygon {
  OutlinePoint start;                  ///< where the contour starts and closes
  std::vector<OutlineRecord> records;  ///< in outline order
  friend bool operator==(const OutlinePolygon&, const OutlinePolygon&) = default;
};

/// A whole glyph: one polygon per contour, in the font's contour order.
using Outline = std::vector<OutlinePolygon>;

}  // namespace kerfline
