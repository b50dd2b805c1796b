#pragma once
// kerfline-convert run in a folder, as the carving checks run it: the arguments as one shell
// text, the output file named, standard error folded into the output.
#include <filesystem>
#include <string>

#include "command_output.h"

namespace kerfline::test {

inline std::string quoted(const std::filesystem::path& p) { return "'" + p.string() + "'"; }

inline CommandOutput convert(const std::filesystem::path& dir, const std::string& args,
                             const std::string& out) {
  return runCommand("cd " + quoted(dir) + " && " KERFLINE_CONVERT_EXE " " + args + " -o " + out +
                    " 2>&1");
}

}  // namespace kerfline::test
