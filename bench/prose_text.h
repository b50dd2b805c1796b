#pragma once
// The texts the benchmarks convert: any text in one face, and the throughput benchmarks' prose
// in lines of about 70 characters, CR LF between lines.
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "common/text_source.h"

namespace kerfline::bench {

// A text in one face and size throughout.
class OneFaceText : public TextSource {
 public:
  OneFaceText(std::u32string text, const char* face, int size) : text_(std::move(text)) {
    font_.Name = face;
    font_.Size = size;
  }
  std::int32_t length() const override { return static_cast<std::int32_t>(text_.size()); }
  char32_t charAt(std::int32_t pos) const override { return text_[static_cast<std::size_t>(pos - 1)]; }
  TFontDescription fontAt(std::int32_t) const override { return font_; }

 protected:
  std::u32string text_;

 private:
  TFontDescription font_;
};

class ProseText final : public OneFaceText {
 public:
  explicit ProseText(std::int32_t length, const char* face = "Arial", int size = 12)
      : OneFaceText({}, face, size) {
    const std::u32string words =
        U"The quick brown fox jumps over the lazy dog while Kerfline cuts 0123456789 letters. ";
    std::size_t column = 0;
    while (text_.size() < static_cast<std::size_t>(length)) {
      for (const char32_t c : words) {
        if (text_.size() >= static_cast<std::size_t>(length)) break;
        if (column >= 70 && c == U' ') {
          text_ += U"\r\n";
          column = 0;
          continue;
        }
        text_ += c;
        ++column;
      }
    }
    text_.resize(static_cast<std::size_t>(length));
  }
};

}  // namespace kerfline::bench
