#pragma once
#include <cstdint>
#include <string_view>

namespace kerfline::rtf {

/// The control words the reader acts on; everything else is Unknown and ignored.
enum class Keyword : std::uint8_t {
  Unknown,
  // document
  Ansi, Mac, Pc, Pca, AnsiCpg, Deff,
  // tables
  FontTable, ColorTable, Font, FontCharSet, FontPitch, FontAltName, Red, Green, Blue,
  // character formatting
  Plain, FontSize, Bold, Italic, Underline, UnderlineNone, Strike, StrikeDouble, Color, Hidden,
  // Unicode
  UnicodeSkip, Unicode,
  // breaks and special characters
  Par, Section, Line, Tab, Cell, Row, Page, EmDash, EnDash, LeftQuote, RightQuote, LeftDoubleQuote,
  RightDoubleQuote, Bullet, EmSpace, EnSpace, QuarterEmSpace,
  // destinations
  SkippedDestination, UnicodePair, UnicodeSide, Object, ObjectResult, FieldResult,
};

/// Looks a control word up by its letters (case-sensitive, as RTF is).
Keyword lookupKeyword(std::string_view word);

}  // namespace kerfline::rtf
