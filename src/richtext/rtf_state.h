#pragma once
#include <cstdint>

namespace kerfline::rtf {

/// Font number meaning "the document's default font (\deff)".
inline constexpr int kDefaultFontNumber = -1;
/// RTF's default size, 12 points, in half-points.
inline constexpr int kDefaultHalfPoints = 24;
/// Largest size kept, in half-points (1638 points, the largest size word processors offer).
inline constexpr int kMaxHalfPoints = 3276;
/// Colour index of text that no \cf has coloured: the automatic colour, whatever entry 0 of
/// the colour table holds.
inline constexpr int kAutomaticColor = -1;

/// Character formatting as RTF states it: table indices, not yet resolved to fonts and colours.
struct CharFormat {
  int font = kDefaultFontNumber;   ///< \fN, or kDefaultFontNumber
  int halfPoints = kDefaultHalfPoints;  ///< \fsN, always 1..kMaxHalfPoints
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  int color = kAutomaticColor;     ///< \cfN, index into the colour table

  friend bool operator==(const CharFormat&, const CharFormat&) = default;
};

/// Where the text of the current group goes.
enum class Destination : std::uint8_t {
  Body,         ///< the document's text
  FontTable,    ///< font names
  FontAltName,  ///< the alternative name of the font being defined
  ColorTable,   ///< colour entries
  UnicodePair,  ///< inside \upr: only the \ud side is read
  Discard,      ///< structure is followed but text is dropped (an object outside its \result)
};

/// Everything a group saves on '{' and restores on '}'.
struct GroupState {
  CharFormat format;
  bool hidden = false;        ///< \v: text not shown, so not read
  int unicodeSkip = 1;        ///< \ucN: fallback characters after each \uN
  Destination destination = Destination::Body;
  Destination uprReturn = Destination::Body;  ///< where \ud sends the text inside \upr
  bool definesFont = false;   ///< this group's \fN began a font-table entry (its '}' ends it)

  friend bool operator==(const GroupState&, const GroupState&) = default;
};

}  // namespace kerfline::rtf
