#pragma once
// Tabs: short stretches of a part's outline left uncut, so that the part stays in the sheet
// until it is broken out, instead of falling (and tipping into the tool) when its cut closes.
#include <cstddef>
#include <optional>
#include <vector>

#include "geometry/contour.h"

namespace kerfline {

/// Where and how wide tabs are, in drawing units along the tool path.
struct TabRule {
  std::optional<int> count;      ///< tabs per contour; else one per spacing of its length
  std::optional<double> spacing;  ///< the length of contour per tab (at least one tab)
  double width = 1;              ///< material left standing, measured along the contour
  double kerf = 0;               ///< the cut's width: the gap in the path is width + kerf
  double minLength = 0;          ///< contours shorter than this get no tab
  bool onHoles = false;          ///< holes too (else only parts' outlines)
  bool raise = false;            ///< rings stay whole, their tabs marked (Contour::tabs)
};

/// The arc-length positions (from the ring's first point, along its points) of the centres of
/// the tabs rule asks of ring: as evenly spread as the ring's corners allow, each gap of
/// width + kerf keeping at least width away from every corner (a vertex turning by more than
/// 30 degrees), and from the next tab. Fewer than asked (none) where the ring has no room.
std::vector<double> tabCentres(const std::vector<Vec2>& ring, const TabRule& rule);

/// The open pieces left of ring once a gap of width + kerf is cut out around every centre
/// (arc-length positions, ascending): each piece runs in the ring's direction from one gap
/// to the next.
std::vector<Contour> splitAtTabs(const Contour& ring, const std::vector<double>& centres,
                                 double gap);

/// ring whole, with a vertex added at both ends of the gap of width + kerf around every
/// centre (as splitAtTabs cuts them) and each gap listed in its tabs.
Contour raiseAtTabs(const Contour& ring, const std::vector<double>& centres, double gap);

/// What tabs did: the rings that got fewer tabs than asked, for the report.
struct TabNotes {
  std::size_t rings = 0;   ///< rings that were to get tabs (long enough)
  std::size_t tabs = 0;    ///< tabs in all
  std::size_t short_ = 0;  ///< rings that got fewer than asked (no room between corners)
};

/// Replaces every closed ring of drawing that rule selects (parts' outlines, holes with
/// onHoles, at least minLength long) by its pieces around its tabs, or with rule.raise by the
/// ring with its tabs marked.
TabNotes addHoldingTabs(Drawing& drawing, const TabRule& rule);

}  // namespace kerfline
