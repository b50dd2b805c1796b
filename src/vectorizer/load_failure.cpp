#include "vectorizer/load_failure.h"

#include <cstdio>

namespace kerfline {

std::ostream& operator<<(std::ostream& os, const LoadFailure& f) { return os << loadFailureText(f); }

std::string loadFailureText(const LoadFailure& f) {
  std::string text;
  if (f.glyph) {
    text = "glyph " + std::to_string(*f.glyph);
    if (f.character != 0) {
      char code[16];
      std::snprintf(code, sizeof code, " (U+%04X)", static_cast<unsigned>(f.character));
      text += code;
    }
    text += " of ";
  }
  text += "font file '" + f.file + "'";
  if (f.faceIndex != 0) text += " (face " + std::to_string(f.faceIndex) + ")";
  text += " cannot be loaded: " + f.reason + "; ";
  text += f.glyph ? "the character is treated as one the font lacks"
                  : "its characters are treated as ones the font lacks";
  return text;
}

std::vector<std::string> loadFailureLines(const std::vector<LoadFailure>& failures,
                                          std::size_t maxLines) {
  std::vector<std::string> lines;
  // A hostile font may break thousands of glyphs; a few name the fault well enough.
  const bool cut = maxLines > 0 && failures.size() > maxLines;
  const std::size_t shown = cut ? maxLines - 1 : failures.size();
  for (std::size_t i = 0; i < shown; ++i) lines.push_back(loadFailureText(failures[i]));
  if (cut) {
    lines.push_back("and " + std::to_string(failures.size() - shown) +
                    " more faces or glyphs that cannot be loaded");
  }
  return lines;
}

}  // namespace kerfline
