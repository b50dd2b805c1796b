#include "common/file_descriptor.h"

#include <unistd.h>

#include <cerrno>

namespace kerfline {

FileDescriptor::~FileDescriptor() {
  if (fd_ >= 0) ::close(fd_);
}

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = std::exchange(other.fd_, -1);
  }
  return *this;
}

int FileDescriptor::close() noexcept {
  const int fd = std::exchange(fd_, -1);
  if (fd < 0) return 0;
  // On Linux the descriptor is gone even when close() reports EINTR: never close it twice.
  return ::close(fd) == 0 || errno == EINTR ? 0 : errno;
}

}  // namespace kerfline
