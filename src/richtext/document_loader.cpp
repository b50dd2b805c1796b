#include "richtext/document_loader.h"

#include <utility>

#include "common/error.h"
#include "common/file_reader.h"
#include "richtext/plain_text.h"
#include "richtext/rtf_reader.h"

namespace kerfline {
namespace {

constexpr std::string_view kRtfSignature = "{\\rtf";

[[noreturn]] void cannotOpen(const std::string& path) { throw Error("Cannot open file " + path); }
[[noreturn]] void failedToLoad() { throw Error("Failed to Load Stream"); }

std::string readWholeFile(const std::string& path) {
  // Only regular files are documents (a device such as /dev/zero would never end), and a
  // FIFO must not hang the program: the reader opens without blocking and refuses both.
  FileContent file = readRegularFile(path, kMaxDocumentBytes);
  switch (file.status) {
    case ReadStatus::Ok: return std::move(file.bytes);
    case ReadStatus::Missing:
    case ReadStatus::Unreadable: cannotOpen(path);
    case ReadStatus::ReadError:
    case ReadStatus::TooLarge: failedToLoad();  // opened, but the content cannot be taken
  }
  failedToLoad();
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
