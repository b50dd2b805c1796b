// Fuzzes the settings codec on arbitrary text in its sections: whatever the file holds, every
// setting read lies inside the option table's limits, as the writers and the window expect.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "appcore/option_table.h"
#include "appcore/toolpath_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path = "/tmp/kerfline-fuzz-toolpath-" + std::to_string(::getpid()) + ".ini";
  {
    // The same bytes in both sections the codec reads.
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (const char* section : {"[Export]\r\n", "\r\n[Typography]\r\n"}) {
      out << section;
      out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
  }
  kerfline::ConversionOptions o;
  kerfline::loadExportChoices(path, o);
  kerfline::loadTypographyChoices(path, o);
  for (const kerfline::OptionDescriptor& row : kerfline::optionTable()) {
    if (!row.get) continue;
    const std::optional<double> v = row.get(o);
    if (v && !kerfline::withinLimits(row, *v)) std::abort();
  }
  return 0;
}
