#include <cstddef>
#include <string>

#include "vectorizer/single_line_font.h"

namespace kerfline {
namespace {

// Hershey coordinates are letters: the value is the character's distance from 'R'.
constexpr int kCoordinateBase = 'R';
constexpr std::int32_t kGlyphsFromSpace = 96;
constexpr char32_t kFirstCode = 32;

// The next line of bytes (without its line break) from pos; pos moves past the break.
std::string_view nextLine(std::string_view bytes, std::size_t& pos) {
  const std::size_t end = bytes.find('\n', pos);
  std::string_view line = bytes.substr(pos, end == std::string_view::npos ? bytes.npos : end - pos);
  pos = end == std::string_view::npos ? bytes.size() : end + 1;
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

// A right-aligned decimal field: blanks, then at least one digit, nothing else.
bool readField(std::string_view field, int& value) {
  std::size_t i = 0;
  while (i < field.size() && field[i] == ' ') ++i;
  if (i == field.size()) return false;
  value = 0;
  for (; i < field.size(); ++i) {
    if (field[i] < '0' || field[i] > '9') return false;
    value = value * 10 + (field[i] - '0');
  }
  return true;
}

// True when line opens a record: a glyph number and a vertex count in their columns.
bool opensRecord(std::string_view line) {
  int number = 0;
  int count = 0;
  return line.size() >= 8 && readField(line.substr(0, 5), number) &&
         readField(line.substr(5, 3), count);
}

bool isCoordinate(char c) { return c >= ' ' && c <= '~'; }

// The glyph of one record's coordinate pairs (after the number and count); empty what on success.
SingleLineGlyph glyphOf(std::string_view pairs, std::string& what) {
  SingleLineGlyph glyph;
  for (char c : pairs) {
    if (!isCoordinate(c)) {
      what = "a coordinate that is not a printable ASCII letter";
      return {};
    }
  }
  glyph.left = pairs[0] - kCoordinateBase;
  glyph.right = pairs[1] - kCoordinateBase;
  bool penDown = false;
  for (std::size_t i = 2; i + 1 < pairs.size(); i += 2) {
    if (pairs[i] == ' ' && pairs[i + 1] == 'R') {
      penDown = false;
      continue;
    }
    if (!penDown) glyph.lines.emplace_back();
    penDown = true;
    glyph.lines.back().vertices.push_back(
        FontVertex{double(pairs[i] - kCoordinateBase), double(pairs[i + 1] - kCoordinateBase), 0});
  }
  return glyph;
}

}  // namespace

SingleLineFont readJhf(std::string_view bytes) {
  SingleLineFont font;
  font.format = SingleLineFormat::Hershey;
  if (bytes.size() > kMaxSingleLineFontBytes) {
    font.malformed.push_back({1, "the file is larger than a font file can be"});
    return font;
  }
  std::size_t pos = 0;
  int lineNumber = 0;
  while (pos < bytes.size()) {
    std::string_view line = nextLine(bytes, pos);
    ++lineNumber;
    if (line.find_first_not_of(" \t") == std::string_view::npos) continue;
    const int recordLine = lineNumber;
    const std::int32_t index = font.records++;
    int number = 0;
    int count = 0;
    if (line.size() < 8 || !readField(line.substr(0, 5), number) ||
        !readField(line.substr(5, 3), count)) {
      font.malformed.push_back({recordLine, "a glyph number or vertex count that is not a number"});
      continue;
    }
    if (count < 1) {
      font.malformed.push_back({recordLine, "a vertex count of 0 (the bounds pair is missing)"});
      continue;
    }
    // A long record continues on the following lines; the line breaks are not part of it.
    // A line that opens a record of its own is never borrowed: a count larger than the data
    // makes this glyph broken, not the next one the tail of this.
    const std::size_t wanted = 8 + 2 * std::size_t(count);
    std::string record(line);
    while (record.size() < wanted && pos < bytes.size()) {
      std::size_t next = pos;
      const std::string_view more = nextLine(bytes, next);
      if (opensRecord(more)) break;
      record += more;
      pos = next;
      ++lineNumber;
    }
    if (record.size() < wanted) {
      font.malformed.push_back({recordLine, "the record ends before its " +
                                                std::to_string(count) + " coordinate pairs"});
      continue;
    }
    if (record.find_first_not_of(" \t", wanted) != std::string::npos) {
      font.malformed.push_back({recordLine, "more coordinates than the vertex count says"});
      continue;
    }
    std::string what;
    SingleLineGlyph glyph = glyphOf(std::string_view(record).substr(8, wanted - 8), what);
    if (!what.empty()) {
      font.malformed.push_back({recordLine, what});
      continue;
    }
    if (index < kGlyphsFromSpace)
      font.glyphs.emplace(kFirstCode + static_cast<char32_t>(index), std::move(glyph));
  }
  return font;
}

}  // namespace kerfline
