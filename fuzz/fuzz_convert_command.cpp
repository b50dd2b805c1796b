// Fuzzes the named command line: the input's bytes split at NUL are the arguments. Every
// accepted line must keep its values inside their ranges; everything else is a UsageError.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "appcore/convert_command.h"
#include "appcore/text_dump.h"
#include "richtext/document_loader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> args(1);
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0) args.emplace_back();
    else args.back() += static_cast<char>(data[i]);
  }
  if (!kerfline::isNamedCommandLine(args)) return 0;
  try {
    const kerfline::ConvertCommand c = kerfline::parseConvertCommand(args);
    const kerfline::ExportSettings& s = c.options.classic;
    if (s.scale < 1 || s.scale > 10000 || s.resolution < 1 || s.resolution > 100 ||
        s.spacePercent < 0 || s.spacePercent > 100 || c.plainFont.Size < 1) {
      std::abort();
    }
    if (c.options.kerf && !(*c.options.kerf > 0)) std::abort();
    if (c.options.fitWidth && c.options.fitHeight) std::abort();
    // The dump of --text must hold whatever text was given.
    if (c.text) {
      (void)kerfline::textDumpJson(kerfline::decodePlainText(*c.text, c.plainFont));
    }
  } catch (const kerfline::UsageError&) {
  }
  return 0;
}
