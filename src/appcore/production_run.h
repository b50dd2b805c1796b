#pragma once
// A production run: one text as the template of many items (serial numbers, a merge file's
// rows), each item written to a file of its own, or the items laid out on sheets.
#include <ostream>
#include <string>
#include <vector>

#include "appcore/production_options.h"
#include "common/csv_table.h"
#include "export/conversion_options.h"
#include "richtext/styled_text.h"
#include "richtext/variable_text.h"

namespace kerfline {

class TTTFToVectorConverter;

/// The items of a run: one per row of table when given, else options.copies (default 1), the
/// serial numbers counting from serialStart by serialStep (both default 1).
std::vector<ItemValues> productionItems(const ProductionOptions& options, const CsvTable* table);

/// path with "-k" before its ending: tags.nc -> tags-3.nc, out/tags -> out/tags-3.
std::string numberedName(const std::string& path, std::size_t k);

/// A value made fit for a file name: path separators and control characters become "_", an
/// empty value is "_", and at most 100 characters are kept.
std::u32string fileNameValue(std::u32string value);

/// The first item's text, as --dump-text shows it. Throws Error as runProduction refuses.
StyledText firstItemText(const StyledText& text, const ProductionOptions& options,
                         const CsvTable* table);

/// One run as the command line gives it.
struct ProductionJob {
  ProductionOptions production;
  const CsvTable* table = nullptr;
  ConversionOptions options;
  std::string output;                      ///< -o, or the input's own output name
  std::vector<std::string> protectedFiles;  ///< files this run reads: never replaced
  bool report = false;                      ///< print what went where on out
};

/// Writes every item of text: to a file each (names from the placeholders of job.output, else
/// numbered when there are several), or on sheets (numbered files, or one G-code program).
/// Everything that can be refused (a placeholder no column fills, a bad format, two items to
/// one name, an item larger than the sheet) is refused before anything is written. A failure
/// midway names the files already written. Messages go to err; returns 0 when all was written,
/// else 1.
int runProduction(const StyledText& text, const ProductionJob& job,
                  TTTFToVectorConverter& converter, std::ostream& out, std::ostream& err);

}  // namespace kerfline
