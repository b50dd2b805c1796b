#pragma once
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace kerfline {

/// Remembers the texts of recently written floats, so that a value met again (the same height
/// in every letter of a line, the same X down a stem) is copied instead of formatted.
/// Format is a function char*(char* out, float v) writing at most Room characters.
template <char* (*Format)(char*, float), int Room, int LogSize = 12>
class NumberTextCache {
 public:
  NumberTextCache() {
    // A NaN's bits: never the key of a written number (non-finite values are refused).
    for (Entry& e : entries_) e.bits = 0xFFFFFFFFu;
  }

  /// Writes Format's text of v at out, which has room for Room characters; returns the end.
  char* write(char* out, float v) {
    const auto bits = std::bit_cast<std::uint32_t>(v);
    Entry& e = entries_[(bits * 0x9E3779B1u) >> (32 - LogSize)];
    if (e.bits == bits) {
      std::memcpy(out, e.text, sizeof e.text);  // fixed size: the tail is overwritten later
      return out + e.length;
    }
    char* end = Format(out, v);
    const auto length = static_cast<std::size_t>(end - out);
    if (length <= sizeof e.text) {
      e.bits = bits;
      e.length = static_cast<std::uint8_t>(length);
      std::memcpy(e.text, out, sizeof e.text);
    }
    return end;
  }

 private:
  static_assert(Room >= 27, "a cached text is copied 27 bytes at a time");
  struct Entry {
    std::uint32_t bits;
    std::uint8_t length;
    char text[27];
  };
  std::array<Entry, std::size_t{1} << LogSize> entries_;
};

}  // namespace kerfline
