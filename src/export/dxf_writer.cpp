#include "export/dxf_writer.h"

#include <cstring>

#include "export/output_file.h"

namespace kerfline {
namespace {

// Largest entity: a POLYLINE with three layer names, six numbers and about 250 bytes of fixed
// text; the margin keeps every entity within one piece of the buffer.
constexpr std::size_t kEntityRoom = 1024;

void put(char*& p, std::string_view text) {
  std::memcpy(p, text.data(), text.size());
  p += text.size();
}

void put(char*& p, const DxfNumber& n) {
  std::memcpy(p, n.text, kDxfRealMaxLength);  // fixed size: one move, the tail is overwritten
  p += n.length;
}

// The X, 20, Y, 30, Z lines every point of both entities shares (its 10 code goes before).
void putPoint(char*& p, const DxfNumber& x, const DxfNumber& y, const DxfNumber& z) {
  put(p, x);
  put(p, "\r\n 20\r\n");
  put(p, y);
  put(p, "\r\n 30\r\n");
  put(p, z);
}

}  // namespace

DxfWriter::DxfWriter(OutputFile& file, std::string_view layer)
    : out_(file), entityRoom_(kEntityRoom + layer.size() * 3) {
  const std::string name(layer);
  linePrefix_ = "  0\r\nLINE\r\n  8\r\n" + name + "\r\n 10\r\n";
  vertexPrefix_ = "\r\n 42\r\n0.0\r\n  0\r\nVERTEX\r\n  8\r\n" + name + "\r\n 10\r\n";
  polyPrefix_ = "POLYLINE\r\n  8\r\n" + name +
                "\r\n 66\r\n     1\r\n 10\r\n0.0\r\n 20\r\n0.0\r\n 30\r\n0.0\r\n  0\r\nVERTEX\r\n"
                "  8\r\n" +
                name + "\r\n 10\r\n";
}

DxfWriter::~DxfWriter() = default;

void DxfWriter::flush() { out_.flush(); }

void DxfWriter::lineFrameHeader() { out_.put("  0\r\nSECTION\r\n  2\r\nENTITIES\r\n"); }

void DxfWriter::lineFrameFooter() { out_.put("  0\r\nENDSEC\r\n  0\r\nEOF\r\n"); }

void DxfWriter::polyFrameHeader() { out_.put("  0\r\nSECTION\r\n  2\r\nENTITIES\r\n  0\r\n"); }

void DxfWriter::polyFrameFooter() { out_.put("ENDSEC\r\n  0\r\nEOF\r\n"); }

void DxfWriter::DxfLine(const DxfNumber& x1, const DxfNumber& y1, const DxfNumber& z1,
                        const DxfNumber& x2, const DxfNumber& y2, const DxfNumber& z2) {
  char* p = out_.room(entityRoom_);
  put(p, linePrefix_);
  putPoint(p, x1, y1, z1);
  put(p, "\r\n 11\r\n");
  put(p, x2);
  put(p, "\r\n 21\r\n");
  put(p, y2);
  put(p, "\r\n 31\r\n");
  put(p, z2);
  put(p, "\r\n");
  out_.advance(p);
}

void DxfWriter::DxfPolyLine(const DxfNumber& x1, const DxfNumber& y1, const DxfNumber& z1,
                            const DxfNumber& x2, const DxfNumber& y2, const DxfNumber& z2) {
  char* p = out_.room(entityRoom_);
  put(p, polyPrefix_);
  putPoint(p, x1, y1, z1);
  put(p, vertexPrefix_);
  putPoint(p, x2, y2, z2);
  put(p, "\r\n 42\r\n0.0\r\n  0\r\nSEQEND\r\n  0\r\n");
  out_.advance(p);
}

}  // namespace kerfline
