#include "windowlogic/preview_geometry.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <system_error>

#include "export/text_export.h"

namespace kerfline {

std::int64_t boundsHeight(const TRect& bounds) {
  return std::int64_t{bounds.Bottom} - bounds.Top + 1;
}

std::int64_t boundsWidth(const TRect& bounds) {
  return std::int64_t{bounds.Right} - bounds.Left + 1;
}

long double drawingExtent(std::int64_t extent, float unitScale) {
  // 64-bit mantissa: a 24-bit factor times a 24-bit scale times an extent below 2^16 is exact.
  return static_cast<long double>(extent) * static_cast<long double>(kOutlineFactor) *
         static_cast<long double>(unitScale);
}

std::string fixedThreeDecimals(long double value) {
  // to_chars rounds the exact binary value correctly and never looks at the C locale,
  // which QApplication sets from the environment (a ',' separator would break the labels).
  char buf[128];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 3);
  if (ec != std::errc()) return "   NAN";
  std::string text(buf, end);
  if (text.size() < 6) text.insert(0, 6 - text.size(), ' ');
  return text;
}

std::string heightLabelText(const TRect& bounds, float unitScale) {
  return "Height " + fixedThreeDecimals(drawingExtent(boundsHeight(bounds), unitScale));
}

std::string widthLabelText(const TRect& bounds, float unitScale) {
  return "Width " + fixedThreeDecimals(drawingExtent(boundsWidth(bounds), unitScale));
}

float charHeightOf(const TRect& bounds, float unitScale) {
  return static_cast<float>(drawingExtent(boundsHeight(bounds), unitScale));
}

int previewPixel(std::int32_t coord, std::int32_t origin) {
  const double scaled =
      static_cast<double>(std::int64_t{coord} - origin) * static_cast<double>(kOutlineFactor);
  // nearbyint follows the default rounding mode, round-half-even.
  return static_cast<int>(std::nearbyint(scaled)) + 10;
}

PreviewLine previewLine(const TStroke& s, const TRect& bounds, int paintHeight) {
  return PreviewLine{previewPixel(s.X1, bounds.Left), paintHeight - previewPixel(s.Y1, bounds.Top) - 1,
                     previewPixel(s.X2, bounds.Left), paintHeight - previewPixel(s.Y2, bounds.Top) - 1};
}

void appendLinePixels(const PreviewLine& line, std::vector<PreviewPixel>& out) {
  // Always walked from the start, so which end stays unpainted does not depend on direction.
  int x = line.x1;
  int y = line.y1;
  const int dx = std::abs(line.x2 - line.x1);
  const int dy = -std::abs(line.y2 - line.y1);
  const int sx = line.x1 < line.x2 ? 1 : -1;
  const int sy = line.y1 < line.y2 ? 1 : -1;
  int err = dx + dy;
  while (x != line.x2 || y != line.y2) {
    out.push_back(PreviewPixel{x, y});
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y += sy;
    }
  }
}

}  // namespace kerfline
