#pragma once
// One line of text split into the runs a shaper takes whole: one font, one script, one
// direction; the runs in the order they stand on the line from left to right.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace kerfline {

/// A stretch of a line shaped in one piece.
struct TextRun {
  std::size_t start = 0;      ///< first code point (index into the line)
  std::size_t end = 0;        ///< one past the last
  int level = 0;              ///< bidi embedding level: odd runs go right to left
  std::uint32_t script = 0;   ///< ISO 15924 tag as HarfBuzz spells it (hb_script_t)
  std::size_t fontKey = 0;    ///< the caller's font of every code point of the run

  /// True when the run reads right to left.
  bool rightToLeft() const { return level % 2 == 1; }
  friend bool operator==(const TextRun&, const TextRun&) = default;
};

/// Splits line (code points, no line breaks) into runs of one font key (fontKeys holds one
/// per code point), one resolved script and one bidi level, the paragraph direction taken
/// from the first strong character; returns them in visual order (left to right).
std::vector<TextRun> itemizeLine(std::u32string_view line, std::span<const std::size_t> fontKeys);

}  // namespace kerfline
