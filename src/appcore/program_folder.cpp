#include "appcore/program_folder.h"

#include <unistd.h>

#include <string>

namespace kerfline {

std::string programFolder() {
  // /proc/self/exe names the executable whatever the current folder or argv[0] say.
  std::string buffer(4096, '\0');
  for (;;) {
    ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n < 0) return "./";  // no /proc: the current folder is the only guess left
    if (static_cast<std::size_t>(n) < buffer.size()) {
      buffer.resize(static_cast<std::size_t>(n));
      break;
    }
    buffer.resize(buffer.size() * 2);
  }
  std::size_t slash = buffer.rfind('/');
  if (slash == std::string::npos) return "./";
  return buffer.substr(0, slash + 1);
}

}  // namespace kerfline
