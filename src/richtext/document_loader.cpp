#include "richtext/document_loader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <utility>

#include "common/error.h"
#include "richtext/plain_text.h"
#include "richtext/rtf_reader.h"

namespace kerfline {
namespace {

// Far beyond any text worth cutting (each character becomes a glyph conversion), yet small
// enough that the decoded text, at most 8 bytes per input byte, stays within memory.
constexpr std::size_t kMaxDocumentBytes = std::size_t{64} << 20;

constexpr std::string_view kRtfSignature = "{\\rtf";

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

[[noreturn]] void cannotOpen(const std::string& path) { throw Error("Cannot open file " + path); }
[[noreturn]] void failedToLoad() { throw Error("Failed to Load Stream"); }

std::string readWholeFile(const std::string& path) {
  // O_NONBLOCK so that naming a FIFO cannot hang the program in open(); only regular files
  // are documents (a device such as /dev/zero would never end).
  FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (file.get() < 0) cannotOpen(path);
  struct stat info {};
  if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) cannotOpen(path);
  if (static_cast<std::uintmax_t>(info.st_size) > kMaxDocumentBytes) failedToLoad();

  // The size is only a hint (files under /proc report 0): read until end of file.
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(info.st_size));
  char buffer[1 << 16];
  for (;;) {
    const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      failedToLoad();  // opened, but the content cannot be read
    }
    if (bytes.size() + static_cast<std::size_t>(got) > kMaxDocumentBytes) failedToLoad();
    bytes.append(buffer, static_cast<std::size_t>(got));
  }
  return bytes;
}

}  // namespace

StyledText loadDocumentBytes(std::string_view bytes, const TFontDescription& plainFormat) {
  if (bytes.size() > kMaxDocumentBytes) failedToLoad();
  // The content decides, never the file name: only text that opens with the RTF signature is
  // offered to the RTF reader, and whatever it refuses is read again from the start as plain.
  if (bytes.substr(0, kRtfSignature.size()) == kRtfSignature) {
    if (std::optional<StyledText> rich = readRtf(bytes)) return std::move(*rich);
  }
  return decodePlainText(bytes, plainFormat);
}

StyledText loadDocument(const std::string& path, const TFontDescription& plainFormat) {
  return loadDocumentBytes(readWholeFile(path), plainFormat);
}

}  // namespace kerfline
