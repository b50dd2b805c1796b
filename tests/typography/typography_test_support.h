#pragma once
// Independent references for the typography tests: hb-shape's glyphs and positions, a font's
// head and hhea tables read with Python, and UTF-8 for command lines.
#include <cstdint>
#include <string>
#include <vector>

#include "common/font_description.h"

namespace kerfline::test {

/// One glyph as hb-shape prints it (font units, visual order).
struct HbGlyph {
  std::uint32_t glyph = 0;
  std::uint32_t cluster = 0;  ///< byte offset into the UTF-8 text
  std::int32_t dx = 0, dy = 0, ax = 0, ay = 0;
};

/// hb-shape's output for text in the face at index of file, with the given features.
std::vector<HbGlyph> hbShape(const std::string& file, int index, const std::u32string& text,
                             const std::string& features = "-liga,-clig,-dlig");

/// The standard output of a shell command, trailing newlines removed.
std::string commandOutput(const std::string& command);

/// "upem ascender descender lineGap" of a font file, from its head and hhea tables.
std::vector<int> headerMetrics(const std::string& file);

/// UTF-8 of a UTF-32 string.
std::string utf8(const std::u32string& text);

/// A font description of face name at size points.
TFontDescription fontOf(const std::string& name, int size = 28);

}  // namespace kerfline::test
