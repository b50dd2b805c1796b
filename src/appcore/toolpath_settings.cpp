#include "appcore/toolpath_settings.h"

#include <charconv>
#include <cmath>
#include <optional>

#include "appcore/settings_file.h"

namespace kerfline {
namespace {

// The values are the program's own, written with the shortest text that reads back exactly;
// a hand-edited value must be a plain number and nothing more.
std::optional<double> number(const std::optional<std::string>& text) {
  if (!text || text->empty()) return std::nullopt;
  double v = 0;
  const char* end = text->data() + text->size();
  const auto [ptr, ec] = std::from_chars(text->data(), end, v);
  if (ec != std::errc() || ptr != end || !std::isfinite(v)) return std::nullopt;
  return v;
}

std::string text(std::optional<double> v) {
  if (!v) return {};
  char buffer[64];
  const auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, *v);
  return ec == std::errc() ? std::string(buffer, ptr) : std::string();
}

// A positive setting: a valid number replaces it, an empty value clears it, anything else
// (a typo, zero, a negative) leaves it.
void readPositive(const std::string& path, const char* key, std::optional<double>& slot,
                  bool zeroAllowed = false) {
  const std::optional<std::string> raw = readProfileString(path, kToolpathSection, key);
  if (!raw) return;
  if (raw->empty()) {
    slot.reset();
    return;
  }
  const std::optional<double> v = number(raw);
  if (v && (*v > 0 || (zeroAllowed && *v == 0))) slot = v;
}

void readFlag(const std::string& path, const char* key, bool& slot) {
  const std::optional<std::string> raw = readProfileString(path, kToolpathSection, key);
  if (raw == "1") slot = true;
  if (raw == "0") slot = false;
}

}  // namespace

void loadToolpathSettings(const std::string& path, ConversionOptions& options) {
  readFlag(path, "Weld", options.weld);
  readPositive(path, "Kerf", options.kerf);
  const std::optional<std::string> side = readProfileString(path, kToolpathSection, "KerfSide");
  if (side == "outside") options.kerfSide = KerfSide::Outside;
  if (side == "inside") options.kerfSide = KerfSide::Inside;
  if (side == "on") options.kerfSide = KerfSide::On;
  GcodeOptions& g = options.gcode;
  readPositive(path, "Feed", g.feed);
  readPositive(path, "PlungeFeed", g.plungeFeed);
  readPositive(path, "DepthPerPass", g.depthPerPass);
  readPositive(path, "Power", g.power, /*zeroAllowed=*/true);
  readFlag(path, "Laser", g.laser);
  std::optional<double> rpm = g.spindleRpm ? std::optional<double>(*g.spindleRpm) : std::nullopt;
  readPositive(path, "Spindle", rpm);
  if (!rpm) {
    g.spindleRpm.reset();
  } else if (*rpm == std::floor(*rpm) && *rpm <= 1e6) {
    g.spindleRpm = static_cast<int>(*rpm);
  }
}

void saveToolpathSettings(const std::string& path, const ConversionOptions& options) {
  const GcodeOptions& g = options.gcode;
  const char* side = options.kerfSide == KerfSide::Inside ? "inside"
                     : options.kerfSide == KerfSide::On   ? "on"
                                                          : "outside";
  writeProfileString(path, kToolpathSection, "Weld", options.weld ? "1" : "0");
  writeProfileString(path, kToolpathSection, "Kerf", text(options.kerf));
  writeProfileString(path, kToolpathSection, "KerfSide", side);
  writeProfileString(path, kToolpathSection, "Feed", text(g.feed));
  writeProfileString(path, kToolpathSection, "PlungeFeed", text(g.plungeFeed));
  writeProfileString(path, kToolpathSection, "Spindle",
                     g.spindleRpm ? std::to_string(*g.spindleRpm) : std::string());
  writeProfileString(path, kToolpathSection, "DepthPerPass", text(g.depthPerPass));
  writeProfileString(path, kToolpathSection, "Laser", g.laser ? "1" : "0");
  writeProfileString(path, kToolpathSection, "Power", text(g.power));
}

}  // namespace kerfline
