#pragma once
// Painting of the job view, apart from the widget so that a benchmark can paint a frame.
#include <QRect>
#include <cstdint>

#include "windowlogic/view_transform.h"

class QPainter;

namespace kerfline {

struct JobScene;

/// What a frame shows besides the drawing.
struct JobPaintOptions {
  std::int32_t highlight = 0;  ///< 1-based text position of the highlighted character, 0: none
  bool cutOrder = false;       ///< travel moves dashed and contours numbered
  int ruler = 22;              ///< ruler width in pixels (top and left)
};

/// Paints one frame into the rectangle (0, 0, size): grid, origin, drawing, highlight, cut
/// order, then the rulers and their unit over the top and left edge. scene may be null.
void paintJobFrame(QPainter& painter, const QSize& size, const JobScene* scene,
                   const ViewTransform& transform, const JobPaintOptions& options);

/// Characters whose box is at least this many pixels high get their cut-order numbers and
/// direction arrows; smaller ones would be buried under them.
inline constexpr double kNumberedCharacterPixels = 36;

}  // namespace kerfline
