#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kerfline {

/// True for the UTF-16 units a Qt document's raw text uses as line breaks: the paragraph
/// separator, the line separator (Shift+Enter) and the frame start and end marks.
constexpr bool isDocumentLineBreak(char16_t c) {
  return c == u'\u2029' || c == u'\u2028' || c == u'\uFDD0' || c == u'\uFDD1';
}

/// Converts text with CR LF, LF or CR line breaks to a Qt document's raw text: breaks become
/// U+2029, characters beyond the BMP surrogate pairs, and characters that cannot stand in a
/// document (surrogate code points, values beyond U+10FFFF, frame marks) U+FFFD. afterCr
/// carries a CR at the end of one piece over to the next, so a CR LF split between two pieces
/// still gives one break.
std::u16string toDocumentText(std::u32string_view text, bool& afterCr);

/// Appends a stretch of document raw text to out as code points, each line break as CR LF; a
/// lone surrogate stays one character.
void appendFromDocumentText(std::u16string_view raw, std::u32string& out);

/// Maps the editor's offsets (code points, each line break the two characters CR LF) to
/// positions in a Qt document's raw text (UTF-16 units, each line break one unit) and back.
/// Built once per document change in O(n); every query is a binary search over the lines plus,
/// only on lines holding characters beyond the BMP, a walk along that line.
class EditorOffsetIndex {
 public:
  /// The index of an empty document.
  EditorOffsetIndex();
  /// Indexes a document's raw text (QTextDocument::toRawText()).
  explicit EditorOffsetIndex(std::u16string raw);

  /// Length of the text in offsets (line breaks counted twice).
  std::int32_t length() const { return length_; }
  /// Length of the raw text in UTF-16 units.
  std::int32_t rawLength() const { return static_cast<std::int32_t>(raw_.size()); }
  /// Number of lines (at least 1; a text ending in a line break has an empty last line).
  std::int32_t lineCount() const { return static_cast<std::int32_t>(lines_.size()); }

  /// The 0-based line holding offset (its CR and LF belong to it); clamped into the text.
  std::int32_t lineOfOffset(std::int32_t offset) const;
  /// The 0-based line holding raw position pos; clamped into the text.
  std::int32_t lineOfRaw(std::int32_t pos) const;
  /// The offset of a line's first character; line must be in [0, lineCount()).
  std::int32_t lineStart(std::int32_t line) const;

  /// The offset of raw position pos (clamped); a position inside a surrogate pair gives the
  /// offset of the pair.
  std::int32_t offsetFromRaw(std::int32_t pos) const;
  /// The raw position of offset (clamped); the offset between a CR and its LF gives the end
  /// of the line, the raw position of its break.
  std::int32_t rawFromOffset(std::int32_t offset) const;

  /// The whole text, each line break as CR LF.
  std::u32string text() const;

 private:
  struct Line {
    std::int32_t raw = 0;      ///< raw position of the first character
    std::int32_t offset = 0;   ///< offset of the first character
    bool bmpOnly = true;       ///< no surrogate pair on the line: one unit is one offset
  };
  std::int32_t rawLineEnd(std::size_t line) const;

  std::u16string raw_;
  std::vector<Line> lines_;
  std::int32_t length_ = 0;
};

}  // namespace kerfline
