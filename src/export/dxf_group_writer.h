#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace kerfline {

class OutputFile;

/// Writes DXF group-code/value pairs through a buffer into an OutputFile: the code right-aligned
/// in three columns, every line ending in the given line end, reals by the DxfReal rule.
class DxfGroupWriter {
 public:
  /// file must outlive the writer; call flush() before committing it. lineEnd is "\r\n"
  /// (as every classic form) or "\n".
  explicit DxfGroupWriter(OutputFile& file, std::string_view lineEnd = "\r\n");
  DxfGroupWriter(const DxfGroupWriter&) = delete;
  DxfGroupWriter& operator=(const DxfGroupWriter&) = delete;

  /// A string value (written as given: the caller keeps CR and LF out of it).
  void text(int code, std::string_view value);
  /// An integer value, right-aligned in six columns.
  void integer(int code, long value);
  /// A real value as DxfReal of the single-precision value; throws Error for a non-finite v.
  void real(int code, float v);
  /// A handle (or a pointer to one) in upper-case hexadecimal.
  void handle(int code, std::uint32_t h);
  /// "0 SECTION" and "2 name": the start of a section.
  void beginSection(std::string_view name);
  /// "0 ENDSEC".
  void endSection();
  /// Text already laid out as DXF lines (each ending in lineEnd()).
  void raw(std::string_view lines);
  /// Only the DxfReal text of v and the line end, for a value whose code went out with raw().
  void realValue(float v);
  /// The line end every line gets.
  const std::string& lineEnd() const { return lineEnd_; }

  /// Writes out what is buffered once the buffer is well filled (call between entities).
  void flushIfFull();
  /// Writes out everything buffered; the OutputFile is then ready for commit().
  void flush();

 private:
  void code(int c);

  OutputFile& file_;
  std::string lineEnd_;
  std::string buffer_;
};

}  // namespace kerfline
