#include "geometry/cut_leads.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "geometry/ring_math.h"
#include "geometry/segment_grid.h"

namespace kerfline {
namespace {

constexpr double kPi = std::numbers::pi;

Vec2 operator+(const Vec2& a, const Vec2& b) { return {a.x + b.x, a.y + b.y}; }
Vec2 operator-(const Vec2& a, const Vec2& b) { return {a.x - b.x, a.y - b.y}; }
Vec2 operator*(double k, const Vec2& a) { return {k * a.x, k * a.y}; }
double length(const Vec2& a) { return std::hypot(a.x, a.y); }
Vec2 unit(const Vec2& a) {
  const double l = length(a);
  return l > 0 ? Vec2{a.x / l, a.y / l} : Vec2{};
}
// The normal of direction d on the scrap side: to its left when the scrap lies left of the
// cut, else to its right.
Vec2 scrapNormal(const Vec2& d, bool scrapLeft) { return scrapLeft ? Vec2{-d.y, d.x} : Vec2{d.y, -d.x}; }

// The scrap's opening at a vertex: the angle swept from the outgoing edge towards the scrap
// until the incoming edge, in (0, 2 pi].
double scrapOpening(const Vec2& in, const Vec2& out, bool scrapLeft) {
  const Vec2 back = -1.0 * in;
  double a = std::atan2(out.x * back.y - out.y * back.x, out.x * back.x + out.y * back.y);
  if (!scrapLeft) a = -a;
  return a <= 0 ? a + 2 * kPi : a;
}

// The bisector of the scrap's opening at a vertex: a line lead there stays in the scrap
// however sharp the corner.
Vec2 scrapBisector(const Vec2& in, const Vec2& out, bool scrapLeft) {
  const double half = scrapOpening(in, out, scrapLeft) / 2 * (scrapLeft ? 1 : -1);
  const Vec2 v = unit(out);
  return {v.x * std::cos(half) - v.y * std::sin(half), v.x * std::sin(half) + v.y * std::cos(half)};
}

// The ring's edge directions into and out of vertex i.
Vec2 edgeInto(const std::vector<Vec2>& ring, std::size_t i) {
  return ring[i] - ring[(i + ring.size() - 1) % ring.size()];
}
Vec2 edgeOutOf(const std::vector<Vec2>& ring, std::size_t i) { return ring[(i + 1) % ring.size()] - ring[i]; }

// A quarter circle of radius r, tangent to direction d at p, on side n: the lead-in arriving
// at p (sweeping towards it) or the lead-out leaving p, as chords within tolerance.
std::vector<Vec2> quarterArc(const Vec2& p, const Vec2& d, const Vec2& n, double r, bool arriving,
                             double tolerance) {
  const double step = tolerance > 0 && tolerance < r ? 2 * std::acos(1 - tolerance / r) : kPi / 8;
  const int chords = std::clamp(static_cast<int>(std::ceil(kPi / 2 / step)), 2, 256);
  const Vec2 c = p + r * n;
  std::vector<Vec2> out;
  for (int k = 0; k <= chords; ++k) {
    // t runs from -pi/2 to 0 arriving, 0 to pi/2 leaving; t = 0 is p itself.
    const double t = (arriving ? -1 + static_cast<double>(k) / chords : static_cast<double>(k) / chords) * kPi / 2;
    out.push_back(k == (arriving ? chords : 0) ? p : c - (r * std::cos(t)) * n + (r * std::sin(t)) * d);
  }
  return out;
}

// The lead, ordered from the ring outwards, cut short before the first path it meets. Returns
// the note when it had to be.
std::optional<LeadNote> clearLead(std::vector<Vec2>& outward, double asked, double clearance,
                                  const SegmentGrid& grid) {
  double along = 0;
  for (std::size_t i = 0; i + 1 < outward.size(); ++i) {
    const double len = length(outward[i + 1] - outward[i]);
    const std::optional<SegmentHit> hit =
        grid.firstHit(outward[i], outward[i + 1], i == 0 ? 1e-9 : -1);
    if (hit) {
      const double keep = along + hit->t * len - std::max(clearance, asked / 20);
      LeadNote note;
      note.crossedPath = hit->owner;
      if (keep < asked / 5) {
        note.trouble = LeadTrouble::LeftOut;
        outward.clear();
        return note;
      }
      // Cut the polyline at length keep (never beyond this segment: keep < the hit).
      std::vector<Vec2> kept;
      double walked = 0;
      for (std::size_t k = 0; k + 1 < outward.size(); ++k) {
        kept.push_back(outward[k]);
        const double l = length(outward[k + 1] - outward[k]);
        if (walked + l >= keep) {
          kept.push_back(outward[k] + ((keep - walked) / l) * (outward[k + 1] - outward[k]));
          break;
        }
        walked += l;
      }
      outward = std::move(kept);
      note.trouble = LeadTrouble::Shortened;
      note.keptLength = keep;
      return note;
    }
    along += len;
  }
  return std::nullopt;
}

}  // namespace

std::vector<Vec2> CutPath::toolPath() const {
  std::vector<Vec2> out = leadIn;
  auto append = [&](const std::vector<Vec2>& part) {
    for (const Vec2& p : part)
      if (out.empty() || !(out.back() == p)) out.push_back(p);
  };
  append(points);
  if (closed && !points.empty()) append({points.front()});
  append(overcut);
  append(leadOut);
  return out;
}

LeadResult addLeads(const std::vector<const Contour*>& paths, const TravelPlan& plan,
                    const LeadOptions& options) {
  LeadResult result;
  const SegmentGrid grid(paths);
  for (const CutStep& step : plan.steps) {
    const Contour& contour = *paths.at(step.path);
    CutPath cut;
    cut.path = step.path;
    cut.closed = contour.closed;
    cut.points = cutPoints(contour, step);
    std::vector<Vec2>& ring = cut.points;
    if (!contour.closed || ring.size() < 3 || signedArea(ring) == 0) {
      result.cuts.push_back(std::move(cut));
      continue;
    }
    // The scrap lies inside a hole when the kerf is outside the parts, inside an outline when
    // it is inside them; the inside of a counter-clockwise ring is to the left of the cut.
    const bool scrapInside = contour.isHole() == options.kerfOutsideParts;
    const bool scrapLeft = scrapInside == (signedArea(ring) > 0);
    const bool arc = options.shape == LeadShape::Arc;
    if (arc && (options.leadIn > 0 || options.leadOut > 0) &&
        scrapOpening(edgeInto(ring, 0), edgeOutOf(ring, 0), scrapLeft) < kPi + 1e-9) {
      // A tangent arc at a corner the scrap wraps less than half round would cut into the
      // part: join the ring in the middle of its first edge instead.
      const Vec2 middle = 0.5 * (ring[0] + ring[1]);
      std::rotate(ring.begin(), ring.begin() + 1, ring.end());
      ring.insert(ring.begin(), middle);
    }

    // Lead-in, ending at the entry.
    if (options.leadIn > 0) {
      const Vec2 out = unit(edgeOutOf(ring, 0));
      std::vector<Vec2> lead;
      if (arc) {
        const Vec2 n = scrapNormal(out, scrapLeft);
        lead = quarterArc(ring[0], out, n, options.leadIn, true, options.arcTolerance);
        cut.leadInArc = LeadArc{ring[0] + options.leadIn * n, options.leadIn, scrapLeft};
      } else {
        lead = {ring[0] + options.leadIn * scrapBisector(edgeInto(ring, 0), out, scrapLeft), ring[0]};
      }
      std::reverse(lead.begin(), lead.end());
      if (auto note = clearLead(lead, options.leadIn, options.clearance, grid)) {
        note->path = step.path;
        note->leadIn = true;
        result.notes.push_back(*note);
        if (lead.empty()) cut.leadInArc.reset();
      }
      std::reverse(lead.begin(), lead.end());
      cut.leadIn = std::move(lead);
    }

    // Overcut: on along the ring from the entry, at most one turn.
    Vec2 end = ring[0], travel = unit(edgeInto(ring, 0));
    bool atVertex = true;
    std::size_t endVertex = 0;
    if (options.overcut > 0) {
      double left = options.overcut;
      cut.overcut.push_back(ring[0]);
      for (std::size_t i = 0; i < ring.size() && left > 0; ++i) {
        const Vec2& a = ring[i];
        const Vec2& b = ring[(i + 1) % ring.size()];
        const double l = length(b - a);
        if (l == 0) continue;
        travel = unit(b - a);
        if (l < left) {
          cut.overcut.push_back(b);
          end = b, endVertex = (i + 1) % ring.size(), atVertex = true;
          left -= l;
        } else {
          end = a + (left / l) * (b - a);
          cut.overcut.push_back(end);
          atVertex = left == l;
          endVertex = (i + 1) % ring.size();
          left = 0;
        }
      }
    }

    // Lead-out, leaving where the cut ends.
    if (options.leadOut > 0) {
      std::vector<Vec2> lead;
      if (arc) {
        const Vec2 n = scrapNormal(travel, scrapLeft);
        lead = quarterArc(end, travel, n, options.leadOut, false, options.arcTolerance);
        cut.leadOutArc = LeadArc{end + options.leadOut * n, options.leadOut, scrapLeft};
      } else if (atVertex) {
        lead = {end, end + options.leadOut * scrapBisector(edgeInto(ring, endVertex),
                                                           edgeOutOf(ring, endVertex), scrapLeft)};
      } else {
        lead = {end, end + options.leadOut * scrapNormal(travel, scrapLeft)};
      }
      if (auto note = clearLead(lead, options.leadOut, options.clearance, grid)) {
        note->path = step.path;
        note->leadIn = false;
        result.notes.push_back(*note);
        if (lead.empty()) cut.leadOutArc.reset();
      }
      cut.leadOut = std::move(lead);
    }
    result.cuts.push_back(std::move(cut));
  }
  return result;
}

}  // namespace kerfline
