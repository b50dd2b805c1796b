#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "export/dxf_real.h"
#include "export/output_buffer.h"

namespace kerfline {

class OutputFile;

/// A single-precision value with its DxfReal text, formatted once and written many times.
struct DxfNumber {
  char text[kDxfRealMaxLength] = {'0'};
  std::uint8_t length = 1;
  float value = 0.0f;

  DxfNumber() = default;
  /// Formats v; throws Error("Coordinate out of range.") for a non-finite v.
  explicit DxfNumber(float v)
      : length(static_cast<std::uint8_t>(writeDxfReal(text, v) - text)), value(v) {}
  std::string_view view() const { return {text, length}; }
};

/// Writes the DXF text of one ENTITIES section through an OutputBuffer into an OutputFile:
/// group codes right-aligned in three columns, every line ending in CR LF.
class DxfWriter {
 public:
  /// layer is DxfLayer, the single-byte value of every group code 8.
  DxfWriter(OutputFile& file, std::string_view layer);
  ~DxfWriter();
  DxfWriter(const DxfWriter&) = delete;
  DxfWriter& operator=(const DxfWriter&) = delete;

  /// "  0" "SECTION" "  2" "ENTITIES": opens a file of LINE entities.
  void lineFrameHeader();
  /// "  0" "ENDSEC" "  0" "EOF": closes a file of LINE entities.
  void lineFrameFooter();
  /// The LINE header plus the "  0" that the first POLYLINE (or ENDSEC) follows.
  void polyFrameHeader();
  /// "ENDSEC" "  0" "EOF" after the last POLYLINE's trailing "  0".
  void polyFrameFooter();

  /// One LINE entity, 16 lines, from (x1, y1, z1) to (x2, y2, z2).
  void DxfLine(const DxfNumber& x1, const DxfNumber& y1, const DxfNumber& z1,
               const DxfNumber& x2, const DxfNumber& y2, const DxfNumber& z2);
  /// One two-vertex POLYLINE entity, 38 lines, without its leading "  0" and ending in "  0".
  void DxfPolyLine(const DxfNumber& x1, const DxfNumber& y1, const DxfNumber& z1,
                   const DxfNumber& x2, const DxfNumber& y2, const DxfNumber& z2);

  /// Writes out what is buffered; the OutputFile is then ready for commit().
  void flush();

 private:
  OutputBuffer out_;
  std::size_t entityRoom_;     // the most one entity can take
  std::string linePrefix_;     // "  0" "LINE" "  8" layer " 10"
  std::string polyPrefix_;     // "POLYLINE" ... first "VERTEX" ... " 10"
  std::string vertexPrefix_;   // " 42" "0.0" "  0" "VERTEX" "  8" layer " 10"
};

}  // namespace kerfline
