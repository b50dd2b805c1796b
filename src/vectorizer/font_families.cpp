#include "vectorizer/font_families.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <memory>

namespace kerfline {
namespace {

struct PatternDeleter {
  void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
struct ObjectSetDeleter {
  void operator()(FcObjectSet* s) const { FcObjectSetDestroy(s); }
};
struct FontSetDeleter {
  void operator()(FcFontSet* s) const { FcFontSetDestroy(s); }
};

}  // namespace

std::vector<std::string> installedFontFamilies() {
  std::unique_ptr<FcPattern, PatternDeleter> pattern(FcPatternCreate());
  std::unique_ptr<FcObjectSet, ObjectSetDeleter> objects(FcObjectSetBuild(FC_FAMILY, nullptr));
  if (!pattern || !objects) return {};
  // Only faces the converter can draw: bitmap fonts have no outlines.
  FcPatternAddBool(pattern.get(), FC_OUTLINE, FcTrue);
  std::unique_ptr<FcFontSet, FontSetDeleter> fonts(
      FcFontList(nullptr, pattern.get(), objects.get()));
  std::vector<std::string> names;
  if (!fonts) return names;
  for (int i = 0; i < fonts->nfont; ++i) {
    // A face may carry its family in several languages; the first is the one it is known by.
    FcChar8* family = nullptr;
    if (FcPatternGetString(fonts->fonts[i], FC_FAMILY, 0, &family) == FcResultMatch && family) {
      names.emplace_back(reinterpret_cast<const char*>(family));
    }
  }
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

}  // namespace kerfline
