#pragma once
#include <cstdint>
#include <ostream>
#include <string>

#include "export/conversion_options.h"

namespace kerfline {

/// What the report says of one written file.
struct ReportFacts {
  std::string output;      ///< the file as named to the user ("standard output" for -o -)
  std::string written;     ///< the file to read back for the counts (a temporary for -o -)
  OutputFormat format = OutputFormat::Lines;
  ExportSettings settings;  ///< the settings the file was written with
  std::string settingsFile; ///< the settings file that was read
  std::int32_t characters = 0;  ///< positions of the text converted (a line break counts two)
};

/// The report of --report: the file and its form, the settings and where they came from, the
/// entity count and the extent of a classic DXF. Throws Error when the file cannot be read back.
void printConversionReport(std::ostream& out, const ReportFacts& facts);

}  // namespace kerfline
