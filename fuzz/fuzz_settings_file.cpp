// Fuzzes the initialisation-file reader and writer on arbitrary bytes: the first byte picks
// the key, the rest is the file text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "appcore/profile_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  static constexpr const char* kKeys[] = {"Layer", "Zup", "Zdown", "zUP", " Layer "};
  std::string_view key = kKeys[data[0] % 5];
  std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

  auto before = kerfline::findProfileValue(text, "Layer", key);
  if (before && before->size() > kerfline::kProfileValueLimit) std::abort();

  // A write makes the value readable as written, and writing it again changes nothing.
  std::string written = kerfline::setProfileValue(text, "Layer", key, "v=1");
  auto after = kerfline::findProfileValue(written, "layer", key);
  if (!after || *after != "v=1") std::abort();
  if (kerfline::setProfileValue(written, "LAYER", key, "v=1") != written) std::abort();
  return 0;
}
