#pragma once
#include <string>

namespace kerfline {

/// A live temporary file or folder, removed by the signal handler of
/// removeTemporariesOnSignal() when the program is interrupted before it is released.
/// Move-free and copy-free: it lives as long as its owner's temporary.
class RegisteredTemporary {
 public:
  /// Registers path (a file, or an empty folder when folder is true). A path too long for the
  /// registry, or a full registry, goes unregistered: cleanup on a signal is best effort.
  explicit RegisteredTemporary(const std::string& path, bool folder = false) noexcept;
  /// Releases the entry (removes nothing: the owner renamed or removed its temporary).
  ~RegisteredTemporary();
  RegisteredTemporary(const RegisteredTemporary&) = delete;
  RegisteredTemporary& operator=(const RegisteredTemporary&) = delete;

 private:
  int slot_;
};

/// Installs handlers for SIGINT, SIGTERM, SIGHUP and SIGPIPE that remove every registered temporary
/// (files before folders) and then end the process by the same signal with its default action,
/// so the parent sees the signal as the cause. A signal the process ignores (nohup, a shell's
/// background job) stays ignored.
void removeTemporariesOnSignal();

}  // namespace kerfline
