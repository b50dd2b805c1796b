#include "richtext/rtf_tables.h"

#include <algorithm>

#include "common/code_pages.h"
#include "common/utf8.h"

namespace kerfline::rtf {
namespace {

std::string toUtf8Trimmed(const std::u32string& s) {
  std::size_t b = 0;
  std::size_t e = s.size();
  while (b < e && s[b] == U' ') ++b;
  while (e > b && s[e - 1] == U' ') --e;
  return u32ToUtf8(std::u32string_view(s).substr(b, e - b));
}

// Colour components beyond one byte are writer errors; clamping keeps the colour a colour.
int clampComponent(int v) { return std::clamp(v, 0, 255); }

}  // namespace

int codePageOfRtfCharSet(int charSet, int documentCodePage) {
  switch (charSet) {
    case charset::Ansi: return codepage::Windows1252;
    case charset::Default: return documentCodePage;
    case charset::Symbol: return codepage::Symbol;
    case charset::ShiftJis: return 932;
    case charset::Hangul: return 949;
    case 130: return 1361;  // JOHAB
    case charset::Gb2312: return 936;
    case charset::ChineseBig5: return 950;
    default: return codePageOfCharSet(charSet);
  }
}

void DocumentTables::setDocumentCodePage(int codePage) {
  if (codePage > 0) documentCodePage_ = codePage;
}

void DocumentTables::beginFont(int number) {
  if (defining_) endFont();
  defining_ = true;
  definingNumber_ = number;
  definingEntry_ = FontEntry{};
}

void DocumentTables::setFontCharSet(int charSet) {
  if (defining_ && charSet >= 0 && charSet <= 255) definingEntry_.charSet = charSet;
}

void DocumentTables::setFontPitch(int pitchRequest) {
  if (!defining_) return;
  definingEntry_.pitch = pitchRequest == 1   ? TFontPitch::Fixed
                         : pitchRequest == 2 ? TFontPitch::Variable
                                             : TFontPitch::Default;
}

int DocumentTables::definingFontCodePage() const {
  const int charSet = defining_ ? definingEntry_.charSet : charset::Default;
  // A symbol font's name ("Symbol", "Wingdings") is ordinary text: only the characters set
  // in the font move to the symbol area, and its ';' must still end the entry.
  return codePageOfRtfCharSet(charSet == charset::Symbol ? charset::Default : charSet,
                              documentCodePage_);
}

void DocumentTables::appendFontName(char32_t c, bool alternative) {
  if (!defining_) return;
  // Face names are short; a runaway name (a file without ';') must not grow without bound.
  constexpr std::size_t kMaxName = 256;
  std::u32string& target = alternative ? definingEntry_.altName : definingEntry_.name;
  if (target.size() < kMaxName) target.push_back(c);
}

void DocumentTables::endFont() {
  if (!defining_) return;
  defining_ = false;
  fonts_[definingNumber_] = std::move(definingEntry_);
  definingEntry_ = FontEntry{};
}

void DocumentTables::setColorComponent(int component, int value) {
  if (component < 0 || component > 2) return;
  components_[component] = clampComponent(value);
  anyComponent_ = true;
}

void DocumentTables::endColor() {
  ColorEntry e;
  if (anyComponent_) {
    e.automatic = false;
    e.rgb = (static_cast<std::uint32_t>(components_[0]) << 16) |
            (static_cast<std::uint32_t>(components_[1]) << 8) |
            static_cast<std::uint32_t>(components_[2]);
  }
  // Bounded like every table read from outside: 64k colours is far beyond any real document.
  if (colors_.size() < 65536) colors_.push_back(e);
  components_[0] = components_[1] = components_[2] = 0;
  anyComponent_ = false;
}

void DocumentTables::closeColorTable() {
  if (anyComponent_) endColor();
}

const DocumentTables::FontEntry* DocumentTables::findFont(int number) const {
  if (number != kDefaultFontNumber) {
    const auto it = fonts_.find(number);
    if (it != fonts_.end()) return &it->second;
  }
  const auto it = fonts_.find(defaultFont_);
  return it != fonts_.end() ? &it->second : nullptr;
}

int DocumentTables::codePageOfFont(int number) const {
  const FontEntry* f = findFont(number);
  return codePageOfRtfCharSet(f ? f->charSet : charset::Default, documentCodePage_);
}

TFontDescription DocumentTables::describe(const CharFormat& format) const {
  TFontDescription d;
  d.Name = kFallbackFaceName;
  d.CharSet = charset::Default;
  d.Pitch = TFontPitch::Default;
  if (const FontEntry* f = findFont(format.font)) {
    std::string name = toUtf8Trimmed(f->name);
    std::string alt = toUtf8Trimmed(f->altName);
    // A name in a double-byte set decodes to replacement characters here; the \falt name,
    // usually its Latin spelling, names the same face readably.
    const bool unreadable = f->name.find(kReplacementChar) != std::u32string::npos;
    if ((name.empty() || unreadable) && !alt.empty()) name = std::move(alt);
    if (!name.empty()) d.Name = std::move(name);
    d.CharSet = f->charSet;
    d.Pitch = f->pitch;
  }
  d.Size = (std::clamp(format.halfPoints, 1, kMaxHalfPoints) + 1) / 2;
  d.Bold = format.bold;
  d.Italic = format.italic;
  d.Underline = format.underline;
  d.StrikeOut = format.strikeOut;
  d.Color = 0;
  if (format.color >= 0 && static_cast<std::size_t>(format.color) < colors_.size()) {
    d.Color = colors_[static_cast<std::size_t>(format.color)].rgb;
  }
  return d;
}

}  // namespace kerfline::rtf
