#include "vectorizer/single_line_faces.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>

#include "common/utf8.h"
#include "vectorizer/font_families.h"

namespace kerfline {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kLffHeadBytes = 8192;

struct HersheyName {
  std::string_view stem;
  std::string_view name;
};

// The Hershey files are named by an abbreviation of the lettering each holds.
constexpr HersheyName kHersheyNames[] = {
    {"astrology", "Hershey Astrology"},
    {"cursive", "Hershey Cursive"},
    {"cyrilc_1", "Hershey Cyrillic Complex"},
    {"cyrillic", "Hershey Cyrillic"},
    {"futural", "Hershey Sans"},
    {"futuram", "Hershey Sans Duplex"},
    {"gothgbt", "Hershey Gothic English Triplex"},
    {"gothgrt", "Hershey Gothic German Triplex"},
    {"gothiceng", "Hershey Gothic English"},
    {"gothicger", "Hershey Gothic German"},
    {"gothicita", "Hershey Gothic Italian"},
    {"gothitt", "Hershey Gothic Italian Triplex"},
    {"greek", "Hershey Greek"},
    {"greekc", "Hershey Greek Complex"},
    {"greeks", "Hershey Greek Simplex"},
    {"japanese", "Hershey Japanese"},
    {"markers", "Hershey Markers"},
    {"mathlow", "Hershey Math Lower"},
    {"mathupp", "Hershey Math Upper"},
    {"meteorology", "Hershey Meteorology"},
    {"music", "Hershey Music"},
    {"rowmand", "Hershey Serif Duplex"},
    {"rowmans", "Hershey Serif"},
    {"rowmant", "Hershey Serif Triplex"},
    {"scriptc", "Hershey Script Complex"},
    {"scripts", "Hershey Script"},
    {"symbolic", "Hershey Symbolic"},
    {"timesg", "Hershey Times Greek"},
    {"timesi", "Hershey Times Italic"},
    {"timesib", "Hershey Times Bold Italic"},
    {"timesr", "Hershey Times"},
    {"timesrb", "Hershey Times Bold"},
};

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool lessIgnoringCase(const std::string& a, const std::string& b) {
  const auto la = [](unsigned char x, unsigned char y) { return lowerAscii(char(x)) < lowerAscii(char(y)); };
  if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), la)) return true;
  if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), la)) return false;
  return a < b;
}

std::optional<std::string> readFile(const std::string& path, std::size_t limit) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes;
  bytes.resize(limit + 1);
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (in.bad()) return std::nullopt;
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return bytes;
}

// A name from a file is shown in lists and written into RTF: control characters go.
std::string printable(std::string s) {
  std::erase_if(s, [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
  return s;
}

bool hasExtension(const fs::path& p, std::string_view ext) {
  std::string e = p.extension().string();
  std::transform(e.begin(), e.end(), e.begin(), lowerAscii);
  return e == ext;
}

}  // namespace

struct SingleLineFaces::Entry {
  SingleLineFace face;
  bool loaded = false;
  std::unique_ptr<LoadedSingleLineFace> font;  // null once loading failed
};

std::vector<std::string> defaultSingleLineFolders() {
  std::vector<std::string> folders{"/usr/share/hershey-fonts", "/usr/share/librecad/fonts"};
  const char* data = std::getenv("XDG_DATA_HOME");
  const char* home = std::getenv("HOME");
  if (data != nullptr && data[0] == '/') {
    folders.push_back(std::string(data) + "/kerfline/fonts");
  } else if (home != nullptr && home[0] != '\0') {
    folders.push_back(std::string(home) + "/.local/share/kerfline/fonts");
  }
  return folders;
}

std::string hersheyFaceName(std::string_view stem) {
  for (const HersheyName& n : kHersheyNames)
    if (n.stem == stem) return std::string(n.name);
  return "Hershey " + std::string(stem);
}

std::string faceKey(std::string_view name) {
  std::string key;
  for (char c : name)
    if (c != ' ' && c != '\t') key += lowerAscii(c);
  constexpr std::string_view kMark = "(single-line)";
  if (key.size() > kMark.size() && key.ends_with(kMark)) key.resize(key.size() - kMark.size());
  return key;
}

std::vector<std::string> outlineNamesInUse() {
  std::vector<std::string> names = installedFontFamilies();
  for (const char* alias : {"serif", "sans-serif", "sans", "monospace", "mono", "cursive",
                            "fantasy", "system-ui", "emoji", "math", "Symbol"})
    names.emplace_back(alias);
  return names;
}

SingleLineFaces& SingleLineFaces::shared() {
  static SingleLineFaces faces(defaultSingleLineFolders(), outlineNamesInUse());
  return faces;
}

SingleLineFaces::SingleLineFaces(std::vector<std::string> folders,
                                 std::vector<std::string> outlineNames)
    : folders_(std::move(folders)) {
  for (const std::string& name : outlineNames) reserved_.push_back(faceKey(name));
  std::sort(reserved_.begin(), reserved_.end());
}

SingleLineFaces::~SingleLineFaces() = default;

void SingleLineFaces::scan() {
  if (scanned_) return;
  scanned_ = true;
  for (const std::string& folder : folders_) {
    std::error_code ec;
    std::vector<fs::path> files;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
      const fs::path& p = it->path();
      if (!it->is_regular_file(ec)) continue;
      if (hasExtension(p, ".jhf") || hasExtension(p, ".lff")) files.push_back(p);
    }
    std::sort(files.begin(), files.end());
    for (const fs::path& p : files) {
      auto entry = std::make_unique<Entry>();
      entry->face.path = p.string();
      const std::string stem = p.stem().string();
      if (hasExtension(p, ".jhf")) {
        entry->face.format = SingleLineFormat::Hershey;
        entry->face.family = hersheyFaceName(stem);
      } else {
        entry->face.format = SingleLineFormat::Lff;
        const std::optional<std::string> head = readFile(entry->face.path, kLffHeadBytes);
        if (!head) continue;
        entry->face.family = printable(lffNameOf(*head));
        // A name that is not UTF-8 could not be shown or written into RTF as it is.
        if (entry->face.family.empty() || !isValidUtf8(entry->face.family)) entry->face.family = stem;
      }
      entry->face.name = entry->face.family;
      entries_.push_back(std::move(entry));
    }
  }
  // An outline face's name stays the outline face's.
  for (auto& e : entries_) {
    if (std::binary_search(reserved_.begin(), reserved_.end(), faceKey(e->face.name)))
      e->face.name += " (" + fs::path(e->face.path).filename().string() + ")";
  }
  // Two files that give themselves one name are told apart by their file names; a file named
  // after the face ("iso3098.lff" for "ISO3098") keeps the plain name.
  std::map<std::string, std::vector<Entry*>> byKey;
  for (auto& e : entries_) byKey[faceKey(e->face.name)].push_back(e.get());
  for (auto& [key, group] : byKey) {
    if (group.size() < 2) continue;
    for (Entry* e : group) {
      const std::string stem = fs::path(e->face.path).stem().string();
      if (faceKey(stem) != key) e->face.name += " (" + stem + ")";
    }
  }
  // Whatever still collides (the same file name in two folders) is numbered.
  std::map<std::string, int> seen;
  for (auto& e : entries_) {
    const int n = ++seen[faceKey(e->face.name)];
    if (n > 1) e->face.name.append(" ").append(std::to_string(n));
  }
  std::stable_sort(entries_.begin(), entries_.end(),
                   [](const auto& a, const auto& b) { return lessIgnoringCase(a->face.name, b->face.name); });
}

const SingleLineFace* SingleLineFaces::locate(std::string_view name) {
  scan();
  const auto known = located_.find(std::string(name));
  if (known != located_.end()) return known->second;
  const SingleLineFace* face = search(name);
  located_.emplace(std::string(name), face);
  return face;
}

const SingleLineFace* SingleLineFaces::search(std::string_view name) const {
  const std::string key = faceKey(name);
  if (key.empty() || std::binary_search(reserved_.begin(), reserved_.end(), key)) return nullptr;
  for (const auto& e : entries_)
    if (faceKey(e->face.name) == key) return &e->face;
  const SingleLineFace* first = nullptr;
  for (const auto& e : entries_)
    if (faceKey(e->face.family) == key && (first == nullptr || e->face.path < first->path))
      first = &e->face;
  return first;
}

std::vector<SingleLineFace> SingleLineFaces::faces() {
  std::lock_guard lock(mutex_);
  scan();
  std::vector<SingleLineFace> out;
  for (const auto& e : entries_) out.push_back(e->face);
  return out;
}

std::unique_ptr<SingleLineFace> SingleLineFaces::lookup(std::string_view name) {
  std::lock_guard lock(mutex_);
  const SingleLineFace* face = locate(name);
  return face ? std::make_unique<SingleLineFace>(*face) : nullptr;
}

const LoadedSingleLineFace* SingleLineFaces::find(std::string_view name) {
  std::lock_guard lock(mutex_);
  const SingleLineFace* face = locate(name);
  if (face == nullptr) return nullptr;
  auto it = std::find_if(entries_.begin(), entries_.end(),
                         [face](const auto& e) { return &e->face == face; });
  Entry& entry = **it;
  if (!entry.loaded) {
    entry.loaded = true;
    const std::optional<std::string> bytes = readFile(entry.face.path, kMaxSingleLineFontBytes);
    if (bytes && bytes->size() <= kMaxSingleLineFontBytes) {
      auto loaded = std::make_unique<LoadedSingleLineFace>();
      loaded->font = entry.face.format == SingleLineFormat::Hershey ? readJhf(*bytes) : readLff(*bytes);
      loaded->metrics = metricsOf(loaded->font);
      entry.font = std::move(loaded);
    }
  }
  return entry.font.get();
}

}  // namespace kerfline
