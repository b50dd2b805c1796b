#include "common/code_pages.h"

#include "common/code_page_tables.h"
#include "common/font_description.h"
#include "common/utf8.h"

namespace kerfline {
namespace {

bool isDoubleByteCodePage(int codePage) {
  return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950 ||
         codePage == 1361;
}

}  // namespace

int codePageOfCharSet(int charSet) {
  switch (charSet) {
    case charset::Ansi:
    case charset::Default: return codepage::Windows1252;
    case charset::Symbol: return codepage::Symbol;
    case charset::Mac: return 10000;
    case charset::ShiftJis: return 932;
    case charset::Hangul: return 949;
    case charset::Gb2312: return 936;
    case charset::ChineseBig5: return 950;
    case 130: return 1361;  // JOHAB_CHARSET
    case charset::Greek: return 1253;
    case charset::Turkish: return 1254;
    case charset::Vietnamese: return 1258;
    case charset::Hebrew: return 1255;
    case charset::Arabic: return 1256;
    case charset::Baltic: return 1257;
    case charset::Russian: return 1251;
    case charset::Thai: return 874;
    case charset::EastEurope: return 1250;
    case 254:  // PC437_CHARSET, written by some DOS-era converters
    case charset::Oem: return 437;
    default: return codepage::Windows1252;
  }
}

char32_t decodeByte(int codePage, std::uint8_t b) {
  if (codePage == codepage::Symbol) {
    // As Windows' CP_SYMBOL: controls stay controls (a tab or line break in symbol-font text
    // is still one), everything else lands in the private-use block a symbol cmap covers.
    return b < 0x20 ? char32_t{b} : char32_t{0xF000u + b};
  }
  if (b < 0x80) return b;
  const detail::HighHalf* table = detail::highHalfTable(codePage);
  if (table == nullptr) table = detail::highHalfTable(codepage::Windows1252);
  return (*table)[b - 0x80u];
}

std::u32string decodeSingleByte(int codePage, std::string_view bytes) {
  std::u32string out;
  out.reserve(bytes.size());
  for (char ch : bytes) out.push_back(decodeByte(codePage, static_cast<std::uint8_t>(ch)));
  return out;
}

std::uint8_t encodeChar(int codePage, char32_t c) {
  if (codePage == codepage::Symbol) {
    if (c < 0x20) return static_cast<std::uint8_t>(c);
    if (c >= 0xF020 && c <= 0xF0FF) return static_cast<std::uint8_t>(c - 0xF000);
    // Text typed in a symbol font usually arrives as plain Latin-1 characters.
    if (c <= 0xFF) return static_cast<std::uint8_t>(c);
    return '?';
  }
  if (c < 0x80) return static_cast<std::uint8_t>(c);
  // U+FFFD marks the undefined bytes; no byte stands for it.
  if (c == kReplacementChar) return '?';
  // In the double-byte code pages only ASCII is a single byte; unknown ones behave as 1252.
  if (isDoubleByteCodePage(codePage)) return '?';
  const detail::HighHalf* table = detail::highHalfTable(codePage);
  if (table == nullptr) table = detail::highHalfTable(codepage::Windows1252);
  for (std::size_t i = 0; i < table->size(); ++i) {
    if ((*table)[i] == c) return static_cast<std::uint8_t>(0x80 + i);
  }
  return '?';
}

}  // namespace kerfline
