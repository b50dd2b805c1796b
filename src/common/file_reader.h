#pragma once
#include <cstddef>
#include <string>
#include <sys/types.h>

namespace kerfline {

/// How a bounded read ended.
enum class ReadStatus {
  Ok,          ///< every byte read
  Missing,     ///< no file of that name
  Unreadable,  ///< cannot be opened, or no regular file (a folder, FIFO or device)
  ReadError,   ///< opened, but reading failed
  TooLarge,    ///< more than the limit
};

/// What a bounded read gives back.
struct FileContent {
  ReadStatus status = ReadStatus::Missing;
  std::string bytes;  ///< the content when status is Ok
  mode_t mode = 0;    ///< permission bits of a regular file that was opened
};

/// Reads a regular file whole, at most limit bytes. Opens without blocking, so a FIFO under
/// the name cannot hang the program (it is refused with every other non-regular file); the
/// size is only a hint (files under /proc report 0), the file is read to its end.
FileContent readRegularFile(const std::string& path, std::size_t limit);

/// Reads an open descriptor (a pipe, standard input) to its end, at most limit bytes;
/// expected is a size hint for the buffer.
FileContent readToEnd(int fd, std::size_t limit, std::size_t expected = 0);

}  // namespace kerfline
