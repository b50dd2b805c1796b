#include "richtext/rtf_tokenizer.h"

#include <array>
#include <limits>

namespace kerfline::rtf {
namespace {

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Bytes that end a plain-text stretch. CR, LF and NUL carry no text in RTF (line breaks are
// \par and \line), so they end a stretch and are then dropped.
constexpr std::array<bool, 256> kStops = [] {
  std::array<bool, 256> t{};
  t['\\'] = t['{'] = t['}'] = t['\r'] = t['\n'] = t['\0'] = true;
  return t;
}();

// What skipGroup has to look at; everything else (hex picture data above all) is passed over.
constexpr std::array<bool, 256> kSkipStops = [] {
  std::array<bool, 256> t{};
  t['\\'] = t['{'] = t['}'] = true;
  return t;
}();

Token tokenOf(TokenKind kind) {
  Token t;
  t.kind = kind;
  return t;
}

}  // namespace

Token Tokenizer::next() {
  const std::size_t n = in_.size();
  while (pos_ < n) {
    const char c = in_[pos_];
    switch (c) {
      case '{':
        ++pos_;
        return tokenOf(TokenKind::GroupStart);
      case '}':
        ++pos_;
        return tokenOf(TokenKind::GroupEnd);
      case '\r':
      case '\n':
      case '\0':
        ++pos_;
        continue;
      case '\\': {
        if (pos_ + 1 >= n) {  // a lone backslash at the very end
          pos_ = n;
          return Token();
        }
        const char s = in_[pos_ + 1];
        if (isLetter(s)) return controlWord();
        if (s == '\'') {
          pos_ += 2;
          const int high = pos_ < n ? hexValue(in_[pos_]) : -1;
          const int low = pos_ + 1 < n ? hexValue(in_[pos_ + 1]) : -1;
          if (high < 0 || low < 0) {
            // A malformed escape stood for one byte we cannot know: its two characters are
            // not text either. Braces and backslashes keep their meaning, so they stop it.
            for (int i = 0; i < 2 && pos_ < n; ++i, ++pos_) {
              if (kSkipStops[static_cast<unsigned char>(in_[pos_])]) break;
            }
            Token t = tokenOf(TokenKind::ControlSymbol);
            t.symbol = '\'';
            return t;
          }
          pos_ += 2;
          Token t = tokenOf(TokenKind::HexByte);
          t.byte = static_cast<std::uint8_t>(high * 16 + low);
          return t;
        }
        pos_ += 2;
        Token t = tokenOf(TokenKind::ControlSymbol);
        t.symbol = s;
        return t;
      }
      default: {
        const std::size_t start = pos_;
        while (pos_ < n && !kStops[static_cast<unsigned char>(in_[pos_])]) ++pos_;
        Token t = tokenOf(TokenKind::Text);
        t.text = in_.substr(start, pos_ - start);
        return t;
      }
    }
  }
  return Token();
}

Token Tokenizer::controlWord() {
  const std::size_t n = in_.size();
  const std::size_t start = ++pos_;  // past the backslash
  while (pos_ < n && isLetter(in_[pos_])) ++pos_;
  Token t = tokenOf(TokenKind::ControlWord);
  t.text = in_.substr(start, pos_ - start);

  bool negative = false;
  if (pos_ + 1 < n && in_[pos_] == '-' && isDigit(in_[pos_ + 1])) {
    negative = true;
    ++pos_;
  }
  if (pos_ < n && isDigit(in_[pos_])) {
    // Writers stay within ten digits; anything longer saturates instead of overflowing.
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t value = 0;
    while (pos_ < n && isDigit(in_[pos_])) {
      if (value <= kLimit) value = value * 10 + (in_[pos_] - '0');
      ++pos_;
    }
    if (value > kLimit) value = kLimit;
    if (negative) value = -value;
    if (value > std::numeric_limits<std::int32_t>::max()) value = std::numeric_limits<std::int32_t>::max();
    t.hasParam = true;
    t.param = static_cast<std::int32_t>(value);
  }
  if (pos_ < n && in_[pos_] == ' ') ++pos_;  // the delimiting space belongs to the word

  if (t.text == "bin") {
    const std::size_t want = t.hasParam && t.param > 0 ? static_cast<std::size_t>(t.param) : 0;
    const std::size_t take = want < n - pos_ ? want : n - pos_;
    Token b = tokenOf(TokenKind::Binary);
    b.text = in_.substr(pos_, take);
    pos_ += take;
    return b;
  }
  return t;
}

bool Tokenizer::skipGroup() {
  const std::size_t n = in_.size();
  std::size_t depth = 1;
  while (pos_ < n) {
    const char c = in_[pos_];
    if (!kSkipStops[static_cast<unsigned char>(c)]) {
      ++pos_;
      continue;
    }
    if (c == '{') {
      ++depth;
      ++pos_;
    } else if (c == '}') {
      ++pos_;
      if (--depth == 0) return true;
    } else if (pos_ + 1 < n && isLetter(in_[pos_ + 1])) {
      controlWord();  // consumes \bin data with it
    } else {
      pos_ += 2;  // \{ \} \\ and the other symbols
    }
  }
  pos_ = n;
  return false;
}

}  // namespace kerfline::rtf
