#include "appcore/conversion_report.h"

#include <cstdio>

#include "appcore/dxf_summary.h"

namespace kerfline {
namespace {

const char* formatName(OutputFormat format) {
  switch (format) {
    case OutputFormat::Lines: return "Lines + Z moves";
    case OutputFormat::PolyLines: return "PolyLines XY only";
    case OutputFormat::Closed: return "closed polylines";
    case OutputFormat::Svg: return "SVG";
    case OutputFormat::Gcode: return "G-code";
  }
  return "";
}

std::string rangeText(const AxisRange& r) {
  if (r.empty) return "none";
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.6g .. %.6g", r.min, r.max);
  return buffer;
}

}  // namespace

void printConversionReport(std::ostream& out, const ReportFacts& f) {
  const ExportSettings& s = f.settings;
  // Entities and extent are read back from the classic DXF forms only, before anything is
  // printed, so that a file that cannot be read back gives no half report.
  const bool classic = f.format == OutputFormat::Lines || f.format == OutputFormat::PolyLines;
  const DxfSummary summary = classic ? summarizeDxfFile(f.written) : DxfSummary{};
  out << "Wrote " << f.output << " (" << formatName(f.format) << ")\n"
      << "  from " << f.characters << " characters; scale " << s.scale << ", pitch "
      << s.pitchText << ", resolution " << s.resolution << ", space " << s.spacePercent
      << "%, layer \"" << s.layerText << "\", Z up " << s.zMoveText << ", Z cutting "
      << s.zLevelText << " (settings from " << f.settingsFile << ")\n";
  for (const std::string& note : f.notes) out << "  " << note << '\n';
  if (f.drawing) {
    // The extent with its unit: what the file's header (or the SVG's size) says it is.
    const char* unit = unitName(f.units);
    const Extent& e = f.drawing->extent;
    char buffer[160];
    if (e.empty()) {
      std::snprintf(buffer, sizeof buffer, "  X none, Y none");
    } else {
      std::snprintf(buffer, sizeof buffer, "  X %.6g .. %.6g %s, Y %.6g .. %.6g %s (%.6g x %.6g %s)",
                    e.minX, e.maxX, unit, e.minY, e.maxY, unit, e.width(), e.height(), unit);
    }
    out << "  " << f.drawing->contours << " paths\n" << buffer << '\n';
    if (const std::optional<PieceCounts>& p = f.drawing->pieces)
      out << "  " << p->lines << " lines and " << p->arcs << " arcs\n";
    if (const std::optional<TravelFigures>& t = f.drawing->travel) {
      std::snprintf(buffer, sizeof buffer,
                    "  rapid travel %.6g %s (in text order %.6g %s), at least %.6g %s:\n", t->travel,
                    unit, t->textOrderTravel, unit, t->lowerBound, unit);
      out << buffer
          << "    no order can travel less than the sum of each path's gap to its nearest\n"
             "    neighbour (or to the start at the origin), since every path is reached once\n";
    }
    return;
  }
  if (!classic) return;
  if (f.format == OutputFormat::PolyLines) {
    out << "  " << summary.polylines << " POLYLINE entities\n";
  } else {
    out << "  " << summary.lines << " LINE entities\n";
  }
  out << "  X " << rangeText(summary.x) << ", Y " << rangeText(summary.y) << ", Z "
      << rangeText(summary.z) << '\n';
}

}  // namespace kerfline
