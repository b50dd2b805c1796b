#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "export/conversion_options.h"
#include "geometry/contour.h"
#include "geometry/kerf_offset.h"

namespace kerfline {

/// True when options ask to change the paths themselves (weld, or a kerf on a side).
bool changesPaths(const ConversionOptions& options);

/// A character of the drawing by its place in the text.
struct CharacterPlace {
  std::int32_t position = 0;  ///< 1-based text position (of a weld group: its first)
  char32_t character = 0;     ///< its code point
  std::int32_t line = 0;      ///< 0-based line of text

  friend bool operator==(const CharacterPlace&, const CharacterPlace&) = default;
};

/// What weld and kerf did that the person at the machine must know.
struct ToolpathNotes {
  std::vector<VanishedPath> vanished;  ///< rings the kerf offset closed up, in text order
  /// Characters whose offset paths overlap (kerf without weld): cutting one cuts into the other.
  /// The first kListedOverlaps pairs in drawing order, as overlappingCharacters finds them.
  std::vector<std::pair<CharacterPlace, CharacterPlace>> overlapping;
  /// True when more pairs overlap than overlapping lists.
  bool moreOverlapping = false;
  TabNotes tabs;  ///< what holding tabs were placed, and where room was short
  BridgeNotes bridges;  ///< stencil islands found and bridged
};

/// Most overlapping pairs ToolpathNotes lists: text set on top of itself overlaps in millions
/// of pairs, and finding each costs an area test.
inline constexpr std::size_t kListedOverlaps = 1000;

/// Welds (when asked) and then offsets by half the kerf (when asked, outward for the outside
/// side, inward for the inside side) the closed contours of drawing, in drawing units after any
/// fit. Open paths are neither welded nor offset. Characters whose offset paths now overlap
/// (set closer than the kerf) are welded once more when welding, else listed. Works on any
/// subset of the drawing's characters (one line of text, say) alike: a drawing made of some
/// lines gives those lines' paths. checkpoint is called between characters.
ToolpathNotes applyWeldAndKerf(Drawing& drawing, const ConversionOptions& options,
                               const Checkpoint& checkpoint = {});

/// "Tabs: 3 of 40 contours have fewer tabs than asked (no room between corners)." or "".
std::string tabSummary(const TabNotes& tabs);

/// "Stencil: 2 of 7 islands have no bridge (no stroke crossing in the direction asked)." or "".
std::string bridgeSummary(const BridgeNotes& bridges);

/// One sentence counting the vanished rings and naming the first few by character, text
/// position and line, for the report and the window's status bar; empty when nothing vanished.
std::string vanishedSummary(const std::vector<VanishedPath>& vanished);

/// Both sentences of notes (vanished rings, then overlapping pairs), one blank apart; empty when
/// weld and kerf left nothing to tell.
std::string toolpathSummary(const ToolpathNotes& notes);

/// One sentence naming the first overlapping pairs (and how many there are in all, or that
/// there are more than pairs holds when more is true); empty when there are none.
std::string overlapSummary(const std::vector<std::pair<CharacterPlace, CharacterPlace>>& pairs,
                           bool more = false);

}  // namespace kerfline
