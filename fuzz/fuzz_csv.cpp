// The merge-file reader on arbitrary bytes, and the placeholders it fills on arbitrary text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "common/csv_table.h"
#include "common/error.h"
#include "common/utf8.h"
#include "richtext/variable_text.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kerfline;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CsvTable table;
  try {
    table = parseCsv(bytes);
  } catch (const Error&) {
    return 0;  // refused with a message: all a bad file may do
  }
  // Every row as wide as the header, every field UTF-8, rows start on ascending lines.
  check(!table.header.empty() && table.rows.size() == table.rowLines.size());
  for (std::size_t i = 0; i < table.rows.size(); ++i) {
    check(table.rows[i].size() == table.header.size());
    check(i == 0 || table.rowLines[i] > table.rowLines[i - 1]);
    for (const std::string& field : table.rows[i]) check(isValidUtf8(field));
  }
  // The first column's placeholder: filled from each row, the text keeps the text model's rules
  // (a template of text read by the text model has no bare CR or LF either).
  if (table.header.front().find_first_of("\r\n") != std::string::npos) return 0;
  StyledText text;
  text.append(U"{" + utf8ToU32(table.header.front()) + U"} #{n:03}", TFontDescription{});
  try {
    const TextTemplate tmpl(text);
    tmpl.check(&table);
    for (std::size_t i = 0; i < table.rows.size() && i < 16; ++i) {
      const StyledText filled = tmpl.fill(ItemValues{1, &table, i});
      const std::u32string& s = filled.text();
      for (std::size_t k = 0; k < s.size(); ++k) {
        check(s[k] != 0);
        if (s[k] == U'\r') check(k + 1 < s.size() && s[k + 1] == U'\n');
      }
    }
  } catch (const Error&) {
  }
  return 0;
}
