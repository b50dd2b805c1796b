#include "appcore/text_dump.h"

#include <cstdio>
#include <vector>

#include "common/code_pages.h"
#include "common/utf8.h"

namespace kerfline {
namespace {

void appendJsonString(std::string& out, std::u32string_view text) {
  out += '"';
  for (const char32_t c : text) {
    switch (c) {
      case U'"': out += "\\\""; break;
      case U'\\': out += "\\\\"; break;
      case U'\r': out += "\\r"; break;
      case U'\n': out += "\\n"; break;
      case U'\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char escape[8];
          std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
          out += escape;
        } else {
          appendUtf8(out, c);
        }
    }
  }
  out += '"';
}

void appendJsonString(std::string& out, const std::string& utf8) {
  appendJsonString(out, utf8ToU32(utf8));
}

const char* boolean(bool b) { return b ? "true" : "false"; }

// The fields the dump shows; the pitch request is not among them, so two runs that differ
// only there print as one.
bool printAlike(const TFontDescription& a, const TFontDescription& b) {
  return a.Name == b.Name && a.Size == b.Size && a.Bold == b.Bold && a.Italic == b.Italic &&
         a.Underline == b.Underline && a.StrikeOut == b.StrikeOut && a.Color == b.Color &&
         a.CharSet == b.CharSet;
}

}  // namespace

std::string textDumpJson(const StyledText& text) {
  std::vector<StyledText::Run> runs;
  for (const StyledText::Run& run : text.runs()) {
    if (run.length <= 0) continue;
    if (!runs.empty() && printAlike(runs.back().format, run.format) &&
        runs.back().start + runs.back().length == run.start) {
      runs.back().length += run.length;
    } else {
      runs.push_back(run);
    }
  }

  std::string out = "{\"text\": ";
  appendJsonString(out, text.text());
  out += ", \"runs\": [";
  for (std::size_t i = 0; i < runs.size(); ++i) {
    const StyledText::Run& r = runs[i];
    const TFontDescription& f = r.format;
    char color[8];
    std::snprintf(color, sizeof color, "#%06x", static_cast<unsigned>(f.Color & 0xFFFFFF));
    if (i > 0) out += ", ";
    out += "{\"start\": " + std::to_string(r.start) + ", \"length\": " + std::to_string(r.length) +
           ", \"face\": ";
    appendJsonString(out, f.Name);
    out += ", \"size\": " + std::to_string(f.Size) + ", \"bold\": " + boolean(f.Bold) +
           ", \"italic\": " + boolean(f.Italic) + ", \"underline\": " + boolean(f.Underline) +
           ", \"strike\": " + boolean(f.StrikeOut) + ", \"color\": \"" + color +
           "\", \"charset\": " + std::to_string(f.CharSet) + "}";
  }
  out += "]}";
  return out;
}

}  // namespace kerfline
