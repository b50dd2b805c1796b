#pragma once
// A font's glyph outline (points with on/off-curve tags, per contour) -> outline records.
#include <cstdint>
#include <span>
#include <string>

#include "vectorizer/outline_records.h"

struct FT_FaceRec_;

namespace kerfline {

/// How a contour point sits on the outline, as the font's tags say.
enum class PointKind : std::uint8_t { On, Conic, Cubic };

/// One contour point, already in outline units, with its kind.
struct ContourPoint {
  OutlinePoint at;  ///< position in outline units
  PointKind kind = PointKind::On;
};

/// Style the face lacks and the outline must be given by transformation.
struct Synthesis {
  bool embolden = false;  ///< thicken every stem, as FreeType's FT_GlyphSlot_Embolden does
  bool oblique = false;   ///< slant to the right by FreeType's oblique shear
};

/// FreeType's oblique shear: x grows by this fraction of y (0x0366A in 16.16, about 12 degrees).
inline constexpr double kObliqueShear = 0x0366A / 65536.0;

/// Appends the polygon of one contour to dest: start point, then line, quadratic and cubic
/// records; an empty or one-point contour gives a polygon without records.
void appendContour(std::span<const ContourPoint> contour, Outline& dest);

/// Most contours and points a glyph may have: far beyond any real glyph (the largest installed
/// one has 84 contours and 852 points), and small enough that flattening a hostile glyph at the
/// finest precision stays within tens of megabytes.
inline constexpr int kMaxGlyphContours = 4096;
inline constexpr int kMaxGlyphPoints = 16384;

/// Loads glyph glyphIndex of face unhinted in font units, applies synthesis, scales every
/// coordinate f to (f * kOutlineEm) / units-per-em and fills dest with its polygons.
/// False (dest empty) when the glyph has no outline or cannot be loaded; in the latter case
/// (FreeType refuses it, or it exceeds the bounds above) failure, when given, says why.
bool loadGlyphOutline(FT_FaceRec_* face, unsigned glyphIndex, const Synthesis& synthesis,
                      Outline& dest, std::string* failure = nullptr);

}  // namespace kerfline
