#include "richtext/rtf_text_builder.h"

#include <limits>

#include "common/utf8.h"
#include "richtext/rtf_tables.h"

namespace kerfline::rtf {
namespace {

// Positions are signed 32-bit everywhere downstream.
constexpr std::size_t kMaxChars = std::numeric_limits<std::int32_t>::max() - 1;
constexpr std::size_t kChunkChars = 1 << 16;

bool isHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

void TextBuilder::put(char32_t c, const CharFormat& format) {
  if (isHighSurrogate(c)) {
    if (highSurrogate_ != 0) emit(kReplacementChar, highFormat_);
    highSurrogate_ = static_cast<char16_t>(c);
    highFormat_ = format;
    return;
  }
  if (isLowSurrogate(c)) {
    if (highSurrogate_ == 0) {
      emit(kReplacementChar, format);
      return;
    }
    const char32_t high = highSurrogate_;
    highSurrogate_ = 0;
    emit(0x10000 + ((high - 0xD800) << 10) + (c - 0xDC00), format);
    return;
  }
  if (highSurrogate_ != 0) {
    highSurrogate_ = 0;
    emit(kReplacementChar, highFormat_);
  }
  // Line breaks come only from control words; other control characters are not text.
  if (c < 0x20 && c != U'\t') return;
  if (c > 0x10FFFF) c = kReplacementChar;
  emit(c, format);
}

void TextBuilder::putAscii(std::string_view ascii, const CharFormat& format) {
  if (ascii.empty()) return;
  put(U'\0', format);  // settles a waiting surrogate half, adds nothing
  if (pendingParagraph_ || pendingCell_) flushPending();
  if (!chunk_.empty() && !(format == chunkFormat_)) flushChunk();
  chunkFormat_ = format;
  const std::size_t n = ascii.size() < kMaxChars - total_ ? ascii.size() : kMaxChars - total_;
  chunk_.append(ascii.begin(), ascii.begin() + static_cast<std::ptrdiff_t>(n));
  total_ += n;
  if (chunk_.size() >= kChunkChars) flushChunk();
}

void TextBuilder::paragraph(const CharFormat& format) {
  put(U'\0', format);  // settles a waiting surrogate half, adds nothing
  flushPending();
  pendingParagraph_ = true;
  paragraphFormat_ = format;
}

void TextBuilder::lineBreak(const CharFormat& format) {
  put(U'\0', format);
  emit(U'\r', format);
  emit(U'\n', format);
}

void TextBuilder::cell(const CharFormat& format) {
  put(U'\0', format);
  flushPending();
  pendingCell_ = true;
  cellFormat_ = format;
}

void TextBuilder::row(const CharFormat& format) {
  put(U'\0', format);
  pendingCell_ = false;  // the last cell's separator would only dangle before the break
  lineBreak(format);
}

StyledText TextBuilder::finish() {
  put(U'\0', CharFormat{});
  // The paragraph mark that closes the document is the end of its last line, not a new empty
  // line: word processors write one after every paragraph, the last one included.
  pendingParagraph_ = false;
  pendingCell_ = false;
  flushChunk();
  return std::move(out_);
}

void TextBuilder::flushPending() {
  if (pendingParagraph_) {
    pendingParagraph_ = false;
    emit(U'\r', paragraphFormat_);
    emit(U'\n', paragraphFormat_);
  }
  if (pendingCell_) {
    pendingCell_ = false;
    emit(U'\t', cellFormat_);
  }
}

void TextBuilder::emit(char32_t c, const CharFormat& format) {
  if (pendingParagraph_ || pendingCell_) flushPending();
  if (total_ >= kMaxChars) return;
  // A CR LF pair must never be split by the length limit.
  if (c == U'\r' && total_ + 2 > kMaxChars) return;
  if (!chunk_.empty() && !(format == chunkFormat_)) flushChunk();
  chunkFormat_ = format;
  chunk_.push_back(c);
  ++total_;
  if (chunk_.size() >= kChunkChars && c != U'\r') flushChunk();
}

void TextBuilder::flushChunk() {
  if (chunk_.empty()) return;
  if (!haveDescribed_ || !(describedFormat_ == chunkFormat_)) {
    described_ = tables_.describe(chunkFormat_);
    describedFormat_ = chunkFormat_;
    haveDescribed_ = true;
  }
  out_.append(std::u32string_view(chunk_), described_);
  chunk_.clear();
}

}  // namespace kerfline::rtf
