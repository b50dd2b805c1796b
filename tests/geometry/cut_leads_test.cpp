// Leads and overcut checked by shapely: every lead joins its ring at the entry, lies in the
// scrap and crosses no ring; overcuts run along their ring for the length asked. Leads in the
// way of another path are shortened or left out, and say so.
#include "geometry/cut_leads.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "command_output.h"
#include "geometry/cut_order.h"
#include "geometry_test_support.h"

namespace kerfline {
namespace {

using test::character;
using test::circle;
using test::square;

struct LeadCheck {
  int leads = 0, notTouching = 0, wrongSide = 0, crossing = 0, overcutOffRing = 0, overcutLength = 0;
  std::string error;
};

void writePoints(std::ostream& out, const std::vector<Vec2>& points) {
  for (const Vec2& p : points) out << ' ' << p.x << ' ' << p.y;
  out << '\n';
}

LeadCheck checkLeads(const std::vector<const Contour*>& paths, const LeadResult& r,
                     const LeadOptions& options) {
  const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                     ("kerfline-leads-" + std::to_string(::getpid()) + ".txt");
  {
    std::ofstream out(file);
    out.precision(17);
    for (const Contour* c : paths) {
      // Which side is scrap, from the rule itself: cutting out letters, outside a part and
      // inside a hole.
      const bool scrapInside = (c->depth % 2 == 1) == options.kerfOutsideParts;
      out << "R " << scrapInside;
      writePoints(out, c->points);
    }
    for (const CutPath& cut : r.cuts) {
      if (cut.leadIn.size() > 1) {
        out << "L " << cut.path << ' ' << cut.points[0].x << ' ' << cut.points[0].y;
        writePoints(out, cut.leadIn);
      }
      if (cut.leadOut.size() > 1) {
        const Vec2 end = cut.overcut.empty() ? cut.points[0] : cut.overcut.back();
        out << "L " << cut.path << ' ' << end.x << ' ' << end.y;
        writePoints(out, {cut.leadOut.rbegin(), cut.leadOut.rend()});
      }
      if (!cut.overcut.empty()) {
        out << "C " << cut.path << ' ' << options.overcut;
        writePoints(out, cut.overcut);
      }
    }
  }
  const test::CommandOutput run = test::runCommand(
      "/usr/bin/python3 " KERFLINE_SOURCE_DIR "/tests/geometry/check_leads.py '" + file.string() + "' 2>&1");
  std::filesystem::remove(file);
  LeadCheck c;
  std::istringstream in(run.output);
  if (!run.ok() || !(in >> c.leads >> c.notTouching >> c.wrongSide >> c.crossing >> c.overcutOffRing >>
                     c.overcutLength))
    c.error = "checker failed: " + run.output;
  return c;
}

struct Job {
  Drawing drawing;
  std::vector<const Contour*> paths;
  TravelPlan plan;
};

// The drawing nested and directed as the cut order does it, planned for travel.
Job planned(std::vector<PlacedCharacter> characters) {
  Job j;
  j.drawing.characters = std::move(characters);
  orderForCutting(j.drawing);
  const auto addresses = pathAddresses(j.drawing);
  j.paths = pathsAt(j.drawing, addresses);
  j.plan = planTravel(j.paths, holesBeforeOutlines(j.drawing, addresses));
  return j;
}

TEST(cut_leads_test, leads_lie_in_the_scrap_and_overcuts_on_the_ring_for_every_shape_and_side) {
  // A plate with a square hole, a round letter "o" and a triangle: convex and concave corners,
  // chords of a curve, holes and outlines.
  auto triangle = [] {
    Contour t;
    t.points = {{40, 0}, {50, 0}, {45, 9}};
    return t;
  };
  for (const LeadShape shape : {LeadShape::Line, LeadShape::Arc})
    for (const bool outside : {true, false}) {
      Job j = planned({character(1, {square(0, 0, 20), square(6, 6, 8, false)}),
                       character(2, {circle(30, 10, 6, 48), circle(30, 10, 3.5, 32, false)}),
                       character(3, {triangle()})});
      LeadOptions options;
      options.shape = shape;
      options.kerfOutsideParts = outside;
      options.leadIn = 0.8;
      options.leadOut = 0.5;
      options.overcut = 1.5;
      const LeadResult r = addLeads(j.paths, j.plan, options);
      SCOPED_TRACE(testing::Message() << (shape == LeadShape::Arc ? "arc" : "line") << " kerf "
                                      << (outside ? "outside" : "inside"));
      EXPECT_EQ(r.notes, std::vector<LeadNote>{});
      const LeadCheck c = checkLeads(j.paths, r, options);
      ASSERT_EQ(c.error, "");
      EXPECT_EQ(c.leads, 10);
      EXPECT_EQ(c.notTouching, 0);
      EXPECT_EQ(c.wrongSide, 0);
      EXPECT_EQ(c.crossing, 0);
      EXPECT_EQ(c.overcutOffRing, 0);
      EXPECT_EQ(c.overcutLength, 0);
    }
}

TEST(cut_leads_test, a_lead_in_the_way_of_a_path_is_shortened_or_left_out_and_noted) {
  // A square entered at its lower left corner, where a line lead of 5 runs out along the
  // diagonal; a small square beyond that corner is in its way at (-2, -2), 2.83 out, or at
  // (-0.5, -0.5), 0.71 out. A hole of side 2 holds a lead of 5 only up to its far corner.
  struct Case {
    std::vector<Contour> rings;
    LeadTrouble trouble;
    std::size_t crossed;
    double kept;  // the distance to the obstacle less a twentieth of the lead (5, or 20 in the hole)
  };
  const Case cases[] = {
      {{square(0, 0, 10), square(-6, -6, 4)}, LeadTrouble::Shortened, 1, 2 * std::sqrt(2.0) - 0.25},
      {{square(0, 0, 10), square(-3, -3, 2.5)}, LeadTrouble::LeftOut, 1, 0},
      {{square(0, 0, 10, false)}, LeadTrouble::Shortened, 0, 10 * std::sqrt(2.0) - 1},
  };
  for (const Case& c : cases) {
    Drawing d;
    d.characters = {character(1, c.rings)};
    for (Contour& k : d.characters[0].contours) k.depth = 0;
    // The third case is a hole: scrap inside, so the lead crosses the ring's inside to its far
    // corner.
    if (c.rings.size() == 1) d.characters[0].contours[0].depth = 1;
    const auto paths = pathsAt(d, pathAddresses(d));
    TravelPlan plan;
    plan.steps = {{0, 0, false}};
    LeadOptions options;
    options.leadIn = c.rings.size() == 1 ? 20 : 5;
    const LeadResult r = addLeads(paths, plan, options);
    ASSERT_EQ(r.notes.size(), 1u);
    EXPECT_EQ(r.notes[0].path, 0u);
    EXPECT_TRUE(r.notes[0].leadIn);
    EXPECT_EQ(r.notes[0].trouble, c.trouble);
    EXPECT_EQ(r.notes[0].crossedPath, c.crossed);
    EXPECT_NEAR(r.notes[0].keptLength, c.kept, 1e-9);
    const LeadCheck check = checkLeads(paths, r, options);
    ASSERT_EQ(check.error, "");
    EXPECT_EQ(check.leads, c.trouble == LeadTrouble::LeftOut ? 0 : 1);
    EXPECT_EQ(check.wrongSide + check.crossing + check.notTouching, 0);
  }
}

}  // namespace
}  // namespace kerfline
