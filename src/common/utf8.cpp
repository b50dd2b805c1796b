#include "common/utf8.h"

namespace kerfline {
namespace {

bool isContinuation(unsigned char b) { return (b & 0xC0u) == 0x80u; }

// Decodes one well-formed sequence at bytes[i] into c and returns its length, or 0 when the
// bytes there do not start one (truncated, overlong, surrogate, above U+10FFFF, stray byte).
std::size_t decodeSequence(std::string_view bytes, std::size_t i, char32_t& c) {
  const auto at = [&](std::size_t k) { return static_cast<unsigned char>(bytes[i + k]); };
  const std::size_t left = bytes.size() - i;
  const unsigned char b0 = at(0);
  if (b0 < 0x80) {
    c = b0;
    return 1;
  }
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    if (left < 2 || !isContinuation(at(1))) return 0;
    c = (char32_t{b0 & 0x1Fu} << 6) | (at(1) & 0x3Fu);
    return 2;
  }
  if (b0 >= 0xE0 && b0 <= 0xEF) {
    if (left < 3 || !isContinuation(at(1)) || !isContinuation(at(2))) return 0;
    c = (char32_t{b0 & 0x0Fu} << 12) | (char32_t{at(1) & 0x3Fu} << 6) | (at(2) & 0x3Fu);
    if (c < 0x800 || (c >= 0xD800 && c <= 0xDFFF)) return 0;
    return 3;
  }
  if (b0 >= 0xF0 && b0 <= 0xF4) {
    if (left < 4 || !isContinuation(at(1)) || !isContinuation(at(2)) || !isContinuation(at(3))) {
      return 0;
    }
    c = (char32_t{b0 & 0x07u} << 18) | (char32_t{at(1) & 0x3Fu} << 12) |
        (char32_t{at(2) & 0x3Fu} << 6) | (at(3) & 0x3Fu);
    if (c < 0x10000 || c > 0x10FFFF) return 0;
    return 4;
  }
  return 0;  // C0, C1 (always overlong), F5..FF, or a continuation byte out of place
}

}  // namespace

std::u32string utf8ToU32(std::string_view utf8) {
  std::u32string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    char32_t c = 0;
    const std::size_t n = decodeSequence(utf8, i, c);
    if (n == 0) {
      // One replacement per bad byte, resynchronising at the very next byte, so no good
      // character after a damaged one is swallowed.
      out.push_back(kReplacementChar);
      ++i;
    } else {
      out.push_back(c);
      i += n;
    }
  }
  return out;
}

bool isValidUtf8(std::string_view bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    // ASCII dominates real text: skip it without the full decoder.
    if (static_cast<unsigned char>(bytes[i]) < 0x80) {
      ++i;
      continue;
    }
    char32_t c = 0;
    const std::size_t n = decodeSequence(bytes, i, c);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

void appendUtf8(std::string& out, char32_t c) {
  if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) c = kReplacementChar;
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

std::string u32ToUtf8(std::u32string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char32_t c : text) appendUtf8(out, c);
  return out;
}

}  // namespace kerfline
