// Hershey .jhf font files: any bytes read without a crash, every glyph drawable.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_single_line_font.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kerfline;
  if (size == 0) return 0;
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  const SingleLineFont font = readJhf(bytes);
  fuzz::check(font.glyphs.size() <= 96);
  fuzz::check(font.glyphs.size() + font.malformed.size() <= std::size_t(font.records));
  fuzz::checkFont(font, 1 + data[0] % 8, fuzz::lineCount(bytes));
  return 0;
}
