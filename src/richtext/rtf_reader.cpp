// Reads RTF as word processors write it, into text with CR LF line breaks and per-character
// fonts. Choices made where RTF leaves room or files go wrong:
// - Bytes (\'hh and plain text) decode through the code page of the current font's \fcharset;
//   \fcharset0 is Windows-1252, \fcharset1 and fonts without a charset use the document's
//   \ansicpgN (or \ansi, \mac, \pc, \pca). East Asian double-byte pairs have no tables here and
//   become one U+FFFD each; their writers put \uN before them anyway.
// - A font number missing from the table falls back to \deff, then to "Times New Roman".
// - Left out as not being running text: hidden text (\v), headers, footers, footnotes,
//   annotations, field instructions (their results are read), pictures, shapes and text boxes,
//   objects (their \result is read), and the ANSI half of \upr (the \ud half is read).
// - \par, \sect, \line, \row, \page and \column end a line (CR LF); \cell is a tab, except the
//   last one of a row, which would only dangle before the break. The \par closing the document
//   does not open an empty last line.
// - Groups nested deeper than kMaxDepth are still read in the state of the deepest group kept;
//   each of them gives back the state it found when it ends. Only states that differ are
//   stored (a run of identical ones is counted), and when kMaxSavedStates differ the newest
//   is counted in place of more, so memory stays bounded whatever the nesting.
// - A truncated file keeps everything before the cut; bytes after the document's closing brace
//   are ignored.
#include <string_view>
#include <vector>

#include "common/code_pages.h"
#include "common/utf8.h"
#include "richtext/rtf_byte_decoder.h"
#include "richtext/rtf_control_words.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_state.h"
#include "richtext/rtf_tables.h"
#include "richtext/rtf_text_builder.h"
#include "richtext/rtf_tokenizer.h"

namespace kerfline {
namespace {

using rtf::Destination;
using rtf::Keyword;
using rtf::Token;
using rtf::TokenKind;

constexpr std::size_t kMaxDepth = 1000;
constexpr std::size_t kMaxSavedStates = 1 << 16;
class RtfReader {
 public:
  explicit RtfReader(std::string_view bytes) : tokens_(bytes), builder_(tables_) {}

  StyledText read() {
    while (!done_) {
      const Token t = tokens_.next();
      switch (t.kind) {
        case TokenKind::End:
          done_ = true;
          break;
        case TokenKind::GroupStart:
          boundary();
          groupStart();
          break;
        case TokenKind::GroupEnd:
          boundary();
          groupEnd();
          break;
        case TokenKind::ControlWord:
          if (skipFallback()) break;
          settleBytes();
          controlWord(t);
          break;
        case TokenKind::ControlSymbol:
          if (skipFallback()) break;
          settleBytes();
          controlSymbol(t.symbol);
          break;
        case TokenKind::HexByte:
          if (skipFallback()) break;
          star_ = false;
          byte(t.byte, codePage());
          break;
        case TokenKind::Text:
          // "{\* \word" is written now and then: a blank does not end the star.
          if (star_ && t.text.find_first_not_of(' ') == std::string_view::npos) break;
          star_ = false;
          text(t.text);
          break;
        case TokenKind::Binary:  // binary data is never text
          skipFallback();
          star_ = false;
          break;
      }
    }
    settleBytes();
    return builder_.finish();
  }

 private:
  rtf::GroupState& state() { return stack_.back(); }

  // A group boundary ends any \uN fallback and any unfinished double-byte pair.
  void boundary() {
    skip_ = 0;
    star_ = false;
    settleBytes();
  }

  // Consumes one token of a \uN fallback; true when the token was consumed so.
  bool skipFallback() {
    if (skip_ == 0) return false;
    --skip_;
    star_ = false;
    return true;
  }

  void settleBytes() {
    if (const char32_t c = decoder_.flush()) deliver(c);
  }

  void groupStart() {
    if (stack_.empty()) {  // the document's own group
      stack_.emplace_back();
      return;
    }
    if (state().destination == Destination::UnicodePair && !opensUnicodeSide()) {
      tokens_.skipGroup();  // the ANSI spelling of what \ud says in Unicode
      return;
    }
    if (stack_.size() >= kMaxDepth) {
      if (!overflow_.empty() &&
          (overflow_.back().state == stack_.back() || overflow_.size() >= kMaxSavedStates)) {
        ++overflow_.back().count;
      } else {
        overflow_.push_back({stack_.back(), 1});
      }
      return;
    }
    rtf::GroupState s = stack_.back();
    s.definesFont = false;
    stack_.push_back(s);
  }

  // True when the group just opened is "{\*\ud ...}" or "{\ud ...}".
  bool opensUnicodeSide() const {
    rtf::Tokenizer peek = tokens_;
    Token t = peek.next();
    if (t.kind == TokenKind::ControlSymbol && t.symbol == '*') t = peek.next();
    return t.kind == TokenKind::ControlWord && t.text == "ud";
  }

  void groupEnd() {
    if (!overflow_.empty()) {
      SavedState& saved = overflow_.back();
      stack_.back() = saved.state;
      if (--saved.count == 0) overflow_.pop_back();
      return;
    }
    if (stack_.empty()) return;
    const rtf::GroupState& closing = stack_.back();
    if (closing.definesFont) tables_.endFont();
    if (closing.destination == Destination::ColorTable && stack_.size() >= 2 &&
        stack_[stack_.size() - 2].destination != Destination::ColorTable) {
      tables_.closeColorTable();
    }
    stack_.pop_back();
    ++tablesVersion_;  // cheap, and font changes always end with a group
    if (stack_.empty()) done_ = true;
  }

  // Skips the rest of the current group, as if its closing brace had been read.
  void skipDestination() {
    if (stack_.size() <= 1 && overflow_.empty()) return;  // never skip the whole document
    tokens_.skipGroup();
    groupEnd();
  }

  int codePage() {
    const Destination d = state().destination;
    if (d == Destination::FontTable || d == Destination::FontAltName) {
      return tables_.definingFontCodePage();
    }
    const int font = state().format.font;
    if (font != cachedFont_ || tablesVersion_ != cachedVersion_) {
      cachedFont_ = font;
      cachedVersion_ = tablesVersion_;
      cachedCodePage_ = tables_.codePageOfFont(font);
    }
    return cachedCodePage_;
  }

  void text(std::string_view bytes) {
    if (skip_ > 0) {
      const std::size_t n = bytes.size() < static_cast<std::size_t>(skip_)
                                ? bytes.size()
                                : static_cast<std::size_t>(skip_);
      bytes.remove_prefix(n);
      skip_ -= static_cast<int>(n);
    }
    if (bytes.empty()) return;
    const int cp = codePage();
    const rtf::GroupState& s = state();
    if (s.destination != Destination::Body || s.hidden || cp == codepage::Symbol ||
        rtf::ByteDecoder::isDoubleByte(cp)) {
      for (const char b : bytes) byte(static_cast<std::uint8_t>(b), cp);
      return;
    }
    // Body text is mostly printable ASCII, the same in every single-byte code page: hand it
    // over in stretches rather than byte by byte.
    std::size_t i = 0;
    while (i < bytes.size()) {
      std::size_t j = i;
      while (j < bytes.size() && bytes[j] >= 0x20 && bytes[j] < 0x7F) ++j;
      builder_.putAscii(bytes.substr(i, j - i), s.format);
      if (j < bytes.size()) byte(static_cast<std::uint8_t>(bytes[j++]), cp);
      i = j;
    }
  }

  void byte(std::uint8_t b, int cp) {
    if (const char32_t c = decoder_.feed(cp, b)) deliver(c);
  }

  // One decoded character, to wherever the current group's text goes.
  void deliver(char32_t c) {
    rtf::GroupState& s = state();
    switch (s.destination) {
      case Destination::Body:
        if (!s.hidden) builder_.put(c, s.format);
        break;
      case Destination::FontTable:
        if (c == U';') {
          tables_.endFont();
          ++tablesVersion_;
        } else {
          tables_.appendFontName(isSurrogate(c) ? kReplacementChar : c, false);
        }
        break;
      case Destination::FontAltName:
        if (c != U';') tables_.appendFontName(isSurrogate(c) ? kReplacementChar : c, true);
        break;
      case Destination::ColorTable:
        if (c == U';') tables_.endColor();
        break;
      case Destination::UnicodePair:
      case Destination::Discard:
        break;
    }
  }

  static bool isSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

  bool inBody() { return state().destination == Destination::Body && !state().hidden; }

  void controlSymbol(char symbol) {
    if (symbol == '*') {
      star_ = true;
      return;
    }
    star_ = false;
    switch (symbol) {
      case '\\':
      case '{':
      case '}':
        deliver(static_cast<unsigned char>(symbol));
        break;
      case '~':
        deliver(0x00A0);
        break;
      case '_':
        deliver(0x2011);
        break;
      case '\r':
      case '\n':  // a backslash before a line end stands for \par
        if (inBody()) builder_.paragraph(state().format);
        break;
      default:  // \- (optional hyphen, not shown), \: and \| and anything unknown
        break;
    }
  }

  void controlWord(const Token& t) {
    const Keyword kw = rtf::lookupKeyword(t.text);
    const bool starred = star_;
    star_ = false;
    // Some writers star destinations that hold shown text ({\*\fldrslt ...}).
    if (starred && kw != Keyword::FontAltName && kw != Keyword::UnicodeSide &&
        kw != Keyword::FieldResult) {
      skipDestination();  // an ignorable destination this reader has no use for
      return;
    }
    rtf::GroupState& s = state();
    rtf::CharFormat& f = s.format;
    const int p = t.param;
    const bool on = !t.hasParam || p != 0;
    const auto docCodePage = [&](int cp) {
      tables_.setDocumentCodePage(cp);
      ++tablesVersion_;
    };
    switch (kw) {
      case Keyword::Unknown: break;
      case Keyword::Ansi: docCodePage(1252); break;
      case Keyword::Mac: docCodePage(10000); break;
      case Keyword::Pc: docCodePage(437); break;
      case Keyword::Pca: docCodePage(850); break;
      case Keyword::AnsiCpg: if (t.hasParam) docCodePage(p); break;
      case Keyword::Deff:
        if (t.hasParam) tables_.setDefaultFont(p);
        ++tablesVersion_;
        break;
      case Keyword::FontTable: s.destination = Destination::FontTable; break;
      case Keyword::ColorTable: s.destination = Destination::ColorTable; break;
      case Keyword::Font:
        if (s.destination == Destination::FontTable) {
          tables_.beginFont(t.hasParam ? p : 0);
          s.definesFont = true;
        } else {
          f.font = t.hasParam ? p : 0;
        }
        break;
      case Keyword::FontCharSet:
        if (s.destination == Destination::FontTable) tables_.setFontCharSet(p);
        break;
      case Keyword::FontPitch:
        if (s.destination == Destination::FontTable) tables_.setFontPitch(p);
        break;
      case Keyword::FontAltName:
        if (s.destination == Destination::FontTable) {
          s.destination = Destination::FontAltName;
        } else {
          skipDestination();
        }
        break;
      case Keyword::Red:
      case Keyword::Green:
      case Keyword::Blue:
        if (s.destination == Destination::ColorTable) {
          tables_.setColorComponent(kw == Keyword::Red ? 0 : kw == Keyword::Green ? 1 : 2, p);
        }
        break;
      case Keyword::Plain:
        f = rtf::CharFormat{};
        s.hidden = false;
        break;
      case Keyword::FontSize:
        // \fs0 or a negative size would make characters without size: keep the size in force.
        if (!t.hasParam) {
          f.halfPoints = rtf::kDefaultHalfPoints;
        } else if (p > 0) {
          f.halfPoints = p < rtf::kMaxHalfPoints ? p : rtf::kMaxHalfPoints;
        }
        break;
      case Keyword::Bold: f.bold = on; break;
      case Keyword::Italic: f.italic = on; break;
      case Keyword::Underline: f.underline = on; break;
      case Keyword::UnderlineNone: f.underline = false; break;
      case Keyword::Strike:
      case Keyword::StrikeDouble: f.strikeOut = on; break;
      case Keyword::Color: f.color = t.hasParam ? p : 0; break;
      case Keyword::Hidden: s.hidden = on; break;
      case Keyword::UnicodeSkip:
        if (t.hasParam && p >= 0) s.unicodeSkip = p;
        break;
      case Keyword::Unicode: {
        if (!t.hasParam) break;
        // Writers store UTF-16 units as signed 16-bit numbers (some as unsigned). A value no
        // 16-bit unit has was not written by a sound writer, and taking it modulo 65536 or as a
        // code point would cut some other letter: it stands for an unknown character.
        deliver(p < -32768 || p > 65535 ? kReplacementChar
                                         : static_cast<char32_t>(p < 0 ? p + 65536 : p));
        skip_ = s.unicodeSkip;
        break;
      }
      case Keyword::Par:
      case Keyword::Section:  // ends the section's last paragraph in place of its \par
        if (inBody()) builder_.paragraph(f);
        break;
      case Keyword::Line:
      case Keyword::Page:
        if (inBody()) builder_.lineBreak(f);
        break;
      case Keyword::Tab: deliver(U'\t'); break;
      case Keyword::Cell:
        if (inBody()) builder_.cell(f);
        break;
      case Keyword::Row:
        if (inBody()) builder_.row(f);
        break;
      case Keyword::EmDash: deliver(0x2014); break;
      case Keyword::EnDash: deliver(0x2013); break;
      case Keyword::LeftQuote: deliver(0x2018); break;
      case Keyword::RightQuote: deliver(0x2019); break;
      case Keyword::LeftDoubleQuote: deliver(0x201C); break;
      case Keyword::RightDoubleQuote: deliver(0x201D); break;
      case Keyword::Bullet: deliver(0x2022); break;
      case Keyword::EmSpace: deliver(0x2003); break;
      case Keyword::EnSpace: deliver(0x2002); break;
      case Keyword::QuarterEmSpace: deliver(0x2005); break;
      case Keyword::SkippedDestination: skipDestination(); break;
      case Keyword::UnicodePair:
        s.uprReturn = s.destination;
        s.destination = Destination::UnicodePair;
        break;
      case Keyword::UnicodeSide:
        if (s.destination == Destination::UnicodePair) s.destination = s.uprReturn;
        break;
      case Keyword::Object:
        if (s.destination == Destination::Body) s.destination = Destination::Discard;
        break;
      case Keyword::ObjectResult:
        if (s.destination == Destination::Discard) s.destination = Destination::Body;
        break;
      case Keyword::FieldResult: break;  // its text is body text
    }
  }

  rtf::Tokenizer tokens_;
  rtf::DocumentTables tables_;
  rtf::TextBuilder builder_;
  rtf::ByteDecoder decoder_;
  std::vector<rtf::GroupState> stack_;
  // The states that the groups open beyond kMaxDepth found, to be given back as they end.
  struct SavedState {
    rtf::GroupState state;
    std::size_t count;  // how many nested groups found this same state
  };
  std::vector<SavedState> overflow_;
  int skip_ = 0;       // tokens of a \uN fallback still to skip
  bool star_ = false;  // the previous token was \*
  bool done_ = false;
  unsigned tablesVersion_ = 0;
  unsigned cachedVersion_ = ~0u;
  int cachedFont_ = 0;
  int cachedCodePage_ = 1252;
};

}  // namespace

std::optional<StyledText> readRtf(std::string_view bytes) {
  if (!bytes.starts_with("{\\rtf")) return std::nullopt;
  return RtfReader(bytes).read();
}

}  // namespace kerfline
