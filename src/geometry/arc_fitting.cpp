#include "geometry/arc_fitting.h"

#include <cmath>
#include <algorithm>
#include <cstddef>
#include <iterator>
#include <numbers>
#include <optional>

#include "common/error.h"

namespace kerfline {

ToleranceShares arcToleranceShares(double tolerance) {
  // A twentieth for the polyline gives it about 4.5 times the points (chords go with
  // 1 / sqrt(T)), which costs only time, and leaves the arcs nineteen twentieths of the room,
  // which is where pieces are saved: against a tenth, 2 % fewer pieces on capitals. A finer
  // share saves a few more on glyphs but takes offsets below what their integer grid holds.
  return {tolerance / 20, tolerance - tolerance / 20};
}

namespace {

constexpr double kPi = std::numbers::pi;
// Where the two arcs of a biarc may meet, as the ratio of its tangent lengths: the middle
// first, then nearer either end in steps of sqrt(2) (a curve that bends more at one end fits
// better so; steps of 2 left a biarc short of reaches a finer joint makes).
constexpr double kJointRatios[] = {1,    0.71, 1.41, 0.5,   2, 0.35,   2.83, 0.25,
                                   4,    0.18, 5.66, 0.125, 8, 0.0625, 16};
// How far past the first point a biarc misses the fit looks for one it reaches again.
constexpr std::size_t kLookPast = 8;
// Joints tried there (the one that fitted last first): past a miss, a fit is a near thing.
constexpr std::size_t kLookPastRatios = 7;
// The same ratios from the joint nearest the far end to the joint nearest the start.
constexpr double kRatiosByJoint[] = {16,   8,   5.66, 4,    2.83, 2,     1.41,  1,
                                     0.71, 0.5, 0.35, 0.25, 0.18, 0.125, 0.0625};
// How many vertices short of the farthest a single arc reaches, and a biarc, the moves weighed
// may end: the farthest often leaves the path heading off the curve. Two each: four took 40 %
// more time for half a percent fewer pieces on capitals.
constexpr std::size_t kSingleReachesBack = 2;
constexpr std::size_t kJointReachesBack = 2;
// Most a line may turn from the tangents at its ends (radians): about half a degree.
constexpr double kLineKink = 0.01;

Vec2 operator+(const Vec2& a, const Vec2& b) { return {a.x + b.x, a.y + b.y}; }
Vec2 operator-(const Vec2& a, const Vec2& b) { return {a.x - b.x, a.y - b.y}; }
Vec2 operator*(double s, const Vec2& a) { return {s * a.x, s * a.y}; }
double dot(const Vec2& a, const Vec2& b) { return a.x * b.x + a.y * b.y; }
double cross(const Vec2& a, const Vec2& b) { return a.x * b.y - a.y * b.x; }
// Plain square root: hypot guards against overflow no drawing comes near, at several times the cost.
double norm(const Vec2& a) { return std::sqrt(a.x * a.x + a.y * a.y); }
bool isZero(const Vec2& a) { return a.x == 0 && a.y == 0; }

Vec2 unit(const Vec2& a) {
  const double l = norm(a);
  if (!(l > 0) || !std::isfinite(l)) return {0, 0};
  return {a.x / l, a.y / l};
}

// Signed angle turning direction a into direction b.
double angleBetween(const Vec2& a, const Vec2& b) { return std::atan2(cross(a, b), dot(a, b)); }

// The fitter tries many arcs and each wants the angles below: from the vectors directly, not
// by an arc tangent and back (tan(h / 2) = sin h / (1 + cos h)).
// Whether the turn from a to b is more than a right angle.
bool turnsBack(const Vec2& a, const Vec2& b) { return dot(a, b) < 0; }
// tan of half the turn from a to b (at most a right angle): an arc's bulge from its
// tangent and chord.
double halfTurnTangent(const Vec2& a, const Vec2& b) {
  return cross(a, b) / (norm(a) * norm(b) + dot(a, b));
}
// Whether the turn from a to b is at most the line kink.
bool withinKink(const Vec2& a, const Vec2& b) {
  return dot(a, b) > 0 && std::fabs(cross(a, b)) <= std::sin(kLineKink) * norm(a) * norm(b);
}

double distanceToSegment(const Vec2& p, const Vec2& a, const Vec2& b) {
  const Vec2 ab = b - a;
  const double len2 = dot(ab, ab);
  const double t = len2 > 0 ? std::fmin(1, std::fmax(0, dot(p - a, ab) / len2)) : 0;
  return norm(p - (a + t * ab));
}

// One piece of a candidate: a line (bulge 0) or an arc with its circle.
struct Piece {
  Vec2 a, b;
  double bulge = 0;
  ArcCircle circle;

  double distance(const Vec2& p) const {
    if (bulge == 0) return distanceToSegment(p, a, b);
    // Arcs here sweep at most a half circle, so p lies in the arc's sector exactly when it
    // is turned from a no less than, and from b no more than, the way the arc turns.
    const Vec2 fromCentre = p - circle.centre;
    const double sense = bulge < 0 ? -1 : 1;
    if (sense * cross(a - circle.centre, fromCentre) >= 0 &&
        sense * cross(fromCentre, b - circle.centre) >= 0)
      return std::fabs(norm(fromCentre) - circle.radius);
    return std::min(norm(p - a), norm(p - b));  // not fmin: a call where it is not inlined
  }
};

// A biarc or a line: one or two pieces.
struct Candidate {
  Piece pieces[2];
  int count = 0;

  double distance(const Vec2& p) const {
    double d = pieces[0].distance(p);
    if (count == 2) d = std::min(d, pieces[1].distance(p));
    return d;
  }
};

class Fitter {
 public:
  Fitter(const Contour& polyline, const ArcFitting& fit, const PolylineTangents* tangents)
      : points_(polyline.points), closed_(polyline.closed), tolerance_(fit.tolerance),
        cornerAngle_(fit.cornerDegrees * kPi / 180) {
    const std::size_t n = points_.size();
    in_.resize(n);
    out_.resize(n);
    corner_.assign(n, false);
    for (std::size_t i = 0; i < n; ++i) {
      if (tangents != nullptr) {
        in_[i] = unit(tangents->in[i]);
        out_[i] = unit(tangents->out[i]);
      } else {
        estimate(i);
      }
      const bool end = !closed_ && (i == 0 || i + 1 == n);
      if (end || isZero(in_[i]) || isZero(out_[i]) ||
          std::fabs(angleBetween(in_[i], out_[i])) > cornerAngle_) {
        corner_[i] = true;
        // Where the curve gives no direction, the polyline's own does.
        if (isZero(in_[i]) && (closed_ || i > 0)) in_[i] = unit(points_[i] - point(i + n - 1));
        if (isZero(out_[i]) && (closed_ || i + 1 < n)) out_[i] = unit(point(i + 1) - points_[i]);
      } else {
        // A smooth join whose two sides differ a little (control points on a font's grid):
        // both sides take the mean, so the pieces meeting there share one tangent.
        in_[i] = out_[i] = unit(in_[i] + out_[i]);
      }
    }
  }

  ArcPath run() {
    ArcPath path;
    path.closed = closed_;
    const std::size_t n = points_.size();
    if (n < 3) {
      for (const Vec2& p : points_) path.vertices.push_back({p, 0});
      return path;
    }
    // The walk order: from a corner round to the same corner (closed), or end to end (open).
    std::size_t first = 0;
    if (closed_)
      while (first < n && !corner_[first]) ++first;
    if (first == n) first = 0;  // smooth all round: any point joins with one tangent
    const std::size_t last = closed_ ? n : n - 1;
    std::size_t s = 0;
    while (s < last) {
      std::size_t e = s + 1;
      while (e < last && !corner_[(first + e) % n]) ++e;
      fitRun(first, s, e, path);
      s = e;
    }
    if (!closed_) path.vertices.push_back({points_.back(), 0});
    return path;
  }

 private:
  const Vec2& point(std::size_t i) const { return points_[i % points_.size()]; }

  void estimate(std::size_t i) {
    const std::size_t n = points_.size();
    const bool hasPrev = closed_ || i > 0, hasNext = closed_ || i + 1 < n;
    const Vec2 u = hasPrev ? points_[i] - point(i + n - 1) : Vec2{};
    const Vec2 w = hasNext ? point(i + 1) - points_[i] : Vec2{};
    if (!hasPrev || !hasNext) {
      in_[i] = out_[i] = unit(hasPrev ? u : w);
      return;
    }
    const Vec2 uu = unit(u), ww = unit(w);
    if (std::fabs(angleBetween(uu, ww)) > cornerAngle_) {
      in_[i] = uu;
      out_[i] = ww;
      return;
    }
    // The circle through the point and its neighbours meets each chord at half the angle the
    // chord spans, so its tangent divides the turn in proportion to the chord lengths.
    in_[i] = out_[i] = unit(norm(w) * uu + norm(u) * ww);
  }

  // Where the path has got to: its point, the direction it leaves in, and where that point
  // lies along the polyline: on the chord from walk position i to i + 1, at `from` (the point
  // itself when the path stands on a vertex, else the point's foot on the chord).
  struct Cursor {
    Vec2 point, leave, from;
    std::size_t i = 0;
  };

  // One piece (or a biarc that ends the run) the path may take next, and where it leaves it.
  struct Move {
    Cursor next;
    ArcVertex pieces[2];
    int count = 0;
    double along = 0;  // how far along the polyline it gets, as a walk position
    bool ends = false;
    bool kinks = false;  // the polyline's own chord, taken where nothing else fits
  };

  // Pieces from walk position s to e (both corners or ends; nothing between is one).
  // A biarc meets the polyline at both its ends, where it could stray either way: only its
  // first arc is kept, unless it ends the run, and the path goes on from the joint, off the
  // polyline but within the tolerance. The biarc's second arc shows that from there the path
  // can still reach the polyline with the curve's direction. Of the moves open, each step
  // takes the one after which the best next move gets furthest along: how far a move itself
  // gets says little, since the farthest often leaves the path heading off the curve, and a
  // move after which only the polyline's chord fits (a kink) is taken last. Each piece leaves
  // in the direction the one before arrived, so the pieces join smoothly except after a line
  // (within kLineKink), at corners and at such a chord.
  void fitRun(std::size_t first, std::size_t s, std::size_t e, ArcPath& path) {
    const std::size_t n = points_.size();
    const bool freeEnd = corner_[(first + e) % n];
    Cursor cur{points_[(first + s) % n], out_[(first + s) % n], points_[(first + s) % n], s};
    movesFrom(cur, first, e, freeEnd, moves_);
    while (true) {
      std::size_t chosen = 0;
      double bestScore = 0;
      for (std::size_t m = 0; m < moves_.size(); ++m) {
        const Move& move = moves_[m];
        double score = -2;
        if (move.ends) {
          score = kEnds - move.count;
        } else if (!move.kinks) {
          movesFrom(move.next, first, e, freeEnd, after_, true);
          score = -1;
          for (const Move& next : after_)
            score = std::fmax(score, next.ends ? kEnds / 2 - next.count : next.kinks ? -1 : next.along);
        }
        if (m == 0 || score > bestScore || (score == bestScore && move.along > moves_[chosen].along)) {
          bestScore = score;
          chosen = m;
        }
      }
      const Move& move = moves_[chosen];
      for (int k = 0; k < move.count; ++k) path.vertices.push_back(move.pieces[k]);
      if (move.ends || move.next.i >= e) return;
      cur = move.next;
      movesFrom(cur, first, e, freeEnd, moves_);
    }
  }

  // A score above any walk position, for a move that ends the run.
  static constexpr double kEnds = 1e18;

  // The moves worth weighing from cur, never none: a single arc or biarc to the run's end
  // when one fits (nothing else then), else the single arcs to the farthest vertices one
  // reaches, the farthest line, and the first arcs of the biarcs to the farthest vertices a
  // biarc reaches, each with the joint furthest on that fits; where none of these fits, the
  // whole biarc or else the polyline's own chord.
  void movesFrom(const Cursor& cur, std::size_t first, std::size_t e, bool freeEnd,
                 std::vector<Move>& moves, bool farthestOnly = false) const {
    // Weighing a move needs only the farthest a next one gets: the farthest single arc, the
    // joint of a biarc to the farthest vertex, found without looking past misses.
    const std::size_t singleBack = farthestOnly ? 1 : kSingleReachesBack;
    const std::size_t jointBack = farthestOnly ? 1 : kJointReachesBack;
    const std::size_t lookPast = farthestOnly ? 0 : kLookPast;
    moves.clear();
    const std::size_t n = points_.size();
    auto at = [&](std::size_t k) -> const Vec2& { return points_[(first + k) % n]; };
    auto inAt = [&](std::size_t k) -> const Vec2& { return in_[(first + k) % n]; };
    auto onVertex = [&](std::size_t j, const Vec2& leave) {
      Move m;
      m.next = {at(j), leave, at(j), j};
      m.along = static_cast<double>(j);
      return m;
    };
    const std::size_t i = cur.i;
    if (freeEnd) {
      const std::optional<Candidate> c = singleArc(cur.point, at(e), cur.leave);
      if (c && fits(*c, first, cur.from, i, e)) {
        Move m = onVertex(e, cur.leave);
        m.pieces[0] = {cur.point, c->pieces[0].bulge};
        m.count = 1;
        m.ends = true;
        moves.push_back(m);
        return;
      }
    }
    std::optional<Candidate> single;
    std::size_t singleReach = i;
    auto trySingle = [&](std::size_t j) {
      if (j >= e) return false;
      std::optional<Candidate> c = singleArc(cur.point, at(j), cur.leave);
      if (!c || !fits(*c, first, cur.from, i, j))
        return false;
      single = c;
      singleReach = j;
      return true;
    };
    reachFrom(i, e, trySingle);
    // How far a biarc reaches. Neighbouring reaches fit with similar joints: the ratio that
    // fitted last is tried first.
    std::optional<Candidate> best;
    std::size_t reach = i;
    std::size_t lastRatio = 0;
    auto tryReach = [&](std::size_t j, std::size_t ratios = std::size(kJointRatios)) {
      for (std::size_t r = 0; r < ratios; ++r) {
        const std::size_t index = r == 0 ? lastRatio : (r <= lastRatio ? r - 1 : r);
        std::optional<Candidate> c = biarc(cur.point, cur.leave, at(j), inAt(j), kJointRatios[index]);
        if (c && fits(*c, first, cur.from, i, j)) {
          best = c;
          reach = j;
          lastRatio = index;
          return true;
        }
      }
      return false;
    };
    std::size_t fitting = reachFrom(i, e, tryReach);
    // A point the biarc misses may be followed by points it reaches again (the error does
    // not grow strictly with the reach): a few steps past the miss find most of them.
    for (std::size_t j = fitting + 2; j <= e && j <= fitting + lookPast; ++j)
      if (tryReach(j, kLookPastRatios)) fitting = j;
    auto whole = [&](const Candidate& c, std::size_t j) {
      Move m = onVertex(j, out_[(first + j) % n]);
      for (int k = 0; k < c.count; ++k) m.pieces[k] = {c.pieces[k].a, c.pieces[k].bulge};
      m.count = c.count;
      m.ends = j == e;
      return m;
    };
    if (best && reach == e) {
      moves.push_back(whole(*best, reach));
      return;
    }
    if (single) {
      const std::size_t far = singleReach;
      for (std::size_t j = far; j > i && j + singleBack > far; --j) {
        if (j != far && !trySingle(j)) continue;
        Move m = onVertex(j, arrivalOf(single->pieces[0], cur.leave));
        m.pieces[0] = {cur.point, single->pieces[0].bulge};
        m.count = 1;
        moves.push_back(m);
      }
    }
    if (best && best->count == 1) moves.push_back(whole(*best, reach));
    if (best) {
      for (std::size_t j = reach; j > i && j + jointBack > reach; --j) {
        for (const double ratio : kRatiosByJoint) {
          const std::optional<Candidate> c = biarc(cur.point, cur.leave, at(j), inAt(j), ratio);
          if (!c || c->count != 2 || !fits(*c, first, cur.from, i, j)) continue;
          const Piece& arc = c->pieces[0];
          if (norm(arc.b - arc.a) < tolerance_) break;
          Move m;
          m.along = footOf(arc.b, first, cur, j, m.next);
          m.next.point = arc.b;
          m.next.leave = arrivalOf(arc, cur.leave);
          m.pieces[0] = {cur.point, arc.bulge};
          m.count = 1;
          moves.push_back(m);
          break;  // a smaller ratio puts the joint nearer the start
        }
      }
    }
    if (!moves.empty()) return;
    if (best) {
      moves.push_back(whole(*best, reach));
      return;
    }
    Move m = onVertex(i + 1, out_[(first + i + 1) % n]);
    m.pieces[0] = {cur.point, 0};
    m.count = 1;
    m.kinks = true;
    moves.push_back(m);
  }

  // Where p lies along the polyline from the cursor to walk position j: its foot on the nearest
  // chord, as the chord's walk position plus the share of it passed. The foot and chord go to
  // `there`.
  double footOf(const Vec2& p, std::size_t first, const Cursor& cur, std::size_t j,
                Cursor& there) const {
    const std::size_t n = points_.size();
    double nearest = -1, along = 0;
    for (std::size_t k = cur.i; k < j; ++k) {
      const Vec2& a = k == cur.i ? cur.from : points_[(first + k) % n];
      const Vec2& b = points_[(first + k + 1) % n];
      const Vec2 ab = b - a;
      const double len2 = dot(ab, ab);
      const double t = len2 > 0 ? std::fmin(1, std::fmax(0, dot(p - a, ab) / len2)) : 0;
      const Vec2 foot = a + t * ab;
      const double d = norm(p - foot);
      if (nearest < 0 || d < nearest) {
        nearest = d;
        // Past the cursor's own share of its chord when on it.
        const double start = k == cur.i ? shareOf(cur, first) : 0;
        along = static_cast<double>(k) + start + t * (1 - start);
        there.i = t >= 1 ? k + 1 : k;
        there.from = t >= 1 ? b : foot;
      }
    }
    return along;
  }

  // How far along its chord the cursor stands, from 0 at the vertex to 1.
  double shareOf(const Cursor& cur, std::size_t first) const {
    const std::size_t n = points_.size();
    const Vec2& a = points_[(first + cur.i) % n];
    const Vec2 ab = points_[(first + cur.i + 1) % n] - a;
    const double len2 = dot(ab, ab);
    return len2 > 0 ? std::fmin(1, std::fmax(0, dot(cur.from - a, ab) / len2)) : 0;
  }

  // The farthest walk position up to e that tryAt(j) accepts, from i: doubling steps while it
  // does, then halving between the last accepted and the first refused. The error does not
  // grow strictly with the reach, so the result is a long fit, not always the longest, at a
  // logarithmic cost. i when nothing is accepted.
  template <typename Try>
  static std::size_t reachFrom(std::size_t i, std::size_t e, Try&& tryAt) {
    std::size_t fitting = i, missing = e + 1;
    for (std::size_t step = 1; fitting < e;) {
      const std::size_t j = std::min(fitting + step, e);
      if (!tryAt(j)) {
        missing = j;
        break;
      }
      fitting = j;
      step *= 2;
    }
    while (missing - fitting > 1) {
      const std::size_t j = fitting + (missing - fitting) / 2;
      if (tryAt(j)) {
        fitting = j;
      } else {
        missing = j;
      }
    }
    return fitting;
  }

  // The direction in which a piece leaving in direction t arrives at its end: a line along
  // itself, an arc mirrored about its chord.
  static Vec2 arrivalOf(const Piece& piece, const Vec2& t) {
    const Vec2 u = unit(piece.b - piece.a);
    if (piece.bulge == 0) return u;
    return unit(2 * dot(t, u) * u - t);
  }

  // The one arc from p0 to p1 that leaves p0 in direction t; a line where that arc would be
  // flatter than the line radius and the line keeps nearly to the direction.
  std::optional<Candidate> singleArc(const Vec2& p0, const Vec2& p1, const Vec2& t) const {
    const Vec2 v = p1 - p0;
    if (!(dot(v, v) > 0)) return std::nullopt;
    if (turnsBack(t, v)) return std::nullopt;
    Candidate c;
    c.count = 1;
    c.pieces[0] = arcLeaving(p0, p1, t);
    if (c.pieces[0].bulge == 0 && !withinKink(t, v)) return std::nullopt;
    return c;
  }

  // The piece from a to b that leaves a in direction t (the arc's chord is at half its
  // sweep from the tangent, at most a right angle); a line where the radius would pass the
  // line limit.
  Piece arcLeaving(const Vec2& a, const Vec2& b, const Vec2& t) const {
    return arcOf(a, b, halfTurnTangent(t, b - a));
  }

  // The piece from a to b that arrives at b in direction t.
  Piece arcArriving(const Vec2& a, const Vec2& b, const Vec2& t) const {
    return arcOf(a, b, halfTurnTangent(b - a, t));
  }

  Piece arcOf(const Vec2& a, const Vec2& b, double bulge) const {
    Piece p{a, b, bulge, {}};
    if (p.bulge != 0) {
      p.circle = arcCircle(a, b, p.bulge);
      if (!(p.circle.radius <= kLineRadiusFactor * tolerance_)) p.bulge = 0;
    }
    return p;
  }

  // The biarc from p0 (tangent t0) to p1 (tangent t1) whose tangent lengths d0 = ratio d1
  // and d1 solve |v - d0 t0 - d1 t1| = d0 + d1, v = p1 - p0: the two arcs meet on the
  // segment from p0 + d0 t0 to p1 - d1 t1, dividing it as d0 : d1. Nothing where no such
  // biarc has arcs of at most a half circle each.
  std::optional<Candidate> biarc(const Vec2& p0, const Vec2& t0, const Vec2& p1,
                                 const Vec2& t1, double ratio) const {
    const Vec2 v = p1 - p0;
    const double c = dot(v, v);
    if (!(c > 0)) return std::nullopt;
    const Vec2 t = ratio * t0 + t1;
    const double b = dot(v, t);
    const double a = 2 * ratio * (dot(t0, t1) - 1);
    // The root of a d^2 - 2 b d + c = 0 that is positive, written without the cancellation
    // the textbook form has when t0 and t1 are nearly parallel (a near 0).
    const double denominator = b + std::sqrt(b * b - a * c);
    if (!(denominator > 0)) return std::nullopt;
    const double d = c / denominator;
    const Vec2 q0 = p0 + ratio * d * t0, q1 = p1 - d * t1;
    const Vec2 joint = (1 / (1 + ratio)) * (q0 + ratio * q1);
    Candidate cand;
    const Vec2 v0 = joint - p0, v1 = p1 - joint;
    if (turnsBack(t0, v0) || turnsBack(v1, t1)) return std::nullopt;
    const Piece first = arcLeaving(p0, joint, t0);
    const Piece second = arcArriving(joint, p1, t1);
    // An arc too flat to keep turns the whole biarc into its chord: half a biarc as a line
    // would kink at the joint, where no corner is.
    if ((first.bulge == 0 && cross(t0, v0) != 0) || (second.bulge == 0 && cross(v1, t1) != 0) ||
        (first.bulge == 0 && second.bulge == 0)) {
      // The chord, then, but only where it leaves and arrives nearly as the curve does: a
      // line is kept where the path around it runs straight on.
      if (!withinKink(t0, v) || !withinKink(v, t1)) return std::nullopt;
      cand.pieces[0] = Piece{p0, p1, 0, {}};
      cand.count = 1;
      return cand;
    }
    if (joint == p0 || joint == p1) return std::nullopt;
    cand.pieces[0] = first;
    cand.pieces[1] = second;
    cand.count = 2;
    return cand;
  }

  // Within tolerance of the polyline from walk position i to j: every point between, every
  // chord's middle and, where a chord passes closest to an arc's centre, that point too (the
  // chord is furthest inside the circle there, which is where an arc bulges away from it).
  bool fits(const Candidate& c, std::size_t first, const Vec2& from, std::size_t i,
            std::size_t j) const {
    const std::size_t n = points_.size();
    // Most candidates tried fail, and a point in the middle or at the quarters tells first.
    for (const std::size_t k : {(i + j) / 2, (3 * i + j) / 4, (i + 3 * j) / 4})
      if (k > i && k < j && c.distance(points_[(first + k) % n]) > tolerance_) return false;
    // Then every eighth point, before the whole walk.
    for (std::size_t k = i + 8; k < j; k += 8)
      if (c.distance(points_[(first + k) % n]) > tolerance_) return false;
    std::size_t at = (first + i) % n;  // walked with the index, not a division per point
    for (std::size_t k = i; k < j; ++k) {
      const std::size_t following = at + 1 == n ? 0 : at + 1;
      const Vec2& p = k == i ? from : points_[at];
      const Vec2& q = points_[following];
      at = following;
      if (k > i && c.distance(p) > tolerance_) return false;
      if (c.distance(0.5 * (p + q)) > tolerance_) return false;
      const Vec2 pq = q - p;
      const double len2 = dot(pq, pq);
      for (int m = 0; m < c.count && len2 > 0; ++m) {
        if (c.pieces[m].bulge == 0) continue;
        const double s = dot(c.pieces[m].circle.centre - p, pq) / len2;
        if (s > 0 && s < 1 && c.distance(p + s * pq) > tolerance_) return false;
      }
    }
    return true;
  }

  const std::vector<Vec2>& points_;
  bool closed_;
  double tolerance_;
  double cornerAngle_;
  std::vector<Vec2> in_, out_;
  std::vector<bool> corner_;
  // Kept between steps: the moves from here and from the one being weighed.
  std::vector<Move> moves_, after_;
};

}  // namespace

ArcPath fitArcs(const Contour& polyline, const ArcFitting& fit, const PolylineTangents* tangents) {
  if (!(fit.tolerance > 0) || !std::isfinite(fit.tolerance))
    throw Error("The curve tolerance must be a number above 0.");
  if (tangents != nullptr && (tangents->in.size() != polyline.points.size() ||
                              tangents->out.size() != polyline.points.size()))
    throw Error("The tangents do not match the polyline's points.");
  return Fitter(polyline, fit, tangents).run();
}

}  // namespace kerfline
