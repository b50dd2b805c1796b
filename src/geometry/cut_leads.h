#pragma once
// Lead-in, lead-out and overcut for the closed rings of a planned cut.
//
// How to call it: after planTravel (travel_order.h), addLeads(paths, plan, options) gives one
// CutPath per step, in cutting order: the ring's points rotated to its entry, the lead-in that
// ends there, the overcut that runs on along the ring, and the lead-out that leaves where the
// overcut ends. A writer cuts leadIn, points (closing back to points[0]), overcut, leadOut as
// one pass (CutPath::toolPath joins them) and pierces at the first point. Arcs are given as
// polylines (chords within options.arcTolerance), since no writer takes arcs yet; each arc's
// centre is kept beside it for a writer that will. Rings need their nesting depth set
// (orderForCutting), which says on which side the scrap lies.
#include <cstddef>
#include <optional>
#include <ostream>
#include <vector>

#include "geometry/contour.h"
#include "geometry/travel_order.h"

namespace kerfline {

/// The form of a lead.
enum class LeadShape {
  Line,  ///< straight, along the bisector of the corner on the scrap side
  Arc,   ///< a quarter circle of radius L, tangent to the ring where it joins it
};

/// Lengths in drawing units; 0 leaves the lead or overcut out.
struct LeadOptions {
  LeadShape shape = LeadShape::Line;
  double leadIn = 0;
  double leadOut = 0;
  double overcut = 0;  ///< how far the cut runs on past its start along the ring
  /// Where the kerf of a part's outline lies: true (cutting out letters) puts the scrap outside
  /// outlines and inside holes; false the opposite. Leads run in the scrap.
  bool kerfOutsideParts = true;
  /// Least distance a shortened lead keeps from the path it would have crossed; at least a
  /// twentieth of the lead's length.
  double clearance = 0;
  double arcTolerance = 0.01;  ///< largest distance of an arc's chords from the arc
};

/// The circle an arc lead follows.
struct LeadArc {
  Vec2 centre;
  double radius = 0;
  bool counterClockwise = true;  ///< the direction the tool runs round the centre
  friend bool operator==(const LeadArc&, const LeadArc&) = default;
};

/// One path of the plan, ready to cut.
struct CutPath {
  std::size_t path = 0;         ///< index into the paths given
  bool closed = true;
  std::vector<Vec2> points;     ///< a ring from its entry (closing back to it), or an open path
                                ///< in cutting direction
  std::vector<Vec2> leadIn;     ///< ends at points[0]; empty: none
  std::vector<Vec2> overcut;    ///< from points[0] on along the ring; empty: none
  std::vector<Vec2> leadOut;    ///< from the end of the cut (and overcut); empty: none
  std::optional<LeadArc> leadInArc, leadOutArc;  ///< the circles of arc leads

  /// The whole pass as one polyline, from the pierce to the end of the lead-out.
  std::vector<Vec2> toolPath() const;
};

/// Why a lead is shorter than asked.
enum class LeadTrouble {
  Shortened,  ///< it would have crossed a path; it stops short of it
  LeftOut,    ///< it would have crossed a path so near that less than a fifth of it was left
};

/// A lead that could not be made as asked.
struct LeadNote {
  std::size_t path = 0;         ///< the ring whose lead it is
  bool leadIn = true;           ///< the lead-in, else the lead-out
  LeadTrouble trouble = LeadTrouble::Shortened;
  std::size_t crossedPath = 0;  ///< the path in the way (maybe the ring itself)
  double keptLength = 0;        ///< length of the lead that was kept (0 when left out)

  friend bool operator==(const LeadNote&, const LeadNote&) = default;
  friend std::ostream& operator<<(std::ostream& os, const LeadNote& n) {
    return os << (n.leadIn ? "lead-in" : "lead-out") << " of path " << n.path
              << (n.trouble == LeadTrouble::Shortened ? " shortened to " : " left out, ")
              << n.keptLength << ", it would cross path " << n.crossedPath;
  }
};

/// The cut paths of a plan and the leads that could not be made as asked.
struct LeadResult {
  std::vector<CutPath> cuts;    ///< one per step, in cutting order
  std::vector<LeadNote> notes;  ///< in cutting order
};

/// Adds leads and overcut to the closed rings of plan (open paths pass unchanged). A lead runs
/// in the scrap and never crosses a path: one that would is shortened to stop short of the
/// first path in its way, or left out, and noted. An arc lead joins a ring at its entry
/// vertex when the scrap there is wider than a half turn, else at the middle of the ring's
/// first edge, where a tangent arc has room. The overcut is at most one turn of the ring.
LeadResult addLeads(const std::vector<const Contour*>& paths, const TravelPlan& plan,
                    const LeadOptions& options);

}  // namespace kerfline
