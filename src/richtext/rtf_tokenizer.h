#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace kerfline::rtf {

/// What one step of the tokenizer found.
enum class TokenKind : std::uint8_t {
  End,            ///< the buffer is exhausted
  GroupStart,     ///< '{'
  GroupEnd,       ///< '}'
  ControlWord,    ///< '\' letters [number]; text holds the letters
  ControlSymbol,  ///< '\' and one non-letter; symbol holds it
  HexByte,        ///< \'hh; byte holds the value (a malformed \'xx is the symbol '\'')
  Text,           ///< a stretch of plain bytes (no CR, LF or NUL); text views it
  Binary,         ///< the raw bytes of \binN; text views them
};

/// One token. Views point into the tokenizer's buffer.
struct Token {
  TokenKind kind = TokenKind::End;
  std::string_view text;
  bool hasParam = false;
  std::int32_t param = 0;
  char symbol = 0;
  std::uint8_t byte = 0;
};

/// Splits RTF bytes into tokens without ever reading past the buffer. Numbers are clamped to
/// the 32-bit range; \binN takes at most the bytes that remain. Copyable, so a caller can peek.
class Tokenizer {
 public:
  /// Tokenizes the bytes, which must outlive the tokenizer.
  explicit Tokenizer(std::string_view bytes) : in_(bytes) {}

  /// The next token; End once the buffer is exhausted (and every time after that).
  Token next();
  /// Skips everything up to and including the '}' that closes the group now open, braces of
  /// nested groups, escaped braces and \bin data included. Returns false when the buffer ended
  /// first.
  bool skipGroup();
  /// Byte offset of the next unread byte.
  std::size_t position() const { return pos_; }

 private:
  Token controlWord();
  std::string_view in_;
  std::size_t pos_ = 0;
};

}  // namespace kerfline::rtf
