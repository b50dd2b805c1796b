#include "richtext/styled_text.h"

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <utility>

namespace kerfline {

void StyledText::append(std::u32string_view text, const TFontDescription& format) {
  if (text.empty()) return;  // a run is never empty
  // Positions are signed 32-bit throughout the exports; refuse to grow past them.
  const auto limit = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
  if (text.size() > limit - text_.size()) throw std::length_error("StyledText longer than 2^31 - 1");
  const auto start = static_cast<std::int32_t>(text_.size());
  const auto count = static_cast<std::int32_t>(text.size());
  text_.append(text);
  if (!runs_.empty() && runs_.back().format == format) {
    runs_.back().length += count;
  } else {
    runs_.push_back(Run{start, count, format});
  }
}

void StyledText::append(char32_t c, const TFontDescription& format) {
  append(std::u32string_view(&c, 1), format);
}

void StyledText::assign(std::u32string text, const TFontDescription& format) {
  if (text.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
    throw std::length_error("StyledText longer than 2^31 - 1");
  }
  // Moving the buffer in spares a second copy of a large decoded file.
  text_ = std::move(text);
  runs_.clear();
  if (!text_.empty()) runs_.push_back(Run{0, static_cast<std::int32_t>(text_.size()), format});
}

const StyledText::Run& StyledText::runAt(std::int32_t index) const {
  if (index < 0 || index >= length()) throw std::out_of_range("StyledText::runAt");
  // The last run starting at or before index; runs are contiguous, so it holds index.
  const auto it = std::upper_bound(runs_.begin(), runs_.end(), index,
                                   [](std::int32_t i, const Run& r) { return i < r.start; });
  return *std::prev(it);
}

TFontDescription StyledText::fontAt(std::int32_t pos) const { return runAt(pos - 1).format; }

TFontDescription defaultEditorFormat() {
  TFontDescription f;
  f.Name = "MS Sans Serif";
  f.Size = 8;
  f.Bold = false;
  f.Italic = false;
  f.Underline = false;
  f.StrikeOut = false;
  f.CharSet = charset::Default;
  f.Pitch = TFontPitch::Default;
  f.Color = 0;
  return f;
}

}  // namespace kerfline
