#include "geometry/holding_tabs.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kerfline {
namespace {

// A vertex turning more than this is a corner: a tab there would be torn by the part's own
// leverage and leaves a nub where the eye sees the corner.
constexpr double kCornerTurn = 30 * std::numbers::pi / 180;

double length(const Vec2& a, const Vec2& b) { return std::hypot(b.x - a.x, b.y - a.y); }

// Arc length at each point, and the whole ring's length as the last entry.
std::vector<double> arcLengths(const std::vector<Vec2>& ring) {
  std::vector<double> at(ring.size() + 1, 0);
  for (std::size_t i = 0; i < ring.size(); ++i)
    at[i + 1] = at[i] + length(ring[i], ring[(i + 1) % ring.size()]);
  return at;
}

// The point at arc length s (0 <= s <= total) on the ring.
Vec2 pointAt(const std::vector<Vec2>& ring, const std::vector<double>& at, double s) {
  const auto it = std::upper_bound(at.begin(), at.end(), s);
  std::size_t i = it == at.begin() ? 0 : static_cast<std::size_t>(it - at.begin()) - 1;
  if (i >= ring.size()) i = ring.size() - 1;
  const double span = at[i + 1] - at[i];
  const double t = span > 0 ? (s - at[i]) / span : 0;
  const Vec2& a = ring[i];
  const Vec2& b = ring[(i + 1) % ring.size()];
  return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
}

// Distance between two positions on a loop of length total.
double around(double a, double b, double total) {
  const double d = std::fabs(a - b);
  return std::min(d, total - d);
}

// The tabs rule asks of a contour of this length: its count, else one per spacing, at least one.
int tabsAsked(double total, const TabRule& rule) {
  if (rule.count) return *rule.count;
  const double per = rule.spacing.value_or(total);
  return per > 0 ? static_cast<int>(std::max(1.0, std::floor(total / per))) : 1;
}

}  // namespace

std::vector<double> tabCentres(const std::vector<Vec2>& ring, const TabRule& rule) {
  if (ring.size() < 3) return {};
  const std::vector<double> at = arcLengths(ring);
  const double total = at.back();
  if (!(total > 0) || total < rule.minLength) return {};
  const int asked = tabsAsked(total, rule);
  const double gap = rule.width + rule.kerf;
  const double reach = rule.width;  // least distance from a gap to a corner or another gap
  if (asked < 1 || asked * (gap + reach) > total) return {};
  std::vector<double> corners;
  const std::size_t n = ring.size();
  for (std::size_t i = 0; i < n; ++i) {
    const Vec2& p = ring[(i + n - 1) % n];
    const Vec2& q = ring[i];
    const Vec2& r = ring[(i + 1) % n];
    const double turn = std::fabs(std::remainder(std::atan2(r.y - q.y, r.x - q.x) -
                                                     std::atan2(q.y - p.y, q.x - p.x),
                                                 2 * std::numbers::pi));
    if (turn > kCornerTurn) corners.push_back(at[i]);
  }
  const auto free = [&](double s, const std::vector<double>& placed) {
    for (const double c : corners)
      if (around(s, c, total) < gap / 2 + reach) return false;
    for (const double t : placed)
      if (around(s, t, total) < gap + reach) return false;
    return true;
  };
  // Candidates every eighth of the tab width (at most 4096 to a ring), searched outward from
  // each evenly spread target so that tabs stay as even as the corners allow.
  const double step = std::max(rule.width / 8, total / 4096);
  const auto steps = static_cast<long long>(total / (2 * asked * step)) + 1;
  std::vector<double> placed;
  for (int k = 0; k < asked; ++k) {
    const double target = total * (k + 0.5) / asked;
    for (long long j = 0; j <= steps; ++j) {
      bool found = false;
      for (const double s : {target + static_cast<double>(j) * step, target - static_cast<double>(j) * step}) {
        const double wrapped = std::fmod(std::fmod(s, total) + total, total);
        if (free(wrapped, placed)) {
          placed.push_back(wrapped);
          found = true;
          break;
        }
      }
      if (found) break;
    }
  }
  std::sort(placed.begin(), placed.end());
  return placed;
}

std::vector<Contour> splitAtTabs(const Contour& ring, const std::vector<double>& centres,
                                 double gap) {
  if (centres.empty()) return {ring};
  const std::vector<double> at = arcLengths(ring.points);
  const double total = at.back();
  std::vector<Contour> pieces;
  for (std::size_t k = 0; k < centres.size(); ++k) {
    const double from = centres[k] + gap / 2;
    double to = (k + 1 < centres.size() ? centres[k + 1] : centres[0] + total) - gap / 2;
    if (to <= from) continue;
    Contour piece{{}, false, ring.depth};
    const auto wrap = [total](double s) { return s >= total ? s - total : s; };
    piece.points.push_back(pointAt(ring.points, at, wrap(from)));
    // The ring's own points between the two ends, going round once at most.
    const std::size_t n = ring.points.size();
    for (std::size_t lap = 0; lap < 2; ++lap)
      for (std::size_t i = 0; i < n; ++i) {
        const double s = at[i] + static_cast<double>(lap) * total;
        if (s > from && s < to) piece.points.push_back(ring.points[i]);
      }
    piece.points.push_back(pointAt(ring.points, at, wrap(to)));
    pieces.push_back(std::move(piece));
  }
  return pieces;
}

Contour raiseAtTabs(const Contour& ring, const std::vector<double>& centres, double gap) {
  const std::vector<double> at = arcLengths(ring.points);
  const double total = at.back();
  const auto wrap = [total](double s) { return s < 0 ? s + total : s >= total ? s - total : s; };
  // The ring's points and the gaps' ends, by their arc length from the first point. A gap's
  // end is computed once and used both as the vertex and in the tab, so the two compare equal.
  std::vector<std::pair<double, Vec2>> marks;
  for (std::size_t i = 0; i < ring.points.size(); ++i) marks.emplace_back(at[i], ring.points[i]);
  Contour out{{}, true, ring.depth};
  for (const double c : centres) {
    const double from = wrap(c - gap / 2), to = wrap(c + gap / 2);
    const Vec2 a = pointAt(ring.points, at, from), b = pointAt(ring.points, at, to);
    marks.emplace_back(from, a);
    marks.emplace_back(to, b);
    out.tabs.emplace_back(a, b);
  }
  std::stable_sort(marks.begin(), marks.end(),
                   [](const auto& p, const auto& q) { return p.first < q.first; });
  for (const auto& [s, p] : marks)
    if (out.points.empty() || !(out.points.back() == p)) out.points.push_back(p);
  if (out.points.size() > 1 && out.points.back() == out.points.front()) out.points.pop_back();
  return out;
}

TabNotes addHoldingTabs(Drawing& drawing, const TabRule& rule) {
  TabNotes notes;
  for (PlacedCharacter& c : drawing.characters) {
    std::vector<Contour> out;
    out.reserve(c.contours.size());
    for (Contour& k : c.contours) {
      if (!k.closed || (k.isHole() && !rule.onHoles)) {
        out.push_back(std::move(k));
        continue;
      }
      const double total = arcLengths(k.points).back();
      if (k.points.size() < 3 || total < rule.minLength) {
        out.push_back(std::move(k));
        continue;
      }
      const std::vector<double> centres = tabCentres(k.points, rule);
      ++notes.rings;
      notes.tabs += centres.size();
      if (centres.size() < static_cast<std::size_t>(tabsAsked(total, rule))) ++notes.short_;
      if (centres.empty()) {
        out.push_back(std::move(k));
        continue;
      }
      if (rule.raise) {
        out.push_back(raiseAtTabs(k, centres, rule.width + rule.kerf));
        continue;
      }
      for (Contour& piece : splitAtTabs(k, centres, rule.width + rule.kerf)) out.push_back(std::move(piece));
    }
    c.contours = std::move(out);
  }
  return notes;
}

}  // namespace kerfline
