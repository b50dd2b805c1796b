// The editor's clipboard reader: whatever another program puts under our clipboard type must
// be refused or read completely, and what it reads must write back to the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "windowlogic/rich_edit_clip_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const auto text = kerfline::decodeStyledClip(bytes);
  if (!text) return 0;
  const auto again = kerfline::decodeStyledClip(kerfline::encodeStyledClip(*text));
  if (!again || again->text() != text->text() || again->runs() != text->runs()) std::abort();
  return 0;
}
