#pragma once
// A face or glyph the converter could not load, kept as data for whoever reports the job.
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace kerfline {

/// A font file or one of its glyphs that could not be loaded; its characters were treated as
/// characters the font lacks.
struct LoadFailure {
  std::string file;                    ///< the font file
  int faceIndex = 0;                   ///< the face within that file
  std::optional<std::uint32_t> glyph;  ///< the glyph that failed; none when the face did
  char32_t character = 0;              ///< the character asked for; 0 when asked by glyph
  std::string reason;                  ///< what went wrong, for a person

  friend bool operator==(const LoadFailure&, const LoadFailure&) = default;
  friend std::ostream& operator<<(std::ostream& os, const LoadFailure& f);
};

/// The sentence that names f to the user: which file (and glyph), why, and what became of it.
std::string loadFailureText(const LoadFailure& f);

/// At most maxLines sentences of failures, the last saying how many more there were.
std::vector<std::string> loadFailureLines(const std::vector<LoadFailure>& failures,
                                          std::size_t maxLines = 10);

}  // namespace kerfline
