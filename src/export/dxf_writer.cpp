#include "export/dxf_writer.h"

#include <cstring>

#include "export/output_file.h"

namespace kerfline {
namespace {

constexpr std::size_t kBufferSize = std::size_t{1} << 20;
// Largest entity: a POLYLINE with three layer names of at most 255 bytes, six numbers and
// about 250 bytes of fixed text; the margin keeps every entity within one buffer fill.
constexpr std::size_t kEntityRoom = 4096;

}  // namespace

DxfWriter::DxfWriter(OutputFile& file, std::string_view layer)
    : file_(file),
      buffer_(new char[kBufferSize]),
      pos_(buffer_.get()),
      limit_(buffer_.get() + kBufferSize - kEntityRoom - layer.size() * 3) {
  const std::string name(layer);
  linePrefix_ = "  0\r\nLINE\r\n  8\r\n" + name + "\r\n 10\r\n";
  vertexPrefix_ = "\r\n 42\r\n0.0\r\n  0\r\nVERTEX\r\n  8\r\n" + name + "\r\n 10\r\n";
  polyPrefix_ = "POLYLINE\r\n  8\r\n" + name +
                "\r\n 66\r\n     1\r\n 10\r\n0.0\r\n 20\r\n0.0\r\n 30\r\n0.0\r\n  0\r\nVERTEX\r\n"
                "  8\r\n" +
                name + "\r\n 10\r\n";
}

DxfWriter::~DxfWriter() = default;

void DxfWriter::put(std::string_view text) {
  std::memcpy(pos_, text.data(), text.size());
  pos_ += text.size();
}

void DxfWriter::put(const DxfNumber& n) {
  std::memcpy(pos_, n.text, kDxfRealMaxLength);  // fixed size: one move, the tail is overwritten
  pos_ += n.length;
}

void DxfWriter::ensureRoom() {
  if (pos_ > limit_) flush();
}

void DxfWriter::flush() {
  file_.write(buffer_.get(), static_cast<std::size_t>(pos_ - buffer_.get()));
  pos_ = buffer_.get();
}

void DxfWriter::lineFrameHeader() {
  ensureRoom();
  put("  0\r\nSECTION\r\n  2\r\nENTITIES\r\n");
}

void DxfWriter::lineFrameFooter() {
  ensureRoom();
  put("  0\r\nENDSEC\r\n  0\r\nEOF\r\n");
}

void DxfWriter::polyFrameHeader() {
  ensureRoom();
  put("  0\r\nSECTION\r\n  2\r\nENTITIES\r\n  0\r\n");
}

void DxfWriter::polyFrameFooter() {
  ensureRoom();
  put("ENDSEC\r\n  0\r\nEOF\r\n");
}

// The X, 20, Y, 30, Z lines every point of both entities shares (its 10 code goes before).
void DxfWriter::putPoint(const DxfNumber& x, const DxfNumber& y, const DxfNumber& z) {
  put(x);
  put("\r\n 20\r\n");
  put(y);
  put("\r\n 30\r\n");
  put(z);
}

void DxfWriter::DxfLine(const DxfNumber& x1, const DxfNumber& y1, const DxfNumber& z1,
                        const DxfNumber& x2, const DxfNumber& y2, const DxfNumber& z2) {
  ensureRoom();
  put(linePrefix_);
  putPoint(x1, y1, z1);
  put("\r\n 11\r\n");
  put(x2);
  put("\r\n 21\r\n");
  put(y2);
  put("\r\n 31\r\n");
  put(z2);
  put("\r\n");
}

void DxfWriter::DxfPolyLine(const DxfNumber& x1, const DxfNumber& y1, const DxfNumber& z1,
                            const DxfNumber& x2, const DxfNumber& y2, const DxfNumber& z2) {
  ensureRoom();
  put(polyPrefix_);
  putPoint(x1, y1, z1);
  put(vertexPrefix_);
  putPoint(x2, y2, z2);
  put("\r\n 42\r\n0.0\r\n  0\r\nSEQEND\r\n  0\r\n");
}

}  // namespace kerfline
