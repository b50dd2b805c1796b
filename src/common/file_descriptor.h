#pragma once
#include <utility>

namespace kerfline {

/// Owns one open file descriptor and closes it; move-only. -1 holds nothing.
class FileDescriptor {
 public:
  /// Takes over fd (which may be -1).
  explicit FileDescriptor(int fd = -1) noexcept : fd_(fd) {}
  ~FileDescriptor();
  FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  FileDescriptor& operator=(FileDescriptor&& other) noexcept;
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;

  /// The descriptor, still owned.
  int get() const noexcept { return fd_; }
  /// True while a descriptor is held.
  explicit operator bool() const noexcept { return fd_ >= 0; }
  /// Gives the descriptor up without closing it.
  int release() noexcept { return std::exchange(fd_, -1); }
  /// Closes now and reports close()'s errno, 0 when it succeeded (or nothing was held). A
  /// close that fails may have lost written data, so writers must look at it.
  int close() noexcept;

 private:
  int fd_;
};

}  // namespace kerfline
