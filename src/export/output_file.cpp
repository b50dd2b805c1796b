#include "export/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <random>
#include <utility>

#include "common/error.h"

namespace kerfline {
namespace {

[[noreturn]] void fail(int err) { throw Error(fileErrorMessage(err)); }

std::string folderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// A name that cannot collide with the user's files; O_EXCL settles any race that is left.
std::string temporaryName(const std::string& folder, int attempt) {
  static std::atomic<unsigned> counter{0};
  static const unsigned seed = std::random_device{}();
  const unsigned n = counter.fetch_add(1) + static_cast<unsigned>(attempt) * 7919u;
  return folder + "/.kerfline-" + std::to_string(::getpid()) + "-" + std::to_string(seed ^ n) +
         ".tmp";
}

// The kernel's rule for protected symbolic links, applied to the links this writer follows by
// itself: in a sticky folder that anyone may write to (/tmp), a link is followed only when it
// belongs to the user or to the folder's owner. Anyone else's link there may be a trap that
// sends the write onto a file of that other user's choosing.
void refusePlantedLink(const std::string& link, const struct stat& linkInfo) {
  struct stat folder {};
  if (::stat(folderOf(link).c_str(), &folder) != 0) fail(errno);
  const bool shared = (folder.st_mode & S_ISVTX) && (folder.st_mode & S_IWOTH);
  if (shared && linkInfo.st_uid != ::geteuid() && linkInfo.st_uid != folder.st_uid) {
    throw Error("Not written: " + link +
                " is a symbolic link in a shared folder that belongs to another user.");
  }
}

// Write through a symbolic link to the file it names instead of replacing the link, also when
// that file does not exist yet. The links are followed one by one (not by realpath), so that
// every link of a chain meets the rule above.
std::string throughLinks(std::string path) {
  for (int hop = 0; hop < 40; ++hop) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    refusePlantedLink(path, info);
    std::string link(PATH_MAX, '\0');
    const ssize_t length = ::readlink(path.c_str(), link.data(), link.size());
    if (length <= 0) return path;
    link.resize(static_cast<std::size_t>(length));
    path = link.front() == '/' ? link : folderOf(path) + "/" + link;
  }
  fail(ELOOP);
}

}  // namespace

bool namesSameFile(const std::string& a, const std::string& b) {
  struct stat first {}, second {};
  return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 &&
         first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

void refuseToReplace(const std::string& output, const std::string& source, std::string_view role) {
  if (namesSameFile(output, source)) {
    throw Error(output + " is the " + std::string(role) + " itself: nothing written.");
  }
}

std::string fileErrorMessage(int err) {
  switch (err) {
    case ENOENT:
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
    case ELOOP:
      return "Invalid filename.";
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
    case EBUSY:
      return "File access denied.";
    case EMFILE:
    case ENFILE:
      return "Too many open files.";
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return "Disk full.";
    default:
      return "I/O error " + std::to_string(err) + ".";
  }
}

OutputFile::OutputFile(const std::string& target) : target_(target) {
  if (target_.empty() || target_.find('\0') != std::string::npos || target_.back() == '/') {
    fail(EINVAL);
  }
  target_ = throughLinks(target_);
  struct stat info {};
  bool exists = false;
  if (::stat(target_.c_str(), &info) == 0) {
    exists = true;
    if (S_ISDIR(info.st_mode)) fail(EISDIR);
    // A pipe, device or socket cannot take a finished file by rename without being replaced
    // by it (as root even /dev/null would be): refuse it as a target that may not be written.
    if (!S_ISREG(info.st_mode)) fail(EACCES);
    if (::access(target_.c_str(), W_OK) != 0) fail(errno);
  } else if (errno != ENOENT) {
    fail(errno);
  }

  const std::string folder = folderOf(target_);
  const std::string name = target_.substr(target_.rfind('/') + 1);
  const long nameMax = ::pathconf(folder.c_str(), _PC_NAME_MAX);
  if (nameMax < 0) fail(errno);
  if (name.size() > static_cast<std::size_t>(nameMax) || target_.size() >= PATH_MAX) {
    fail(ENAMETOOLONG);
  }

  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string candidate = temporaryName(folder, attempt);
    fd_ = FileDescriptor(::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (fd_) {
      temporary_ = std::move(candidate);
      registered_.emplace(temporary_);
      break;
    }
    if (errno != EEXIST) fail(errno);
  }
  if (!fd_) fail(EEXIST);
  // A replaced file keeps its permission bits (and its owner, where we may set it).
  if (exists) {
    (void)::fchmod(fd_.get(), info.st_mode & 07777);
    if (info.st_uid != ::geteuid() || info.st_gid != ::getegid()) {
      // Only a privileged user may give a file away; otherwise the new file stays ours. A (void)
      // cast does not quiet GCC's unused-result warning under _FORTIFY_SOURCE.
      [[maybe_unused]] const int ownerKept = ::fchown(fd_.get(), info.st_uid, info.st_gid);
    }
  }
}

OutputFile::OutputFile(int fd) : fd_(fd) {}

OutputFile::~OutputFile() {
  fd_.close();
  if (!committed_ && !temporary_.empty()) ::unlink(temporary_.c_str());
}

void OutputFile::write(const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd_.get(), data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      fail(errno);
    }
    if (written == 0) fail(ENOSPC);  // stored fewer bytes than asked: the disk is full
    data += written;
    size -= static_cast<std::size_t>(written);
  }
}

void OutputFile::commit() {
  FileDescriptor file(std::move(fd_));
  if (temporary_.empty()) {  // the descriptor seam: nothing to sync or rename
    if (const int err = file.close()) fail(err);
    return;
  }
  // The data reaches the disk before the name does: after a power cut the target holds
  // either the previous file or the whole new one, never a renamed empty or partial file.
  if (::fsync(file.get()) != 0) fail(errno);
  if (const int err = file.close()) fail(err);
  if (::rename(temporary_.c_str(), target_.c_str()) != 0) fail(errno);
  committed_ = true;
  registered_.reset();
  // The rename itself lives in the folder. Once it has happened the new file is in place, so
  // a folder that cannot be synced (some file systems refuse) does not undo the success.
  FileDescriptor folder(::open(folderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder) (void)::fsync(folder.get());
}

}  // namespace kerfline
