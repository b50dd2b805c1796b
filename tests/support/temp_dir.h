#pragma once
// A temporary folder for one test.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kerfline::test {

/// A fresh folder of its own under the system's temporary folder, removed with everything in
/// it (whatever permissions a test left on it).
class TempDir {
 public:
  /// Creates the folder; throws std::runtime_error when it cannot.
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  /// The folder.
  const std::filesystem::path& path() const { return path_; }
  /// The folder with a trailing "/".
  std::string folder() const { return path_.string() + "/"; }
  /// The path of name inside the folder (the folder itself, with a "/", for "").
  std::string file(const std::string& name) const { return (path_ / name).string(); }
  /// Writes bytes to name inside the folder and returns its path.
  std::string write(const std::string& name, std::string_view bytes) const;
  /// Names of everything in the folder, sorted.
  std::vector<std::string> entries() const;

 private:
  std::filesystem::path path_;
};

}  // namespace kerfline::test
