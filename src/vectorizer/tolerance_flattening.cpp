#include "vectorizer/tolerance_flattening.h"

#include <cmath>

#include "common/error.h"

namespace kerfline {

OutlineTransform OutlineTransform::then(const OutlineTransform& next) const {
  return {next.xx * xx + next.xy * yx, next.xx * xy + next.xy * yy,
          next.yx * xx + next.yy * yx, next.yx * xy + next.yy * yy,
          next.xx * dx + next.xy * dy + next.dx, next.yx * dx + next.yy * dy + next.dy};
}

int chordsForTolerance(double maxSecondDerivative, double tolerance) {
  // A chord over a parameter step h leaves the curve by at most h^2 / 8 * max|B''| (the
  // linear interpolation error, which holds for the vector as for each coordinate). With
  // n equal steps, h = 1 / n, so n >= sqrt(max|B''| / (8 T)) keeps every point within T.
  const double n = std::ceil(std::sqrt(maxSecondDerivative / (8 * tolerance)));
  if (!(n >= 1)) return 1;  // also NaN
  if (n >= kMaxChordsPerPiece) return kMaxChordsPerPiece;
  return static_cast<int>(n);
}

namespace {

OutlinePoint operator-(const OutlinePoint& a, const OutlinePoint& b) { return {a.x - b.x, a.y - b.y}; }
double length(const OutlinePoint& v) { return std::hypot(v.x, v.y); }
bool isZero(const OutlinePoint& v) { return v.x == 0 && v.y == 0; }

OutlinePoint unit(const OutlinePoint& v) {
  const double l = length(v);
  if (!(l > 0) || !std::isfinite(l)) return {0, 0};
  return {v.x / l, v.y / l};
}

// The first of the candidate directions that is not zero: a control point on the end point
// gives no tangent there, the next control point does.
OutlinePoint firstDirection(std::initializer_list<OutlinePoint> candidates) {
  for (const OutlinePoint& v : candidates)
    if (!isZero(v)) return unit(v);
  return {0, 0};
}

class Flattener {
 public:
  Flattener(const OutlineTransform& map, double tolerance) : map_(map), tolerance_(tolerance) {}

  FlatContour polygon(const OutlinePolygon& poly) {
    ring_ = FlatContour{};
    const OutlinePoint start = map_.apply(poly.start);
    push(start, {0, 0});
    for (const OutlineRecord& rec : poly.records) {
      if (const auto* line = std::get_if<LineRecord>(&rec)) {
        for (const OutlinePoint& q : line->points) lineTo(map_.apply(q));
      } else if (const auto* quad = std::get_if<QuadraticRecord>(&rec)) {
        quadratics(quad->points);
      } else if (const auto* cubic = std::get_if<CubicRecord>(&rec)) {
        for (std::size_t i = 0; i + 3 <= cubic->points.size(); i += 3)
          cubicTo(map_.apply(cubic->points[i]), map_.apply(cubic->points[i + 1]),
                  map_.apply(cubic->points[i + 2]));
      }
    }
    lineTo(start);
    // The walk came back to the start: that point is the first one, arriving as the last did.
    if (ring_.points.size() > 1 && ring_.points.back() == ring_.points.front()) {
      ring_.tangentIn.front() = ring_.tangentIn.back();
      ring_.points.pop_back();
      ring_.tangentIn.pop_back();
      ring_.tangentOut.pop_back();
    }
    return std::move(ring_);
  }

 private:
  const OutlinePoint& current() const { return ring_.points.back(); }

  void push(const OutlinePoint& at, const OutlinePoint& tangent) {
    ring_.points.push_back(at);
    ring_.tangentIn.push_back(tangent);
    ring_.tangentOut.push_back(tangent);
  }

  // A piece that moves leaves the current point in direction out; one that does not (all its
  // points on the current point) is no piece at all and leaves no trace.
  void leave(const OutlinePoint& out) { ring_.tangentOut.back() = out; }
  void arrive(const OutlinePoint& at, const OutlinePoint& tangent) {
    if (at == current()) return;
    push(at, tangent);
  }

  void lineTo(const OutlinePoint& q) {
    if (q == current()) return;
    const OutlinePoint d = unit(q - current());
    leave(d);
    push(q, d);
  }

  void quadratics(const std::vector<OutlinePoint>& q) {
    // The same pieces as the fixed-count walk: implied on-curve points midway between
    // consecutive control points, taken in outline units (the map keeps midpoints).
    if (q.size() < 2) return;
    const std::size_t pieces = q.size() - 1;
    for (std::size_t i = 0; i < pieces; ++i) {
      const OutlinePoint e = i + 1 < pieces
                                 ? OutlinePoint{(q[i].x + q[i + 1].x) / 2, (q[i].y + q[i + 1].y) / 2}
                                 : q[pieces];
      quadraticTo(map_.apply(q[i]), map_.apply(e));
    }
  }

  void quadraticTo(const OutlinePoint& b, const OutlinePoint& e) {
    const OutlinePoint a = current();
    if (a == b && b == e) return;
    // B''(t) = 2 (A - 2B + E), the same all along.
    const OutlinePoint d2{a.x - 2 * b.x + e.x, a.y - 2 * b.y + e.y};
    const int n = chordsForTolerance(2 * length(d2), tolerance_);
    leave(firstDirection({b - a, e - a}));
    for (int k = 1; k < n; ++k) {
      const double t = static_cast<double>(k) / n;
      const double s = 1 - t;
      const OutlinePoint at{s * s * a.x + 2 * s * t * b.x + t * t * e.x,
                            s * s * a.y + 2 * s * t * b.y + t * t * e.y};
      const OutlinePoint d{s * (b.x - a.x) + t * (e.x - b.x), s * (b.y - a.y) + t * (e.y - b.y)};
      arrive(at, unit(d));
    }
    arrive(e, firstDirection({e - b, e - a}));
  }

  void cubicTo(const OutlinePoint& b, const OutlinePoint& c, const OutlinePoint& e) {
    const OutlinePoint a = current();
    if (a == b && b == c && c == e) return;
    // B''(t) = 6 ((1 - t) (A - 2B + C) + t (B - 2C + E)): a blend of the two second
    // differences, so its length never exceeds 6 times the longer of them.
    const double m = 6 * std::fmax(length({a.x - 2 * b.x + c.x, a.y - 2 * b.y + c.y}),
                                   length({b.x - 2 * c.x + e.x, b.y - 2 * c.y + e.y}));
    const int n = chordsForTolerance(m, tolerance_);
    leave(firstDirection({b - a, c - a, e - a}));
    for (int k = 1; k < n; ++k) {
      const double t = static_cast<double>(k) / n;
      const double s = 1 - t;
      const double wa = s * s * s, wb = 3 * t * s * s, wc = 3 * t * t * s, we = t * t * t;
      const OutlinePoint at{wa * a.x + wb * b.x + wc * c.x + we * e.x,
                            wa * a.y + wb * b.y + wc * c.y + we * e.y};
      const double da = s * s, db = 2 * s * t, dc = t * t;
      const OutlinePoint d{da * (b.x - a.x) + db * (c.x - b.x) + dc * (e.x - c.x),
                           da * (b.y - a.y) + db * (c.y - b.y) + dc * (e.y - c.y)};
      arrive(at, unit(d));
    }
    arrive(e, firstDirection({e - c, e - b, e - a}));
  }

  OutlineTransform map_;
  double tolerance_;
  FlatContour ring_;
};

}  // namespace

std::vector<FlatContour> flattenOutline(const Outline& outline, const OutlineTransform& map,
                                        double tolerance) {
  if (!(tolerance > 0) || !std::isfinite(tolerance))
    throw Error("The curve tolerance must be a number above 0.");
  Flattener flattener(map, tolerance);
  std::vector<FlatContour> rings;
  rings.reserve(outline.size());
  for (const OutlinePolygon& poly : outline) rings.push_back(flattener.polygon(poly));
  return rings;
}

}  // namespace kerfline
