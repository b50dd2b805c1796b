#include "appcore/profile_text.h"

#include <vector>

namespace kerfline {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

// ASCII-only folding: names are compared as the platform's "A" functions compare them in
// a UTF-8 code page, and bytes of multi-byte characters must never compare equal by accident.
bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

struct Line {
  std::size_t begin = 0;     // first byte of the line
  std::size_t textEnd = 0;   // end of its text, before CR LF / LF
  std::size_t end = 0;       // one past its terminator
  std::string_view text;     // the line without its terminator
  bool terminated() const { return end != textEnd; }
};

std::vector<Line> splitLines(std::string_view content) {
  std::vector<Line> lines;
  // Editors saving UTF-8 may put a byte-order mark first; it is no part of the first line
  // (else the section there would not be found), and left where it is when writing.
  std::size_t pos = content.starts_with("\xEF\xBB\xBF") ? 3 : 0;
  while (pos < content.size()) {
    std::size_t lf = content.find('\n', pos);
    Line line;
    line.begin = pos;
    line.end = lf == std::string_view::npos ? content.size() : lf + 1;
    line.textEnd = lf == std::string_view::npos ? content.size() : lf;
    if (line.textEnd > pos && line.end != line.textEnd && content[line.textEnd - 1] == '\r') {
      --line.textEnd;
    }
    line.text = content.substr(pos, line.textEnd - pos);
    lines.push_back(line);
    pos = line.end;
  }
  return lines;
}

// A section header: the first non-blank character is "["; the name runs to the next "]"
// (or to the end of the line when there is none) with blanks around it ignored.
std::optional<std::string_view> sectionName(std::string_view lineText) {
  std::string_view t = trimBlanks(lineText);
  if (t.empty() || t.front() != '[') return std::nullopt;
  t.remove_prefix(1);
  std::size_t close = t.find(']');
  if (close != std::string_view::npos) t = t.substr(0, close);
  return trimBlanks(t);
}

// A key line holds "=": the key is the text before the first "=", the value the text after it.
struct KeyLine {
  std::string_view key;
  std::string_view value;
};

std::optional<KeyLine> keyLine(std::string_view lineText) {
  std::size_t eq = lineText.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  return KeyLine{trimBlanks(lineText.substr(0, eq)), trimBlanks(lineText.substr(eq + 1))};
}

bool isComment(std::string_view lineText) {
  std::string_view t = trimBlanks(lineText);
  return !t.empty() && t.front() == ';';
}

// Lines [first, last) of the first section called name; first is its header line.
struct SectionSpan {
  std::size_t header = 0;
  std::size_t last = 0;
};

std::optional<SectionSpan> findSection(const std::vector<Line>& lines, std::string_view name) {
  std::string_view wanted = trimBlanks(name);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    auto found = sectionName(lines[i].text);
    if (!found || !equalsIgnoringCase(*found, wanted)) continue;
    std::size_t j = i + 1;
    while (j < lines.size() && !sectionName(lines[j].text)) ++j;
    return SectionSpan{i, j};
  }
  return std::nullopt;
}

std::optional<std::size_t> findKey(const std::vector<Line>& lines, SectionSpan span,
                                   std::string_view key) {
  std::string_view wanted = trimBlanks(key);
  for (std::size_t i = span.header + 1; i < span.last; ++i) {
    auto kl = keyLine(lines[i].text);
    if (kl && equalsIgnoringCase(kl->key, wanted)) return i;
  }
  return std::nullopt;
}

std::string_view unquote(std::string_view v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
    return v.substr(1, v.size() - 2);
  }
  return v;
}

// Cut to the limit without leaving half of a UTF-8 sequence behind.
std::string_view cutToLimit(std::string_view v) {
  if (v.size() <= kProfileValueLimit) return v;
  auto byte = [&](std::size_t i) { return static_cast<unsigned char>(v[i]); };
  std::size_t n = kProfileValueLimit;
  std::size_t p = n;  // v[p - 1] is the candidate lead byte of the last sequence kept
  while (p > 1 && n - p < 3 && (byte(p - 1) & 0xC0) == 0x80) --p;
  unsigned char lead = byte(p - 1);
  std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
  if (p - 1 + length > n) n = p - 1;
  return v.substr(0, n);
}

std::string keyLineText(std::string_view key, std::string_view value) {
  std::string out(trimBlanks(key));
  out += '=';
  for (char c : value) out += (c == '\r' || c == '\n' || c == '\0') ? ' ' : c;
  out += "\r\n";
  return out;
}

}  // namespace

std::optional<std::string> findProfileValue(std::string_view content, std::string_view section,
                                            std::string_view key) {
  std::vector<Line> lines = splitLines(content);
  auto span = findSection(lines, section);
  if (!span) return std::nullopt;
  auto at = findKey(lines, *span, key);
  if (!at) return std::nullopt;
  return std::string(cutToLimit(unquote(keyLine(lines[*at].text)->value)));
}

std::string setProfileValue(std::string_view content, std::string_view section,
                            std::string_view key, std::string_view value) {
  std::vector<Line> lines = splitLines(content);
  std::string newLine = keyLineText(key, value);
  std::string out;
  out.reserve(content.size() + newLine.size() + section.size() + 8);

  auto span = findSection(lines, section);
  if (!span) {
    out.append(content);
    if (!lines.empty() && !lines.back().terminated()) out += "\r\n";
    out += '[';
    out += trimBlanks(section);
    out += "]\r\n";
    out += newLine;
    return out;
  }

  if (auto at = findKey(lines, *span, key)) {
    const Line& line = lines[*at];
    out.append(content.substr(0, line.begin));
    out += newLine;
    out.append(content.substr(line.end));
    return out;
  }

  // The new key goes after the section's last key line, so blank lines and comments that
  // separate it from the next section stay where they were.
  std::size_t after = span->header;
  for (std::size_t i = span->header + 1; i < span->last; ++i) {
    if (!trimBlanks(lines[i].text).empty() && !isComment(lines[i].text)) after = i;
  }
  const Line& anchor = lines[after];
  out.append(content.substr(0, anchor.end));
  if (!anchor.terminated()) out += "\r\n";
  out += newLine;
  out.append(content.substr(anchor.end));
  return out;
}

}  // namespace kerfline
