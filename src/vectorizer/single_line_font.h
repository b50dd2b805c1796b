#pragma once
// Single-line (stroke) fonts: the glyphs are the centre lines a pen or a V-bit follows.
#include <cstdint>
#include <map>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace kerfline {

/// One vertex of a glyph polyline in the font's own units.
struct FontVertex {
  double x = 0;
  double y = 0;
  /// Bulge of the segment that ends here (tan of a quarter of its arc angle, positive
  /// counter-clockwise); 0 for a straight segment and for the first vertex.
  double bulge = 0;

  friend bool operator==(const FontVertex&, const FontVertex&) = default;
  friend std::ostream& operator<<(std::ostream& os, const FontVertex& v) {
    os << '(' << v.x << ", " << v.y;
    if (v.bulge != 0) os << " A" << v.bulge;
    return os << ')';
  }
};

/// One pen-down run of a glyph; a single vertex is a dot.
struct FontPolyline {
  std::vector<FontVertex> vertices;
  friend bool operator==(const FontPolyline&, const FontPolyline&) = default;
};

/// One glyph as its file draws it.
struct SingleLineGlyph {
  std::vector<FontPolyline> lines;  ///< in drawing order, references already resolved
  double left = 0;   ///< x of the glyph's origin (Hershey left bound; 0 in LFF files)
  double right = 0;  ///< x where the next glyph's origin goes without extra spacing

  friend bool operator==(const SingleLineGlyph&, const SingleLineGlyph&) = default;
};

/// A record of a font file that could not be read; the rest of the file still is.
struct MalformedRecord {
  int line = 0;         ///< 1-based line of the file where the record starts
  std::string what;     ///< what is wrong, for a person

  friend bool operator==(const MalformedRecord&, const MalformedRecord&) = default;
  friend std::ostream& operator<<(std::ostream& os, const MalformedRecord& r) {
    return os << "line " << r.line << ": " << r.what;
  }
};

/// The two file formats of single-line fonts.
enum class SingleLineFormat {
  Hershey,  ///< .jhf: ASCII records, Y down, 96 glyphs from the space on
  Lff,      ///< .lff: UTF-8 text, Y up, baseline at 0, capitals 9 units tall
};

/// The whole font as read from one file.
struct SingleLineFont {
  SingleLineFormat format = SingleLineFormat::Lff;
  std::string name;                               ///< the "Name" header (LFF); empty if none
  std::map<char32_t, SingleLineGlyph> glyphs;     ///< by code point
  double letterSpacing = 0;                       ///< font units added after every glyph
  double wordSpacing = 0;                         ///< font units a space advances (LFF)
  std::vector<MalformedRecord> malformed;         ///< records left out, in file order
  std::int32_t records = 0;                       ///< glyph records seen, read or not
};

/// Most bytes a font file may hold; the largest installed file is about a tenth of this.
inline constexpr std::size_t kMaxSingleLineFontBytes = 64u << 20;

/// Reads a Hershey .jhf file. Record i (0-based, in file order) is the glyph of code point
/// 32 + i for i < 96. A record that cannot be read is reported in malformed and left out.
SingleLineFont readJhf(std::string_view bytes);

/// Reads an LFF file (UTF-8). A glyph that cannot be read, or whose references cannot be
/// resolved (unknown glyph, loop, too deep), is reported in malformed and left out.
SingleLineFont readLff(std::string_view bytes);

/// Reads the "Name" header of an LFF file from its first lines only; empty when absent.
std::string lffNameOf(std::string_view head);

}  // namespace kerfline
