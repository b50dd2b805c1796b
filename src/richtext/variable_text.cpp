#include "richtext/variable_text.h"

#include <cstdio>

#include "common/error.h"
#include "common/utf8.h"

namespace kerfline {
namespace {

constexpr std::u32string_view kSerialName = U"n";

std::string shown(const std::u32string& name, const std::u32string& format) {
  return "{" + u32ToUtf8(name) + (format.empty() ? "" : ":" + u32ToUtf8(format)) + "}";
}

// A value as the text model holds it: every line break (CR LF, LF or CR) as CR LF, no NUL.
std::u32string textModelValue(std::u32string_view v) {
  std::u32string out;
  out.reserve(v.size());
  for (std::size_t i = 0; i < v.size(); ++i) {
    const char32_t c = v[i];
    if (c == U'\r' || c == U'\n') {
      if (c == U'\r' && i + 1 < v.size() && v[i + 1] == U'\n') ++i;
      out += U"\r\n";
    } else if (c != 0) {
      out += c;
    }
  }
  return out;
}

}  // namespace

std::optional<std::string> formatSerial(long long n, std::u32string_view format) {
  bool zero = false;
  int width = 0;
  char base = 'd';
  std::size_t i = 0;
  if (i < format.size() && format[i] == U'0') {
    zero = true;
    ++i;
  }
  while (i < format.size() && format[i] >= U'0' && format[i] <= U'9') {
    width = width * 10 + static_cast<int>(format[i] - U'0');
    if (width > 20) return std::nullopt;
    ++i;
  }
  if (i < format.size() && (format[i] == U'd' || format[i] == U'x' || format[i] == U'X')) {
    base = static_cast<char>(format[i]);
    ++i;
  }
  if (i != format.size()) return std::nullopt;
  if (base != 'd' && n < 0) return std::nullopt;  // no two's complement on a tag
  const std::string spec = std::string("%") + (zero ? "0" : "") + "*ll" + base;
  char out[48];
  std::snprintf(out, sizeof out, spec.c_str(), width, n);
  return std::string(out);
}

TextTemplate::TextTemplate(const StyledText& styled) {
  const std::u32string& text = styled.text();
  // Literal characters gather in the last piece while their format stays the same.
  const auto literal = [this](char32_t c, const TFontDescription& font) {
    if (pieces_.empty() || pieces_.back().placeholder || !(pieces_.back().font == font))
      pieces_.push_back(Piece{{}, {}, font, false});
    pieces_.back().text += c;
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char32_t c = text[i];
    const TFontDescription& font = styled.runAt(static_cast<std::int32_t>(i)).format;
    const bool doubled = i + 1 < text.size() && text[i + 1] == c;
    if ((c == U'{' || c == U'}') && doubled) {
      literal(c, font);
      ++i;
      continue;
    }
    if (c != U'{') {
      literal(c, font);
      continue;
    }
    std::size_t end = i + 1;
    while (end < text.size() && text[end] != U'}' && text[end] != U'{' && text[end] != U'\r')
      ++end;
    if (end >= text.size() || text[end] != U'}') {
      throw Error("a placeholder opened at character " + std::to_string(i + 1) +
                  " is not closed on its line (write {{ for a brace)");
    }
    const std::u32string inside = text.substr(i + 1, end - i - 1);
    const std::size_t colon = inside.find(U':');
    Piece piece{inside.substr(0, colon), {}, font, true};
    if (colon != std::u32string::npos) piece.format = inside.substr(colon + 1);
    pieces_.push_back(std::move(piece));
    i = end;
  }
}

bool TextTemplate::hasPlaceholders() const {
  for (const Piece& p : pieces_)
    if (p.placeholder) return true;
  return false;
}

void TextTemplate::check(const CsvTable* table) const {
  for (const Piece& p : pieces_) {
    if (!p.placeholder) continue;
    if (p.text == kSerialName) {
      if (!formatSerial(0, p.format))
        throw Error(shown(p.text, p.format) + ": not a serial format (such as {n:04} or {n:x})");
      continue;
    }
    if (!table || table->column(u32ToUtf8(p.text)) < 0) {
      std::string known;
      if (table)
        for (const std::string& name : table->header) known += (known.empty() ? "" : ", ") + name;
      throw Error(shown(p.text, {}) + ": " +
                  (table ? "the merge file has no such column (it has: " + known + ")"
                         : std::string("no merge file (--merge) gives a column of that name")));
    }
    if (!p.format.empty())
      throw Error(shown(p.text, p.format) + ": a format applies to {n} only");
  }
}

StyledText TextTemplate::fill(const ItemValues& item,
                              std::u32string (*safeValue)(std::u32string)) const {
  StyledText out;
  for (const Piece& p : pieces_) {
    if (!p.placeholder) {
      out.append(p.text, p.font);
      continue;
    }
    std::u32string value;
    if (p.text == kSerialName) {
      value = utf8ToU32(formatSerial(item.serial, p.format).value_or(""));
    } else if (item.table) {
      const int column = item.table->column(u32ToUtf8(p.text));
      if (column >= 0) value = utf8ToU32(item.table->rows[item.row][static_cast<std::size_t>(column)]);
    }
    if (safeValue) value = safeValue(std::move(value));
    out.append(textModelValue(value), p.font);
  }
  return out;
}

}  // namespace kerfline
