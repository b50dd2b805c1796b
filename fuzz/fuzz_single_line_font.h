#pragma once
// The checks both single-line font targets make on whatever the reader gave.
#include <cstdlib>

#include "vectorizer/single_line_font.h"
#include "vectorizer/single_line_glyph.h"

namespace kerfline::fuzz {

inline void check(bool ok) {
  if (!ok) std::abort();
}

// Every glyph becomes open paths whose strokes follow on one another, and every report names
// a line of the file.
inline void checkFont(const SingleLineFont& font, int precision, int lines) {
  for (const MalformedRecord& r : font.malformed) check(r.line >= 1 && r.line <= lines);
  const SingleLineMetrics metrics = metricsOf(font);
  for (const auto& [code, glyph] : font.glyphs) {
    check(code <= 0x10FFFF);
    TStrokeCollection strokes;
    appendSingleLineStrokes(font, metrics, glyph, precision, strokes);
    check(strokes.openPaths());
    const auto& all = strokes.strokes();
    for (std::size_t i = 1; i < all.size(); ++i) {
      if (all[i].Contour == all[i - 1].Contour)
        check(all[i].X1 == all[i - 1].X2 && all[i].Y1 == all[i - 1].Y2);
      else
        check(all[i].Contour == all[i - 1].Contour + 1);
    }
  }
}

inline int lineCount(std::string_view bytes) {
  int n = 1;
  for (char c : bytes) n += c == '\n';
  return n;
}

}  // namespace kerfline::fuzz
