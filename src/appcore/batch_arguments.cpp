#include "appcore/batch_arguments.h"

#include <cmath>

#include "common/utf8.h"
#include "export/number_rule.h"

namespace kerfline {
namespace {

// Longest layer argument taken, in characters (code points of the UTF-8 argument).
constexpr std::size_t kMaxLayerChars = 39;

std::optional<int> roundedArgument(const std::string& text, int lo, int hi) {
  std::optional<float> v = parseNumber(text);
  if (!v) return std::nullopt;
  return roundAndClamp(*v, lo, hi);
}

bool endsWithIgnoringCase(const std::string& name, std::string_view upperSuffix) {
  // The extension is the text from the last "." on, unless a folder separator or a drive
  // colon follows that "." (then the dot belongs to a folder name).
  std::size_t dot = name.rfind('.');
  if (dot == std::string::npos) return false;
  if (name.find_first_of("\\:/", dot) != std::string::npos) return false;
  std::string_view ext(name.data() + dot, name.size() - dot);
  if (ext.size() != upperSuffix.size()) return false;
  for (std::size_t i = 0; i < ext.size(); ++i) {
    char c = ext[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    if (c != upperSuffix[i]) return false;
  }
  return true;
}

}  // namespace

int roundAndClamp(float value, int lo, int hi) {
  // nearbyint rounds in the default mode, to nearest with ties to even; clamping the
  // rounded float before converting keeps huge values and infinities defined.
  float r = std::nearbyint(value);
  if (!(r >= static_cast<float>(lo))) return lo;  // below the range, or NaN
  if (r >= static_cast<float>(hi)) return hi;
  return static_cast<int>(r);
}

BatchArguments parseBatchArguments(const std::vector<std::string>& args) {
  // An empty argument takes no position: "" on a command line is dropped by the splitter.
  std::vector<const std::string*> present;
  for (const std::string& a : args) {
    if (!a.empty()) present.push_back(&a);
  }
  BatchArguments out;
  auto arg = [&](std::size_t position) -> const std::string* {
    return position <= present.size() ? present[position - 1] : nullptr;
  };
  if (auto a = arg(1)) out.inputFile = *a;
  if (auto a = arg(2)) out.scale = roundedArgument(*a, 1, 10000);
  if (auto a = arg(3); a && parseNumber(*a)) out.pitchText = *a;
  if (auto a = arg(4)) out.resolution = roundedArgument(*a, 1, 100);
  if (auto a = arg(5)) out.spacePercent = roundedArgument(*a, 0, 100);
  if (auto a = arg(6); a && utf8ToU32(*a).size() <= kMaxLayerChars) out.layer = *a;
  if (auto a = arg(7)) {
    out.mode = *a == "1" ? BatchMode::PolyLines : *a == "2" ? BatchMode::Lines : BatchMode::None;
  }
  return out;
}

std::string batchOutputName(const std::string& input) {
  std::string name = input;
  if (endsWithIgnoringCase(name, ".RTF")) name.resize(name.size() - 4);
  if (endsWithIgnoringCase(name, ".TXT")) name.resize(name.size() - 4);
  return name + ".DXF";
}

}  // namespace kerfline
