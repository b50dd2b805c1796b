#pragma once
#include <span>
#include <vector>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "carving/vcarve.h"
#include "export/conversion_options.h"
#include "export/dxf_group_writer.h"
#include "export/output_file.h"
#include "geometry/contour.h"

namespace kerfline {

/// The closed-polyline DXF of the drawing at path, one polyline per contour in the drawing's
/// order: closed rings flagged closed (first vertex not repeated), open paths open, all at
/// the cutting depth (Z cutting of options.classic) on the drawing's layer (characters a
/// layer table may not hold made "_"), with a HEADER
/// giving the unit and the extent. options.dxfVersion 12 writes R12 (AC1009) POLYLINEs in CR LF
/// lines, 2000 writes R2000 (AC1015) LWPOLYLINEs with handles and owners in LF lines; numbers
/// by the DxfReal rule in both. With twoPointLines, an open path of two points and no arc is
/// a LINE entity instead (hatch lines: what a laser's software takes as separate strokes).
/// Written to a temporary file
/// and renamed; throws Error with the user's message, leaving any previous file untouched.
void saveClosedPolylineDxf(const std::string& path, const Drawing& drawing,
                           const ConversionOptions& options, bool twoPointLines = false);

/// What both versions of the closed-polyline DXF write besides the contours.
struct ClosedDxfFrame {
  float zCut = 0;                                 ///< elevation of every polyline
  DrawingUnits units = DrawingUnits::Millimetre;  ///< $INSUNITS and $MEASUREMENT
  Extent extent;                                  ///< of every path, for the header
  std::size_t paths = 0;                          ///< how many polylines follow
  /// Handles the entities take beyond one per path: each 3-D polyline's vertices and its end.
  std::size_t extraHandles = 0;
  /// The lowest and highest Z of 3-D paths, for the header's extent; unset: zCut.
  std::optional<std::pair<float, float>> zExtent;
  std::string layer = "0";                        ///< the layer table's name of the paths' layer
  bool twoPointLines = false;  ///< an open two-point path without an arc is a LINE entity
};

/// True when frame asks for LINEs and path is an open two-point path whose piece is straight.
inline bool writtenAsLine(const ClosedDxfFrame& frame, const Contour& path,
                          const std::vector<double>* bulges) {
  return frame.twoPointLines && !path.closed && path.points.size() == 2 &&
         !(bulges && !bulges->empty() && (*bulges)[0] != 0);
}

/// One version's file, a path at a time: the sections before the entities are written when it
/// is made, the rest by finish().
class ClosedDxfBody {
 public:
  virtual ~ClosedDxfBody() = default;
  /// One polyline: closed (flag 1) for a closed ring, open (flag 0) for an open path;
  /// bulges, when given, bends the pieces leaving its points into arcs (arc_path.h). With
  /// the frame's twoPointLines, an open two-point path without an arc is a LINE.
  virtual void path(const Contour& contour, const std::vector<double>* bulges) = 0;
  /// One open 3-D polyline (POLYLINE flag 8, each VERTEX flag 32 with its own Z): a tool's
  /// path that changes depth as it goes. R2000 gives it points.size() + 1 handles besides
  /// its own (ClosedDxfFrame::extraHandles).
  virtual void path3d(std::span<const CarvePoint> points) = 0;
  /// Ends the entities and the file.
  virtual void finish() = 0;
};

/// The R12 file (no handles; POLYLINE, VERTEX and SEQEND entities in CR LF lines).
std::unique_ptr<ClosedDxfBody> beginClosedDxfR12(DxfGroupWriter& out, const ClosedDxfFrame& frame);

/// The R2000 file (every object with its handle and owner; one LWPOLYLINE per path).
std::unique_ptr<ClosedDxfBody> beginClosedDxfR2000(DxfGroupWriter& out,
                                                   const ClosedDxfFrame& frame);

/// The frame of a file of paths on layer (made a layer table's name) within extent, Z cutting
/// and the unit from options; throws Error for a DXF version other than 12 or 2000.
ClosedDxfFrame closedDxfFrame(const Extent& extent, std::size_t paths, const std::string& layer,
                              const ConversionOptions& options);

/// The line end of options.dxfVersion's file ("\r\n" for R12, "\n" for R2000).
const char* closedDxfLineEnd(const ConversionOptions& options);

/// The body of options.dxfVersion's file, its head written to out.
std::unique_ptr<ClosedDxfBody> beginClosedDxf(DxfGroupWriter& out, const ClosedDxfFrame& frame,
                                              const ConversionOptions& options);

/// saveClosedPolylineDxf written character by character, for a drawing too big to hold: the
/// extent, the number of paths and the layer are given first (the header holds them), then
/// every character in order, then commit.
class ClosedDxfStream {
 public:
  /// Opens the temporary file beside path and writes everything before the first path.
  ClosedDxfStream(const std::string& path, const Extent& extent, std::size_t paths,
                  const std::string& layer, const ConversionOptions& options,
                  bool twoPointLines = false);
  ~ClosedDxfStream();
  ClosedDxfStream(const ClosedDxfStream&) = delete;
  ClosedDxfStream& operator=(const ClosedDxfStream&) = delete;

  /// Writes one character's paths; bulges, when not empty, holds one list per contour of the
  /// bulges of the pieces leaving its points (arc_path.h), written as arcs.
  void character(const PlacedCharacter& c, std::span<const std::vector<double>> bulges = {});
  /// Ends the file and renames it over path; throws Error as saveClosedPolylineDxf, and when
  /// the paths written are not the number announced.
  void commit();

 private:
  OutputFile file_;
  DxfGroupWriter out_;
  std::unique_ptr<ClosedDxfBody> body_;
  std::size_t announced_;
  std::size_t written_ = 0;
};

}  // namespace kerfline
