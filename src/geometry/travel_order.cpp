#include "geometry/travel_order.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "geometry/entry_candidates.h"
#include "geometry/nesting.h"
#include "geometry/point_grid.h"

namespace kerfline {
namespace {

// Plain square root: hypot's care for overflow costs several times more, and drawing
// coordinates are far from overflowing.
double dist(const Vec2& a, const Vec2& b) {
  const double dx = a.x - b.x, dy = a.y - b.y;
  return std::sqrt(dx * dx + dy * dy);
}

// Neighbours per path that the improvement moves try, and how far along the order a move may
// shift or reverse paths: both keep a pass linear in the number of paths, and a route's
// worthwhile moves are between paths close in space, which the greedy route leaves close in
// order as well.
constexpr std::size_t kNeighbours = 6;
constexpr std::size_t kMaxShift = 1000;
constexpr std::size_t kMaxSegment = 3;  // Or-opt moves chains of 1..3 paths

// The ways one path may be cut: a ring at one of its candidate vertices (in and out at the same
// point), an open path forwards or backwards.
struct States {
  std::vector<std::size_t> first;  // per path: its first state; first[n] = total
  std::vector<Vec2> in, out;       // per state
  std::vector<double> penalty;     // per state: a smooth entry's cost
  std::vector<std::size_t> entry;  // per state: CutStep::entry
  std::vector<char> reversed;      // per state: CutStep::reversed
  std::vector<Extent> box;         // per path: the extent of its ways in
};

States statesOf(const std::vector<const Contour*>& paths, const TravelOptions& options) {
  States s;
  s.first.reserve(paths.size() + 1);
  // Room for every state at once: tens of thousands of paths would otherwise grow six
  // arrays by copying, each copy touching fresh pages.
  const std::size_t perRing = std::max<std::size_t>(1, options.entryCandidates);
  std::size_t most = 0;
  for (const Contour* c : paths) most += c->closed ? std::min(c->points.size(), perRing) : 2;
  s.in.reserve(most);
  s.out.reserve(most);
  s.penalty.reserve(most);
  s.entry.reserve(most);
  s.reversed.reserve(most);
  std::vector<EntryCandidate> candidates;
  EntryScratch scratch;
  for (const Contour* c : paths) {
    s.first.push_back(s.in.size());
    const std::vector<Vec2>& pts = c->points;
    if (pts.empty()) continue;
    if (!c->closed) {
      s.in.push_back(pts.front());
      s.out.push_back(pts.back());
      s.penalty.push_back(0);
      s.entry.push_back(0);
      s.reversed.push_back(0);
      if (pts.size() > 1 && !(pts.front() == pts.back())) {
        s.in.push_back(pts.back());
        s.out.push_back(pts.front());
        s.penalty.push_back(0);
        s.entry.push_back(0);
        s.reversed.push_back(1);
      }
      continue;
    }
    Extent e;
    for (const Vec2& p : pts) e.add(p);
    const double smooth = options.cornerPreference * std::hypot(e.width(), e.height());
    entryCandidates(pts, std::max<std::size_t>(1, options.entryCandidates), candidates, scratch);
    for (const EntryCandidate& k : candidates) {
      s.in.push_back(pts[k.vertex]);
      s.out.push_back(pts[k.vertex]);
      s.penalty.push_back(k.corner ? 0 : smooth);
      s.entry.push_back(k.vertex);
      s.reversed.push_back(0);
    }
  }
  s.first.push_back(s.in.size());
  s.box.resize(paths.size());
  for (std::size_t p = 0; p < paths.size(); ++p)
    for (std::size_t k = s.first[p]; k < s.first[p + 1]; ++k) s.box[p].add(s.in[k]);
  return s;
}

// The squared distance from p to the nearest point of the extent (0 inside it).
double squaredDistToBox(const Vec2& p, const Extent& e) {
  const double dx = std::max({e.minX - p.x, 0.0, p.x - e.maxX});
  const double dy = std::max({e.minY - p.y, 0.0, p.y - e.maxY});
  return dx * dx + dy * dy;
}

// Whether a way in and out of a path inside box might join at and next (nothing when atEnd)
// with rapids shorter than limit together. Most questions fail on one side alone, which needs
// no root.
bool mayPay(const Vec2& at, const Vec2& next, bool atEnd, const Extent& box, double limit) {
  if (!(limit > 0)) return false;
  const double toAt = squaredDistToBox(at, box);
  if (toAt >= limit * limit) return false;
  if (atEnd) return true;
  const double toNext = squaredDistToBox(next, box);
  if (toNext >= limit * limit) return false;
  return std::sqrt(toAt) + std::sqrt(toNext) < limit;
}

// Precedence as adjacency lists, pairs out of range or of a path with itself dropped.
struct Precedence {
  std::vector<std::vector<std::size_t>> before;  // per path: paths that must come earlier
  std::vector<std::vector<std::size_t>> after;   // per path: paths that must come later
};

Precedence precedenceOf(std::size_t n, const std::vector<CutPrecedence>& pairs) {
  Precedence p;
  p.before.resize(n);
  p.after.resize(n);
  for (const CutPrecedence& c : pairs) {
    if (c.before >= n || c.after >= n || c.before == c.after) continue;
    p.after[c.before].push_back(c.after);
    p.before[c.after].push_back(c.before);
  }
  return p;
}

// The route being improved: paths in order, each with its chosen state.
class Route {
 public:
  Route(const States& states, const Precedence& prec, const Vec2& start,
        std::vector<std::size_t> order, std::vector<std::size_t> state)
      : s_(states), prec_(prec), start_(start), order_(std::move(order)), state_(std::move(state)),
        pos_(state_.size(), kNone), in_(state_.size()), out_(state_.size()),
        queue_(state_.size()), queued_(state_.size(), 0) {
    for (std::size_t i = 0; i < order_.size(); ++i) pos_[order_[i]] = i;
    for (const std::size_t p : order_) setState(p, state_[p]);
  }

  const std::vector<std::size_t>& order() const { return order_; }
  // The paths next to p in the route, and p.
  void addWithNeighbours(std::size_t p, std::vector<std::size_t>& out) const {
    const std::size_t i = pos_[p];
    if (i > 0) out.push_back(order_[i - 1]);
    out.push_back(p);
    if (i + 1 < order_.size()) out.push_back(order_[i + 1]);
  }
  const std::vector<std::size_t>& state() const { return state_; }
  // Enters path p by its state k (an index among its states).
  void setState(std::size_t p, std::size_t k) {
    state_[p] = k;
    in_[p] = s_.in[s_.first[p] + k];
    out_[p] = s_.out[s_.first[p] + k];
  }

  // 2-opt and Or-opt against neighbours. A path is looked at again only when a move changed
  // one of its rapids (don't-look bits), which keeps the work near linear; every move applied
  // shortens the route, and the move budget bounds the work even so.
  // seeds: the paths to look at first (all of them at first; after an entry choice, those
  // whose rapids it changed).
  // neighbours: kNeighbours per path, kNone where a path has fewer; chains of up to
  // longestChain paths are moved.
  void improve(const std::vector<std::size_t>& neighbours, const std::vector<std::size_t>& seeds,
               std::size_t longestChain) {
    longestChain = std::min(longestChain, kMaxSegment);
    // A ring buffer holds each path at most once, so the paths' count is room enough.
    std::size_t head = 0, count = 0;
    auto enqueue = [&](std::size_t p) {
      if (queued_[p]) return;
      queued_[p] = 1;
      queue_[(head + count++) % queue_.size()] = p;
    };
    for (const std::size_t p : seeds) enqueue(p);
    std::size_t budget = 50 * order_.size();
    while (count > 0 && budget > 0) {
      const std::size_t a = queue_[head];
      head = (head + 1) % queue_.size(), --count;
      queued_[a] = 0;
      if (pos_[a] == kNone) continue;
      // What taking out a chain of 1..3 paths from a on saves: the same for every neighbour.
      double gains[kMaxSegment + 1];
      const std::size_t i = pos_[a];
      const std::size_t longest = std::min(longestChain, order_.size() - i);
      const Vec2 prev = exitAt(i == 0 ? kNone : i - 1);
      for (std::size_t len = 1; len <= longest; ++len) {
        const std::size_t e = i + len - 1;
        gains[len] = dist(prev, in_[order_[i]]);
        if (hasAt(e + 1)) {
          const Vec2& next = in_[order_[e + 1]];
          gains[len] += dist(out_[order_[e]], next) - dist(prev, next);
        }
      }
      for (std::size_t k = a * kNeighbours; k < (a + 1) * kNeighbours; ++k) {
        const std::size_t c = neighbours[k];
        if (c == kNone || pos_[c] == kNone) continue;
        if (!tryReverse(a, c) && !tryMove(a, c, longest, gains)) continue;
        --budget;
        for (const std::size_t t : touched_) enqueue(t);
        touched_.clear();
        break;
      }
    }
    while (count > 0) queued_[queue_[head]] = 0, head = (head + 1) % queue_.size(), --count;
    // Reversals of the route's head: the only moves that change the first rapid.
    for (std::size_t q = 0; q < std::min(order_.size(), kNeighbours); ++q) reverseIfShorter(kNone, q);
    touched_.clear();
  }

  static constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();

 private:
  const Vec2& in(std::size_t path) const { return in_[path]; }
  const Vec2& out(std::size_t path) const { return out_[path]; }
  // Exit before position p (the start point before the first).
  Vec2 exitAt(std::size_t p) const { return p == kNone ? start_ : out(order_[p]); }
  bool hasAt(std::size_t p) const { return p != kNone && p < order_.size(); }
  void touch(std::size_t p) {
    if (hasAt(p)) touched_.push_back(order_[p]);
  }
  void flip(std::size_t path) {
    if (s_.first[path + 1] - s_.first[path] == 2) setState(path, state_[path] ^ 1);
  }

  bool tryReverse(std::size_t a, std::size_t c) {
    // Join a's end to c: reverse what lies between them, c included when it follows a,
    // a included when it follows c.
    const std::size_t i = pos_[a], j = pos_[c];
    return j > i ? reverseIfShorter(i, j) : reverseIfShorter(j, i);
  }

  // Reverses positions p+1..q (p == kNone: from the first) when that shortens the route.
  bool reverseIfShorter(std::size_t p, std::size_t q) {
    const std::size_t lo = p == kNone ? 0 : p + 1;
    if (q < lo || q - lo >= kMaxShift) return false;
    const Vec2 before = exitAt(p);
    const std::size_t first = order_[lo], last = order_[q];
    // A path's way in becomes its way out once reversed.
    double delta = dist(before, out(last)) - dist(before, in(first));
    if (hasAt(q + 1)) {
      const Vec2 next = in(order_[q + 1]);
      delta += dist(in(first), next) - dist(out(last), next);
    }
    if (delta >= -1e-9) return false;
    for (std::size_t k = lo; k <= q; ++k)
      for (const std::size_t later : prec_.after[order_[k]])
        if (pos_[later] >= lo && pos_[later] <= q) return false;
    touch(lo == 0 ? kNone : lo - 1), touch(lo), touch(q), touch(q + 1);
    std::reverse(order_.begin() + static_cast<std::ptrdiff_t>(lo),
                 order_.begin() + static_cast<std::ptrdiff_t>(q + 1));
    for (std::size_t k = lo; k <= q; ++k) {
      pos_[order_[k]] = k;
      flip(order_[k]);
    }
    return true;
  }

  // Or-opt: moves a chain of 1..3 paths starting at a to just after or just before c, either
  // way round, when that shortens the route.
  // gains[len]: what taking out the chain of len paths from a saves, for len up to longest.
  // A place a chain starting with path a may move to: after position g (kNone: to the
  // front), between the rapid's ends at and next, with the distances that do not depend on
  // the chain's length.
  struct Gap {
    std::size_t g = kNone;
    Vec2 at, next;
    bool atEnd = false;      // nothing follows g
    double base = 0;         // the rapid from at to next that the move replaces
    double toFirst = 0;      // from at to a's way in
    double fromFirst = 0;    // from a's way in to next
  };

  Gap gapAt(std::size_t g, std::size_t a) const {
    Gap gap;
    gap.g = g;
    gap.at = exitAt(g);
    gap.atEnd = !hasAt(g == kNone ? 0 : g + 1);
    if (!gap.atEnd) gap.next = in(order_[g == kNone ? 0 : g + 1]);
    gap.base = gap.atEnd ? 0 : dist(gap.at, gap.next);
    gap.toFirst = dist(gap.at, in(a));
    gap.fromFirst = gap.atEnd ? 0 : dist(in(a), gap.next);
    return gap;
  }

  bool tryMove(std::size_t a, std::size_t c, std::size_t longest, const double* gains) {
    const std::size_t i = pos_[a], j = pos_[c];
    if (j == i) return false;
    const Gap gaps[2] = {gapAt(j, a), gapAt(j == 0 ? kNone : j - 1, a)};
    for (std::size_t len = 1; len <= longest; ++len) {
      if (j >= i && j < i + len) return false;
      for (const Gap& gap : gaps)
        if (moveIfShorter(i, len, gap, gains[len])) return true;
    }
    return false;
  }

  // Moves positions i..i+len-1 into gap when what that adds is less than gain, what taking
  // them out saves.
  bool moveIfShorter(std::size_t i, std::size_t len, const Gap& gap, double gain) {
    const std::size_t e = i + len - 1, g = gap.g;
    // Following i-1 (or leading when i is first) or itself: no move.
    if (g == kNone ? i == 0 : (g + 1 >= i && g <= e)) return false;
    const std::size_t distance = g == kNone ? i : (g > e ? g - e : i - g);
    if (distance > kMaxShift) return false;
    const std::size_t first = order_[i], last = order_[e];
    const Vec2& at = gap.at;
    const Vec2& next = gap.next;
    const bool atEnd = gap.atEnd;
    const double base = gap.base;
    // A ring alone goes in and out at one point: its ends' distances are known already.
    const bool oneEnd = out(last) == in(first);
    const double lastToNext = atEnd ? 0 : (oneEnd ? gap.fromFirst : dist(out(last), next));
    const double atToLast = oneEnd ? gap.toFirst : dist(at, out(last));
    const double forward = gap.toFirst + lastToNext - base;
    const double backward = atToLast + gap.fromFirst - base;
    bool reverse = backward < forward;
    double added = std::min(forward, backward);
    // A single path moved may also be entered elsewhere: the best of its ways in for its new
    // neighbours (the order and the entries depend on each other; this lets a move see both).
    std::size_t newState = state_[first];
    // Every way in lies in the path's extent: skip the scan when even that cannot pay.
    const Extent& box = s_.box[first];
    if (len == 1 && mayPay(at, next, atEnd, box, base + gain - 1e-9)) {
      for (std::size_t k = s_.first[first]; k < s_.first[first + 1]; ++k) {
        const double c = dist(at, s_.in[k]) + (atEnd ? 0 : dist(s_.out[k], next)) - base;
        if (c < added - 1e-12) added = c, newState = k - s_.first[first], reverse = false;
      }
    }
    if (added - gain >= -1e-9) return false;
    if (!movable(i, e, g, reverse)) return false;
    if (len == 1 && !reverse) setState(first, newState);
    touch(i == 0 ? kNone : i - 1), touch(i), touch(e), touch(e + 1), touch(g);
    touch(g == kNone ? 0 : g + 1);
    // Rotate the chain into place, then turn it round when that was the cheaper way.
    std::size_t lo, hi, chainStart;
    if (g != kNone && g > e) {
      std::rotate(order_.begin() + static_cast<std::ptrdiff_t>(i),
                  order_.begin() + static_cast<std::ptrdiff_t>(e + 1),
                  order_.begin() + static_cast<std::ptrdiff_t>(g + 1));
      lo = i, hi = g, chainStart = g + 1 - len;
    } else {
      const std::size_t to = g == kNone ? 0 : g + 1;
      std::rotate(order_.begin() + static_cast<std::ptrdiff_t>(to),
                  order_.begin() + static_cast<std::ptrdiff_t>(i),
                  order_.begin() + static_cast<std::ptrdiff_t>(e + 1));
      lo = to, hi = e, chainStart = to;
    }
    if (reverse) {
      std::reverse(order_.begin() + static_cast<std::ptrdiff_t>(chainStart),
                   order_.begin() + static_cast<std::ptrdiff_t>(chainStart + len));
      for (std::size_t k = chainStart; k < chainStart + len; ++k) flip(order_[k]);
    }
    for (std::size_t k = lo; k <= hi; ++k) pos_[order_[k]] = k;
    return true;
  }

  bool movable(std::size_t i, std::size_t e, std::size_t g, bool reverse) const {
    for (std::size_t k = i; k <= e; ++k) {
      const std::size_t path = order_[k];
      if (reverse)
        for (const std::size_t later : prec_.after[path])
          if (pos_[later] >= i && pos_[later] <= e) return false;
      if (g != kNone && g > e) {
        // Paths passed over come before the chain now.
        for (const std::size_t later : prec_.after[path])
          if (pos_[later] > e && pos_[later] <= g) return false;
      } else {
        const std::size_t from = g == kNone ? 0 : g + 1;
        for (const std::size_t earlier : prec_.before[path])
          if (pos_[earlier] >= from && pos_[earlier] < i) return false;
      }
    }
    return true;
  }

  const States& s_;
  const Precedence& prec_;
  Vec2 start_;
  std::vector<std::size_t> order_;
  std::vector<std::size_t> state_;
  std::vector<std::size_t> pos_;
  std::vector<Vec2> in_, out_;        // per path: where its state enters and leaves it
  std::vector<std::size_t> queue_;    // improve's paths to look at, a ring buffer
  std::vector<char> queued_;          // per path: in queue_
  std::vector<std::size_t> touched_;  // paths whose rapids the last move changed
};

// Greedy route: always the nearest entry among the paths whose predecessors are all cut.
std::vector<std::size_t> nearestNeighbourRoute(const States& s, const Precedence& prec,
                                               const std::vector<std::size_t>& paths,
                                               const Vec2& start, std::vector<std::size_t>& state) {
  const std::size_t n = s.first.size() - 1;
  // The greedy step only needs a ring's near side: its leftmost and rightmost entry points
  // stand for it, as text runs along lines (the entry choice later weighs all of them). A
  // smaller tree to eat through costs a fraction of a percent of travel on prose and saves a
  // tenth of the planning time.
  std::vector<Vec2> points;
  std::vector<std::size_t> stateOf, owner, firstPoint(n + 1, 0);
  const std::size_t most = s.in.size();  // every state at most once
  points.reserve(most);
  stateOf.reserve(most);
  owner.reserve(most);
  for (std::size_t p = 0; p < n; ++p) {
    firstPoint[p] = points.size();
    const std::size_t b = s.first[p], e = s.first[p + 1];
    std::size_t picks[2] = {b, b};
    for (std::size_t k = b; k < e; ++k) {
      if (s.in[k].x < s.in[picks[0]].x) picks[0] = k;
      if (s.in[k].x > s.in[picks[1]].x) picks[1] = k;
    }
    for (std::size_t k = b; k < e; ++k)
      if (e - b <= 2 || std::find(std::begin(picks), std::end(picks), k) != std::end(picks)) {
        points.push_back(s.in[k]);
        stateOf.push_back(k);
        owner.push_back(p);
      }
  }
  firstPoint[n] = points.size();
  PointGrid tree(points);
  std::vector<std::size_t> waiting(n, 0);
  for (std::size_t p = 0; p < n; ++p) waiting[p] = prec.before[p].size();
  auto setLive = [&](std::size_t p, bool live) {
    for (std::size_t k = firstPoint[p]; k < firstPoint[p + 1]; ++k) tree.setLive(k, live);
  };
  std::vector<char> done(n, 0);
  for (std::size_t p = 0; p < n; ++p)
    if (waiting[p] > 0) setLive(p, false);
  std::vector<std::size_t> route;
  route.reserve(paths.size());
  Vec2 at = start;
  std::size_t cycleBreak = 0;  // paths in their given order, for a precedence cycle
  while (route.size() < paths.size()) {
    const std::ptrdiff_t hit = tree.nearest(at);
    std::size_t path, k;
    if (hit < 0) {
      // Only a cycle leaves paths waiting with nothing live: release the first of them.
      while (done[paths[cycleBreak]]) ++cycleBreak;
      path = paths[cycleBreak];
      k = s.first[path];
    } else {
      path = owner[static_cast<std::size_t>(hit)];
      k = stateOf[static_cast<std::size_t>(hit)];
    }
    setLive(path, false);
    done[path] = 1;
    state[path] = k - s.first[path];
    route.push_back(path);
    at = s.out[k];
    for (const std::size_t later : prec.after[path])
      if (--waiting[later] == 0 && !done[later]) setLive(later, true);
  }
  return route;
}

// The entry of every path for a fixed order, chosen jointly: shortest route through one state
// per path (travel plus smooth-entry penalty), a layer of at most K states per path. Writes
// each path's state to state.
void chooseEntries(const States& s, const std::vector<std::size_t>& order, const Vec2& start,
                   std::vector<std::size_t>& state) {
  if (order.empty()) return;
  std::vector<std::size_t> layer(order.size() + 1, 0);  // offset of each position's states
  for (std::size_t i = 0; i < order.size(); ++i)
    layer[i + 1] = layer[i] + s.first[order[i] + 1] - s.first[order[i]];
  std::vector<double> cost(layer.back());
  std::vector<std::size_t> from(layer.back(), 0);
  // The previous layer's states by rising cost: a rapid is never negative, so once a state's
  // cost alone reaches the best found, no later one can beat it.
  std::vector<std::size_t> cheapest;
  for (std::size_t i = 0; i < order.size(); ++i) {
    const std::size_t p = order[i];
    if (i > 0) {
      cheapest.resize(layer[i] - layer[i - 1]);
      for (std::size_t b = 0; b < cheapest.size(); ++b) cheapest[b] = b;
      const double* previous = cost.data() + layer[i - 1];
      // A handful of states: insertion sort, stable and without the buffer stable_sort takes.
      for (std::size_t b = 1; b < cheapest.size(); ++b)
        for (std::size_t c = b; c > 0 && previous[cheapest[c]] < previous[cheapest[c - 1]]; --c)
          std::swap(cheapest[c], cheapest[c - 1]);
    }
    for (std::size_t a = 0; a < layer[i + 1] - layer[i]; ++a) {
      const std::size_t k = s.first[p] + a;
      double best = std::numeric_limits<double>::infinity();
      std::size_t arg = 0;
      if (i == 0) {
        best = dist(start, s.in[k]);
      } else {
        const std::size_t q = order[i - 1];
        for (const std::size_t b : cheapest) {
          const double before = cost[layer[i - 1] + b];
          if (before >= best) break;
          const double c = before + dist(s.out[s.first[q] + b], s.in[k]);
          if (c < best) best = c, arg = b;
        }
      }
      cost[layer[i] + a] = best + s.penalty[k];
      from[layer[i] + a] = arg;
    }
  }
  const std::size_t lastCount = layer[order.size()] - layer[order.size() - 1];
  std::size_t pick = 0;
  for (std::size_t a = 1; a < lastCount; ++a)
    if (cost[layer[order.size() - 1] + a] < cost[layer[order.size() - 1] + pick]) pick = a;
  for (std::size_t i = order.size(); i-- > 0;) {
    state[order[i]] = pick;
    pick = from[layer[i] + pick];
  }
}

// Each path's nearest other paths, by the middle of its entry points: kNeighbours per path,
// nearest first, Route::kNone where a path has fewer.
std::vector<std::size_t> neighboursOf(const States& s, std::size_t n) {
  std::vector<Vec2> middle(n);
  for (std::size_t p = 0; p < n; ++p) {
    Vec2 sum;
    const std::size_t count = s.first[p + 1] - s.first[p];
    for (std::size_t k = s.first[p]; k < s.first[p + 1]; ++k) sum.x += s.in[k].x, sum.y += s.in[k].y;
    if (count > 0) middle[p] = {sum.x / static_cast<double>(count), sum.y / static_cast<double>(count)};
  }
  PointGrid grid(middle);
  for (std::size_t p = 0; p < n; ++p)
    if (s.first[p + 1] == s.first[p]) grid.setLive(p, false);
  std::vector<std::size_t> out(n * kNeighbours, Route::kNone);
  std::vector<std::pair<double, std::size_t>> near;
  for (std::size_t p = 0; p < n; ++p) {
    if (s.first[p + 1] == s.first[p]) continue;
    grid.setLive(p, false);
    grid.nearestK(middle[p], kNeighbours, near);
    grid.setLive(p, true);
    for (std::size_t k = 0; k < near.size(); ++k) out[p * kNeighbours + k] = near[k].second;
  }
  return out;
}

}  // namespace

TravelPlan planTravel(const std::vector<const Contour*>& paths,
                      const std::vector<CutPrecedence>& precedence, const TravelOptions& options) {
  const std::size_t n = paths.size();
  const States s = statesOf(paths, options);
  const Precedence prec = precedenceOf(n, precedence);
  std::vector<std::size_t> routed, empty;
  for (std::size_t p = 0; p < n; ++p) (s.first[p + 1] > s.first[p] ? routed : empty).push_back(p);

  std::vector<std::size_t> state(n, 0);
  std::vector<std::size_t> order = nearestNeighbourRoute(s, prec, routed, options.start, state);
  const std::vector<std::size_t> neighbours = neighboursOf(s, n);
  Route route(s, prec, options.start, std::move(order), state);
  std::vector<std::size_t> seeds = route.order();
  for (int round = 0; round < options.improvementRounds; ++round) {
    // After the first round the order is settled but for the rapids the new entries changed:
    // moving single paths and reversals mend those as well as longer chains do, for less.
    route.improve(neighbours, seeds, round == 0 ? kMaxSegment : 1);
    state = route.state();
    chooseEntries(s, route.order(), options.start, state);
    seeds.clear();
    for (const std::size_t p : route.order()) {
      if (route.state()[p] == state[p]) continue;
      route.setState(p, state[p]);
      route.addWithNeighbours(p, seeds);
    }
  }

  TravelPlan plan;
  for (const std::size_t p : route.order()) {
    const std::size_t k = s.first[p] + route.state()[p];
    plan.steps.push_back({p, s.entry[k], s.reversed[k] != 0});
  }
  for (const std::size_t p : empty) plan.steps.push_back({p, 0, false});
  plan.travel = rapidTravel(paths, plan.steps, options.start);
  return plan;
}

std::vector<Vec2> cutPoints(const Contour& path, const CutStep& step) {
  std::vector<Vec2> out = path.points;
  if (path.closed && step.entry < out.size())
    std::rotate(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(step.entry), out.end());
  if (!path.closed && step.reversed) std::reverse(out.begin(), out.end());
  return out;
}

double rapidTravel(const std::vector<const Contour*>& paths, const std::vector<CutStep>& steps,
                   const Vec2& start) {
  double total = 0;
  Vec2 at = start;
  for (const CutStep& step : steps) {
    const std::vector<Vec2>& pts = paths[step.path]->points;
    if (pts.empty()) continue;
    const bool closed = paths[step.path]->closed;
    const std::size_t entry = closed ? std::min(step.entry, pts.size() - 1) : 0;
    const Vec2& in = closed ? pts[entry] : (step.reversed ? pts.back() : pts.front());
    total += dist(at, in);
    at = closed ? in : (step.reversed ? pts.front() : pts.back());
  }
  return total;
}

double travelLowerBound(const std::vector<const Contour*>& paths, const Vec2& start) {
  std::vector<Vec2> points;
  std::vector<std::size_t> first;
  for (const Contour* c : paths) {
    first.push_back(points.size());
    if (c->closed || c->points.size() < 2) {
      points.insert(points.end(), c->points.begin(), c->points.end());
    } else {
      points.push_back(c->points.front());
      points.push_back(c->points.back());
    }
  }
  first.push_back(points.size());
  PointGrid tree(points);
  double bound = 0;
  for (std::size_t p = 0; p < paths.size(); ++p) {
    if (first[p + 1] == first[p]) continue;
    for (std::size_t k = first[p]; k < first[p + 1]; ++k) tree.setLive(k, false);
    double gap = std::numeric_limits<double>::infinity();
    for (std::size_t k = first[p]; k < first[p + 1]; ++k) {
      gap = std::min(gap, dist(points[k], start));
      const std::ptrdiff_t q = tree.nearest(points[k]);
      if (q >= 0) gap = std::min(gap, dist(points[k], points[static_cast<std::size_t>(q)]));
    }
    for (std::size_t k = first[p]; k < first[p + 1]; ++k) tree.setLive(k, true);
    bound += gap;
  }
  return bound;
}

TravelFigures travelFigures(const std::vector<const Contour*>& paths, const TravelPlan& plan,
                            const Vec2& start, bool lowerBound) {
  TravelFigures f;
  f.travel = rapidTravel(paths, plan.steps, start);
  std::vector<CutStep> text;
  for (std::size_t p = 0; p < paths.size(); ++p) text.push_back({p, 0, false});
  f.textOrderTravel = rapidTravel(paths, text, start);
  if (lowerBound) f.lowerBound = travelLowerBound(paths, start);
  return f;
}

std::vector<PathAddress> pathAddresses(const Drawing& drawing) {
  std::vector<PathAddress> out;
  for (std::size_t c = 0; c < drawing.characters.size(); ++c)
    for (std::size_t k = 0; k < drawing.characters[c].contours.size(); ++k) out.push_back({c, k});
  return out;
}

std::vector<const Contour*> pathsAt(const Drawing& drawing, const std::vector<PathAddress>& addresses) {
  std::vector<const Contour*> out;
  out.reserve(addresses.size());
  for (const PathAddress& a : addresses)
    out.push_back(&drawing.characters.at(a.character).contours.at(a.contour));
  return out;
}

std::vector<CutPrecedence> holesBeforeOutlines(const Drawing& drawing,
                                               const std::vector<PathAddress>& addresses) {
  std::vector<CutPrecedence> out;
  std::size_t begin = 0;
  while (begin < addresses.size()) {
    // The addresses of one character, side by side as pathAddresses lists them.
    std::size_t end = begin;
    while (end < addresses.size() && addresses[end].character == addresses[begin].character) ++end;
    const std::vector<Contour>& contours = drawing.characters.at(addresses[begin].character).contours;
    const Nesting nesting = findNesting(contours);
    constexpr std::size_t kAbsent = std::numeric_limits<std::size_t>::max();
    std::vector<std::size_t> index(contours.size(), kAbsent);
    for (std::size_t i = begin; i < end; ++i) index.at(addresses[i].contour) = i;
    for (std::size_t k = 0; k < contours.size(); ++k) {
      const int parent = nesting.parent[k];
      if (parent < 0) continue;
      const std::size_t a = index[k], b = index[static_cast<std::size_t>(parent)];
      if (a != kAbsent && b != kAbsent) out.push_back({a, b});
    }
    begin = end;
  }
  return out;
}

}  // namespace kerfline
