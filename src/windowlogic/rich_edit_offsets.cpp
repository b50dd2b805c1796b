#include "windowlogic/rich_edit_offsets.h"

#include <algorithm>

#include "common/utf8.h"

namespace kerfline {
namespace {

constexpr bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
constexpr bool isLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// True when a surrogate pair starts at raw[i].
bool pairAt(std::u16string_view raw, std::size_t i) {
  return isHighSurrogate(raw[i]) && i + 1 < raw.size() && isLowSurrogate(raw[i + 1]);
}

}  // namespace

std::u16string toDocumentText(std::u32string_view text, bool& afterCr) {
  std::u16string out;
  out.reserve(text.size());
  for (char32_t c : text) {
    if (c == U'\n' && afterCr) {
      afterCr = false;
      continue;
    }
    afterCr = c == U'\r';
    if (c == U'\r' || c == U'\n' || c == 0x2028 || c == 0x2029) {
      out.push_back(u'\u2029');
    } else if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF || c == 0xFDD0 || c == 0xFDD1) {
      // A surrogate code point would pair up with its neighbour and a frame mark would open a
      // frame: either would change the character count.
      out.push_back(static_cast<char16_t>(kReplacementChar));
    } else if (c > 0xFFFF) {
      const char32_t v = c - 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (v >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (v & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(c));
    }
  }
  return out;
}

void appendFromDocumentText(std::u16string_view raw, std::u32string& out) {
  for (std::size_t i = 0; i < raw.size(); ++i) {
    const char16_t u = raw[i];
    if (isDocumentLineBreak(u)) {
      out.push_back(U'\r');
      out.push_back(U'\n');
    } else if (pairAt(raw, i)) {
      out.push_back(0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) +
                    (static_cast<char32_t>(raw[i + 1]) - 0xDC00));
      ++i;
    } else {
      out.push_back(u);
    }
  }
}

EditorOffsetIndex::EditorOffsetIndex() : lines_{Line{}} {}

EditorOffsetIndex::EditorOffsetIndex(std::u16string raw) : raw_(std::move(raw)) {
  lines_.push_back(Line{});
  std::int32_t offset = 0;
  for (std::size_t i = 0; i < raw_.size(); ++i) {
    if (isDocumentLineBreak(raw_[i])) {
      offset += 2;
      lines_.push_back(Line{static_cast<std::int32_t>(i + 1), offset, true});
    } else {
      if (pairAt(raw_, i)) {
        lines_.back().bmpOnly = false;
        ++i;
      }
      ++offset;
    }
  }
  length_ = offset;
}

std::int32_t EditorOffsetIndex::rawLineEnd(std::size_t line) const {
  return line + 1 < lines_.size() ? lines_[line + 1].raw - 1 : rawLength();
}

std::int32_t EditorOffsetIndex::lineOfOffset(std::int32_t offset) const {
  const auto it = std::upper_bound(lines_.begin(), lines_.end(), offset,
                                   [](std::int32_t o, const Line& l) { return o < l.offset; });
  return it == lines_.begin() ? 0 : static_cast<std::int32_t>(it - lines_.begin() - 1);
}

std::int32_t EditorOffsetIndex::lineOfRaw(std::int32_t pos) const {
  const auto it = std::upper_bound(lines_.begin(), lines_.end(), pos,
                                   [](std::int32_t p, const Line& l) { return p < l.raw; });
  return it == lines_.begin() ? 0 : static_cast<std::int32_t>(it - lines_.begin() - 1);
}

std::int32_t EditorOffsetIndex::lineStart(std::int32_t line) const {
  return lines_[static_cast<std::size_t>(line)].offset;
}

std::int32_t EditorOffsetIndex::offsetFromRaw(std::int32_t pos) const {
  pos = std::clamp(pos, 0, rawLength());
  const auto n = static_cast<std::size_t>(lineOfRaw(pos));
  const Line& line = lines_[n];
  if (line.bmpOnly) return line.offset + (pos - line.raw);
  std::int32_t offset = line.offset;
  auto i = static_cast<std::size_t>(line.raw);
  while (i < static_cast<std::size_t>(pos)) {
    const std::size_t step = pairAt(raw_, i) ? 2 : 1;
    if (i + step > static_cast<std::size_t>(pos)) break;  // pos inside a pair
    i += step;
    ++offset;
  }
  return offset;
}

std::int32_t EditorOffsetIndex::rawFromOffset(std::int32_t offset) const {
  offset = std::clamp(offset, 0, length_);
  const auto n = static_cast<std::size_t>(lineOfOffset(offset));
  const Line& line = lines_[n];
  const std::int32_t end = rawLineEnd(n);
  const std::int32_t within = offset - line.offset;
  if (line.bmpOnly) return std::min(line.raw + within, end);
  auto i = static_cast<std::size_t>(line.raw);
  for (std::int32_t k = 0; k < within && i < static_cast<std::size_t>(end); ++k)
    i += pairAt(raw_, i) ? 2 : 1;
  return static_cast<std::int32_t>(i);
}

std::u32string EditorOffsetIndex::text() const {
  std::u32string out;
  out.reserve(static_cast<std::size_t>(length_));
  appendFromDocumentText(raw_, out);
  return out;
}

}  // namespace kerfline
