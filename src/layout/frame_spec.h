#pragma once
// The frame as one word, the same on the command line and in the settings file:
// "rect", "rounded:R", "ellipse", "outline:OFFSET" (and "none").
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "layout/sign_layout.h"

namespace kerfline {

/// The frame shape and its size (corner radius or offset; 0 for the others) a word names, or
/// nothing when it names none: an unknown shape, a size missing, not a plain number or out of
/// 0 to maxSize, or an outline offset of 0.
std::optional<std::pair<FrameShape, double>> frameFromSpec(std::string_view spec, double maxSize);

/// The word for layout's frame, which frameFromSpec reads back.
std::string frameSpec(const SignLayout& layout);

/// What a frame word may be, for messages.
inline constexpr std::string_view kFrameSpecForms = "rect, rounded:RADIUS, ellipse, outline:OFFSET";

}  // namespace kerfline
