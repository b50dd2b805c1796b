#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "common/file_descriptor.h"
#include "export/temporary_registry.h"

namespace kerfline {

/// The user's message for a failed create, write, close or rename with errno err:
/// "Invalid filename.", "File access denied.", "Too many open files.", "Disk full." or
/// "I/O error <err>.".
std::string fileErrorMessage(int err);

/// True when both names exist and lead to one file (same device and inode), whether through
/// a symbolic or hard link, "./" or any other spelling.
bool namesSameFile(const std::string& a, const std::string& b);

/// Throws Error("<output> is the <role> itself: nothing written.") when output names the same file as
/// source, which an export would otherwise replace (role: "input file", "settings file").
void refuseToReplace(const std::string& output, const std::string& source, std::string_view role);

/// A file written under a temporary name beside its target and renamed over the target by
/// commit(). Destroyed without commit() it removes the temporary, so a failed export leaves
/// the previous target untouched and nothing behind; the temporary is registered so that an
/// interrupting signal removes it too (removeTemporariesOnSignal).
class OutputFile {
 public:
  /// Refuses a target that exists but may not be written (or is no regular file), and a symbolic
  /// link in a sticky, world-writable folder owned by neither the user nor the folder's owner
  /// (the kernel's protected-symlink rule); otherwise follows links, then creates the
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
  std::optional<RegisteredTemporary> registered_;
  bool committed_ = false;
};

}  // namespace kerfline
