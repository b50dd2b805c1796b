#include "export/cut_ready_drawing.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "common/error.h"
#include "export/drawing_layout.h"
#include "geometry/cut_order.h"

namespace kerfline {
namespace {

std::optional<double> factorFor(const std::optional<double>& size, double current,
                                const char* what) {
  if (!size) return std::nullopt;
  if (!std::isfinite(*size) || *size <= 0) {
    throw Error(std::string("The fit ") + what + " must be a number above 0.");
  }
  if (!(current > 0)) {
    throw Error(std::string("The drawing has no ") + what + " to fit.");
  }
  return *size / current;
}

}  // namespace

double fitFactor(const Extent& extent, const ConversionOptions& options) {
  if (!options.fitWidth && !options.fitHeight) return 1.0;
  // An empty drawing has nothing to scale; any factor leaves it empty.
  if (extent.empty()) {
    factorFor(options.fitWidth, 1.0, "width");
    factorFor(options.fitHeight, 1.0, "height");
    return 1.0;
  }
  const std::optional<double> byWidth = factorFor(options.fitWidth, extent.width(), "width");
  const std::optional<double> byHeight = factorFor(options.fitHeight, extent.height(), "height");
  if (byWidth && byHeight) return std::min(*byWidth, *byHeight);
  return byWidth ? *byWidth : *byHeight;
}

void scaleDrawing(Drawing& drawing, double factor) {
  if (factor == 1.0) return;
  for (PlacedCharacter& c : drawing.characters) {
    for (Contour& k : c.contours) {
      for (Vec2& p : k.points) p = {p.x * factor, p.y * factor};
    }
  }
}

void makeCutReady(Drawing& drawing, const ConversionOptions& options) {
  if (options.fitWidth || options.fitHeight) {
    scaleDrawing(drawing, fitFactor(drawing.extent(), options));
  }
  orderForCutting(drawing);
}

Drawing cutReadyDrawing(const TextSource& text, const ConversionOptions& options,
                        GlyphSource& glyphs, ExportObserver* observer) {
  Drawing drawing = layoutDrawing(text, options.classic, glyphs, observer);
  makeCutReady(drawing, options);
  return drawing;
}

}  // namespace kerfline
