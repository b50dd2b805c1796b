#pragma once
// A merge file: comma-separated values as spreadsheets write them (quoted fields, commas,
// quotes and line breaks inside quotes, CR LF or LF, UTF-8 with or without a byte-order mark).
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kerfline {

/// A table read from comma-separated values: the header row names the columns.
struct CsvTable {
  std::vector<std::string> header;             ///< column names, UTF-8, in file order
  std::vector<std::vector<std::string>> rows;  ///< each row exactly header.size() fields
  std::vector<int> rowLines;                   ///< 1-based line each row starts on

  /// The index of the column named name, or -1.
  int column(std::string_view name) const;
};

/// Largest merge file read, and most columns and rows taken: far beyond a workshop's list,
/// small enough that a wrong file (a disk image) is refused before it exhausts memory.
inline constexpr std::size_t kMaxCsvBytes = 64u << 20;
inline constexpr std::size_t kMaxCsvColumns = 1000;
inline constexpr std::size_t kMaxCsvRows = 1000000;

/// Reads bytes as comma-separated values (RFC 4180, also a bare LF or CR ending a line).
/// Blank lines are skipped. Throws Error naming the line for a field that is not UTF-8, a
/// quote inside an unquoted field or after a closing one, a quote never closed, a row whose
/// field count differs from the header's, a header naming a column twice, no header, or more
/// than the limits above.
CsvTable parseCsv(std::string_view bytes);

/// Reads the file at path (at most kMaxCsvBytes) with parseCsv. Throws Error starting with
/// the file's name.
CsvTable readCsvFile(const std::string& path);

}  // namespace kerfline
