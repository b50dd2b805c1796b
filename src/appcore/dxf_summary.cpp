#include "appcore/dxf_summary.h"

#include <charconv>
#include <fstream>
#include <optional>
#include <sstream>

#include "common/error.h"

namespace kerfline {
namespace {

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

std::optional<double> toDouble(std::string_view s) {
  double v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
  return v;
}

}  // namespace

void AxisRange::add(double v) {
  if (empty || v < min) min = v;
  if (empty || v > max) max = v;
  empty = false;
}

DxfSummary summarizeDxf(std::istream& in) {
  DxfSummary s;
  std::string entity;  // type of the entity whose groups are being read
  std::string codeLine, valueLine;
  // Read pair by pair so a DXF of hundreds of megabytes is measured in constant memory.
  while (std::getline(in, codeLine) && std::getline(in, valueLine)) {
    std::string_view code = trimmed(codeLine), value = trimmed(valueLine);
    if (code == "0") {
      entity = value;
      if (value == "LINE") ++s.lines;
      else if (value == "POLYLINE") ++s.polylines;
      else if (value == "VERTEX") ++s.vertices;
      continue;
    }
    if (entity != "LINE" && entity != "VERTEX") continue;
    auto v = toDouble(value);
    if (!v) continue;
    if (code == "10" || code == "11") s.x.add(*v);
    else if (code == "20" || code == "21") s.y.add(*v);
    else if (code == "30" || code == "31") s.z.add(*v);
  }
  return s;
}

DxfSummary summarizeDxf(std::string_view text) {
  std::istringstream in{std::string(text)};
  return summarizeDxf(in);
}

DxfSummary summarizeDxfFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw Error("Cannot open file " + path);
  return summarizeDxf(in);
}

}  // namespace kerfline
