#pragma once
// Runs another program for a test: the independent readers and checkers are processes of
// their own (Python, node, fontconfig's tools, hb-shape).
#include <string>

namespace kerfline::test {

/// What a command run by the shell printed on its standard output, and how it ended.
struct CommandOutput {
  int status = -1;     ///< as pclose gives it: 0 for success; -1 when it did not start
  std::string output;  ///< everything it printed on standard output
  bool ok() const { return status == 0; }
};

/// Runs command with /bin/sh and collects what it prints (add "2>&1" for standard error).
CommandOutput runCommand(const std::string& command);

}  // namespace kerfline::test
