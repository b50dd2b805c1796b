#pragma once
#include <string>
#include <string_view>

namespace kerfline {

/// Longest DxfLayer in bytes.
inline constexpr std::size_t kMaxLayerLength = 255;

/// DxfLayer from the layer field's UTF-8 text: characters 0..32 trimmed at both ends, each
/// character as its Windows-1252 byte ('?' when it has none), cut to 255 bytes, "0" if empty.
/// A control character inside the name becomes '?' too: a CR or LF there would split the
/// group-code/value pairs of every entity.
std::string dxfLayerName(std::string_view utf8);

/// A DxfLayer fit for a LAYER table entry: each character a DXF table name may not hold
/// (< > / \ " : ; ? * | = `) becomes "_". Readers that check names refuse a file whose
/// entities name a layer with any of them.
std::string tableLayerName(std::string_view dxfLayer);

}  // namespace kerfline
