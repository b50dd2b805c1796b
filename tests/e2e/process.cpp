#include "process.h"

#include "child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace kerfline::e2e {

std::string slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void spit(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

namespace {

std::string slurpAndRemove(const std::string& path) {
  std::string bytes = slurp(path);
  std::remove(path.c_str());
  return bytes;
}

}  // namespace

ProcessResult runProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::string& cwd, bool unprivileged) {
  ProcessSetup setup;
  setup.unprivileged = unprivileged;
  return runProcess(program, args, cwd, setup);
}

ProcessResult runProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::string& cwd, const ProcessSetup& setup) {
  // Output goes to files rather than pipes, so a chatty child can never block on a full pipe.
  char outName[] = "/tmp/kerfline-e2e-out-XXXXXX";
  char errName[] = "/tmp/kerfline-e2e-err-XXXXXX";
  char inName[] = "/tmp/kerfline-e2e-in-XXXXXX";
  int outFd = ::mkstemp(outName);
  int errFd = ::mkstemp(errName);
  int inFd = ::mkstemp(inName);
  for (std::size_t done = 0; done < setup.input.size();) {
    const ssize_t n = ::write(inFd, setup.input.data() + done, setup.input.size() - done);
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  ::lseek(inFd, 0, SEEK_SET);
  ::unlink(inName);
  pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(inFd, 0);
    ::dup2(outFd, 1);
    ::dup2(errFd, 2);
    for (const std::string& name : setup.unsetEnv) ::unsetenv(name.c_str());
    for (const std::string& entry : setup.setEnv) {
      const std::size_t eq = entry.find('=');
      ::setenv(entry.substr(0, eq).c_str(), entry.substr(eq + 1).c_str(), 1);
    }
    if (setup.unprivileged && !test::dropPrivileges()) ::_exit(125);
    if (setup.whileRunning) {
      for (const int signal : {SIGINT, SIGTERM, SIGHUP}) ::signal(signal, SIG_DFL);
    }
    if (::chdir(cwd.c_str()) != 0) ::_exit(126);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  ::close(inFd);
  ::close(outFd);
  ::close(errFd);
  if (setup.whileRunning) setup.whileRunning(static_cast<int>(pid));
  int status = 0;
  ::waitpid(pid, &status, 0);
  ProcessResult r;
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  r.out = slurpAndRemove(outName);
  r.err = slurpAndRemove(errName);
  return r;
}

}  // namespace kerfline::e2e
