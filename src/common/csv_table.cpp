#include "common/csv_table.h"

#include "common/error.h"
#include "common/file_reader.h"
#include "common/utf8.h"

namespace kerfline {
namespace {

[[noreturn]] void refuse(int line, const std::string& why) {
  throw Error("line " + std::to_string(line) + ": " + why);
}

// One pass over the bytes, a record at a time; the line count follows every line break,
// also those inside quoted fields, so that a message names the line an editor shows.
class CsvParser {
 public:
  explicit CsvParser(std::string_view bytes) : s_(bytes) {
    if (s_.starts_with("\xEF\xBB\xBF")) s_.remove_prefix(3);
  }

  // The next record's fields; false at the end. Blank lines give no record.
  bool next(std::vector<std::string>& fields, int& startLine) {
    while (i_ < s_.size() && (s_[i_] == '\r' || s_[i_] == '\n')) lineBreak();
    if (i_ >= s_.size()) return false;
    fields.clear();
    startLine = line_;
    for (;;) {
      if (fields.size() >= kMaxCsvColumns)
        refuse(startLine, "more than " + std::to_string(kMaxCsvColumns) + " fields");
      fields.push_back(field());
      if (!isValidUtf8(fields.back())) refuse(line_, "a field is not UTF-8 text");
      // A NUL is no character of any text a sign carries: a binary file, not a merge file.
      if (fields.back().find('\0') != std::string::npos)
        refuse(line_, "a field holds a NUL byte (is this a text file?)");
      if (i_ >= s_.size()) return true;
      if (s_[i_] == ',') {
        ++i_;
        continue;
      }
      lineBreak();  // field() stops only at a comma, a line break or the end
      return true;
    }
  }

 private:
  void lineBreak() {
    if (s_[i_] == '\r' && i_ + 1 < s_.size() && s_[i_ + 1] == '\n') ++i_;
    ++i_;
    ++line_;
  }

  std::string field() {
    std::string out;
    if (i_ < s_.size() && s_[i_] == '"') {
      const int opened = line_;
      ++i_;
      for (;;) {
        if (i_ >= s_.size()) refuse(opened, "a quoted field is never closed");
        const char c = s_[i_];
        if (c == '"') {
          if (i_ + 1 < s_.size() && s_[i_ + 1] == '"') {
            out += '"';
            i_ += 2;
            continue;
          }
          ++i_;
          break;
        }
        if (c == '\n' || (c == '\r' && !(i_ + 1 < s_.size() && s_[i_ + 1] == '\n'))) ++line_;
        out += c;
        ++i_;
      }
      if (i_ < s_.size() && s_[i_] != ',' && s_[i_] != '\r' && s_[i_] != '\n')
        refuse(line_, "text after a closing quote (write a quote inside quotes as \"\")");
      return out;
    }
    const std::size_t start = i_;
    while (i_ < s_.size() && s_[i_] != ',' && s_[i_] != '\r' && s_[i_] != '\n') {
      if (s_[i_] == '"') refuse(line_, "a quote inside an unquoted field (quote the whole field)");
      ++i_;
    }
    return std::string(s_.substr(start, i_ - start));
  }

  std::string_view s_;
  std::size_t i_ = 0;
  int line_ = 1;
};

}  // namespace

int CsvTable::column(std::string_view name) const {
  for (std::size_t i = 0; i < header.size(); ++i)
    if (header[i] == name) return static_cast<int>(i);
  return -1;
}

CsvTable parseCsv(std::string_view bytes) {
  if (bytes.size() > kMaxCsvBytes) throw Error("the merge file is larger than 64 MB");
  CsvParser parser(bytes);
  CsvTable table;
  int line = 0;
  if (!parser.next(table.header, line)) throw Error("no header row naming the columns");
  for (std::size_t i = 0; i < table.header.size(); ++i)
    for (std::size_t j = 0; j < i; ++j)
      if (table.header[i] == table.header[j])
        refuse(line, "the header names column \"" + table.header[i] + "\" twice");
  std::vector<std::string> fields;
  while (parser.next(fields, line)) {
    if (fields.size() != table.header.size()) {
      refuse(line, "a row of " + std::to_string(fields.size()) + " fields; the header has " +
                       std::to_string(table.header.size()));
    }
    if (table.rows.size() >= kMaxCsvRows)
      refuse(line, "more than " + std::to_string(kMaxCsvRows) + " rows");
    table.rows.push_back(fields);
    table.rowLines.push_back(line);
  }
  return table;
}

CsvTable readCsvFile(const std::string& path) {
  const FileContent content = readRegularFile(path, kMaxCsvBytes);
  switch (content.status) {
    case ReadStatus::Ok:
      break;
    case ReadStatus::Missing:
      throw Error(path + ": no such file");
    case ReadStatus::TooLarge:
      throw Error(path + ": larger than 64 MB");
    default:
      throw Error(path + ": cannot be read");
  }
  try {
    return parseCsv(content.bytes);
  } catch (const Error& e) {
    throw Error(path + ": " + e.what());
  }
}

}  // namespace kerfline
