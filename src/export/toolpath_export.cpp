#include "export/toolpath_export.h"

#include "common/utf8.h"
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

}  // namespace

ToolpathNotes applyWeldAndKerf(Drawing& drawing, const ConversionOptions& options,
                               const Checkpoint& checkpoint) {
  ToolpathNotes notes;
  if (options.weld) weldOverlaps(drawing, checkpoint);
  if (!options.kerf || options.kerfSide == KerfSide::On) return notes;
  const double half = *options.kerf / 2;
  const bool outside = options.kerfSide == KerfSide::Outside;
  notes.vanished = offsetForKerf(drawing, outside ? half : -half, checkpoint);
  // Letters set closer than the kerf: their offset paths overlap though their outlines did
  // not. Welding them again after the offset cuts them as one (moving outward, the union of
  // the grown areas is the grown union); without a weld they are named. Moving inward keeps
  // every path inside its own letter, so nothing new can overlap.
  if (options.weld) {
    if (outside) weldOverlaps(drawing, checkpoint, kerfArcTolerance(half));
  } else
    for (const auto& [i, j] : overlappingCharacters(drawing, checkpoint))
      notes.overlapping.emplace_back(placeOf(drawing.characters[i]), placeOf(drawing.characters[j]));
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
  for (std::size_t i = 0; i < vanished.size(); ++i) {
    const VanishedPath& v = vanished[i];
    out += i == 0 ? " " : "; ";
    out += v.hole ? "a hole of " : "a part of ";
    appendPlace(out, {v.position, v.character, v.line});
  }
  out += '.';
  return out;
}

std::string toolpathSummary(const ToolpathNotes& notes) {
  std::string out = vanishedSummary(notes.vanished);
  const std::string overlaps = overlapSummary(notes.overlapping);
  if (!overlaps.empty()) out += (out.empty() ? "" : " ") + overlaps;
  return out;
}

std::string overlapSummary(const std::vector<std::pair<CharacterPlace, CharacterPlace>>& pairs) {
  constexpr std::size_t kNamed = 3;
  if (pairs.empty()) return {};
  std::string out = "Kerf: the paths of " + std::to_string(pairs.size()) +
                    (pairs.size() == 1 ? " pair" : " pairs") +
                    " of characters overlap, so each cuts into the other:";
  for (std::size_t i = 0; i < pairs.size() && i < kNamed; ++i) {
    out += i == 0 ? " " : "; ";
    appendPlace(out, pairs[i].first);
    out += " and ";
    appendPlace(out, pairs[i].second);
  }
  if (pairs.size() > kNamed) out += "; ...";
  out += ". Weld them or set them further apart.";
  return out;
}

}  // namespace kerfline
