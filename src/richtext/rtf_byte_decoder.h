#pragma once
#include <cstdint>

namespace kerfline::rtf {

/// Turns code-page bytes into characters one byte at a time, so that the two bytes of a
/// double-byte character may arrive as two tokens (\'81\'40 or \'81@).
/// Double-byte code pages (932, 936, 949, 950, 1361) have no tables here: each complete pair
/// becomes one U+FFFD, so the text keeps one position per character that was written.
class ByteDecoder {
 public:
  /// True for the double-byte code pages recognised here.
  static bool isDoubleByte(int codePage);

  /// Feeds one byte in the given code page. Returns the finished character, or 0 when the
  /// byte began a double-byte pair (or completed nothing that is shown).
  char32_t feed(int codePage, std::uint8_t b);
  /// Ends an unfinished pair: returns U+FFFD for a lead byte left waiting, else 0.
  char32_t flush();

 private:
  bool leadPending_ = false;
};

}  // namespace kerfline::rtf
