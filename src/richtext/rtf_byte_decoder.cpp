#include "richtext/rtf_byte_decoder.h"

#include "common/code_pages.h"
#include "common/utf8.h"

namespace kerfline::rtf {
namespace {

bool isLeadByte(int codePage, std::uint8_t b) {
  if (codePage == 932) return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
  return b >= 0x81 && b <= 0xFE;
}

}  // namespace

bool ByteDecoder::isDoubleByte(int codePage) {
  return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950 ||
         codePage == 1361;
}

char32_t ByteDecoder::feed(int codePage, std::uint8_t b) {
  if (leadPending_) {
    leadPending_ = false;
    return kReplacementChar;  // lead + trail: one character we cannot name
  }
  if (!isDoubleByte(codePage)) {
    // ASCII is ASCII in every text code page; symbol fonts move it to the private-use area.
    if (b < 0x80 && codePage != codepage::Symbol) return b;
    return decodeByte(codePage, b);
  }
  if (b < 0x80) return b;
  if (isLeadByte(codePage, b)) {
    leadPending_ = true;
    return 0;
  }
  // Shift-JIS keeps half-width katakana in single bytes.
  if (codePage == 932 && b >= 0xA1 && b <= 0xDF) return 0xFF61 + (b - 0xA1);
  return kReplacementChar;
}

char32_t ByteDecoder::flush() {
  if (!leadPending_) return 0;
  leadPending_ = false;
  return kReplacementChar;
}

}  // namespace kerfline::rtf
