#include "appcore/settings_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>

#include "appcore/profile_text.h"
#include "common/error.h"

namespace kerfline {
namespace {

// A settings file is a few lines; anything bigger is not ours to parse or to rewrite.
constexpr std::size_t kMaxSettingsBytes = 1 << 20;

enum class ReadStatus { Ok, Missing, Unreadable };

struct FileText {
  ReadStatus status = ReadStatus::Missing;
  std::string bytes;
  mode_t mode = 0;
};

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() { if (fd_ >= 0) ::close(fd_); }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  int release() { int fd = fd_; fd_ = -1; return fd; }

 private:
  int fd_;
};

FileText readBounded(const std::string& path) {
  FileText result;
  // O_NONBLOCK: a FIFO named Reg.ini must not hang the program; it is refused below.
  Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (fd.get() < 0) {
    result.status = errno == ENOENT ? ReadStatus::Missing : ReadStatus::Unreadable;
    return result;
  }
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) ||
      static_cast<std::size_t>(st.st_size) > kMaxSettingsBytes) {
    result.status = ReadStatus::Unreadable;
    return result;
  }
  result.mode = st.st_mode & 07777;
  char chunk[8192];
  for (;;) {
    ssize_t n = ::read(fd.get(), chunk, sizeof chunk);
    if (n < 0) {
      if (errno == EINTR) continue;
      result.status = ReadStatus::Unreadable;
      return result;
    }
    if (n == 0) break;
    result.bytes.append(chunk, static_cast<std::size_t>(n));
    if (result.bytes.size() > kMaxSettingsBytes) {  // grew while we read it
      result.status = ReadStatus::Unreadable;
      return result;
    }
  }
  result.status = ReadStatus::Ok;
  return result;
}

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

mode_t defaultFileMode() {
  mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

// The whole new text goes to a temporary file beside the target and replaces it by rename,
// so a full disk or a crash leaves either the old file or the new one, never half of one.
void replaceFile(const std::string& path, std::string_view bytes, mode_t mode) {
  std::string temp = path + ".XXXXXX";
  Fd fd(::mkstemp(temp.data()));
  if (fd.get() < 0) throw Error("Unable to write to " + path);
  bool ok = writeAll(fd.get(), bytes) && ::fchmod(fd.get(), mode) == 0 && ::fsync(fd.get()) == 0;
  ok = (::close(fd.release()) == 0) && ok;
  if (!ok || ::rename(temp.c_str(), path.c_str()) != 0) {
    ::unlink(temp.c_str());
    throw Error("Unable to write to " + path);
  }
}

}  // namespace

std::string settingsPath(const std::string& folder) { return folder + "Reg.ini"; }

std::optional<std::string> readProfileString(const std::string& path, const std::string& section,
                                             const std::string& key) {
  FileText file = readBounded(path);
  if (file.status != ReadStatus::Ok) return std::nullopt;
  return findProfileValue(file.bytes, section, key);
}

void writeProfileString(const std::string& path, const std::string& section,
                        const std::string& key, const std::string& value) {
  FileText file = readBounded(path);
  if (file.status == ReadStatus::Unreadable) throw Error("Unable to write to " + path);
  if (file.status == ReadStatus::Ok) {
    // Renaming over a file would succeed even where the file itself may not be written;
    // a read-only settings file is refused as the platform refuses it.
    Fd probe(::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK));
    if (probe.get() < 0) throw Error("Unable to write to " + path);
  } else {
    file.mode = defaultFileMode();
  }
  replaceFile(path, setProfileValue(file.bytes, section, key, value), file.mode);
}

LayerSettings Loadini(const std::string& path) {
  LayerSettings s;
  s.layer = readProfileString(path, "Layer", "Layer").value_or("0");
  s.zUp = readProfileString(path, "Layer", "Zup").value_or("1.00");
  s.zDown = readProfileString(path, "Layer", "Zdown").value_or("0.00");
  return s;
}

void Saveini(const std::string& path, const LayerSettings& settings) {
  writeProfileString(path, "Layer", "Layer", settings.layer);
  writeProfileString(path, "Layer", "Zup", settings.zUp);
  writeProfileString(path, "Layer", "Zdown", settings.zDown);
}

}  // namespace kerfline
