#include "export/dxf_group_writer.h"

#include <cstdio>
#include <cstring>

#include "export/dxf_real.h"
#include "export/output_file.h"

namespace kerfline {

DxfGroupWriter::DxfGroupWriter(OutputFile& file, std::string_view lineEnd)
    : out_(file), lineEnd_(lineEnd) {}

void DxfGroupWriter::code(int c) {
  char text[16];
  const int n = std::snprintf(text, sizeof text, "%3d", c);
  out_.put({text, static_cast<std::size_t>(n)});
  out_.put(lineEnd_);
}

void DxfGroupWriter::text(int c, std::string_view value) {
  code(c);
  out_.put(value);
  out_.put(lineEnd_);
}

void DxfGroupWriter::integer(int c, long value) {
  code(c);
  char text[32];
  const int n = std::snprintf(text, sizeof text, "%6ld", value);
  out_.put({text, static_cast<std::size_t>(n)});
  out_.put(lineEnd_);
}

void DxfGroupWriter::real(int c, float v) {
  code(c);
  realValue(v);
}

char* DxfGroupWriter::putRealValue(char* p, float v) const {
  p = writeDxfReal(p, v);
  std::memcpy(p, lineEnd_.data(), lineEnd_.size());
  return p + lineEnd_.size();
}

void DxfGroupWriter::realValue(float v) {
  out_.advance(putRealValue(out_.room(2 * kDxfRealMaxLength), v));
}

void DxfGroupWriter::handle(int c, std::uint32_t h) {
  code(c);
  char text[16];
  const int n = std::snprintf(text, sizeof text, "%X", h);
  out_.put({text, static_cast<std::size_t>(n)});
  out_.put(lineEnd_);
}

void DxfGroupWriter::beginSection(std::string_view name) {
  text(0, "SECTION");
  text(2, name);
}

void DxfGroupWriter::endSection() { text(0, "ENDSEC"); }

}  // namespace kerfline
