#pragma once
#include <QTextEdit>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/font_description.h"
#include "windowlogic/rich_edit_offsets.h"
#include "richtext/styled_text.h"

namespace kerfline {

/// Which attributes a formatting command writes; the others stay as each character has them.
enum AttrField : unsigned {
  AttrFaceName = 1u << 0,
  AttrSize = 1u << 1,
  AttrBold = 1u << 2,
  AttrItalic = 1u << 3,
  AttrUnderline = 1u << 4,
  AttrStrikeOut = 1u << 5,
  AttrColor = 1u << 6,
  AttrCharSet = 1u << 7,
  AttrPitch = 1u << 8,
  AttrAll = (1u << 9) - 1,
};

/// The rich-text editor control: a Qt text editor offering the operations the window relies on,
/// with offsets that count Unicode code points and a line break as the two characters CR LF.
/// A line break (a paragraph end, or a line separator typed with Shift+Enter) carries one format
/// of its own, that of its CR and LF alike. With a selection, the attributes read are those of
/// the selection's first character; with none, those of the character before the caret (at a
/// line start, the line break before it), or the pending typing format where one was set.
class TRichEdit : public QTextEdit {
  Q_OBJECT
 public:
  explicit TRichEdit(QWidget* parent = nullptr);

  /// The whole text, every line break as CR LF.
  std::u32string text() const;
  /// Replaces the whole text (CR LF, LF or CR breaks) in the default attributes.
  void setText(std::u32string_view text);
  /// Empties the editor.
  void clearText();

  /// Selection start and length in the CR LF offsets. Set the length first, then the start:
  /// moving the start keeps the length (the one asked for, even where it did not fit before).
  std::int32_t selStart() const;
  void setSelStart(std::int32_t offset);
  std::int32_t selLength() const;
  void setSelLength(std::int32_t length);

  /// Attributes of the selection, or of the character before the caret with none selected.
  TFontDescription selAttributes() const;
  void setSelAttributes(const TFontDescription& f, unsigned fields = AttrAll);
  /// Attributes applied to text typed where nothing is selected.
  TFontDescription defAttributes() const;
  void setDefAttributes(const TFontDescription& f, unsigned fields = AttrAll);

  /// The 0-based line holding offset (for -1, the caret's line), and a line's first offset.
  /// Offsets beyond the text give the last line; for a line that does not exist, lineIndex
  /// answers -1 (for -1, the caret's line).
  std::int32_t lineFromChar(std::int32_t offset) const;
  std::int32_t lineIndex(std::int32_t line) const;
  /// Number of lines (at least 1).
  std::int32_t lineCount() const;

  /// Loads a file by the loading rule (rich text, else plain text); throws Error.
  void loadFromFile(const std::string& path);
  /// Replaces the content with a styled text, each character in its own format, and starts a
  /// new undo history. styledText() then gives it back exactly, unless it held a lone CR or LF,
  /// U+2028 or U+2029 (each becomes a CR LF break) or a code point no document can hold
  /// (surrogates, U+FDD0, U+FDD1, beyond U+10FFFF: each becomes U+FFFD).
  void setStyledText(const StyledText& text);
  /// A snapshot of the content with each character's format: the exports' text source.
  StyledText styledText() const;

 signals:
  void keyReleased();
  void mousePressed();
  void mouseReleased();

 protected:
  void keyReleaseEvent(QKeyEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  /// Clipboard and drag-and-drop carry the selection with every character's full format.
  QMimeData* createMimeDataFromSelection() const override;
  bool canInsertFromMimeData(const QMimeData* source) const override;
  void insertFromMimeData(const QMimeData* source) override;

 private:
  struct Piece {
    std::u32string_view text;
    const TFontDescription* format;
  };
  const EditorOffsetIndex& offsets() const;
  void select(int anchor, int position);
  QTextCharFormat formatOfCharAt(int pos) const;
  TFontDescription describe(const QTextCharFormat& format) const;
  StyledText styledRange(int from, int to) const;
  void insertPieces(QTextCursor& cursor, const std::vector<Piece>& pieces);
  void replaceContent(const std::vector<Piece>& pieces);

  struct RequestedLength {
    std::int32_t length;
    int anchor, position;  ///< the selection setSelLength left behind
  };

  TFontDescription defAttrs_;
  std::optional<RequestedLength> requestedLength_;
  mutable std::optional<EditorOffsetIndex> offsets_;  ///< dropped whenever the content changes
  mutable const QTextDocument* indexedDocument_ = nullptr;
};

}  // namespace kerfline
