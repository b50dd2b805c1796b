#include "typography_test_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <sstream>

#include "command_output.h"

namespace kerfline::test {

std::string commandOutput(const std::string& command) {
  const CommandOutput r = runCommand(command);
  EXPECT_EQ(r.status, 0) << command;
  std::string out = r.output;
  while (!out.empty() && out.back() == '\n') out.pop_back();
  return out;
}

std::string utf8(const std::u32string& text) {
  std::string out;
  for (char32_t c : text) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::vector<HbGlyph> hbShape(const std::string& file, int index, const std::u32string& text,
                             const std::string& features) {
  const std::string json = commandOutput(
      "hb-shape --no-glyph-names --output-format=json --features='" + features +
      "' --face-index=" + std::to_string(index) + " '" + file + "' '" + utf8(text) + "'");
  static const std::regex glyph(
      R"(\{"g":(\d+),"cl":(\d+),"dx":(-?\d+),"dy":(-?\d+),"ax":(-?\d+),"ay":(-?\d+)\})");
  std::vector<HbGlyph> out;
  for (auto it = std::sregex_iterator(json.begin(), json.end(), glyph); it != std::sregex_iterator();
       ++it) {
    const std::smatch& m = *it;
    out.push_back(HbGlyph{static_cast<std::uint32_t>(std::stoul(m[1])),
                          static_cast<std::uint32_t>(std::stoul(m[2])), std::stoi(m[3]),
                          std::stoi(m[4]), std::stoi(m[5]), std::stoi(m[6])});
  }
  EXPECT_FALSE(out.empty()) << json;
  return out;
}

std::vector<int> headerMetrics(const std::string& file) {
  std::istringstream in(commandOutput(
      "/usr/bin/python3 " KERFLINE_SOURCE_DIR "/tests/vectorizer/read_font_metrics.py '" + file + "'"));
  std::vector<int> out;
  int v = 0;
  while (in >> v) out.push_back(v);
  EXPECT_EQ(out.size(), 4u) << file;
  return out;
}

TFontDescription fontOf(const std::string& name, int size) {
  TFontDescription f;
  f.Name = name;
  f.Size = size;
  return f;
}

}  // namespace kerfline::test
