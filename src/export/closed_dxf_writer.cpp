#include "export/closed_dxf_writer.h"

#include "common/error.h"
#include "export/dxf_layer.h"
#include "export/number_rule.h"

namespace kerfline {
namespace {

void checkVersion(const ConversionOptions& options) {
  if (options.dxfVersion != 12 && options.dxfVersion != 2000) {
    throw Error("The DXF version must be 12 or 2000.");
  }
}

}  // namespace

// R12 keeps the classic forms' CR LF. R2000 ends its lines in LF alone, which every reader
// of that version takes, and which keeps its files about a third of a "Lines + Z moves" file.
const char* closedDxfLineEnd(const ConversionOptions& options) {
  return options.dxfVersion == 2000 ? "\n" : "\r\n";
}

ClosedDxfFrame closedDxfFrame(const Extent& extent, std::size_t paths, const std::string& layer,
                              const ConversionOptions& options) {
  checkVersion(options);
  ClosedDxfFrame frame;
  // Z cutting as the classic forms read it: a field that is not a number counts as 0.
  frame.zCut = parseFiniteNumber(options.classic.zLevelText).value_or(0.0f);
  frame.units = options.units;
  frame.extent = extent;
  frame.paths = paths;
  frame.layer = tableLayerName(layer);
  return frame;
}

std::unique_ptr<ClosedDxfBody> beginClosedDxf(DxfGroupWriter& out, const ClosedDxfFrame& frame,
                                              const ConversionOptions& options) {
  return options.dxfVersion == 2000 ? beginClosedDxfR2000(out, frame)
                                    : beginClosedDxfR12(out, frame);
}

ClosedDxfStream::ClosedDxfStream(const std::string& path, const Extent& extent,
                                 std::size_t paths, const std::string& layer,
                                 const ConversionOptions& options, bool twoPointLines)
    : file_((checkVersion(options), path)),
      out_(file_, closedDxfLineEnd(options)),
      announced_(paths) {
  ClosedDxfFrame frame = closedDxfFrame(extent, paths, layer, options);
  frame.twoPointLines = twoPointLines;
  body_ = beginClosedDxf(out_, frame, options);
}

ClosedDxfStream::~ClosedDxfStream() = default;

void ClosedDxfStream::character(const PlacedCharacter& c,
                                std::span<const std::vector<double>> bulges) {
  for (std::size_t i = 0; i < c.contours.size(); ++i)
    body_->path(c.contours[i], i < bulges.size() ? &bulges[i] : nullptr);
  written_ += c.contours.size();
}

void ClosedDxfStream::commit() {
  // R2000 has given out the handles of the announced paths in its header; a file with more or
  // fewer would not read back.
  if (written_ != announced_) throw Error("Internal error: the DXF's path count changed.");
  body_->finish();
  out_.flush();
  file_.commit();
}

void saveClosedPolylineDxf(const std::string& path, const Drawing& drawing,
                           const ConversionOptions& options, bool twoPointLines) {
  std::size_t paths = 0;
  for (const PlacedCharacter& c : drawing.characters) paths += c.contours.size();
  ClosedDxfStream dxf(path, drawing.extent(), paths, drawing.layer, options, twoPointLines);
  std::size_t first = 0;
  for (const PlacedCharacter& c : drawing.characters) {
    dxf.character(c, drawing.bulgesOfCharacter(first, c.contours.size()));
    first += c.contours.size();
  }
  dxf.commit();
}

}  // namespace kerfline
