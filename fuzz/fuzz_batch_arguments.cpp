// Fuzzes the batch argument rules: the input's bytes split at NUL are the arguments.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "appcore/batch_arguments.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> args(1);
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0) args.emplace_back();
    else args.back() += static_cast<char>(data[i]);
  }
  kerfline::BatchArguments a = kerfline::parseBatchArguments(args);
  if (a.scale && (*a.scale < 1 || *a.scale > 10000)) std::abort();
  if (a.resolution && (*a.resolution < 1 || *a.resolution > 100)) std::abort();
  if (a.spacePercent && (*a.spacePercent < 0 || *a.spacePercent > 100)) std::abort();
  std::string out = kerfline::batchOutputName(a.inputFile);
  if (out.size() < 4 || out.compare(out.size() - 4, 4, ".DXF") != 0) std::abort();
  return 0;
}
