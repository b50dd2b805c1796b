#include "export/toolpath_export.h"

#include "common/utf8.h"
#include "export/cut_ready_drawing.h"
#include "geometry/weld.h"

namespace kerfline {

bool changesPaths(const ConversionOptions& options) {
  return options.weld || (options.kerf && options.kerfSide != KerfSide::On);
}

namespace {

CharacterPlace placeOf(const PlacedCharacter& c) { return {c.position, c.character, c.line}; }

void appendPlace(std::string& out, const CharacterPlace& p) {
  out += '"';
  appendUtf8(out, p.character);
  out += "\" at position " + std::to_string(p.position) + " (line " + std::to_string(p.line + 1) + ")";
}

// A summary names this many and counts the rest: a kerf too wide for a long text closes
// rings by the thousand, and the status bar and report take one readable sentence.
constexpr std::size_t kNamedInSummary = 4;

// "; and N more" after the first kNamedInSummary of count named.
void appendMore(std::string& out, std::size_t count) {
  if (count > kNamedInSummary) out += "; and " + std::to_string(count - kNamedInSummary) + " more";
}

}  // namespace

ToolpathNotes applyWeldAndKerf(Drawing& drawing, const ConversionOptions& options,
                               const Checkpoint& checkpoint) {
  ToolpathNotes notes;
  if (options.weld) weldOverlaps(drawing, checkpoint);
  if (!options.kerf || options.kerfSide == KerfSide::On) return notes;
  const double half = *options.kerf / 2;
  const bool outside = options.kerfSide == KerfSide::Outside;
  // Within a curve tolerance, the offset's own chords keep to their share of it.
  const double most = kerfTolerance(options).value_or(0.001);
  notes.vanished = offsetForKerf(drawing, outside ? half : -half, checkpoint, most);
  // Letters set closer than the kerf: their offset paths overlap though their outlines did
  // not. Welding them again after the offset cuts them as one (moving outward, the union of
  // the grown areas is the grown union); without a weld they are named. Moving inward keeps
  // every path inside its own letter, so nothing new can overlap.
  if (options.weld) {
    if (outside) weldOverlaps(drawing, checkpoint, kerfArcTolerance(half, most));
  } else {
    // One pair more than listed tells whether there are more.
    const auto pairs = overlappingCharacters(drawing, checkpoint, kListedOverlaps + 1);
    notes.moreOverlapping = pairs.size() > kListedOverlaps;
    for (std::size_t k = 0; k < pairs.size() && k < kListedOverlaps; ++k)
      notes.overlapping.emplace_back(placeOf(drawing.characters[pairs[k].first]),
                                     placeOf(drawing.characters[pairs[k].second]));
  }
  return notes;
}

std::string tabSummary(const TabNotes& tabs) {
  if (tabs.short_ == 0) return {};
  return "Tabs: " + std::to_string(tabs.short_) + " of " + std::to_string(tabs.rings) +
         " contours have fewer tabs than asked (no room between corners and other tabs).";
}

std::string bridgeSummary(const BridgeNotes& bridges) {
  if (bridges.loose == 0) return {};
  return "Stencil: " + std::to_string(bridges.loose) + " of " + std::to_string(bridges.islands) +
         " islands have no bridge (no stroke crossing in the direction asked) and will fall out.";
}

std::string vanishedSummary(const std::vector<VanishedPath>& vanished) {
  if (vanished.empty()) return {};
  std::string out = "Kerf: " + std::to_string(vanished.size()) +
                    (vanished.size() == 1 ? " ring is" : " rings are") +
                    " narrower than the kerf and not cut:";
  for (std::size_t i = 0; i < vanished.size() && i < kNamedInSummary; ++i) {
    const VanishedPath& v = vanished[i];
    out += i == 0 ? " " : "; ";
    out += v.hole ? "a hole of " : "a part of ";
    appendPlace(out, {v.position, v.character, v.line});
  }
  appendMore(out, vanished.size());
  out += '.';
  return out;
}

std::string toolpathSummary(const ToolpathNotes& notes) {
  std::string out = vanishedSummary(notes.vanished);
  const std::string overlaps = overlapSummary(notes.overlapping, notes.moreOverlapping);
  if (!overlaps.empty()) out += (out.empty() ? "" : " ") + overlaps;
  return out;
}

std::string overlapSummary(const std::vector<std::pair<CharacterPlace, CharacterPlace>>& pairs,
                           bool more) {
  if (pairs.empty()) return {};
  std::string out = "Kerf: the paths of " + std::string(more ? "more than " : "") +
                    std::to_string(pairs.size()) +
                    (pairs.size() == 1 && !more ? " pair" : " pairs") +
                    " of characters overlap, so each cuts into the other:";
  for (std::size_t i = 0; i < pairs.size() && i < kNamedInSummary; ++i) {
    out += i == 0 ? " " : "; ";
    appendPlace(out, pairs[i].first);
    out += " and ";
    appendPlace(out, pairs[i].second);
  }
  if (more)
    out += "; and more";
  else
    appendMore(out, pairs.size());
  out += ". Weld them or set them further apart.";
  return out;
}

}  // namespace kerfline
