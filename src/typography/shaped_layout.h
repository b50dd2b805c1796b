#pragma once
// Text set line by line with the fonts' own advances, kerning and marks (HarfBuzz runs, bidi
// reordered), before any glyph is converted.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "common/text_source.h"
#include "vectorizer/UTTF2Vct.h"

namespace kerfline {

/// How the shaped layout spaces characters.
struct ShapingOptions {
  int scale = 100;         ///< ScaleEdit1: UnitScale = scale / 100000 * point size
  int tracking = 0;        ///< hundredths of a character's em added after every character
  bool ligatures = false;  ///< optional ligatures (liga, clig, dlig)
};

/// One glyph at its place on its line.
struct PlacedGlyph {
  std::uint32_t glyph = 0;       ///< glyph index in its face
  std::size_t face = 0;          ///< index into ShapedText::faces (not for a single-line glyph)
  bool singleLine = false;       ///< character of a single-line face: converted by character
  std::int32_t position = 0;     ///< 1-based text position of the first character it stands for
  char32_t character = 0;        ///< the character at that position
  bool startsCluster = false;    ///< the first glyph (left to right) of its characters
  float unitScale = 0;           ///< the UnitScale of its character's font
  double x = 0;                  ///< origin, drawing units right of the line's start
  double y = 0;                  ///< origin, drawing units above the line's baseline
};

/// One line of text, its glyphs in visual order.
struct ShapedLine {
  std::int32_t lineFeed = 0;             ///< position of the LF that starts it (0: the first)
  std::vector<std::int32_t> breaks;      ///< positions of CR characters in it
  std::vector<PlacedGlyph> glyphs;       ///< left to right
  std::vector<TFontDescription> fonts;   ///< each distinct font of its characters
  double advance = 0;                    ///< pen position after the last glyph
};

/// The whole text shaped.
struct ShapedText {
  std::vector<TFaceInfo> faces;   ///< every face a glyph comes from
  std::vector<ShapedLine> lines;  ///< one per LF, plus the first
};

/// Drawing units per outline unit of a character with this UnitScale: kOutlineFactor x UnitScale,
/// exact in double precision.
double drawingUnitsPerOutlineUnit(float unitScale);

/// Shapes text: lines at LF, runs by font (the face each character's conversion takes its glyph
/// from), script and direction, each glyph at the pen position HarfBuzz gives (plus tracking),
/// scaled as its outline is. A character a single-line face draws is no outline a shaper could
/// read: it advances by the face's own width and spacing. converter's font is changed.
ShapedText shapeText(const TextSource& text, const ShapingOptions& options,
                     TTTFToVectorConverter& converter);

}  // namespace kerfline
