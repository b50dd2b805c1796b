// The closed-polyline DXF as R2000 (AC1015): every object with its handle, its owner and its
// subclass markers, the nine symbol tables, the two layout blocks and the root dictionary a
// strict reader requires, then one LWPOLYLINE per contour.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "export/closed_dxf_header.h"
#include "export/closed_dxf_writer.h"
#include "export/dxf_group_writer.h"
#include "export/dxf_layer.h"
#include "export/dxf_real.h"
#include "export/number_text_cache.h"

namespace kerfline {
namespace {

// Fixed handles of the frame; the entities follow from kFirstEntity on.
enum Handle : std::uint32_t {
  kBlockRecordTable = 0x1,
  kLayerTable = 0x2,
  kStyleTable = 0x3,
  kLtypeTable = 0x5,
  kViewTable = 0x6,
  kUcsTable = 0x7,
  kVportTable = 0x8,
  kAppidTable = 0x9,
  kDimstyleTable = 0xA,
  kRootDictionary = 0xC,
  kGroupDictionary = 0xD,
  kLayerZero = 0x10,
  kStyleStandard = 0x11,
  kAppidAcad = 0x12,
  kLayerOwn = 0x13,
  kLtypeByBlock = 0x14,
  kLtypeByLayer = 0x15,
  kLtypeContinuous = 0x16,
  kDimstyleStandard = 0x17,
  kModelSpaceRecord = 0x18,
  kPaperSpaceRecord = 0x19,
  kModelSpaceBlock = 0x1A,
  kModelSpaceEnd = 0x1B,
  kPaperSpaceBlock = 0x1C,
  kPaperSpaceEnd = 0x1D,
  kActiveVport = 0x1E,
  kFirstEntity = 0x20,
};

void tableHead(DxfGroupWriter& out, const char* name, std::uint32_t handle, long entries) {
  out.text(0, "TABLE");
  out.text(2, name);
  out.handle(5, handle);
  out.handle(330, 0);
  out.text(100, "AcDbSymbolTable");
  out.integer(70, entries);
}

void recordHead(DxfGroupWriter& out, const char* type, std::uint32_t handle, std::uint32_t table,
                const char* subclass) {
  out.text(0, type);
  out.handle(5, handle);
  out.handle(330, table);
  out.text(100, "AcDbSymbolTableRecord");
  out.text(100, subclass);
}

// The view a reader opens with: the whole drawing, centred.
void writeVports(DxfGroupWriter& out, const Extent& extent) {
  tableHead(out, "VPORT", kVportTable, 1);
  recordHead(out, "VPORT", kActiveVport, kVportTable, "AcDbViewportTableRecord");
  out.text(2, "*Active");
  out.integer(70, 0);
  out.real(10, 0.0f);
  out.real(20, 0.0f);
  out.real(11, 1.0f);
  out.real(21, 1.0f);
  const bool empty = extent.empty();
  out.real(12, empty ? 0.0f : static_cast<float>((extent.minX + extent.maxX) / 2));
  out.real(22, empty ? 0.0f : static_cast<float>((extent.minY + extent.maxY) / 2));
  out.real(13, 0.0f);
  out.real(23, 0.0f);
  out.real(14, 1.0f);
  out.real(24, 1.0f);
  out.real(15, 1.0f);
  out.real(25, 1.0f);
  out.real(16, 0.0f);
  out.real(26, 0.0f);
  out.real(36, 1.0f);
  out.real(17, 0.0f);
  out.real(27, 0.0f);
  out.real(37, 0.0f);
  const double height = empty ? 0 : extent.height() * 1.1;
  out.real(40, height > 0 ? static_cast<float>(height) : 1.0f);
  out.real(41, 1.5f);
  out.real(42, 50.0f);
  out.real(43, 0.0f);
  out.real(44, 0.0f);
  out.real(50, 0.0f);
  out.real(51, 0.0f);
  out.integer(71, 0);
  out.integer(72, 100);
  out.integer(73, 1);
  out.integer(74, 3);
  out.integer(75, 0);
  out.integer(76, 0);
  out.integer(77, 0);
  out.integer(78, 0);
  out.text(0, "ENDTAB");
}

void writeLtypes(DxfGroupWriter& out) {
  tableHead(out, "LTYPE", kLtypeTable, 3);
  const struct {
    std::uint32_t handle;
    const char* name;
    const char* description;
  } types[] = {{kLtypeByBlock, "ByBlock", ""},
               {kLtypeByLayer, "ByLayer", ""},
               {kLtypeContinuous, "Continuous", "Solid line"}};
  for (const auto& t : types) {
    recordHead(out, "LTYPE", t.handle, kLtypeTable, "AcDbLinetypeTableRecord");
    out.text(2, t.name);
    out.integer(70, 0);
    out.text(3, t.description);
    out.integer(72, 65);
    out.integer(73, 0);
    out.real(40, 0.0f);
  }
  out.text(0, "ENDTAB");
}

void writeLayers(DxfGroupWriter& out, const std::string& layer) {
  // Layer 0 always exists in a drawing; readers expect its entry even when nothing is on it.
  const bool ownLayer = layer != "0";
  tableHead(out, "LAYER", kLayerTable, ownLayer ? 2 : 1);
  for (const auto& [handle, name] :
       ownLayer ? std::vector<std::pair<std::uint32_t, std::string>>{{kLayerZero, "0"},
                                                                    {kLayerOwn, layer}}
                : std::vector<std::pair<std::uint32_t, std::string>>{{kLayerZero, "0"}}) {
    recordHead(out, "LAYER", handle, kLayerTable, "AcDbLayerTableRecord");
    out.text(2, name);
    out.integer(70, 0);
    out.integer(62, 7);
    out.text(6, "Continuous");
  }
  out.text(0, "ENDTAB");
}

void writeStyles(DxfGroupWriter& out) {
  tableHead(out, "STYLE", kStyleTable, 1);
  recordHead(out, "STYLE", kStyleStandard, kStyleTable, "AcDbTextStyleTableRecord");
  out.text(2, "Standard");
  out.integer(70, 0);
  out.real(40, 0.0f);
  out.real(41, 1.0f);
  out.real(50, 0.0f);
  out.integer(71, 0);
  out.real(42, 2.5f);
  out.text(3, "txt");
  out.text(4, "");
  out.text(0, "ENDTAB");
}

void writeAppids(DxfGroupWriter& out) {
  tableHead(out, "APPID", kAppidTable, 1);
  recordHead(out, "APPID", kAppidAcad, kAppidTable, "AcDbRegAppTableRecord");
  out.text(2, "ACAD");
  out.integer(70, 0);
  out.text(0, "ENDTAB");
}

void writeDimstyles(DxfGroupWriter& out) {
  tableHead(out, "DIMSTYLE", kDimstyleTable, 1);
  out.text(100, "AcDbDimStyleTable");
  out.text(0, "DIMSTYLE");
  out.handle(105, kDimstyleStandard);  // DIMSTYLE alone keeps its handle in group 105
  out.handle(330, kDimstyleTable);
  out.text(100, "AcDbSymbolTableRecord");
  out.text(100, "AcDbDimStyleTableRecord");
  out.text(2, "Standard");
  out.integer(70, 0);
  out.text(0, "ENDTAB");
}

void writeBlockRecords(DxfGroupWriter& out) {
  tableHead(out, "BLOCK_RECORD", kBlockRecordTable, 2);
  recordHead(out, "BLOCK_RECORD", kModelSpaceRecord, kBlockRecordTable, "AcDbBlockTableRecord");
  out.text(2, "*Model_Space");
  recordHead(out, "BLOCK_RECORD", kPaperSpaceRecord, kBlockRecordTable, "AcDbBlockTableRecord");
  out.text(2, "*Paper_Space");
  out.text(0, "ENDTAB");
}

void writeLayoutBlock(DxfGroupWriter& out, const char* name, std::uint32_t record,
                      std::uint32_t begin, std::uint32_t end, bool paper) {
  out.text(0, "BLOCK");
  out.handle(5, begin);
  out.handle(330, record);
  out.text(100, "AcDbEntity");
  if (paper) out.integer(67, 1);
  out.text(8, "0");
  out.text(100, "AcDbBlockBegin");
  out.text(2, name);
  out.integer(70, 0);
  out.real(10, 0.0f);
  out.real(20, 0.0f);
  out.real(30, 0.0f);
  out.text(3, name);
  out.text(1, "");
  out.text(0, "ENDBLK");
  out.handle(5, end);
  out.handle(330, record);
  out.text(100, "AcDbEntity");
  if (paper) out.integer(67, 1);
  out.text(8, "0");
  out.text(100, "AcDbBlockEnd");
}

void writeHead(DxfGroupWriter& out, const ClosedDxfFrame& frame) {
  const Extent& extent = frame.extent;
  out.beginSection("HEADER");
  out.text(9, "$ACADVER");
  out.text(1, "AC1015");
  out.text(9, "$DWGCODEPAGE");
  out.text(3, "ANSI_1252");  // the layer name's bytes are Windows-1252
  out.text(9, "$HANDSEED");
  out.handle(5, kFirstEntity + static_cast<std::uint32_t>(frame.paths + frame.extraHandles));
  writeUnitsAndExtent(out, extent, frame);
  out.endSection();

  out.beginSection("CLASSES");
  out.endSection();

  out.beginSection("TABLES");
  writeVports(out, extent);
  writeLtypes(out);
  writeLayers(out, frame.layer);
  writeStyles(out);
  tableHead(out, "VIEW", kViewTable, 0);
  out.text(0, "ENDTAB");
  tableHead(out, "UCS", kUcsTable, 0);
  out.text(0, "ENDTAB");
  writeAppids(out);
  writeDimstyles(out);
  writeBlockRecords(out);
  out.endSection();

  out.beginSection("BLOCKS");
  writeLayoutBlock(out, "*Model_Space", kModelSpaceRecord, kModelSpaceBlock, kModelSpaceEnd,
                   false);
  writeLayoutBlock(out, "*Paper_Space", kPaperSpaceRecord, kPaperSpaceBlock, kPaperSpaceEnd,
                   true);
  out.endSection();

  out.beginSection("ENTITIES");
}

// After the entities: the root dictionary and the end of the file.
void writeTail(DxfGroupWriter& out) {
  out.beginSection("OBJECTS");
  out.text(0, "DICTIONARY");
  out.handle(5, kRootDictionary);
  out.handle(330, 0);
  out.text(100, "AcDbDictionary");
  out.integer(281, 1);
  out.text(3, "ACAD_GROUP");
  out.handle(350, kGroupDictionary);
  out.text(0, "DICTIONARY");
  out.handle(5, kGroupDictionary);
  out.handle(330, kRootDictionary);
  out.text(100, "AcDbDictionary");
  out.integer(281, 1);
  out.endSection();
  out.text(0, "EOF");
}

// Every entity repeats most of its lines; they are laid out once, and each vertex goes out as
// one piece.
class R2000Body final : public ClosedDxfBody {
 public:
  R2000Body(DxfGroupWriter& out, const ClosedDxfFrame& frame) : out_(out), frame_(frame) {
    writeHead(out, frame);
    const std::string& n = out.lineEnd();
    char owner[16];
    std::snprintf(owner, sizeof owner, "%X", static_cast<unsigned>(kModelSpaceRecord));
    const std::string entity =
        "330" + n + owner + n + "100" + n + "AcDbEntity" + n + "  8" + n + frame.layer + n;
    head_ = entity + "100" + n + "AcDbPolyline" + n;
    lineHead_ = entity + "100" + n + "AcDbLine" + n;
    elevation_ = " 38" + n + DxfReal(frame.zCut) + n;
    x_ = " 10" + n;
    y_ = " 20" + n;
  }

  void path(const Contour& k, const std::vector<double>* bulges) override {
    if (writtenAsLine(frame_, k, bulges)) {
      // A LINE takes a handle like the polyline it stands for, so the handle seed holds.
      out_.text(0, "LINE");
      out_.handle(5, handle_++);
      out_.raw(lineHead_);
      for (int end = 0; end < 2; ++end) {
        out_.real(10 + end, static_cast<float>(k.points[end].x));
        out_.real(20 + end, static_cast<float>(k.points[end].y));
        out_.real(30 + end, frame_.zCut);
      }
      return;
    }
    out_.text(0, "LWPOLYLINE");
    out_.handle(5, handle_++);
    out_.raw(head_);
    out_.integer(90, static_cast<long>(k.points.size()));
    // Flag 1 exactly for a closed ring: bit 128 (plinegen) means nothing to most importers.
    out_.integer(70, k.closed ? 1 : 0);
    out_.raw(elevation_);
    for (std::size_t i = 0; i < k.points.size(); ++i) {
      vertex(k.points[i]);
      // A vertex's bulge bends the piece to the next one into an arc (none: a line).
      if (bulges && i < bulges->size() && (*bulges)[i] != 0)
        out_.real(42, static_cast<float>((*bulges)[i]));
    }
  }

  void path3d(std::span<const CarvePoint> points) override {
    // R2000 keeps the 3-D polyline as R12 did, now with handles: the vertices and the end
    // belong to the polyline, which belongs to the model space.
    const std::uint32_t polyline = handle_++;
    out_.text(0, "POLYLINE");
    out_.handle(5, polyline);
    out_.handle(330, kModelSpaceRecord);
    out_.text(100, "AcDbEntity");
    out_.text(8, frame_.layer);
    out_.text(100, "AcDb3dPolyline");
    out_.integer(66, 1);
    out_.real(10, 0.0f);
    out_.real(20, 0.0f);
    out_.real(30, 0.0f);
    out_.integer(70, 8);
    for (const CarvePoint& p : points) {
      out_.text(0, "VERTEX");
      out_.handle(5, handle_++);
      out_.handle(330, polyline);
      out_.text(100, "AcDbEntity");
      out_.text(8, frame_.layer);
      out_.text(100, "AcDbVertex");
      out_.text(100, "AcDb3dPolylineVertex");
      out_.real(10, static_cast<float>(p.x));
      out_.real(20, static_cast<float>(p.y));
      out_.real(30, static_cast<float>(p.z));
      out_.integer(70, 32);
    }
    out_.text(0, "SEQEND");
    out_.handle(5, handle_++);
    out_.handle(330, polyline);
    out_.text(100, "AcDbEntity");
    out_.text(8, frame_.layer);
  }

  void finish() override {
    out_.endSection();
    writeTail(out_);
  }

 private:
  static char* put(char* at, const std::string& text) {
    std::memcpy(at, text.data(), text.size());
    return at + text.size();
  }

  void vertex(const Vec2& p) {
    char* at = put(out_.room(kVertexRoom), x_);
    at = out_.putRealValue(at, static_cast<float>(p.x));
    at = put(at, y_);
    at = yTexts_->write(at, static_cast<float>(p.y));
    std::memcpy(at, lineEnd_.data(), lineEnd_.size());
    out_.advance(at + lineEnd_.size());
  }

  static constexpr std::size_t kVertexRoom = 4 * kDxfRealMaxLength;

  DxfGroupWriter& out_;
  ClosedDxfFrame frame_;
  std::string head_;
  std::string lineHead_;
  std::string elevation_;
  std::string x_;
  std::string y_;
  std::uint32_t handle_ = kFirstEntity;
  std::string lineEnd_ = out_.lineEnd();
  // Heights repeat in every letter of a line: two in three Y texts are met again.
  std::unique_ptr<NumberTextCache<writeDxfReal, 2 * kDxfRealMaxLength, 10>> yTexts_ =
      std::make_unique<NumberTextCache<writeDxfReal, 2 * kDxfRealMaxLength, 10>>();
};

}  // namespace

std::unique_ptr<ClosedDxfBody> beginClosedDxfR2000(DxfGroupWriter& out,
                                                   const ClosedDxfFrame& frame) {
  return std::make_unique<R2000Body>(out, frame);
}

}  // namespace kerfline
