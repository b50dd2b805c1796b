// Fuzzes the reader of the settings file's weld, kerf and G-code section on arbitrary text:
// whatever the file holds, every setting read is one the writers accept.
#include <unistd.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "appcore/toolpath_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path = "/tmp/kerfline-fuzz-toolpath-" + std::to_string(::getpid()) + ".ini";
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << "[Export]\r\n";
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  kerfline::ConversionOptions o;
  kerfline::loadToolpathSettings(path, o);
  const auto positive = [](const std::optional<double>& v) { return !v || (std::isfinite(*v) && *v > 0); };
  if (!positive(o.kerf) || !positive(o.gcode.feed) || !positive(o.gcode.plungeFeed) ||
      !positive(o.gcode.depthPerPass))
    std::abort();
  if (o.gcode.spindleRpm && *o.gcode.spindleRpm <= 0) std::abort();
  if (o.gcode.power && !(std::isfinite(*o.gcode.power) && *o.gcode.power >= 0)) std::abort();
  return 0;
}
