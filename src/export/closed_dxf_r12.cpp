// The closed-polyline DXF as R12 (AC1009): no handles, POLYLINE / VERTEX / SEQEND entities.
#include <vector>

#include "export/closed_dxf_writer.h"
#include "export/dxf_group_writer.h"
#include "export/dxf_layer.h"
#include "export/dxf_real.h"
#include "export/closed_dxf_header.h"

namespace kerfline {

void writeClosedDxfR12(DxfGroupWriter& out, const Drawing& drawing, const ClosedDxfFrame& frame) {
  const std::string layer = tableLayerName(drawing.layer);
  const Extent extent = drawing.extent();

  out.beginSection("HEADER");
  out.text(9, "$ACADVER");
  out.text(1, "AC1009");
  out.text(9, "$DWGCODEPAGE");
  out.text(3, "ANSI_1252");  // the layer name's bytes are Windows-1252
  writeUnitsAndExtent(out, extent, frame);
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
  const std::string z = DxfReal(frame.zCut);
  // Every entity repeats these lines; they are laid out once.
  const std::string polyline = "  0\r\nPOLYLINE\r\n  8\r\n" + layer +
                               "\r\n 66\r\n     1\r\n 10\r\n0\r\n 20\r\n0\r\n 30\r\n" + z +
                               "\r\n 70\r\n";
  const std::string vertex = "  0\r\nVERTEX\r\n  8\r\n" + layer + "\r\n 10\r\n";
  const std::string vertexTail = " 30\r\n" + z + "\r\n";
  const std::string seqend = "  0\r\nSEQEND\r\n  8\r\n" + layer + "\r\n";
  std::size_t path = 0;
  for (const PlacedCharacter& c : drawing.characters) {
    for (const Contour& k : c.contours) {
      const std::vector<double>* bulges = drawing.bulgesOf(path++);
      out.raw(polyline);
      // Exactly 1 for a closed ring: some CAM importers read any other flag value as open.
      out.raw(k.closed ? "     1\r\n" : "     0\r\n");
      for (std::size_t i = 0; i < k.points.size(); ++i) {
        const Vec2& p = k.points[i];
        out.raw(vertex);
        out.realValue(static_cast<float>(p.x));
        out.raw(" 20\r\n");
        out.realValue(static_cast<float>(p.y));
        out.raw(vertexTail);
        // A vertex's bulge bends the piece to the next one into an arc (none: a line).
        if (bulges && i < bulges->size() && (*bulges)[i] != 0)
          out.real(42, static_cast<float>((*bulges)[i]));
      }
      out.raw(seqend);
      out.flushIfFull();
    }
  }
  out.endSection();
  out.text(0, "EOF");
}

}  // namespace kerfline
