#include "windowlogic/window_text.h"

#include <limits>

namespace kerfline {

std::string caretPositionText(std::int32_t line, std::int32_t column, std::int32_t selLineCount) {
  return "  Pos [" + std::to_string(line) + ":" + std::to_string(column) + "]   Sel : [" +
         std::to_string(selLineCount) + "]   ";
}

std::string errorBoxText(std::string message) {
  // Byte compare: the bytes of a multi-byte UTF-8 character all sort after '.'.
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') message += '.';
  return message;
}

std::optional<std::int32_t> parseWholeNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i == text.size()) return std::nullopt;
  std::int64_t value = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

}  // namespace kerfline
