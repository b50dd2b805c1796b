#include "layout/frame_spec.h"

#include <charconv>
#include <cmath>

namespace kerfline {

std::optional<std::pair<FrameShape, double>> frameFromSpec(std::string_view spec, double maxSize) {
  const std::size_t colon = spec.find(':');
  const std::string_view shape = spec.substr(0, colon);
  if (colon == std::string_view::npos) {
    if (shape == "none") return std::pair{FrameShape::None, 0.0};
    if (shape == "rect") return std::pair{FrameShape::Rect, 0.0};
    if (shape == "ellipse") return std::pair{FrameShape::Ellipse, 0.0};
    return std::nullopt;
  }
  if (shape != "rounded" && shape != "outline") return std::nullopt;
  const std::string_view size = spec.substr(colon + 1);
  double v = 0;
  const auto [end, error] = std::from_chars(size.data(), size.data() + size.size(), v);
  if (size.empty() || error != std::errc() || end != size.data() + size.size() ||
      !std::isfinite(v) || v < 0 || v > maxSize)
    return std::nullopt;
  if (shape == "outline" && !(v > 0)) return std::nullopt;
  return std::pair{shape == "rounded" ? FrameShape::Rounded : FrameShape::Outline, v};
}

std::string frameSpec(const SignLayout& layout) {
  // Shortest text that reads back exactly.
  const auto exact = [](double v) {
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, v);
    return std::string(buffer, error == std::errc() ? end : buffer);
  };
  switch (layout.frame) {
    case FrameShape::None: return "none";
    case FrameShape::Rect: return "rect";
    case FrameShape::Ellipse: return "ellipse";
    case FrameShape::Rounded: return "rounded:" + exact(layout.frameSize);
    case FrameShape::Outline: return "outline:" + exact(layout.frameSize);
  }
  return "none";
}

}  // namespace kerfline
