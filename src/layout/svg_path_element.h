#pragma once
// The path data of one <path> element of an SVG document: a tiny reader of just those elements'
// attributes, not of SVG at large (no styles, transforms or references are followed).
#include <string>
#include <string_view>

namespace kerfline {

/// Largest SVG document read for a path, in bytes: far beyond a drawing of a few paths.
inline constexpr std::size_t kMaxSvgPathDocument = 16u << 20;

/// The "d" attribute of the first <path> element of document that has one, or of the one
/// whose id is id when id is not empty. Throws Error when the document is larger than
/// kMaxSvgPathDocument or holds a zero byte (not a text file), or no such path is there.
std::string svgPathData(std::string_view document, std::string_view id = {});

}  // namespace kerfline
