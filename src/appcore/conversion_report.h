#pragma once
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "export/conversion_options.h"
#include "export/drawing_export.h"

namespace kerfline {

/// What the report says of one written file.
struct ReportFacts {
  std::string output;      ///< the file as named to the user ("standard output" for -o -)
  std::string written;     ///< the file to read back for the counts (a temporary for -o -)
  OutputFormat format = OutputFormat::Lines;
  ExportSettings settings;  ///< the settings the file was written with
  std::string settingsFile; ///< the settings file that was read
  std::int32_t characters = 0;  ///< positions of the text converted (a line break counts two)
  DrawingUnits units = DrawingUnits::Millimetre;  ///< what a drawing unit is
  std::optional<DrawingExportReport> drawing;     ///< what a contour-model export wrote
  std::vector<std::string> notes;  ///< faces and glyphs that could not be loaded; what weld and kerf left out or could not keep apart
};

/// The report of --report: the file and its form, the settings and where they came from, the
/// entity count and the extent of a classic DXF, or the path count and the extent with its unit
/// of a form drawn from the contour model (with a curve tolerance, its lines and arcs), and the rapid travel of paths planned for travel
/// beside that of the text order and the least any order can travel. Throws Error when the file cannot be read back.
void printConversionReport(std::ostream& out, const ReportFacts& facts);

}  // namespace kerfline
