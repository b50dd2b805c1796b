#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <optional>
#include <set>
#include <string>
#include <variant>

#include "vectorizer/single_line_font.h"

namespace kerfline {
namespace {

// Real glyphs stay within a few dozen units; anything far beyond is a broken number.
constexpr double kMaxCoordinate = 1.0e5;
// A bulge of 1 is a half circle; 100 is within a degree of a full circle.
constexpr double kMaxBulge = 100.0;
// References nest one or two deep in real fonts (a letter with an accent).
constexpr int kMaxReferenceDepth = 16;
// Bound the work and memory a hostile file can ask for: references may multiply a glyph.
// The largest real glyph has a few thousand vertices, the largest real font about a million.
constexpr std::size_t kMaxStepsPerGlyph = 1u << 18;
constexpr std::size_t kMaxVerticesPerFont = 1u << 23;

std::string_view trimmed(std::string_view s) {
  const std::size_t first = s.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const std::size_t last = s.find_last_not_of(" \t\r");
  return s.substr(first, last - first + 1);
}

std::optional<double> numberOf(std::string_view s, double limit) {
  s = trimmed(s);
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  double v = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size() || s.empty()) return std::nullopt;
  if (!std::isfinite(v) || std::fabs(v) > limit) return std::nullopt;
  return v;
}

std::optional<char32_t> codeOf(std::string_view hex) {
  if (hex.empty() || hex.size() > 6) return std::nullopt;
  std::uint32_t v = 0;
  const auto [end, ec] = std::from_chars(hex.data(), hex.data() + hex.size(), v, 16);
  if (ec != std::errc() || end != hex.data() + hex.size()) return std::nullopt;
  if (v > 0x10FFFF || (v >= 0xD800 && v <= 0xDFFF)) return std::nullopt;
  return static_cast<char32_t>(v);
}

// "x,y" or "x,y,Abulge"; the bulge belongs to the segment ending at this vertex.
std::optional<FontVertex> vertexOf(std::string_view token) {
  const std::size_t c1 = token.find(',');
  if (c1 == std::string_view::npos) return std::nullopt;
  const std::size_t c2 = token.find(',', c1 + 1);
  const auto x = numberOf(token.substr(0, c1), kMaxCoordinate);
  const auto y = numberOf(token.substr(c1 + 1, c2 == std::string_view::npos ? token.npos : c2 - c1 - 1),
                          kMaxCoordinate);
  if (!x || !y) return std::nullopt;
  FontVertex v{*x, *y, 0};
  if (c2 != std::string_view::npos) {
    const std::string_view arc = trimmed(token.substr(c2 + 1));
    if (arc.empty() || arc.front() != 'A') return std::nullopt;
    const auto bulge = numberOf(arc.substr(1), kMaxBulge);
    if (!bulge) return std::nullopt;
    v.bulge = *bulge;
  }
  return v;
}

using GlyphItem = std::variant<FontPolyline, char32_t>;  // a polyline or a reference

struct RawGlyph {
  int line = 0;
  std::vector<GlyphItem> items;
  bool broken = false;
};

class Resolver {
 public:
  explicit Resolver(const std::map<char32_t, RawGlyph>& raw) : raw_(raw) {}

  // Appends the lines of glyph code to out; empty on success, else what went wrong.
  // steps counts the polylines and references taken, vertices the vertices copied.
  std::string append(char32_t code, std::vector<FontPolyline>& out, std::size_t& steps) {
    const auto it = raw_.find(code);
    if (it == raw_.end() || it->second.broken) return "a reference to a missing glyph";
    if (active_.count(code) != 0) return "a reference loop";
    if (static_cast<int>(active_.size()) >= kMaxReferenceDepth) return "references nested too deep";
    active_.insert(code);
    std::string what;
    for (const GlyphItem& item : it->second.items) {
      steps += 1;
      if (const auto* line = std::get_if<FontPolyline>(&item)) steps += line->vertices.size();
      if (steps > kMaxStepsPerGlyph) {
        what = "too many lines and references";
        break;
      }
      if (const auto* line = std::get_if<FontPolyline>(&item)) {
        out.push_back(*line);
      } else {
        what = append(std::get<char32_t>(item), out, steps);
        if (!what.empty()) break;
      }
    }
    active_.erase(code);
    return what;
  }

 private:
  const std::map<char32_t, RawGlyph>& raw_;
  std::set<char32_t> active_;
};

std::string headerValue(std::string_view line, std::string_view key) {
  // "# Key:   value"
  line = trimmed(line.substr(1));
  if (line.size() <= key.size() || line.substr(0, key.size()) != key) return {};
  line.remove_prefix(key.size());
  line = trimmed(line);
  if (line.empty() || line.front() != ':') return {};
  return std::string(trimmed(line.substr(1)));
}

}  // namespace

std::string lffNameOf(std::string_view head) {
  std::size_t pos = 0;
  while (pos < head.size()) {
    const std::size_t end = head.find('\n', pos);
    const std::string_view line =
        trimmed(head.substr(pos, end == std::string_view::npos ? head.npos : end - pos));
    pos = end == std::string_view::npos ? head.size() : end + 1;
    if (!line.empty() && line.front() == '[') break;  // the header ends at the first glyph
    if (!line.empty() && line.front() == '#') {
      std::string name = headerValue(line, "Name");
      if (!name.empty()) return name;
    }
  }
  return {};
}

SingleLineFont readLff(std::string_view bytes) {
  SingleLineFont font;
  font.format = SingleLineFormat::Lff;
  if (bytes.size() > kMaxSingleLineFontBytes) {
    font.malformed.push_back({1, "the file is larger than a font file can be"});
    return font;
  }
  font.letterSpacing = 3;  // what files without the header fields are drawn with
  font.wordSpacing = 6.75;
  std::map<char32_t, RawGlyph> raw;
  RawGlyph* current = nullptr;  // null outside a glyph
  bool inHeader = true;
  bool strayReported = false;   // one report per run of lines outside any glyph
  std::size_t pos = 0;
  int lineNumber = 0;
  while (pos < bytes.size()) {
    const std::size_t end = bytes.find('\n', pos);
    const std::string_view line =
        trimmed(bytes.substr(pos, end == std::string_view::npos ? bytes.npos : end - pos));
    pos = end == std::string_view::npos ? bytes.size() : end + 1;
    ++lineNumber;
    if (line.empty()) {
      current = nullptr;  // a blank line ends a glyph
      strayReported = false;
      continue;
    }
    if (line.front() == '#') {
      if (inHeader) {
        if (std::string v = headerValue(line, "Name"); !v.empty() && font.name.empty())
          font.name = v;
        if (auto v = numberOf(headerValue(line, "LetterSpacing"), kMaxCoordinate))
          font.letterSpacing = *v;
        if (auto v = numberOf(headerValue(line, "WordSpacing"), kMaxCoordinate))
          font.wordSpacing = *v;
      }
      continue;
    }
    if (line.front() == '[') {
      inHeader = false;
      strayReported = false;
      current = nullptr;
      ++font.records;
      const std::size_t close = line.find(']');
      std::string_view hex = close == std::string_view::npos ? std::string_view{} : line.substr(1, close - 1);
      if (!hex.empty() && hex.front() == '#') hex.remove_prefix(1);
      const std::optional<char32_t> code = codeOf(hex);
      if (!code) {
        font.malformed.push_back({lineNumber, "a glyph header without a hexadecimal code: " +
                                                  std::string(line.substr(0, 16))});
        strayReported = true;  // its lines are part of this report
        continue;
      }
      auto [it, fresh] = raw.try_emplace(*code);
      if (!fresh) {
        font.malformed.push_back({lineNumber, "a second glyph for the same code"});
        strayReported = true;
        continue;
      }
      it->second.line = lineNumber;
      current = &it->second;
      continue;
    }
    if (current == nullptr) {
      if (!strayReported)
        font.malformed.push_back({lineNumber, "drawing lines outside any glyph"});
      strayReported = true;
      continue;
    }
    if (current->broken) continue;
    if (line.front() == 'C') {
      const std::optional<char32_t> target = codeOf(trimmed(line.substr(1)));
      if (!target) {
        current->broken = true;
        font.malformed.push_back({current->line, "a reference without a hexadecimal code"});
        continue;
      }
      current->items.emplace_back(*target);
      continue;
    }
    FontPolyline polyline;
    std::size_t from = 0;
    while (from <= line.size()) {
      const std::size_t semi = line.find(';', from);
      const std::string_view token =
          trimmed(line.substr(from, semi == std::string_view::npos ? line.npos : semi - from));
      from = semi == std::string_view::npos ? line.size() + 1 : semi + 1;
      if (token.empty()) continue;  // a trailing ';'
      const std::optional<FontVertex> v = vertexOf(token);
      if (!v) {
        current->broken = true;
        font.malformed.push_back({lineNumber, "a vertex that is not \"x,y\" or \"x,y,Abulge\": " +
                                                  std::string(token.substr(0, 24))});
        break;
      }
      polyline.vertices.push_back(*v);
    }
    if (current->broken) continue;
    if (!polyline.vertices.empty()) {
      polyline.vertices.front().bulge = 0;  // no segment ends at the first vertex
      current->items.emplace_back(std::move(polyline));
    }
  }

  Resolver resolver(raw);
  std::size_t fontVertices = 0;
  for (const auto& [code, glyph] : raw) {
    if (glyph.broken) continue;
    SingleLineGlyph out;
    std::size_t steps = 0;
    std::string what = resolver.append(code, out.lines, steps);
    if (what.empty()) {
      for (const FontPolyline& line : out.lines) fontVertices += line.vertices.size();
      if (fontVertices > kMaxVerticesPerFont) what = "more vertices than a font can hold";
    }
    if (!what.empty()) {
      font.malformed.push_back({glyph.line, what});
      continue;
    }
    font.glyphs.emplace(code, std::move(out));
  }
  std::stable_sort(font.malformed.begin(), font.malformed.end(),
                   [](const MalformedRecord& a, const MalformedRecord& b) { return a.line < b.line; });
  return font;
}

}  // namespace kerfline
