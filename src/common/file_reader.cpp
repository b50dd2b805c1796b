#include "common/file_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "common/file_descriptor.h"

namespace kerfline {

FileContent readToEnd(int fd, std::size_t limit, std::size_t expected) {
  FileContent result;
  if (expected <= limit) result.bytes.reserve(expected);
  char buffer[1 << 16];
  for (;;) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      result.status = ReadStatus::ReadError;
      result.bytes.clear();
      return result;
    }
    if (result.bytes.size() + static_cast<std::size_t>(got) > limit) {
      result.status = ReadStatus::TooLarge;
      result.bytes.clear();
      return result;
    }
    result.bytes.append(buffer, static_cast<std::size_t>(got));
  }
  result.status = ReadStatus::Ok;
  return result;
}

FileContent readRegularFile(const std::string& path, std::size_t limit) {
  FileContent result;
  FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (!file) {
    result.status = errno == ENOENT ? ReadStatus::Missing : ReadStatus::Unreadable;
    return result;
  }
  struct stat info {};
  if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
    result.status = ReadStatus::Unreadable;
    return result;
  }
  if (static_cast<std::uintmax_t>(info.st_size) > limit) {
    result.status = ReadStatus::TooLarge;
    return result;
  }
  const mode_t mode = info.st_mode & 07777;
  result = readToEnd(file.get(), limit, static_cast<std::size_t>(info.st_size));
  result.mode = mode;
  return result;
}

}  // namespace kerfline
