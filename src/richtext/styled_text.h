#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "common/font_description.h"
#include "common/text_source.h"

namespace kerfline {

/// Unicode text with per-character formatting held as runs; line breaks are CR LF.
/// It is the text source the exports walk for a document read from a file.
class StyledText : public TextSource {
 public:
  /// A stretch of characters sharing one format: positions [start, start + length), 0-based.
  struct Run {
    std::int32_t start = 0;
    std::int32_t length = 0;
    TFontDescription format;
    friend bool operator==(const Run&, const Run&) = default;
  };

  /// Appends text in the given format, merging with the last run when the format is equal.
  /// The text must already use CR LF line breaks.
  void append(std::u32string_view text, const TFontDescription& format);
  /// Appends one character in the given format.
  void append(char32_t c, const TFontDescription& format);
  /// Replaces everything with text (CR LF line breaks) in one format, taking over its buffer.
  void assign(std::u32string text, const TFontDescription& format);

  const std::u32string& text() const { return text_; }
  const std::vector<Run>& runs() const { return runs_; }
  bool empty() const { return text_.empty(); }

  std::int32_t length() const override { return static_cast<std::int32_t>(text_.size()); }
  char32_t charAt(std::int32_t pos) const override { return text_[static_cast<std::size_t>(pos - 1)]; }
  TFontDescription fontAt(std::int32_t pos) const override;
  /// The run holding 0-based index i (binary search; exports call this per position).
  const Run& runAt(std::int32_t index) const;

 private:
  std::u32string text_;
  std::vector<Run> runs_;
};

/// The editor's default attributes at window creation; plain text takes them.
TFontDescription defaultEditorFormat();  // "MS Sans Serif", 8 points, black

}  // namespace kerfline
