#pragma once
#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>

namespace kerfline {

class OutputFile;

/// Text on its way into an OutputFile through one large buffer, so that a file of many small
/// pieces costs few writes and no allocation. A writer asks for room for what it writes next,
/// writes there with plain moves and hands back the end.
class OutputBuffer {
 public:
  /// file must outlive the buffer; call flush() before committing it.
  explicit OutputBuffer(OutputFile& file);
  ~OutputBuffer();
  OutputBuffer(const OutputBuffer&) = delete;
  OutputBuffer& operator=(const OutputBuffer&) = delete;

  /// Where at least n bytes (n at most kLargestPiece) may be written now; writes out what is
  /// buffered when the rest of the buffer is shorter.
  char* room(std::size_t n) {
    if (static_cast<std::size_t>(end_ - pos_) < n) makeRoom(n);
    return pos_;
  }
  /// Ends the piece begun at room(): the bytes up to end are kept.
  void advance(char* end) { pos_ = end; }
  /// Appends text of any length.
  void put(std::string_view text) {
    if (text.size() > kLargestPiece) return putLong(text);
    char* p = room(text.size());
    std::memcpy(p, text.data(), text.size());
    pos_ = p + text.size();
  }
  /// Writes out everything buffered.
  void flush();

  /// The most room one call may ask for.
  static constexpr std::size_t kLargestPiece = std::size_t{1} << 16;

 private:
  void makeRoom(std::size_t n);
  void putLong(std::string_view text);

  OutputFile& file_;
  std::unique_ptr<char[]> buffer_;
  char* pos_;
  char* end_;
};

}  // namespace kerfline
