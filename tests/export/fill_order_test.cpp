// Fills ordered for travel: worked examples on hand-made runs.
#include <gtest/gtest.h>

#include <cmath>

#include "export/fill_order.h"
#include "geometry/arc_path.h"

namespace kerfline {
namespace {

ToolRun run(std::vector<Vec2> points, std::vector<double> bulges = {}) {
  ToolRun r;
  r.cuts.assign(points.size() - 1, true);
  r.points = std::move(points);
  r.bulges = std::move(bulges);
  return r;
}

FilledDrawing filled(std::vector<std::vector<ToolRun>> regions) {
  FilledDrawing f;
  for (std::size_t i = 0; i < regions.size(); ++i)
    f.pieces.characters.push_back({static_cast<std::int32_t>(i + 1), U'a', 0, {}});
  f.runs = std::move(regions);
  return f;
}

ConversionOptions fillOptions(CutOperation cut, bool unidirectional = false) {
  ConversionOptions o;
  o.format = OutputFormat::Gcode;
  o.cut = cut;
  o.fill.unidirectional = unidirectional;
  return o;
}

TEST(fill_order_test, a_hatch_chain_is_turned_round_and_its_arc_stays_the_same_arc) {
  // From the origin: the short line, then the arc from (10, 0) to (2, 0) is 9 away at its
  // start but 1 at its end; cut from its end it must bend the other way to stay one circle.
  const double bulge = 0.5;
  FilledDrawing f = filled({{run({{0, 0}, {1, 0}}, {0}), run({{10, 0}, {2, 0}}, {bulge})}});
  EXPECT_DOUBLE_EQ(fillTravel(f), 9);
  orderFillForTravel(f, fillOptions(CutOperation::Hatch));
  ASSERT_EQ(f.runs[0].size(), 2u);
  const ToolRun& arc = f.runs[0][1];
  EXPECT_EQ(arc.points, (std::vector<Vec2>{{2, 0}, {10, 0}}));
  EXPECT_DOUBLE_EQ(fillTravel(f), 1);
  const ArcGeometry before = arcGeometry({10, 0}, {2, 0}, bulge);
  const ArcGeometry after = arcGeometry(arc.points[0], arc.points[1], arc.bulges[0]);
  EXPECT_NEAR(after.centre.x, before.centre.x, 1e-12);
  EXPECT_NEAR(after.centre.y, before.centre.y, 1e-12);
  EXPECT_NEAR(after.sweep, -before.sweep, 1e-12);
}

TEST(fill_order_test, one_way_lines_and_pocket_passes_keep_their_runs_letters_are_reordered) {
  // Two letters given far one, near one: the near one goes first; inside each, the runs of a
  // pocket (and one-way hatch lines) stay as they were made.
  const std::vector<ToolRun> far = {run({{20, 0}, {21, 0}}), run({{30, 0}, {31, 0}})};
  const std::vector<ToolRun> near = {run({{5, 0}, {4, 0}}), run({{1, 0}, {2, 0}})};
  for (const ConversionOptions& o :
       {fillOptions(CutOperation::Pocket), fillOptions(CutOperation::Hatch, true)}) {
    FilledDrawing f = filled({far, near});
    orderFillForTravel(f, o);
    ASSERT_EQ(f.runs.size(), 2u);
    EXPECT_EQ(f.runs[0], near);
    EXPECT_EQ(f.runs[1], far);
    EXPECT_EQ(f.pieces.characters[0].position, 2);  // the pieces follow their runs
  }
}

}  // namespace
}  // namespace kerfline
