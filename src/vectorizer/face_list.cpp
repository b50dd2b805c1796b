#include "vectorizer/face_list.h"

#include <algorithm>

#include "vectorizer/font_families.h"
#include "vectorizer/single_line_faces.h"

namespace kerfline {
namespace {

int compareIgnoringCase(const std::string& a, const std::string& b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    const unsigned char x = static_cast<unsigned char>(lower(a[i]));
    const unsigned char y = static_cast<unsigned char>(lower(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool listedBefore(const std::string& a, const std::string& b) {
  const int c = compareIgnoringCase(a, b);
  return c != 0 ? c < 0 : a < b;
}

}  // namespace

std::vector<FaceListing> listFontFaces() {
  std::vector<FaceListing> out;
  for (std::string& name : installedFontFamilies()) out.push_back({std::move(name), false});
  for (SingleLineFace& face : SingleLineFaces::shared().faces())
    out.push_back({std::move(face.name), true});
  std::stable_sort(out.begin(), out.end(), [](const FaceListing& a, const FaceListing& b) {
    return listedBefore(a.name, b.name);
  });
  return out;
}

std::string faceListText() {
  std::string text;
  for (const FaceListing& face : listFontFaces()) {
    text += face.name;
    if (face.singleLine) text += kSingleLineMark;
    text += '\n';
  }
  return text;
}

}  // namespace kerfline
