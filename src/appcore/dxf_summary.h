#pragma once
#include <cstdint>
#include <istream>
#include <string>
#include <string_view>

namespace kerfline {

/// Smallest and largest of a set of coordinates; empty while nothing was seen.
struct AxisRange {
  double min = 0;     ///< smallest value added
  double max = 0;     ///< largest value added
  bool empty = true;  ///< nothing added yet (min and max mean nothing)
  /// Widens the range to hold v.
  void add(double v);
};

/// What a written DXF file holds, as kerfline-convert --report tells it.
struct DxfSummary {
  std::int64_t lines = 0;      ///< LINE entities
  std::int64_t polylines = 0;  ///< POLYLINE entities (their VERTEX records not counted)
  std::int64_t vertices = 0;   ///< VERTEX records
  AxisRange x, y, z;           ///< over LINE ends and VERTEX points, not POLYLINE's fixed origin
};

/// Reads group-code/value line pairs of DXF text and counts and measures its entities.
DxfSummary summarizeDxf(std::istream& in);
/// summarizeDxf on text in memory.
DxfSummary summarizeDxf(std::string_view text);

/// summarizeDxf on a file; throws Error("Cannot open file <path>") when it cannot be read.
DxfSummary summarizeDxfFile(const std::string& path);

}  // namespace kerfline
