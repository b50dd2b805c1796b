#include "windowlogic/rich_edit_clip_codec.h"

#include <cstdint>

namespace kerfline {
namespace {

constexpr std::string_view Magic = "KFST1";

void putU32(std::string& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}
  bool u32(std::uint32_t& v) {
    if (bytes_.size() < 4) return false;
    v = 0;
    for (int i = 0; i < 4; ++i)
      v |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes_[static_cast<std::size_t>(i)]))
           << (8 * i);
    bytes_.remove_prefix(4);
    return true;
  }
  bool u8(std::uint8_t& v) {
    if (bytes_.empty()) return false;
    v = static_cast<std::uint8_t>(bytes_[0]);
    bytes_.remove_prefix(1);
    return true;
  }
  bool bytes(std::size_t n, std::string_view& out) {
    if (bytes_.size() < n) return false;
    out = bytes_.substr(0, n);
    bytes_.remove_prefix(n);
    return true;
  }
  std::size_t left() const { return bytes_.size(); }

 private:
  std::string_view bytes_;
};

}  // namespace

std::string encodeStyledClip(const StyledText& text) {
  std::string out(Magic);
  putU32(out, static_cast<std::uint32_t>(text.runs().size()));
  for (const StyledText::Run& run : text.runs()) {
    putU32(out, static_cast<std::uint32_t>(run.length));
    for (std::int32_t i = 0; i < run.length; ++i)
      putU32(out, text.text()[static_cast<std::size_t>(run.start + i)]);
    const TFontDescription& f = run.format;
    putU32(out, static_cast<std::uint32_t>(f.Name.size()));
    out += f.Name;
    putU32(out, static_cast<std::uint32_t>(f.Size));
    out.push_back(static_cast<char>((f.Bold ? 1 : 0) | (f.Italic ? 2 : 0) | (f.Underline ? 4 : 0) |
                                    (f.StrikeOut ? 8 : 0)));
    putU32(out, static_cast<std::uint32_t>(f.CharSet));
    out.push_back(static_cast<char>(f.Pitch));
    putU32(out, f.Color);
  }
  return out;
}

std::optional<StyledText> decodeStyledClip(std::string_view bytes) {
  if (bytes.substr(0, Magic.size()) != Magic) return std::nullopt;
  Reader in(bytes.substr(Magic.size()));
  std::uint32_t runs = 0;
  if (!in.u32(runs)) return std::nullopt;
  StyledText text;
  std::u32string chars;
  for (std::uint32_t r = 0; r < runs; ++r) {
    std::uint32_t length = 0;
    if (!in.u32(length) || length > in.left() / 4) return std::nullopt;
    chars.clear();
    for (std::uint32_t i = 0; i < length; ++i) {
      std::uint32_t c = 0;
      in.u32(c);
      if (c > 0x10FFFF) return std::nullopt;
      chars.push_back(static_cast<char32_t>(c));
    }
    TFontDescription f;
    std::uint32_t nameSize = 0, size = 0, charSet = 0, color = 0;
    std::uint8_t style = 0, pitch = 0;
    std::string_view name;
    if (!in.u32(nameSize) || !in.bytes(nameSize, name) || !in.u32(size) || !in.u8(style) ||
        !in.u32(charSet) || !in.u8(pitch) || !in.u32(color) || pitch > 2 || color > 0xFFFFFF ||
        size < 1 || size > 0x7FFFFFFF)  // a size below 1 point would collapse or mirror
      return std::nullopt;
    f.Name = std::string(name);
    f.Size = static_cast<std::int32_t>(size);
    f.Bold = style & 1;
    f.Italic = style & 2;
    f.Underline = style & 4;
    f.StrikeOut = style & 8;
    f.CharSet = static_cast<std::int32_t>(charSet);
    f.Pitch = static_cast<TFontPitch>(pitch);
    f.Color = color;
    if (!chars.empty()) text.append(chars, f);
  }
  if (in.left() != 0) return std::nullopt;
  return text;
}

}  // namespace kerfline
