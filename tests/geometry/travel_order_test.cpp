// Travel order against exact optima computed here by brute force over every order and every
// entry vertex, and against the text order of a real three-line sign.
#include "geometry/travel_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <random>

#include "export/converter_glyph_source.h"
#include "export/drawing_layout.h"
#include "geometry/cut_order.h"
#include "geometry_test_support.h"
#include "vectorizer/UTTF2Vct.h"

namespace kerfline {
namespace {

using test::character;
using test::layOut;
using test::square;

double gap(const Vec2& a, const Vec2& b) { return std::hypot(a.x - b.x, a.y - b.y); }

// Rapid travel of a plan, walked here from the points themselves.
double walk(const std::vector<const Contour*>& paths, const std::vector<CutStep>& steps) {
  double total = 0;
  Vec2 at{};
  for (const CutStep& s : steps) {
    const Contour& c = *paths[s.path];
    const Vec2 in = c.closed ? c.points[s.entry] : (s.reversed ? c.points.back() : c.points.front());
    total += gap(at, in);
    at = c.closed ? in : (s.reversed ? c.points.front() : c.points.back());
  }
  return total;
}

// Every path exactly once, and every precedence kept.
void expectValid(const TravelPlan& plan, std::size_t n, const std::vector<CutPrecedence>& before) {
  std::vector<std::size_t> at(n, n);
  ASSERT_EQ(plan.steps.size(), n);
  for (std::size_t i = 0; i < n; ++i) {
    ASSERT_LT(plan.steps[i].path, n);
    EXPECT_EQ(at[plan.steps[i].path], n) << "path " << plan.steps[i].path << " cut twice";
    at[plan.steps[i].path] = i;
  }
  for (const CutPrecedence& p : before)
    EXPECT_LT(at[p.before], at[p.after]) << "path " << p.before << " must precede " << p.after;
}

// The shortest travel over every order keeping the precedence, each ring entered at any of
// its vertices and each open path from either end (a shortest path through the layers of
// entry choices for each order).
double exactOptimum(const std::vector<const Contour*>& paths, const std::vector<CutPrecedence>& before) {
  std::vector<std::size_t> order(paths.size());
  std::iota(order.begin(), order.end(), 0u);
  double best = std::numeric_limits<double>::infinity();
  do {
    std::vector<std::size_t> at(paths.size());
    for (std::size_t i = 0; i < order.size(); ++i) at[order[i]] = i;
    if (std::any_of(before.begin(), before.end(),
                    [&](const CutPrecedence& p) { return at[p.before] > at[p.after]; }))
      continue;
    std::vector<std::pair<Vec2, double>> layer{{Vec2{}, 0.0}};  // exit point, travel so far
    for (const std::size_t p : order) {
      const Contour& c = *paths[p];
      std::vector<std::pair<Vec2, Vec2>> ways;  // in, out
      if (c.closed) {
        for (const Vec2& v : c.points) ways.push_back({v, v});
      } else {
        ways = {{c.points.front(), c.points.back()}, {c.points.back(), c.points.front()}};
      }
      std::vector<std::pair<Vec2, double>> next;
      for (const auto& [in, out] : ways) {
        double m = std::numeric_limits<double>::infinity();
        for (const auto& [exit, t] : layer) m = std::min(m, t + gap(exit, in));
        next.push_back({out, m});
      }
      layer = std::move(next);
    }
    for (const auto& l : layer) best = std::min(best, l.second);
  } while (std::next_permutation(order.begin(), order.end()));
  return best;
}

Contour polygon(std::vector<Vec2> points, bool closed = true) {
  Contour c;
  c.points = std::move(points);
  c.closed = closed;
  return c;
}

Contour rect(double x0, double y0, double x1, double y1) {
  return polygon({{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}});
}

Drawing blockWord(const std::vector<std::vector<Contour>>& letters) {
  Drawing d;
  for (std::size_t i = 0; i < letters.size(); ++i)
    d.characters.push_back(character(static_cast<std::int32_t>(i + 1), letters[i]));
  orderForCutting(d);
  return d;
}

// Hand-drawn block words: every corner of every ring is a real corner and no ring has more
// corners than the planner considers, so the exact optimum is over the same choices.
std::vector<Drawing> blockWords() {
  const Contour L = polygon({{0, 0}, {6, 0}, {6, 2}, {2, 2}, {2, 10}, {0, 10}});
  const Contour T = polygon({{11, 0}, {13, 0}, {13, 8}, {16, 8}, {16, 10}, {8, 10}, {8, 8}, {11, 8}});
  const Contour oOut = polygon({{20, 0}, {26, 0}, {28, 3}, {28, 7}, {26, 10}, {20, 10}, {18, 7}, {18, 3}});
  const Contour oIn = polygon({{21, 3}, {21, 7}, {25, 7}, {25, 3}});
  const Contour dotted = rect(31, 0, 33, 7), dot = rect(31, 8.5, 33, 10.5);
  const Contour stroke = polygon({{36, 0}, {40, 10}}, false);  // a single-line stroke
  const Contour bar = polygon({{42, 5}, {46, 5}}, false);
  return {blockWord({{L}, {T}, {oOut, oIn}}),
          blockWord({{oOut, oIn}, {L}, {dotted, dot}, {T}}),
          blockWord({{T}, {dotted, dot}, {stroke}, {bar}, {oOut, oIn}}),
          blockWord({{bar}, {stroke}, {L}, {rect(50, 0, 60, 10), rect(52, 2, 58, 8), rect(54, 4, 56, 6)}})};
}

TEST(travel_order_test, block_words_come_within_two_percent_of_the_exact_optimum) {
  for (const Drawing& d : blockWords()) {
    const auto addresses = pathAddresses(d);
    const auto paths = pathsAt(d, addresses);
    const auto before = holesBeforeOutlines(d, addresses);
    const TravelPlan plan = planTravel(paths, before);
    expectValid(plan, paths.size(), before);
    const double optimum = exactOptimum(paths, before);
    EXPECT_NEAR(plan.travel, walk(paths, plan.steps), 1e-9);
    EXPECT_LE(plan.travel, 1.02 * optimum) << paths.size() << " paths";
    const TravelFigures f = travelFigures(paths, plan, {});
    EXPECT_LE(f.lowerBound, optimum + 1e-9);
    EXPECT_GT(f.lowerBound, 0);
  }
}

TEST(travel_order_test, nesting_gives_each_ring_before_the_ring_that_holds_it) {
  // A plate holding a hole holding an island, beside a lone square; a stroke lies in nothing.
  Drawing d;
  d.characters = {character(1, {square(0, 0, 10), square(2, 2, 6, false), square(4, 4, 2)}),
                  character(2, {polygon({{12, 0}, {14, 2}}, false), square(20, 0, 3)})};
  const auto addresses = pathAddresses(d);
  EXPECT_EQ(holesBeforeOutlines(d, addresses), (std::vector<CutPrecedence>{{1, 0}, {2, 1}}));
}

TEST(travel_order_test, open_paths_are_cut_from_the_nearer_end) {
  struct Case {
    std::vector<Vec2> first, second;
    bool firstReversed, secondReversed;
  };
  const Case cases[] = {
      {{{1, 0}, {5, 0}}, {{9, 0}, {6, 0}}, false, true},   // second ends nearer the first
      {{{5, 0}, {1, 0}}, {{6, 0}, {9, 0}}, true, false},   // first starts far from the start
      {{{5, 5}, {1, 1}}, {{1, 2}, {5, 6}}, true, true},    // zig-zag back
  };
  for (const Case& c : cases) {
    const Contour a = polygon(c.first, false), b = polygon(c.second, false);
    const TravelPlan plan = planTravel({&a, &b}, {});
    ASSERT_EQ(plan.steps.size(), 2u);
    EXPECT_EQ(plan.steps[0], (CutStep{0, 0, c.firstReversed}));
    EXPECT_EQ(plan.steps[1], (CutStep{1, 0, c.secondReversed}));
  }
}

TEST(travel_order_test, a_precedence_cycle_or_a_pair_out_of_range_still_cuts_every_path_once) {
  // Nesting never makes a cycle, but another source of precedence might: the planner must
  // neither hang nor drop a path. An empty path comes last.
  const Contour a = square(0, 0, 1), b = square(5, 0, 1), c = square(10, 0, 1), none;
  const std::vector<CutPrecedence> pairs = {{0, 1}, {1, 2}, {2, 0}, {3, 9}, {1, 1}};
  const TravelPlan plan = planTravel({&a, &b, &c, &none}, pairs);
  ASSERT_EQ(plan.steps.size(), 4u);
  std::vector<std::size_t> order;
  for (const CutStep& s : plan.steps) order.push_back(s.path);
  std::sort(order.begin(), order.begin() + 3);
  EXPECT_EQ(order, (std::vector<std::size_t>{0, 1, 2, 3}));
}

TEST(travel_order_test, a_ring_is_entered_at_a_corner_when_a_smooth_entry_saves_little) {
  // A "D": a half circle of radius 10 round the origin (24 chords, all smooth) closed by a
  // straight back with corners at (0, -10) and (0, 10). From (4, -15) the nearest vertex is on
  // the curve, but the lower corner is less than 0.1 of the extent diagonal (2.24) further.
  Contour d;
  for (int i = 0; i <= 24; ++i) {
    const double a = -M_PI / 2 + M_PI * i / 24;
    d.points.push_back({10 * std::cos(a), 10 * std::sin(a)});
  }
  d.points.front() = {0, -10};
  d.points.back() = {0, 10};
  TravelOptions options;
  options.start = {4, -15};
  double nearest = std::numeric_limits<double>::infinity();
  for (const Vec2& p : d.points) nearest = std::min(nearest, gap(p, options.start));
  const double corner = gap({0, -10}, options.start);
  ASSERT_LT(nearest, corner - 0.5);
  ASSERT_LT(corner, nearest + 2.2);
  const TravelPlan plan = planTravel({&d}, {}, options);
  ASSERT_EQ(plan.steps.size(), 1u);
  EXPECT_EQ(d.points[plan.steps[0].entry], (Vec2{0, -10}));
}

TEST(travel_order_test, many_scattered_paths_with_precedence_stay_valid_and_beat_random_order) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> where(0, 1000);
  Drawing d;
  for (int i = 0; i < 3000; ++i) {
    const double x = where(random), y = where(random);
    if (i % 3 == 0) {
      d.characters.push_back(character(i, {polygon({{x, y}, {x + 4, y + 1}}, false)}));
    } else {
      d.characters.push_back(character(i, {square(x, y, 3), square(x + 1, y + 1, 1, false)}));
    }
  }
  orderForCutting(d);
  const auto addresses = pathAddresses(d);
  const auto paths = pathsAt(d, addresses);
  const auto before = holesBeforeOutlines(d, addresses);
  const TravelPlan plan = planTravel(paths, before);
  expectValid(plan, paths.size(), before);
  const TravelFigures f = travelFigures(paths, plan, {});
  EXPECT_NEAR(f.travel, walk(paths, plan.steps), 1e-6);
  EXPECT_LE(f.lowerBound, f.travel);
  // A random order of points in a square of side 1000 travels about 0.52 * 1000 per path; a
  // good tour about 0.7 * sqrt(area / n) per point: here about 13 per path.
  EXPECT_LT(f.travel, 0.05 * f.textOrderTravel);
}

// The text set in DejaVu Sans at 24 points by the classic walk, nested and directed.
Drawing realText(std::u32string s) {
  TFontDescription font;
  font.Name = "DejaVu Sans";
  font.Size = 24;
  Drawing d = layOut(std::move(s), font);
  orderForCutting(d);
  return d;
}

// Real words, every vertex a candidate and no preference for corners: the same problem the
// brute force solves.
TEST(travel_order_test, real_words_come_within_two_percent_of_the_exact_optimum) {
  TravelOptions options;
  options.entryCandidates = 100000;
  options.cornerPreference = 0;
  for (const char32_t* word : {U"ox", U"Kerf", U"mind", U"Bag"}) {
    const Drawing d = realText(word);
    const auto addresses = pathAddresses(d);
    const auto paths = pathsAt(d, addresses);
    ASSERT_LE(paths.size(), 7u);
    const auto before = holesBeforeOutlines(d, addresses);
    const TravelPlan plan = planTravel(paths, before, options);
    expectValid(plan, paths.size(), before);
    EXPECT_LE(walk(paths, plan.steps), 1.02 * exactOptimum(paths, before))
        << paths.size() << " paths of word " << addresses.size() << (word[0] < 128 ? char(word[0]) : 0);
  }
}

// A real three-line sign in a real face: the tool no longer crosses the sign between lines
// again and again.
TEST(travel_order_test, a_three_line_sign_travels_at_most_three_quarters_of_the_text_order) {
  const Drawing d = realText(U"Riverside Joinery\r\nOpen Monday to Saturday\r\nCommissions welcome");
  const auto addresses = pathAddresses(d);
  const auto paths = pathsAt(d, addresses);
  ASSERT_GT(paths.size(), 60u);
  const auto before = holesBeforeOutlines(d, addresses);
  const TravelPlan plan = planTravel(paths, before);
  expectValid(plan, paths.size(), before);
  std::vector<CutStep> textOrder;
  for (std::size_t p = 0; p < paths.size(); ++p) textOrder.push_back({p, 0, false});
  const double inTextOrder = walk(paths, textOrder);
  EXPECT_LE(walk(paths, plan.steps), 0.75 * inTextOrder);
  const TravelFigures f = travelFigures(paths, plan, {});
  EXPECT_NEAR(f.textOrderTravel, inTextOrder, 1e-6 * inTextOrder);
  EXPECT_LE(f.lowerBound, f.travel);
  RecordProperty("travel_share_of_text_order", std::to_string(f.travel / inTextOrder));
}

}  // namespace
}  // namespace kerfline
