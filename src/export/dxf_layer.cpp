#include "export/dxf_layer.h"

#include "common/code_pages.h"
#include "common/utf8.h"

namespace kerfline {

std::string dxfLayerName(std::string_view utf8) {
  const std::u32string text = utf8ToU32(utf8);
  std::size_t first = 0;
  std::size_t last = text.size();
  while (first < last && text[first] <= 32) ++first;
  while (last > first && text[last - 1] <= 32) --last;
  std::string layer;
  for (std::size_t i = first; i < last && layer.size() < kMaxLayerLength; ++i) {
    const char32_t c = text[i];
    layer.push_back(c < 32 ? '?' : static_cast<char>(encodeChar(codepage::Windows1252, c)));
  }
  if (layer.empty()) layer.push_back('0');
  return layer;
}

}  // namespace kerfline
