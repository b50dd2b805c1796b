#pragma once
#include <cstdint>

#include "common/font_description.h"

namespace kerfline {

/// A text the exports walk: Unicode code points (never half a surrogate pair), every line
/// break the two positions CR (13) and LF (10), and each position's font.
/// Positions are 1-based, as the export walk counts them.
class TextSource {
 public:
  virtual ~TextSource() = default;
  /// Number of positions (a line break counts two).
  virtual std::int32_t length() const = 0;
  /// The code point at 1-based position pos, 1 <= pos <= length().
  virtual char32_t charAt(std::int32_t pos) const = 0;
  /// The font of the character at 1-based position pos, 1 <= pos <= length().
  virtual TFontDescription fontAt(std::int32_t pos) const = 0;
};

}  // namespace kerfline
