#pragma once
#include <string>

#include "export/conversion_options.h"

namespace kerfline {

/// Settings-file section of the export settings, weld, kerf and G-code among them.
inline constexpr const char* kToolpathSection = "Export";

/// Reads section "Export" of the settings file at path into options: Weld and Laser (0 or 1),
/// Kerf, Feed, PlungeFeed, DepthPerPass, Power (numbers, "." separator; empty: not set),
/// KerfSide (outside, inside or on) and Spindle (whole rpm; empty: no spindle words). A key
/// that is missing, or whose value is not valid for it, leaves that setting as it was.
void loadToolpathSettings(const std::string& path, ConversionOptions& options);

/// Writes the weld, kerf and G-code keys of section "Export"; other sections and keys are kept.
/// Throws Error("Unable to write to <path>") as the settings file does.
void saveToolpathSettings(const std::string& path, const ConversionOptions& options);

}  // namespace kerfline
