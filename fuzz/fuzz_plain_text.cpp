// Plain-text decoding and the UTF-8 helpers on arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "common/code_pages.h"
#include "common/utf8.h"
#include "richtext/plain_text.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

bool isScalar(char32_t c) { return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kerfline;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  const StyledText text = decodePlainText(bytes, defaultEditorFormat());
  const std::u32string& s = text.text();
  // The text model: CR and LF only as the pair CR LF, no NUL, only Unicode scalar values.
  for (std::size_t i = 0; i < s.size(); ++i) {
    check(s[i] != 0 && isScalar(s[i]));
    if (s[i] == U'\r') check(i + 1 < s.size() && s[i + 1] == U'\n');
    if (s[i] == U'\n') check(i > 0 && s[i - 1] == U'\r');
  }
  // One run covers everything, or there is no text and no run.
  check(s.empty() ? text.runs().empty()
                  : text.runs().size() == 1 && text.runs()[0].length == text.length());

  // UTF-8: every byte becomes at most one character; well-formed input survives a round trip;
  // decoded text always re-encodes to well-formed UTF-8 and decodes back to itself.
  const std::u32string decoded = utf8ToU32(bytes);
  check(decoded.size() <= bytes.size());
  const std::string encoded = u32ToUtf8(decoded);
  check(isValidUtf8(encoded));
  check(utf8ToU32(encoded) == decoded);
  if (isValidUtf8(bytes)) check(encoded == bytes);
  for (char32_t c : decoded) check(isScalar(c));

  // Single-byte pages: decoding then encoding gives back every defined byte.
  if (!bytes.empty()) {
    static constexpr int kPages[] = {1250, 1251, 1252, 1253, 1254, 1255, 1256,
                                     1257, 1258, 874,  437,  850,  10000, codepage::Symbol};
    const int page = kPages[data[0] % (sizeof kPages / sizeof kPages[0])];
    const std::u32string single = decodeSingleByte(page, bytes.substr(1));
    for (std::size_t i = 0; i < single.size(); ++i) {
      if (single[i] != 0xFFFD) check(encodeChar(page, single[i]) == data[i + 1]);
    }
  }
  return 0;
}
