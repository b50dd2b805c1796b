#pragma once
// Weld and kerf for a drawing that is laid out again and again with small changes (the job
// view while someone types): only the characters an edit moved or changed, and those touching
// them, are welded and offset again.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "export/conversion_options.h"
#include "export/toolpath_export.h"
#include "geometry/contour.h"

namespace kerfline {

/// applyWeldAndKerf, remembering the result of each group of touching characters. Characters
/// whose rings come within the kerf of each other (directly or through others, on one line or
/// across lines; touchingGroups) are welded and offset together: neither weld nor offset can
/// join anything to a character outside its group. A group whose characters have the same code points and paths
/// as a group of the previous call takes that group's result, whatever their text positions and
/// lines now are. The result, notes included, is exactly applyWeldAndKerf's. One per thread.
class WeldKerfCache {
 public:
  /// As applyWeldAndKerf(drawing, options, checkpoint). Keeps only the groups of this call.
  ToolpathNotes apply(Drawing& drawing, const ConversionOptions& options,
                      const Checkpoint& checkpoint = {});

  /// Groups welded and offset (not taken from earlier calls) by the last apply.
  std::size_t recomputedGroups() const { return recomputed_; }
  /// Groups the last apply split its drawing into.
  std::size_t groups() const { return groupCount_; }

 private:
  // A group's characters and result, text positions replaced by the 1-based index of the
  // character in its group and lines by 0, so that the result names characters by that index.
  struct Entry {
    std::vector<PlacedCharacter> input;
    std::vector<PlacedCharacter> output;  ///< in the group's cutting order
    std::vector<std::int32_t> runs;       ///< per output, the index heading its run (crossCharacterOrder)
    ToolpathNotes notes;
    std::uint64_t generation = 0;
  };
  /// Welds and offsets the members of drawing as one group.
  static Entry weldAndOffset(const Drawing& drawing, const std::vector<std::size_t>& members,
                             const ConversionOptions& options, const Checkpoint& checkpoint);
  /// The options applyWeldAndKerf reads: a change of any of them forgets every group.
  struct Settings {
    bool weld = false;
    std::optional<double> kerf;
    KerfSide kerfSide = KerfSide::Outside;
    friend bool operator==(const Settings&, const Settings&) = default;
  };

  std::unordered_multimap<std::uint64_t, Entry> entries_;
  std::optional<Settings> settings_;
  std::uint64_t generation_ = 0;
  std::size_t recomputed_ = 0;
  std::size_t groupCount_ = 0;
};

/// The characters of drawing (indices, ascending within a group; groups in the order of their
/// first character) that weld and a kerf of width kerf may join or nest: those whose closed
/// rings come within kerf of each other (with a little to spare), or whose extent lies within
/// another's or a group's extent grown by kerf, directly or through others. A character with
/// open paths joins every character whose extent, grown by kerf, meets its own; one without
/// paths is alone.
std::vector<std::vector<std::size_t>> touchingGroups(const Drawing& drawing, double kerf);

}  // namespace kerfline
