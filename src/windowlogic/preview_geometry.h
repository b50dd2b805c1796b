#pragma once
// Qt-free arithmetic of the glyph preview: label texts, CharHeight and pixel positions.
#include <cstdint>
#include <string>
#include <vector>

#include "vectorizer/stroke.h"

namespace kerfline {

/// One preview line in pixels (end pixel excluded when drawn).
struct PreviewLine {
  int x1 = 0;
  int y1 = 0;
  int x2 = 0;
  int y2 = 0;
  friend bool operator==(const PreviewLine&, const PreviewLine&) = default;
};

/// A pixel of the preview surface.
struct PreviewPixel {
  int x = 0;
  int y = 0;
  friend bool operator==(const PreviewPixel&, const PreviewPixel&) = default;
};

/// The pixels of a line from its start towards its end, the end pixel itself left out, as the
/// platform line primitive the preview imitates does (Bresenham; nothing for a zero length).
/// Appends to out.
void appendLinePixels(const PreviewLine& line, std::vector<PreviewPixel>& out);

/// Inclusive height and width of a stroke bounding rectangle in outline units.
std::int64_t boundsHeight(const TRect& bounds);
std::int64_t boundsWidth(const TRect& bounds);

/// extent * OutlineFactor * unitScale, exact (long double holds the product of two floats
/// and a 32-bit integer without rounding).
long double drawingExtent(std::int64_t extent, float unitScale);

/// value rounded to three decimals, '.' as separator, right-aligned in at least six characters.
std::string fixedThreeDecimals(long double value);

/// "Height " / "Width " label texts of the preview.
std::string heightLabelText(const TRect& bounds, float unitScale);
std::string widthLabelText(const TRect& bounds, float unitScale);

/// CharHeight: the exact height in drawing units rounded once to single precision.
float charHeightOf(const TRect& bounds, float unitScale);

/// round((coord - origin) * double(OutlineFactor)), halves to even, plus the 10-pixel margin.
int previewPixel(std::int32_t coord, std::int32_t origin);

/// The screen line of a stroke on a surface paintHeight pixels high (Y flipped).
PreviewLine previewLine(const TStroke& s, const TRect& bounds, int paintHeight);

}  // namespace kerfline
