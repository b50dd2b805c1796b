#include "export/dxf_group_writer.h"

#include <cstdio>

#include "export/dxf_real.h"
#include "export/output_file.h"

namespace kerfline {
namespace {

constexpr std::size_t kFlushAt = std::size_t{1} << 20;

}  // namespace

DxfGroupWriter::DxfGroupWriter(OutputFile& file, std::string_view lineEnd)
    : file_(file), lineEnd_(lineEnd) {
  buffer_.reserve(kFlushAt + (kFlushAt >> 2));
}

void DxfGroupWriter::code(int c) {
  char text[16];
  const int n = std::snprintf(text, sizeof text, "%3d", c);
  buffer_.append(text, static_cast<std::size_t>(n));
  buffer_.append(lineEnd_);
}

void DxfGroupWriter::text(int c, std::string_view value) {
  code(c);
  buffer_.append(value);
  buffer_.append(lineEnd_);
}

void DxfGroupWriter::integer(int c, long value) {
  code(c);
  char text[32];
  const int n = std::snprintf(text, sizeof text, "%6ld", value);
  buffer_.append(text, static_cast<std::size_t>(n));
  buffer_.append(lineEnd_);
}

void DxfGroupWriter::real(int c, float v) {
  code(c);
  realValue(v);
}

void DxfGroupWriter::realValue(float v) {
  appendDxfReal(buffer_, v);
  buffer_.append(lineEnd_);
}

void DxfGroupWriter::handle(int c, std::uint32_t h) {
  code(c);
  char text[16];
  const int n = std::snprintf(text, sizeof text, "%X", h);
  buffer_.append(text, static_cast<std::size_t>(n));
  buffer_.append(lineEnd_);
}

void DxfGroupWriter::beginSection(std::string_view name) {
  text(0, "SECTION");
  text(2, name);
}

void DxfGroupWriter::endSection() { text(0, "ENDSEC"); }

void DxfGroupWriter::raw(std::string_view lines) { buffer_.append(lines); }

void DxfGroupWriter::flushIfFull() {
  if (buffer_.size() >= kFlushAt) flush();
}

void DxfGroupWriter::flush() {
  file_.write(buffer_.data(), buffer_.size());
  buffer_.clear();
}

}  // namespace kerfline
