#include "export/output_buffer.h"

#include "common/error.h"
#include "export/output_file.h"

namespace kerfline {
namespace {

// Large enough that the kernel sees a few dozen writes for a big file, small enough to stay
// in the cache between fills.
constexpr std::size_t kBufferSize = std::size_t{1} << 20;
static_assert(OutputBuffer::kLargestPiece <= kBufferSize);

}  // namespace

OutputBuffer::OutputBuffer(OutputFile& file)
    : file_(file),
      buffer_(new char[kBufferSize]),
      pos_(buffer_.get()),
      end_(buffer_.get() + kBufferSize) {}

OutputBuffer::~OutputBuffer() = default;

void OutputBuffer::flush() {
  file_.write(buffer_.get(), static_cast<std::size_t>(pos_ - buffer_.get()));
  pos_ = buffer_.get();
}

void OutputBuffer::makeRoom(std::size_t n) {
  if (n > kLargestPiece) throw Error("Internal error: an output piece is too long.");
  flush();
}

void OutputBuffer::putLong(std::string_view text) {
  flush();
  file_.write(text.data(), text.size());
}

}  // namespace kerfline
