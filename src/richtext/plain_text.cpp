#include "richtext/plain_text.h"

#include <algorithm>

#include "common/code_pages.h"
#include "common/utf8.h"

namespace kerfline {
namespace {

// Receives the decoded characters one by one and writes every line break as CR LF. A NUL is
// dropped: it is no character a font can draw, and the editor would end its text there,
// silently losing everything after it. Dropping it keeps the rest (and lets BOM-less UTF-16 of
// plain ASCII still read as its letters). A NUL is transparent, so CR NUL LF is one break.
class LineBreakWriter {
 public:
  explicit LineBreakWriter(std::u32string& out) : out_(out) {}

  void put(char32_t c) {
    if (c == 0) return;
    if (c == U'\n') {
      if (!afterCr_) out_.append(U"\r\n");
      afterCr_ = false;
      return;
    }
    afterCr_ = (c == U'\r');
    if (afterCr_) {
      out_.append(U"\r\n");
    } else {
      out_.push_back(c);
    }
  }

 private:
  std::u32string& out_;
  bool afterCr_ = false;
};

bool startsWith(std::string_view bytes, std::string_view prefix) {
  return bytes.substr(0, prefix.size()) == prefix;
}

// The input is known to be well-formed, so the lead byte alone gives the length.
void decodeValidUtf8(std::string_view bytes, LineBreakWriter& w) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const auto* end = p + bytes.size();
  while (p < end) {
    const unsigned char b = *p;
    if (b < 0x80) {
      w.put(b);
      ++p;
    } else if (b < 0xE0) {
      w.put((char32_t{b & 0x1Fu} << 6) | (p[1] & 0x3Fu));
      p += 2;
    } else if (b < 0xF0) {
      w.put((char32_t{b & 0x0Fu} << 12) | (char32_t{p[1] & 0x3Fu} << 6) | (p[2] & 0x3Fu));
      p += 3;
    } else {
      w.put((char32_t{b & 0x07u} << 18) | (char32_t{p[1] & 0x3Fu} << 12) |
            (char32_t{p[2] & 0x3Fu} << 6) | (p[3] & 0x3Fu));
      p += 4;
    }
  }
}

void decodeUtf16(std::string_view bytes, bool bigEndian, LineBreakWriter& w) {
  const std::size_t units = bytes.size() / 2;
  const auto unitAt = [&](std::size_t k) -> char32_t {
    const char32_t a = static_cast<unsigned char>(bytes[2 * k]);
    const char32_t b = static_cast<unsigned char>(bytes[2 * k + 1]);
    return bigEndian ? (a << 8) | b : (b << 8) | a;
  };
  for (std::size_t k = 0; k < units; ++k) {
    const char32_t u = unitAt(k);
    if (u >= 0xD800 && u <= 0xDBFF && k + 1 < units) {
      const char32_t low = unitAt(k + 1);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        w.put(0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
        ++k;
        continue;
      }
    }
    // Half a pair cannot be a text position: it becomes one replacement character.
    w.put(u >= 0xD800 && u <= 0xDFFF ? kReplacementChar : u);
  }
  if (bytes.size() % 2 != 0) w.put(kReplacementChar);  // a file cut inside its last unit
}

void decodeWindows1252(std::string_view bytes, LineBreakWriter& w) {
  for (char ch : bytes) w.put(decodeByte(codepage::Windows1252, static_cast<std::uint8_t>(ch)));
}

}  // namespace

PlainTextEncoding detectPlainTextEncoding(std::string_view bytes) {
  if (startsWith(bytes, "\xEF\xBB\xBF")) return PlainTextEncoding::Utf8Bom;
  if (startsWith(bytes, "\xFF\xFE")) return PlainTextEncoding::Utf16Le;
  if (startsWith(bytes, "\xFE\xFF")) return PlainTextEncoding::Utf16Be;
  return isValidUtf8(bytes) ? PlainTextEncoding::Utf8 : PlainTextEncoding::Windows1252;
}

std::u32string decodePlainTextChars(std::string_view bytes) {
  std::u32string out;
  // Every character takes at most one byte, and only a line break can grow (to two
  // characters): reserving that bound once keeps a large file to a single allocation.
  const auto breaks = static_cast<std::size_t>(
      std::count_if(bytes.begin(), bytes.end(), [](char c) { return c == '\r' || c == '\n'; }));
  out.reserve(bytes.size() + breaks);
  LineBreakWriter writer(out);
  switch (detectPlainTextEncoding(bytes)) {
    case PlainTextEncoding::Utf8Bom: {
      const std::string_view body = bytes.substr(3);
      if (isValidUtf8(body)) {
        decodeValidUtf8(body, writer);
      } else {
        // A damaged file that still declares UTF-8: keep every good character, mark the bad bytes.
        for (char32_t c : utf8ToU32(body)) writer.put(c);
      }
      break;
    }
    case PlainTextEncoding::Utf16Le: decodeUtf16(bytes.substr(2), false, writer); break;
    case PlainTextEncoding::Utf16Be: decodeUtf16(bytes.substr(2), true, writer); break;
    case PlainTextEncoding::Utf8: decodeValidUtf8(bytes, writer); break;
    case PlainTextEncoding::Windows1252: decodeWindows1252(bytes, writer); break;
  }
  return out;
}

StyledText decodePlainText(std::string_view bytes, const TFontDescription& format) {
  StyledText text;
  text.assign(decodePlainTextChars(bytes), format);
  return text;
}

}  // namespace kerfline
