#include "command_output.h"

#include <cstdio>

namespace kerfline::test {

CommandOutput runCommand(const std::string& command) {
  CommandOutput r;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return r;
  char buffer[65536];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) r.output.append(buffer, n);
  r.status = ::pclose(pipe);
  return r;
}

}  // namespace kerfline::test
