#pragma once
// Text with placeholders filled in per item of a production run: {n} a serial number
// ({n:04} zero-padded to four digits, {n:x} in hexadecimal), {column} a field of the merge
// file's row; {{ and }} stand for a brace itself.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/csv_table.h"
#include "common/font_description.h"
#include "richtext/styled_text.h"

namespace kerfline {

/// What one item gives the placeholders: its serial number and, with a merge file, its row.
struct ItemValues {
  long long serial = 1;
  const CsvTable* table = nullptr;  ///< none: only {n} can be filled
  std::size_t row = 0;              ///< index into table->rows
};

/// n written by a serial format: [0][width][d|x|X] (zero padding, at least width digits, decimal
/// or hexadecimal); nothing for a format outside that grammar or a width above 20.
std::optional<std::string> formatSerial(long long n, std::u32string_view format);

/// A styled text cut into literal pieces and placeholders. A placeholder's characters take the
/// format of its opening brace.
class TextTemplate {
 public:
  /// Throws Error naming the character position of a brace never closed on its line.
  explicit TextTemplate(const StyledText& text);

  /// True when the text holds at least one placeholder.
  bool hasPlaceholders() const;
  /// Throws Error naming the first placeholder that table (which may be null) cannot fill, or
  /// whose format is bad, so that a run refuses before anything is written.
  void check(const CsvTable* table) const;
  /// The text of one item. Line breaks inside a value become CR LF, NUL characters are dropped;
  /// safeValue, when given, rewrites each value first (file names).
  StyledText fill(const ItemValues& item,
                  std::u32string (*safeValue)(std::u32string) = nullptr) const;

 private:
  struct Piece {
    std::u32string text;  ///< literal text, or the placeholder's name
    std::u32string format;  ///< a placeholder's format (after ':')
    TFontDescription font;
    bool placeholder = false;
  };
  std::vector<Piece> pieces_;
};

}  // namespace kerfline
