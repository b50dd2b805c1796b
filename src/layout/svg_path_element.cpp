#include "layout/svg_path_element.h"

#include <cctype>
#include <optional>

#include "common/error.h"

namespace kerfline {
namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// The attributes of one start tag, from just after its name to its '>'; at is left after it.
class TagReader {
 public:
  TagReader(std::string_view text, std::size_t at) : text_(text), at_(at) {}

  // The next attribute as name and value; nothing at the tag's end (or the text's).
  std::optional<std::pair<std::string_view, std::string_view>> next() {
    while (at_ < text_.size() && (isSpace(text_[at_]) || text_[at_] == '/')) ++at_;
    if (at_ >= text_.size() || text_[at_] == '>') return std::nullopt;
    const std::size_t nameStart = at_;
    while (at_ < text_.size() && !isSpace(text_[at_]) && text_[at_] != '=' && text_[at_] != '>')
      ++at_;
    const std::string_view name = text_.substr(nameStart, at_ - nameStart);
    while (at_ < text_.size() && isSpace(text_[at_])) ++at_;
    if (at_ >= text_.size() || text_[at_] != '=') return std::pair{name, std::string_view{}};
    ++at_;
    while (at_ < text_.size() && isSpace(text_[at_])) ++at_;
    if (at_ >= text_.size() || (text_[at_] != '"' && text_[at_] != '\'')) return std::nullopt;
    const char quote = text_[at_++];
    const std::size_t end = text_.find(quote, at_);
    if (end == std::string_view::npos) {
      at_ = text_.size();
      return std::nullopt;
    }
    const std::string_view value = text_.substr(at_, end - at_);
    at_ = end + 1;
    return std::pair{name, value};
  }

 private:
  std::string_view text_;
  std::size_t at_;
};

}  // namespace

std::string svgPathData(std::string_view document, std::string_view id) {
  if (document.size() > kMaxSvgPathDocument)
    throw Error("The SVG file is too large (more than 16 MB) to read a path from.");
  if (document.find('\0') != std::string_view::npos)
    throw Error("The SVG file is not a text file.");
  for (std::size_t at = document.find("<path"); at != std::string_view::npos;
       at = document.find("<path", at + 1)) {
    const std::size_t after = at + 5;
    if (after < document.size() && !isSpace(document[after]) && document[after] != '/' &&
        document[after] != '>')
      continue;  // <pathology>, not <path>
    TagReader tag(document, after);
    std::optional<std::string_view> d;
    std::string_view elementId;
    while (const auto attribute = tag.next()) {
      if (attribute->first == "d") d = attribute->second;
      if (attribute->first == "id") elementId = attribute->second;
    }
    if (d && (id.empty() || elementId == id)) return std::string(*d);
  }
  throw Error(id.empty() ? std::string("The SVG file has no <path> with path data.")
                         : "The SVG file has no <path> with id \"" + std::string(id) + "\".");
}

}  // namespace kerfline
