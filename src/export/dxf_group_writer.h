#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "export/output_buffer.h"

namespace kerfline {

class OutputFile;

/// Writes DXF group-code/value pairs through an OutputBuffer into an OutputFile: the code
/// right-aligned in three columns, every line ending in the given line end, reals by the
/// DxfReal rule.
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
  void raw(std::string_view lines) { out_.put(lines); }
  /// Only the DxfReal text of v and the line end, for a value whose code went out with raw().
  void realValue(float v);
  /// The line end every line gets.
  const std::string& lineEnd() const { return lineEnd_; }

  /// Where the hot loops lay out many lines at once: at least n bytes (OutputBuffer::room).
  char* room(std::size_t n) { return out_.room(n); }
  /// Ends a piece begun at room().
  void advance(char* end) { out_.advance(end); }
  /// Writes the DxfReal text of v and the line end at p, which has room for
  /// kDxfRealMaxLength more bytes than that; returns the end.
  char* putRealValue(char* p, float v) const;

  /// Writes out everything buffered; the OutputFile is then ready for commit().
  void flush() { out_.flush(); }

 private:
  void code(int c);

  OutputBuffer out_;
  std::string lineEnd_;
};

}  // namespace kerfline
