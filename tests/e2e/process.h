#pragma once
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace kerfline::e2e {

/// The whole content of a file (empty when it cannot be read).
std::string slurp(const std::filesystem::path& path);

/// Writes bytes as the whole content of a file.
void spit(const std::filesystem::path& path, const std::string& bytes);

/// What a finished child process left: its exit status (128 + signal when killed) and output.
struct ProcessResult {
  int status = -1;
  std::string out;
  std::string err;
};

/// What a child gets besides its arguments.
struct ProcessSetup {
  std::string input;                   ///< its standard input (empty: an empty file)
  std::vector<std::string> setEnv;     ///< "NAME=value" entries set in its environment
  std::vector<std::string> unsetEnv;   ///< names removed from its environment
  bool unprivileged = false;           ///< as user and group 65534 when running as root
  /// Called with the child's process id while it runs (to signal it, say); the child then
  /// starts with the default action for SIGINT, SIGTERM and SIGHUP whatever this process has.
  std::function<void(int)> whileRunning;
};

/// Runs program with args (argv[1]...) in folder cwd and waits for it. unprivileged: as user
/// and group 65534 when running as root, so that permission bits apply.
ProcessResult runProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::string& cwd, bool unprivileged = false);

/// The same with standard input and environment given by setup.
ProcessResult runProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::string& cwd, const ProcessSetup& setup);

}  // namespace kerfline::e2e
