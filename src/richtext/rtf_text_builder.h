#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "richtext/rtf_state.h"
#include "richtext/styled_text.h"

namespace kerfline::rtf {

class DocumentTables;

/// Collects the characters of the body and their formats into a StyledText, in chunks so that
/// a document is not appended character by character. It also keeps the text well formed:
/// surrogate halves from \uN pair up (a lone half becomes U+FFFD), control characters other
/// than tab are dropped, a cell separator before a row end is not kept, and the paragraph mark
/// that ends the document is not a line of its own.
class TextBuilder {
 public:
  /// Formats are resolved against the tables, which must outlive the builder.
  explicit TextBuilder(const DocumentTables& tables) : tables_(tables) {}

  /// One character of body text (a UTF-16 half from \uN included).
  void put(char32_t c, const CharFormat& format);
  /// A stretch of printable ASCII (0x20..0x7E) of body text, appended in one go.
  void putAscii(std::string_view ascii, const CharFormat& format);
  /// \par: a line break held back until something follows it.
  void paragraph(const CharFormat& format);
  /// \line, \row, \page and the like: a line break at once.
  void lineBreak(const CharFormat& format);
  /// \cell: a tab held back until something other than a row end follows.
  void cell(const CharFormat& format);
  /// \row: ends a table row (drops the pending cell tab, then breaks the line).
  void row(const CharFormat& format);
  /// Everything read so far, ending the text; the builder is spent afterwards.
  StyledText finish();

 private:
  void emit(char32_t c, const CharFormat& format);
  void flushPending();
  void flushChunk();

  const DocumentTables& tables_;
  StyledText out_;
  std::u32string chunk_;
  CharFormat chunkFormat_;
  std::size_t total_ = 0;

  char16_t highSurrogate_ = 0;
  CharFormat highFormat_;
  bool pendingParagraph_ = false;
  CharFormat paragraphFormat_;
  bool pendingCell_ = false;
  CharFormat cellFormat_;

  bool haveDescribed_ = false;
  CharFormat describedFormat_;
  TFontDescription described_;
};

}  // namespace kerfline::rtf
