// The closed-polyline DXF as R12 (AC1009): no handles, POLYLINE / VERTEX / SEQEND entities.
#include <cstring>
#include <vector>

#include "export/closed_dxf_header.h"
#include "export/closed_dxf_writer.h"
#include "export/dxf_group_writer.h"
#include "export/dxf_real.h"
#include "export/number_text_cache.h"

namespace kerfline {
namespace {

void writeHead(DxfGroupWriter& out, const ClosedDxfFrame& frame) {
  const std::string& layer = frame.layer;
  out.beginSection("HEADER");
  out.text(9, "$ACADVER");
  out.text(1, "AC1009");
  out.text(9, "$DWGCODEPAGE");
  out.text(3, "ANSI_1252");  // the layer name's bytes are Windows-1252
  writeUnitsAndExtent(out, frame.extent, frame);
  out.endSection();

  out.beginSection("TABLES");
  out.text(0, "TABLE");
  out.text(2, "LTYPE");
  out.integer(70, 1);
  out.text(0, "LTYPE");
  out.text(2, "CONTINUOUS");
  out.integer(70, 0);
  out.text(3, "Solid line");
  out.integer(72, 65);
  out.integer(73, 0);
  out.real(40, 0.0f);
  out.text(0, "ENDTAB");
  out.text(0, "TABLE");
  out.text(2, "LAYER");
  // Layer 0 always exists in a drawing; readers expect its entry even when nothing is on it.
  const bool ownLayer = layer != "0";
  out.integer(70, ownLayer ? 2 : 1);
  for (const std::string& name : ownLayer ? std::vector<std::string>{"0", layer}
                                          : std::vector<std::string>{"0"}) {
    out.text(0, "LAYER");
    out.text(2, name);
    out.integer(70, 0);
    out.integer(62, 7);
    out.text(6, "CONTINUOUS");
  }
  out.text(0, "ENDTAB");
  out.endSection();

  out.beginSection("BLOCKS");
  out.endSection();

  out.beginSection("ENTITIES");
}

// Every entity repeats most of its lines; they are laid out once, and each vertex goes out as
// one piece.
class R12Body final : public ClosedDxfBody {
 public:
  R12Body(DxfGroupWriter& out, const ClosedDxfFrame& frame) : out_(out), frame_(frame) {
    writeHead(out, frame);
    const std::string& layer = frame.layer;
    const std::string z = DxfReal(frame.zCut);
    polyline_ = "  0\r\nPOLYLINE\r\n  8\r\n" + layer +
                "\r\n 66\r\n     1\r\n 10\r\n0\r\n 20\r\n0\r\n 30\r\n" + z + "\r\n 70\r\n";
    vertex_ = "  0\r\nVERTEX\r\n  8\r\n" + layer + "\r\n 10\r\n";
    vertexTail_ = " 30\r\n" + z + "\r\n";
    seqend_ = "  0\r\nSEQEND\r\n  8\r\n" + layer + "\r\n";
    vertexRoom_ = vertex_.size() + vertexTail_.size() + 4 * kDxfRealMaxLength;
  }

  void path(const Contour& k, const std::vector<double>* bulges) override {
    if (writtenAsLine(frame_, k, bulges)) {
      out_.text(0, "LINE");
      out_.text(8, frame_.layer);
      for (int end = 0; end < 2; ++end) {
        out_.real(10 + end, static_cast<float>(k.points[end].x));
        out_.real(20 + end, static_cast<float>(k.points[end].y));
        out_.real(30 + end, frame_.zCut);
      }
      return;
    }
    out_.raw(polyline_);
    // Exactly 1 for a closed ring: some CAM importers read any other flag value as open.
    out_.raw(k.closed ? "     1\r\n" : "     0\r\n");
    for (std::size_t i = 0; i < k.points.size(); ++i) {
      vertex(k.points[i]);
      // A vertex's bulge bends the piece to the next one into an arc (none: a line).
      if (bulges && i < bulges->size() && (*bulges)[i] != 0)
        out_.real(42, static_cast<float>((*bulges)[i]));
    }
    out_.raw(seqend_);
  }

  void path3d(std::span<const CarvePoint> points) override {
    out_.text(0, "POLYLINE");
    out_.text(8, frame_.layer);
    out_.integer(66, 1);
    out_.real(10, 0.0f);
    out_.real(20, 0.0f);
    out_.real(30, 0.0f);
    out_.integer(70, 8);
    for (const CarvePoint& p : points) {
      out_.text(0, "VERTEX");
      out_.text(8, frame_.layer);
      out_.real(10, static_cast<float>(p.x));
      out_.real(20, static_cast<float>(p.y));
      out_.real(30, static_cast<float>(p.z));
      out_.integer(70, 32);
    }
    out_.raw(seqend_);
  }

  void finish() override {
    out_.endSection();
    out_.text(0, "EOF");
  }

 private:
  static char* put(char* at, const std::string& text) {
    std::memcpy(at, text.data(), text.size());
    return at + text.size();
  }

  void vertex(const Vec2& p) {
    char* at = put(out_.room(vertexRoom_), vertex_);
    at = out_.putRealValue(at, static_cast<float>(p.x));
    std::memcpy(at, " 20\r\n", 5);
    at = yTexts_->write(at + 5, static_cast<float>(p.y));
    std::memcpy(at, "\r\n", 2);
    at += 2;
    out_.advance(put(at, vertexTail_));
  }

  DxfGroupWriter& out_;
  ClosedDxfFrame frame_;
  std::string polyline_;
  std::string vertex_;
  std::string vertexTail_;
  std::string seqend_;
  std::size_t vertexRoom_ = 0;
  // Heights repeat in every letter of a line: two in three Y texts are met again.
  std::unique_ptr<NumberTextCache<writeDxfReal, 2 * kDxfRealMaxLength, 10>> yTexts_ =
      std::make_unique<NumberTextCache<writeDxfReal, 2 * kDxfRealMaxLength, 10>>();
};

}  // namespace

std::unique_ptr<ClosedDxfBody> beginClosedDxfR12(DxfGroupWriter& out, const ClosedDxfFrame& frame) {
  return std::make_unique<R12Body>(out, frame);
}

}  // namespace kerfline
