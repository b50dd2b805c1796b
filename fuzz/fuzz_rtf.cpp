// Feeds arbitrary bytes to the RTF reader and checks what every result must satisfy.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "richtext/rtf_reader.h"

namespace {

void require(bool ok) {
  if (!ok) std::abort();
}

void check(const kerfline::StyledText& t) {
  const std::u32string& s = t.text();
  std::int32_t next = 0;
  for (const auto& r : t.runs()) {
    require(r.start == next);
    require(r.length >= 1);
    require(r.format.Size >= 1);
    next = r.start + r.length;
  }
  require(next == t.length());
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == U'\r') require(i + 1 < s.size() && s[i + 1] == U'\n');
    if (s[i] == U'\n') require(i > 0 && s[i - 1] == U'\r');
    require(s[i] != 0 && !(s[i] >= 0xD800 && s[i] <= 0xDFFF) && s[i] <= 0x10FFFF);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (auto t = kerfline::readRtf(bytes)) check(*t);
  // Most mutations lose the opening; reading the rest as a document keeps the parser busy.
  std::string doc = "{\\rtf1";
  doc.append(bytes);
  if (auto t = kerfline::readRtf(doc)) {
    check(*t);
  } else {
    std::abort();
  }
  return 0;
}
