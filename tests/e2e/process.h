#pragma once
#include <string>
#include <vector>

namespace kerfline::e2e {

/// What a finished child process left: its exit status (128 + signal when killed) and output.
struct ProcessResult {
  int status = -1;
  std::string out;
  std::string err;
};

/// Runs program with args (argv[1]...) in folder cwd and waits for it. unprivileged: as user
/// and group 65534 when running as root, so that permission bits apply.
ProcessResult runProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::string& cwd, bool unprivileged = false);

}  // namespace kerfline::e2e
