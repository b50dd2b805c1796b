#pragma once
#include <cstddef>
#include <string>

#include "common/file_descriptor.h"

namespace kerfline {

/// The user's message for a failed create, write, close or rename with errno err:
/// "Invalid filename.", "File access denied.", "Too many open files.", "Disk full." or
/// "I/O error <err>.".
std::string fileErrorMessage(int err);

/// A file written under a temporary name beside its target and renamed over the target by
/// commit(). Destroyed without commit() it removes the temporary, so a failed export leaves
/// the previous target untouched and nothing behind.
class OutputFile {
 public:
  /// Refuses a target that exists but may not be written (or is no regular file), then creates the
  /// temporary in the target's folder. Throws Error with the user's message.
  explicit OutputFile(const std::string& target);
  /// Writes to the open descriptor fd, which it takes over and closes; commit() only closes.
  /// A seam for write failures on special files such as /dev/full.
  explicit OutputFile(int fd);
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  /// Writes all size bytes. Throws Error ("Disk full." for a short write).
  void write(const char* data, std::size_t size);
  /// Syncs the file to disk, closes it, renames it over the target and syncs the folder.
  /// Throws Error; the target is then untouched.
  void commit();

  /// The temporary's path while it exists (empty for the descriptor seam).
  const std::string& temporaryPath() const { return temporary_; }

 private:
  std::string target_;
  std::string temporary_;
  FileDescriptor fd_;
  bool committed_ = false;
};

}  // namespace kerfline
