#include "fill/hatch.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <utility>

#include "common/error.h"

namespace kerfline {
namespace {

// More rows than this across one region are refused before any is made: an interval far too
// small for the letters would exhaust memory rather than finish.
constexpr double kMaxRows = 1e6;

// Shorter spans are no line at all: far below any machine's step in either unit.
constexpr double kShortestSpan = 1e-9;

// One row of lines across the region: the spans between crossings, along the row.
struct Row {
  long k = 0;                                   // the row lies at k intervals across
  std::vector<std::pair<double, double>> spans;  // (from, to) along the row, ascending
  std::vector<bool> used;
};

// The rows of lines in direction u (across: n), from the rings' crossings. A row at t crosses
// an edge when t lies in [min, max) of the edge's ends across: a vertex exactly on the row is
// counted once, and a ring always gives the row an even number of crossings.
std::vector<Row> rowsOf(const std::vector<Contour>& rings, Vec2 u, Vec2 n, double interval) {
  double lowest = 0, highest = 0;
  bool any = false;
  for (const Contour& ring : rings)
    if (ring.closed)
      for (const Vec2& p : ring.points) {
        const double t = p.x * n.x + p.y * n.y;
        lowest = any ? std::min(lowest, t) : t;
        highest = any ? std::max(highest, t) : t;
        any = true;
      }
  if (!((highest - lowest) / interval <= kMaxRows))
    throw Error("The hatch would need more than " + std::to_string(static_cast<long>(kMaxRows)) +
                " lines across one letter: the interval is too small.");
  std::vector<std::pair<long, double>> crossings;  // (row, along)
  for (const Contour& ring : rings) {
    if (!ring.closed || ring.points.size() < 3) continue;
    const std::size_t m = ring.points.size();
    for (std::size_t i = 0; i < m; ++i) {
      const Vec2& p = ring.points[i];
      const Vec2& q = ring.points[(i + 1) % m];
      const double tp = p.x * n.x + p.y * n.y;
      const double tq = q.x * n.x + q.y * n.y;
      if (tp == tq) continue;  // along the rows: it bounds no row
      const double lo = std::min(tp, tq), hi = std::max(tp, tq);
      const double sp = p.x * u.x + p.y * u.y;
      const double sq = q.x * u.x + q.y * u.y;
      // Rounding may put the first candidate a row off; the test on t decides.
      for (long k = static_cast<long>(std::floor(lo / interval)); k * interval < hi; ++k) {
        const double t = k * interval;
        if (t < lo) continue;
        crossings.emplace_back(k, sp + (t - tp) / (tq - tp) * (sq - sp));
      }
    }
  }
  std::sort(crossings.begin(), crossings.end());
  std::vector<Row> rows;
  for (std::size_t i = 0; i + 1 < crossings.size();) {
    const long k = crossings[i].first;
    std::size_t end = i;
    while (end < crossings.size() && crossings[end].first == k) ++end;
    Row row{k, {}, {}};
    for (std::size_t j = i; j + 1 < end; j += 2) {
      const double from = crossings[j].second, to = crossings[j + 1].second;
      // A row grazing a vertex (or rounding at a corner) gives a span of nothing: no line.
      if (to - from > kShortestSpan) row.spans.emplace_back(from, to);
    }
    row.used.assign(row.spans.size(), false);
    if (!row.spans.empty()) rows.push_back(std::move(row));
    i = end;
  }
  return rows;
}

void addLines(const std::vector<Contour>& rings, double interval, double degrees,
              bool unidirectional, std::vector<Contour>& out) {
  const double a = degrees * std::numbers::pi / 180;
  // A right angle gives exact axes: cos 90 degrees in doubles is 6e-17, which would tilt rows
  // meant to run along a letter's straight stems just enough to cross them.
  const auto exact = [](double v) { return std::fabs(v) < 1e-15 ? 0.0 : v; };
  const Vec2 u{exact(std::cos(a)), exact(std::sin(a))};
  const Vec2 n{-u.y, u.x};
  std::vector<Row> rows = rowsOf(rings, u, n, interval);
  const auto emit = [&](const Row& row, std::size_t i, bool forward) {
    const double t = row.k * interval;
    auto [from, to] = row.spans[i];
    if (!forward) std::swap(from, to);
    Contour line;
    line.closed = false;
    line.points = {{from * u.x + t * n.x, from * u.y + t * n.y},
                   {to * u.x + t * n.x, to * u.y + t * n.y}};
    out.push_back(std::move(line));
  };
  for (std::size_t r = 0; r < rows.size(); ++r) {
    for (std::size_t i = 0; i < rows[r].spans.size(); ++i) {
      if (rows[r].used[i]) continue;
      rows[r].used[i] = true;
      emit(rows[r], i, true);
      if (unidirectional) continue;
      // The zigzag: on to the first free span of the next row that overlaps this one.
      bool forward = true;
      for (std::size_t cr = r, ci = i; cr + 1 < rows.size() && rows[cr + 1].k == rows[cr].k + 1;) {
        const auto [from, to] = rows[cr].spans[ci];
        Row& next = rows[cr + 1];
        std::size_t j = 0;
        while (j < next.spans.size() &&
               (next.used[j] || next.spans[j].second <= from || next.spans[j].first >= to))
          ++j;
        if (j == next.spans.size()) break;
        next.used[j] = true;
        forward = !forward;
        emit(next, j, forward);
        cr = cr + 1;
        ci = j;
      }
    }
  }
}

}  // namespace

std::vector<Contour> hatchLines(const std::vector<Contour>& rings, const HatchSettings& settings) {
  std::vector<Contour> out;
  if (!(settings.interval > 0)) return out;
  addLines(rings, settings.interval, settings.angleDegrees, settings.unidirectional, out);
  if (settings.crossHatch)
    addLines(rings, settings.interval, settings.angleDegrees + 90, settings.unidirectional, out);
  return out;
}

}  // namespace kerfline
