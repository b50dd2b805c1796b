// Font files are outside input: any bytes FreeType accepts as a face must give outlines whose
// every contour is closed and continuous, at every precision and with either synthetic style,
// a glyph that cannot be loaded (a composite loop, too many contours) only says why, and
// outlines flatten at a tolerance into rings of distinct points, each with its two tangents.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "vectorizer/UTTF2Vct.h"
#include "vectorizer/glyph_outline.h"
#include "vectorizer/outline_walk.h"
#include "vectorizer/tolerance_flattening.h"

namespace {

bool closed(const std::vector<kerfline::TStroke>& s) {
  std::size_t first = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (i > first && s[i].Contour < s[i - 1].Contour) return false;
    if (i > first && (s[i].X1 != s[i - 1].X2 || s[i].Y1 != s[i - 1].Y2)) return false;
    if (i + 1 == s.size() || s[i + 1].Contour != s[i].Contour) {
      if (s[i].X2 != s[first].X1 || s[i].Y2 != s[first].Y1) return false;
      first = i + 1;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static FT_Library library = [] {
    FT_Library lib = nullptr;
    if (FT_Init_FreeType(&lib) != 0) std::abort();
    return lib;
  }();
  FT_Face face = nullptr;
  if (FT_New_Memory_Face(library, data, static_cast<FT_Long>(size), 0, &face) != 0) return 0;
  const long glyphs = face->num_glyphs < 16 ? face->num_glyphs : 16;
  kerfline::Outline outline;
  for (long g = 0; g < glyphs; ++g) {
    const kerfline::Synthesis synthesis{(g & 1) != 0, (g & 2) != 0};
    std::string failure;
    if (!kerfline::loadGlyphOutline(face, static_cast<unsigned>(g), synthesis, outline, &failure)) {
      // A glyph that cannot be loaded leaves nothing behind to draw.
      if (!outline.empty()) std::abort();
      continue;
    }
    if (!failure.empty()) std::abort();
    kerfline::TStrokeCollection strokes;
    kerfline::walkOutline(outline, static_cast<int>(g * 37 % 100) + 1, strokes);
    if (!closed(strokes.strokes())) std::abort();
    // Millimetres at a 10 mm em, a tenth of a millimetre: what a job might ask.
    for (const kerfline::FlatContour& ring : kerfline::flattenOutline(
             outline, kerfline::OutlineTransform::scaling(10.0 / kerfline::kOutlineEm), 0.1)) {
      if (ring.tangentIn.size() != ring.points.size() || ring.tangentOut.size() != ring.points.size())
        std::abort();
      for (std::size_t i = 1; i < ring.points.size(); ++i)
        if (ring.points[i] == ring.points[i - 1]) std::abort();
    }
  }
  FT_Done_Face(face);
  return 0;
}
