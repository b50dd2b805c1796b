// Any text through the font spacing: bidi controls, unpaired brackets, marks without a base,
// joining letters, private-use and unassigned code points, empty and long lines. The first byte
// picks alignment, automatic pitch, ligatures and the face; the rest are 3-byte code points.
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/text_source.h"
#include "typography/text_placement.h"

namespace {

class FuzzText final : public kerfline::TextSource {
 public:
  FuzzText(std::u32string text, kerfline::TFontDescription font)
      : text_(std::move(text)), font_(std::move(font)) {}
  std::int32_t length() const override { return static_cast<std::int32_t>(text_.size()); }
  char32_t charAt(std::int32_t pos) const override { return text_[static_cast<std::size_t>(pos - 1)]; }
  kerfline::TFontDescription fontAt(std::int32_t pos) const override {
    kerfline::TFontDescription f = font_;
    f.Size = 8 + pos % 5;  // runs of one character each where sizes change
    return f;
  }

 private:
  std::u32string text_;
  kerfline::TFontDescription font_;
};

class NullSink final : public kerfline::StrokeSink {
 public:
  void placeStroke(const kerfline::PlacedStroke&) override {}
};

}  // namespace

// fontconfig keeps what it allocates while matching a character (fallback faces for unusual
// code points) in caches it never frees; those blocks are not the program's to release.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::uint8_t flags = data[0];
  std::u32string text;
  for (std::size_t i = 1; i + 2 < size && text.size() < 400; i += 3) {
    char32_t c = (char32_t{data[i]} << 16 | char32_t{data[i + 1]} << 8 | data[i + 2]) % 0x110000;
    if (c >= 0xD800 && c <= 0xDFFF) c = 0xFFFD;  // a text position is never half a pair
    if (c == 10) text += U'\r';                 // line breaks always come as CR LF
    text += c;
  }
  kerfline::TFontDescription font;
  font.Name = (flags & 0x40) ? "DejaVu Sans" : "Liberation Serif";
  kerfline::ConversionOptions options;
  options.spacing = kerfline::SpacingMode::Font;
  options.align = static_cast<kerfline::Alignment>(flags % 3);
  options.autoPitch = (flags & 0x04) != 0;
  options.ligatures = (flags & 0x08) != 0;
  options.tracking = (flags & 0x10) ? 100 : 0;
  static kerfline::TTTFToVectorConverter converter;
  NullSink sink;
  kerfline::placeText(FuzzText(std::move(text), font), options, converter, sink);
  return 0;
}
