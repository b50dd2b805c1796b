#include "export_test_support.h"

#include <sched.h>
#include <sys/mount.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "command_output.h"

namespace kerfline::test {

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

MemoryText::MemoryText(std::u32string text, TFontDescription font)
    : text_(std::move(text)), fonts_(text_.size(), font) {}

void MemoryText::setFont(std::int32_t pos, const TFontDescription& font) {
  fonts_.at(static_cast<std::size_t>(pos - 1)) = font;
}

std::int32_t MemoryText::length() const { return static_cast<std::int32_t>(text_.size()); }

char32_t MemoryText::charAt(std::int32_t pos) const {
  return text_.at(static_cast<std::size_t>(pos - 1));
}

TFontDescription MemoryText::fontAt(std::int32_t pos) const {
  return fonts_.at(static_cast<std::size_t>(pos - 1));
}

void FakeGlyphs::set(char32_t c, const std::vector<std::vector<std::pair<int, int>>>& contours) {
  TStrokeCollection strokes;
  for (std::size_t k = 0; k < contours.size(); ++k) {
    const auto& points = contours[k];
    for (std::size_t i = 0; i < points.size(); ++i) {
      const auto& [x1, y1] = points[i];
      const auto& [x2, y2] = points[(i + 1) % points.size()];
      strokes.Add({static_cast<std::int32_t>(k), x1, y1, x2, y2});
    }
  }
  glyphs_[c] = strokes;
}

void FakeGlyphs::setStrokes(char32_t c, const std::vector<TStroke>& strokes, bool openPaths) {
  TStrokeCollection collection;
  for (const auto& s : strokes) collection.Add(s);
  collection.setOpenPaths(openPaths);
  glyphs_[c] = collection;
}

std::optional<TStrokeCollection> FakeGlyphs::strokesOf(const TFontDescription& font, char32_t c,
                                                       int precision) {
  requests.emplace_back(c, font.Size, precision);
  const auto found = glyphs_.find(c);
  if (found == glyphs_.end()) return std::nullopt;
  return found->second;
}

std::string onTinyFileSystem(const std::string& folder, std::size_t sizeBytes,
                             const std::function<std::string()>& body) {
  return inChild([&]() -> std::string {
    if (::unshare(CLONE_NEWNS) != 0) return "skip: no mount namespace";
    if (::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
      return "skip: mounts not private";
    }
    const std::string options = "size=" + std::to_string(sizeBytes);
    if (::mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) != 0) {
      return "skip: cannot mount tmpfs";
    }
    return body();
  });
}

std::vector<std::string> dxfLines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const auto end = bytes.find("\r\n", start);
    if (end == std::string::npos) {
      ADD_FAILURE() << "last line without CR LF: " << bytes.substr(start);
      break;
    }
    const std::string line = bytes.substr(start, end - start);
    EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "stray CR or LF in " << line;
    lines.push_back(line);
    start = end + 2;
  }
  return lines;
}

TFontDescription face(const char* name, int size, bool bold) {
  TFontDescription f;
  f.Name = name;
  f.Size = size;
  f.Bold = bold;
  return f;
}

Drawing sampleDrawing() {
  PlacedCharacter c;
  c.contours.push_back({{{1, 1}, {1, 2.5}, {3, 1}}, true, 1});
  c.contours.push_back({{{0, -0.25}, {4, -0.25}, {4, 4}, {0, 4}}, true, 0});
  c.contours.push_back({{{5, 0}, {6.5, 4}}, false, 0});
  Drawing d;
  d.characters.push_back(c);
  d.layer = "cut";
  return d;
}

std::string runPython(const std::string& script, const std::vector<std::string>& args) {
  std::string command = "/usr/bin/python3 '" KERFLINE_SOURCE_DIR "/tests/" + script + "'";
  for (const std::string& a : args) command += " '" + a + "'";
  command += " 2>&1";
  const CommandOutput r = runCommand(command);
  if (!r.ok()) return "exit " + std::to_string(r.status) + ": " + r.output;
  return r.output;
}

double numberOf(const std::string& text) {
  std::istringstream in(text);
  in.imbue(std::locale::classic());
  double v = 0;
  in >> v;
  EXPECT_TRUE(in.eof() && !in.fail()) << "not a number: " << text;
  return v;
}


}  // namespace kerfline::test
