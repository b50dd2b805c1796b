#include "windowlogic/step_rules.h"

namespace kerfline {

std::int32_t nextCharPos(std::int32_t pos, std::int32_t len) {
  // A position beyond the text (it got shorter) wraps to the first character like the end.
  if (pos >= len || pos < 0) return 1;
  return pos + 1;
}

std::int32_t prevCharPos(std::int32_t pos, std::int32_t len) {
  if (pos - 1 < 1 || pos - 1 > len) return len;
  return pos - 1;
}

std::uint8_t nextEmptyCode(std::uint8_t code) {
  return code == 255 ? std::uint8_t{32} : static_cast<std::uint8_t>(code + 1);
}

std::uint8_t prevEmptyCode(std::uint8_t code) {
  return code == 32 ? std::uint8_t{255} : static_cast<std::uint8_t>(code - 1);
}

}  // namespace kerfline
