#include "mainwindow/rich_edit.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>
#include <memory>
#include <unordered_map>

#include "windowlogic/rich_edit_clip_codec.h"
#include "mainwindow/rich_edit_format.h"
#include "richtext/document_loader.h"

namespace kerfline {
namespace {

QString toQString(const std::u16string& s) {
  return QString(reinterpret_cast<const QChar*>(s.data()), static_cast<qsizetype>(s.size()));
}

std::u16string_view view(const QString& s) {
  return {reinterpret_cast<const char16_t*>(s.constData()), static_cast<std::size_t>(s.size())};
}

}  // namespace

TRichEdit::TRichEdit(QWidget* parent) : QTextEdit(parent), defAttrs_(defaultEditorFormat()) {
  setAcceptRichText(true);
  setLineWrapMode(QTextEdit::NoWrap);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setDefAttributes(defAttrs_, AttrAll);
  clearText();
}

const EditorOffsetIndex& TRichEdit::offsets() const {
  if (indexedDocument_ != document()) {
    indexedDocument_ = document();
    offsets_.reset();
    connect(document(), &QTextDocument::contentsChange, this, [this] { offsets_.reset(); });
  }
  if (!offsets_) {
    const QString raw = document()->toRawText();
    offsets_.emplace(std::u16string(view(raw)));
  }
  return *offsets_;
}

std::u32string TRichEdit::text() const { return offsets().text(); }

void TRichEdit::setText(std::u32string_view text) {
  replaceContent({Piece{text, &defAttrs_}});
}

void TRichEdit::clearText() { replaceContent({}); }

void TRichEdit::setStyledText(const StyledText& text) {
  std::vector<Piece> pieces;
  pieces.reserve(text.runs().size());
  const std::u32string_view all = text.text();
  for (const StyledText::Run& run : text.runs())
    pieces.push_back(Piece{all.substr(static_cast<std::size_t>(run.start),
                                      static_cast<std::size_t>(run.length)),
                           &run.format});
  replaceContent(pieces);
}

void TRichEdit::insertPieces(QTextCursor& cursor, const std::vector<Piece>& pieces) {
  // One insertText per run: Qt splits it at U+2029 into blocks whose break takes the run's
  // format, so the break keeps its own format as the snapshot reads it back.
  bool afterCr = false;
  for (const Piece& piece : pieces) {
    const std::u16string chars = toDocumentText(piece.text, afterCr);
    if (chars.empty()) continue;
    cursor.insertText(toQString(chars), toCharFormat(*piece.format, AttrAll));
  }
}

void TRichEdit::replaceContent(const std::vector<Piece>& pieces) {
  QTextDocument* doc = document();
  // Replacing the whole text starts a new history, as loading a file does; building without
  // undo records is also what makes a large text quick to set.
  doc->setUndoRedoEnabled(false);
  QTextCursor cursor(doc);
  cursor.beginEditBlock();
  cursor.select(QTextCursor::Document);
  cursor.removeSelectedText();
  cursor.setBlockFormat(QTextBlockFormat());
  // The first line's own format is what typing into an empty first line takes.
  const auto first = std::find_if(pieces.begin(), pieces.end(),
                                  [](const Piece& p) { return !p.text.empty(); });
  cursor.setBlockCharFormat(
      toCharFormat(first == pieces.end() ? defAttrs_ : *first->format, AttrAll));
  insertPieces(cursor, pieces);
  cursor.endEditBlock();
  doc->setUndoRedoEnabled(true);
  QTextCursor start(doc);
  if (pieces.empty()) start.setCharFormat(toCharFormat(defAttrs_, AttrAll));
  setTextCursor(start);
}

StyledText TRichEdit::styledText() const {
  return styledRange(0, document()->characterCount() - 1);
}

StyledText TRichEdit::styledRange(int from, int to) const {
  StyledText out;
  const QTextDocument* doc = document();
  std::unordered_map<int, TFontDescription> byIndex;  // few formats, many fragments
  auto described = [&](int index, const QTextCharFormat& format) -> const TFontDescription& {
    auto it = byIndex.find(index);
    if (it == byIndex.end()) it = byIndex.emplace(index, describe(format)).first;
    return it->second;
  };
  std::u32string chars;
  for (QTextBlock block = doc->findBlock(from); block.isValid() && block.position() < to;
       block = block.next()) {
    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      const int start = fragment.position();
      const int begin = std::max(start, from);
      const int end = std::min(start + fragment.length(), to);
      if (begin >= end) continue;
      chars.clear();
      const QString piece = fragment.text();
      appendFromDocumentText(view(piece).substr(static_cast<std::size_t>(begin - start),
                                                static_cast<std::size_t>(end - begin)),
                             chars);
      out.append(chars, described(fragment.charFormatIndex(), fragment.charFormat()));
    }
    const int breakPos = block.position() + block.length() - 1;
    const QTextBlock next = block.next();
    if (next.isValid() && breakPos >= from && breakPos < to)
      out.append(U"\r\n", described(next.charFormatIndex(), next.charFormat()));
  }
  return out;
}

TFontDescription TRichEdit::describe(const QTextCharFormat& format) const {
  return fromCharFormat(format, document()->defaultFont());
}

void TRichEdit::select(int anchor, int position) {
  requestedLength_.reset();
  // Moving the visible caret costs a layout of its line; the window often sets a selection
  // that is already there (a zero length before placing the caret).
  const QTextCursor current = textCursor();
  if (current.anchor() == anchor && current.position() == position) return;
  QTextCursor cursor(document());
  cursor.setPosition(anchor);
  cursor.setPosition(position, QTextCursor::KeepAnchor);
  setTextCursor(cursor);
}

std::int32_t TRichEdit::selStart() const {
  return offsets().offsetFromRaw(textCursor().selectionStart());
}

std::int32_t TRichEdit::selLength() const {
  const QTextCursor cursor = textCursor();
  const EditorOffsetIndex& ix = offsets();
  return ix.offsetFromRaw(cursor.selectionEnd()) - ix.offsetFromRaw(cursor.selectionStart());
}

void TRichEdit::setSelLength(std::int32_t length) {
  const EditorOffsetIndex& ix = offsets();
  const std::int32_t start = selStart();
  const auto end = static_cast<std::int32_t>(
      std::clamp<std::int64_t>(std::int64_t{start} + length, 0, ix.length()));
  select(ix.rawFromOffset(start), ix.rawFromOffset(end));
  // The start usually comes next; it must get the length asked for, not the one that fitted
  // behind the old start (clipped at the end of the text or between a CR and its LF).
  const QTextCursor cursor = textCursor();
  requestedLength_ = RequestedLength{length, cursor.anchor(), cursor.position()};
}

void TRichEdit::setSelStart(std::int32_t offset) {
  // Like the rich edit the window was designed for, moving the start keeps the length.
  const EditorOffsetIndex& ix = offsets();
  const QTextCursor cursor = textCursor();
  const bool untouched = requestedLength_ && requestedLength_->anchor == cursor.anchor() &&
                         requestedLength_->position == cursor.position();
  const std::int32_t length = untouched ? std::max(requestedLength_->length, 0) : selLength();
  const std::int32_t start = std::clamp(offset, 0, ix.length());
  const auto end = static_cast<std::int32_t>(
      std::min<std::int64_t>(std::int64_t{start} + length, ix.length()));
  select(ix.rawFromOffset(start), ix.rawFromOffset(end));
}

QTextCharFormat TRichEdit::formatOfCharAt(int pos) const {
  // Walks the line's fragments instead of placing a QTextCursor there: a cursor lays out the
  // line to find its x, which would make a per-character read cost a line's layout.
  const QTextDocument* doc = document();
  if (pos < 0) return doc->firstBlock().charFormat();
  const QTextBlock block = doc->findBlock(pos);
  const int blockStart = block.position();
  if (pos >= blockStart + block.length() - 1) {
    const QTextBlock next = block.next();
    return next.isValid() ? next.charFormat() : block.charFormat();  // the line break's own
  }
  for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
    const QTextFragment fragment = it.fragment();
    const int start = fragment.position();
    if (pos >= start && pos < start + fragment.length()) return fragment.charFormat();
  }
  return block.charFormat();
}

TFontDescription TRichEdit::selAttributes() const {
  const QTextCursor cursor = textCursor();
  if (cursor.hasSelection()) return describe(formatOfCharAt(cursor.selectionStart()));
  const int pos = cursor.position();
  // Qt reads the character after the caret at the start of a non-empty line, else the one
  // before; a format set for typing at the caret differs from what the text there holds.
  const QTextBlock block = document()->findBlock(pos);
  const bool readsAfter = pos == block.position() && block.length() > 1;
  QTextCharFormat stored = formatOfCharAt(readsAfter ? pos : pos - 1);
  stored.clearProperty(QTextFormat::ObjectIndex);  // as QTextCursor::charFormat() does
  const QTextCharFormat current = cursor.charFormat();
  if (current != stored) return describe(current);
  // At a line start the character before the caret is the line break, whatever Qt reads.
  return describe(pos > 0 && readsAfter ? formatOfCharAt(pos - 1) : stored);
}

void TRichEdit::setSelAttributes(const TFontDescription& f, unsigned fields) {
  mergeCurrentCharFormat(toCharFormat(f, fields));
}

TFontDescription TRichEdit::defAttributes() const { return defAttrs_; }

void TRichEdit::setDefAttributes(const TFontDescription& f, unsigned fields) {
  defAttrs_ = mergeFields(defAttrs_, f, fields);
  // The widget's own font is the document's default font: an empty editor shows it, and being
  // set explicitly it no longer follows the window's font.
  setFont(toFont(defAttrs_, font()));
  if (textCursor().hasSelection()) return;
  mergeCurrentCharFormat(toCharFormat(f, fields));
  if (document()->isEmpty()) {
    QTextCursor cursor(document());
    cursor.setBlockCharFormat(toCharFormat(defAttrs_, AttrAll));
  }
}

std::int32_t TRichEdit::lineFromChar(std::int32_t offset) const {
  const EditorOffsetIndex& ix = offsets();
  if (offset == -1) return ix.lineOfRaw(textCursor().selectionStart());
  return ix.lineOfOffset(offset);
}

std::int32_t TRichEdit::lineIndex(std::int32_t line) const {
  const EditorOffsetIndex& ix = offsets();
  if (line == -1) line = ix.lineOfRaw(textCursor().selectionStart());
  if (line < 0 || line >= ix.lineCount()) return -1;
  return ix.lineStart(line);
}

std::int32_t TRichEdit::lineCount() const { return offsets().lineCount(); }

void TRichEdit::loadFromFile(const std::string& path) {
  // Read completely before touching the editor, so a failed load leaves it as it was.
  const StyledText loaded = loadDocument(path, defAttrs_);
  setStyledText(loaded);
}

void TRichEdit::keyReleaseEvent(QKeyEvent* e) {
  QTextEdit::keyReleaseEvent(e);
  emit keyReleased();
}

void TRichEdit::mousePressEvent(QMouseEvent* e) {
  QTextEdit::mousePressEvent(e);
  emit mousePressed();
}

void TRichEdit::mouseReleaseEvent(QMouseEvent* e) {
  QTextEdit::mouseReleaseEvent(e);
  emit mouseReleased();
}

QMimeData* TRichEdit::createMimeDataFromSelection() const {
  // Qt's own data lists a fixed set of formats and would hide ours, so copy its formats into
  // plain mime data (HTML and plain text for other programs) and add the full-format copy.
  const std::unique_ptr<QMimeData> qt(QTextEdit::createMimeDataFromSelection());
  auto* data = new QMimeData;
  for (const QString& format : qt->formats()) data->setData(format, qt->data(format));
  const QTextCursor cursor = textCursor();
  const std::string bytes =
      encodeStyledClip(styledRange(cursor.selectionStart(), cursor.selectionEnd()));
  data->setData(QString::fromLatin1(StyledClipMimeType),
                QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
  return data;
}

bool TRichEdit::canInsertFromMimeData(const QMimeData* source) const {
  return source->hasFormat(QString::fromLatin1(StyledClipMimeType)) ||
         QTextEdit::canInsertFromMimeData(source);
}

void TRichEdit::insertFromMimeData(const QMimeData* source) {
  if (source->hasFormat(QString::fromLatin1(StyledClipMimeType))) {
    const QByteArray bytes = source->data(QString::fromLatin1(StyledClipMimeType));
    if (const auto styled = decodeStyledClip(std::string_view(bytes.constData(),
                                                             static_cast<std::size_t>(bytes.size())))) {
      std::vector<Piece> pieces;
      const std::u32string_view all = styled->text();
      for (const StyledText::Run& run : styled->runs())
        pieces.push_back(Piece{all.substr(static_cast<std::size_t>(run.start),
                                          static_cast<std::size_t>(run.length)),
                               &run.format});
      QTextCursor cursor = textCursor();
      cursor.beginEditBlock();  // one undo step, the replaced selection included
      cursor.removeSelectedText();
      insertPieces(cursor, pieces);
      cursor.endEditBlock();
      setTextCursor(cursor);
      ensureCursorVisible();
      return;
    }
  }
  QTextEdit::insertFromMimeData(source);
}

}  // namespace kerfline
