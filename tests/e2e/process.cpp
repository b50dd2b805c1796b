#include "process.h"

#include "child_process.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace kerfline::e2e {
namespace {

std::string slurpAndRemove(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  std::remove(path.c_str());
  return s.str();
}

}  // namespace

ProcessResult runProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::string& cwd, bool unprivileged) {
  // Output goes to files rather than pipes, so a chatty child can never block on a full pipe.
  char outName[] = "/tmp/kerfline-e2e-out-XXXXXX";
  char errName[] = "/tmp/kerfline-e2e-err-XXXXXX";
  int outFd = ::mkstemp(outName);
  int errFd = ::mkstemp(errName);
  pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(outFd, 1);
    ::dup2(errFd, 2);
    if (unprivileged && !test::dropPrivileges()) ::_exit(125);
    if (::chdir(cwd.c_str()) != 0) ::_exit(126);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  ::close(outFd);
  ::close(errFd);
  int status = 0;
  ::waitpid(pid, &status, 0);
  ProcessResult r;
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  r.out = slurpAndRemove(outName);
  r.err = slurpAndRemove(errName);
  return r;
}

}  // namespace kerfline::e2e
