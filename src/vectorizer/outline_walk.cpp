#include "vectorizer/outline_walk.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace kerfline {

std::int32_t roundOutlineUnit(double v) {
  // nearbyint in the default rounding mode gives halves to even (2.5 -> 2, -3.5 -> -4), which
  // matters: midpoints between whole-unit control points end in .5 all the time. The clamp keeps
  // a hostile outline from overflowing the conversion; real glyphs stay far inside it.
  const double r = std::nearbyint(v);
  if (!(r >= -2147483647.0)) return -2147483647;  // also catches NaN
  if (r > 2147483647.0) return 2147483647;
  return static_cast<std::int32_t>(r);
}

namespace {

class Walker {
 public:
  Walker(int precision, TStrokeCollection& dest)
      : n_(std::max(precision, 1)), h_(1.0 / n_), dest_(dest) {}

  void polygon(std::int32_t contour, const OutlinePolygon& poly) {
    contour_ = contour;
    p_ = poly.start;
    for (const OutlineRecord& rec : poly.records) {
      if (const auto* line = std::get_if<LineRecord>(&rec)) {
        for (const OutlinePoint& q : line->points) lineTo(q);
      } else if (const auto* quad = std::get_if<QuadraticRecord>(&rec)) {
        quadratic(quad->points);
      } else if (const auto* cubic = std::get_if<CubicRecord>(&rec)) {
        cubics(cubic->points);
      }
    }
    if (!(p_ == poly.start)) addStroke(p_, poly.start);
  }

 private:
  void addStroke(const OutlinePoint& a, const OutlinePoint& b) {
    dest_.Add(TStroke{contour_, roundOutlineUnit(a.x), roundOutlineUnit(a.y), roundOutlineUnit(b.x),
                      roundOutlineUnit(b.y)});
  }

  // Equality is tested on the unrounded points: two distinct points that round alike still give
  // a (zero-length) stroke, exactly as the record sequence describes it.
  void lineTo(const OutlinePoint& q) {
    if (!(q == p_)) addStroke(p_, q);
    p_ = q;
  }

  void quadratic(const std::vector<OutlinePoint>& q) {
    // Fewer than two points describe no piece: skipped, the current point stays.
    forEachQuadraticPiece(q, [&](const OutlinePoint& control, const OutlinePoint& end) {
      flattenQuadratic(p_, control, end);
      p_ = end;
    });
  }

  void cubics(const std::vector<OutlinePoint>& q) {
    for (std::size_t i = 0; i + 3 <= q.size(); i += 3) {
      flattenCubic(p_, q[i], q[i + 1], q[i + 2]);
      p_ = q[i + 2];
    }
  }

  // t runs 1/N, 2/N, ... by repeated addition of h; the sample that lands within half a step of
  // 1 is the end point itself, so the next piece starts exactly where this one stopped whatever
  // rounding the sum collected. Counting the samples as well bounds the loop even for NaN input.
  template <typename PointAt>
  void flatten(const OutlinePoint& a, const OutlinePoint& e, PointAt pointAt) {
    OutlinePoint r = a;
    double t = 0;
    for (int k = 1; k <= n_; ++k) {
      t += h_;
      const bool last = k == n_ || std::fabs(t - 1.0) < h_ / 2;
      const OutlinePoint q = last ? e : pointAt(t);
      if (!(q == r)) addStroke(r, q);
      r = q;
      if (last) break;
    }
  }

  void flattenQuadratic(const OutlinePoint& a, const OutlinePoint& b, const OutlinePoint& e) {
    // t^2 (A - 2B + E) + t (2B - 2A) + A, term by term in this order.
    const double ax = a.x - 2 * b.x + e.x;
    const double ay = a.y - 2 * b.y + e.y;
    const double bx = 2 * b.x - 2 * a.x;
    const double by = 2 * b.y - 2 * a.y;
    flatten(a, e, [&](double t) {
      const double t2 = t * t;
      return OutlinePoint{t2 * ax + t * bx + a.x, t2 * ay + t * by + a.y};
    });
  }

  void flattenCubic(const OutlinePoint& a, const OutlinePoint& b, const OutlinePoint& c,
                    const OutlinePoint& e) {
    flatten(a, e, [&](double t) {
      const double s = 1 - t;
      const double wa = s * s * s;
      const double wb = 3 * t * s * s;
      const double wc = 3 * t * t * s;
      const double we = t * t * t;
      return OutlinePoint{wa * a.x + wb * b.x + wc * c.x + we * e.x,
                          wa * a.y + wb * b.y + wc * c.y + we * e.y};
    });
  }

  int n_;
  double h_;
  TStrokeCollection& dest_;
  std::int32_t contour_ = 0;
  OutlinePoint p_;
};

}  // namespace

void walkOutline(const Outline& outline, int precision, TStrokeCollection& dest) {
  Walker walker(precision, dest);
  for (std::size_t i = 0; i < outline.size(); ++i) {
    walker.polygon(static_cast<std::int32_t>(i), outline[i]);
  }
}

}  // namespace kerfline
