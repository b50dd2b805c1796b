#include "vectorizer/font_library.h"

#include <fontconfig/fontconfig.h>
#include <optional>
#include <ft2build.h>
#include FT_FREETYPE_H

#include "common/error.h"
#include "vectorizer/freetype_error.h"
#include "vectorizer/script_face_name.h"

namespace kerfline {

namespace {

template <auto Destroy>
struct FcDeleter {
  template <typename T>
  void operator()(T* p) const {
    Destroy(p);
  }
};
using FcPatternPtr = std::unique_ptr<FcPattern, FcDeleter<FcPatternDestroy>>;
using FcCharSetPtr = std::unique_ptr<FcCharSet, FcDeleter<FcCharSetDestroy>>;
using FcObjectSetPtr = std::unique_ptr<FcObjectSet, FcDeleter<FcObjectSetDestroy>>;
using FcFontSetPtr = std::unique_ptr<FcFontSet, FcDeleter<FcFontSetDestroy>>;

// True when an installed face has exactly this family name (no substitution applied).
bool isInstalledFamily(const std::string& name) {
  FcPatternPtr pattern(FcPatternCreate());
  FcObjectSetPtr objects(FcObjectSetBuild(FC_FAMILY, nullptr));
  if (!pattern || !objects) return false;
  FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
  FcFontSetPtr found(FcFontList(nullptr, pattern.get(), objects.get()));
  return found && found->nfont > 0;
}

// Key of a face in the caches: its file and index, joined by a byte no UTF-8 path contains.
std::string faceKey(const std::string& file, int index) {
  std::string key = file;
  key += '\xff';
  key += std::to_string(index);
  return key;
}

// Cache keys: the request's fields joined by bytes no UTF-8 face name contains.
std::string requestKey(const std::string& name, bool bold, bool italic) {
  std::string key = name;
  key += '\xff';
  key += bold ? 'b' : '-';
  key += italic ? 'i' : '-';
  return key;
}

}  // namespace

void FontLibrary::LibraryDeleter::operator()(FT_LibraryRec_* lib) const { FT_Done_FreeType(lib); }

void FaceCloser::operator()(FT_FaceRec_* face) const { FT_Done_Face(face); }

std::shared_ptr<FontLibrary> FontLibrary::shared() {
  static const std::shared_ptr<FontLibrary> library = std::make_shared<FontLibrary>();
  return library;
}

FontLibrary::FontLibrary(FreeTypeStart start) {
  FT_Library lib = nullptr;
  // Without FreeType no character has an outline; match() says so rather than letting every
  // conversion pass for an empty one.
  startError_ = (start != nullptr ? start : &FT_Init_FreeType)(&lib);
  if (startError_ == 0) library_.reset(lib);
  if (startError_ == 0 && !library_) startError_ = -1;
}

void FontLibrary::requireFreeType() const {
  if (!library_) {
    throw Error("The font engine (FreeType) could not be started (error " +
                std::to_string(startError_) + "), so no character can be converted.");
  }
}

const std::string& FontLibrary::familyToMatch(const std::string& name) {
  if (auto it = families_.find(name); it != families_.end()) return it->second;
  // fontconfig knows no "Arial CE" and would answer its default face; the document meant
  // Arial (or what stands in for it) with another character set, which the text already has.
  std::optional<std::string> base = scriptFaceBaseName(name);
  std::string family = base && !isInstalledFamily(name) ? std::move(*base) : name;
  return families_.emplace(name, std::move(family)).first->second;
}

FontLibrary::~FontLibrary() = default;

FontFace* FontLibrary::face(const std::string& file, int index) {
  std::string key = faceKey(file, index);
  if (auto it = faces_.find(key); it != faces_.end()) return it->second.get();

  std::unique_ptr<FontFace> entry;
  FT_Face face = nullptr;
  // fontconfig lists a file from its cache; the file may since have been cut short or
  // overwritten, so opening it can still fail, and the reason is kept for the report.
  const FT_Error err =
      library_ ? FT_New_Face(library_.get(), file.c_str(), index, &face) : FT_Err_Ok;
  if (err != FT_Err_Ok) faceFailures_.emplace(key, freeTypeErrorText(err));
  if (library_ && err == FT_Err_Ok) {
    entry = std::make_unique<FontFace>();
    entry->face.reset(face);
    entry->file = file;
    entry->index = index;
    // Bitmap-only faces cannot give outlines: remember them as unusable.
    if (!FT_IS_SCALABLE(face)) {
      entry.reset();
      faceFailures_.emplace(key, "it holds bitmaps only, no outlines");
    } else {
      // A face may have two Unicode maps: one for the basic plane only and one for every
      // plane. FreeType's choice prefers the full one; the first in the file may be the
      // other, which would leave every character beyond U+FFFF without a glyph.
      if (FT_Select_Charmap(face, FT_ENCODING_UNICODE) == 0) entry->unicodeMap = face->charmap;
      for (int i = 0; i < face->num_charmaps; ++i) {
        FT_CharMap map = face->charmaps[i];
        if (map->encoding == FT_ENCODING_MS_SYMBOL && entry->symbolMap == nullptr)
          entry->symbolMap = map;
      }
      entry->italic = (face->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
    }
  }
  return faces_.emplace(std::move(key), std::move(entry)).first->second.get();
}

std::string FontLibrary::faceFailure(const std::string& file, int index) const {
  const auto it = faceFailures_.find(faceKey(file, index));
  return it == faceFailures_.end() ? std::string() : it->second;
}

FaceMatch FontLibrary::findMatch(const std::string& name, bool bold, bool italic,
                                 const char32_t* c) {
  FcPatternPtr pattern(FcPatternCreate());
  if (!pattern) return {};
  const std::string& familyName = familyToMatch(name);
  const auto* family = reinterpret_cast<const FcChar8*>(familyName.c_str());
  if (!familyName.empty()) FcPatternAddString(pattern.get(), FC_FAMILY, family);
  FcPatternAddInteger(pattern.get(), FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
  if (c != nullptr) {
    FcCharSetPtr chars(FcCharSetCreate());
    if (!chars || !FcCharSetAddChar(chars.get(), *c)) return {};
    FcPatternAddCharSet(pattern.get(), FC_CHARSET, chars.get());  // copies the set
  }
  // The same steps Qt takes, so a face name resolves as it does in the editor: configured
  // substitutions ("Arial" -> a metric-compatible face), defaults, then the best match.
  FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());
  FcResult result = FcResultNoMatch;
  FcPatternPtr found(FcFontMatch(nullptr, pattern.get(), &result));
  if (!found) return {};

  FcChar8* file = nullptr;
  if (FcPatternGetString(found.get(), FC_FILE, 0, &file) != FcResultMatch) return {};
  int index = 0;
  FcPatternGetInteger(found.get(), FC_INDEX, 0, &index);
  FaceMatch match;
  match.face = face(reinterpret_cast<const char*>(file), index);
  if (match.face == nullptr) {
    match.failedFile = reinterpret_cast<const char*>(file);
    match.failedIndex = index;
    match.failure = faceFailure(match.failedFile, index);
    return match;
  }
  FcBool embolden = FcFalse;
  FcPatternGetBool(found.get(), FC_EMBOLDEN, 0, &embolden);
  match.synthesis.embolden = embolden == FcTrue;
  // fontconfig rewrites the slant of a synthetic match to "oblique", so the face itself
  // tells whether it is upright.
  match.synthesis.oblique = italic && !match.face->italic;
  return match;
}

const FaceMatch& FontLibrary::match(const std::string& name, bool bold, bool italic) {
  requireFreeType();
  std::string key = requestKey(name, bold, italic);
  if (auto it = matches_.find(key); it != matches_.end()) return it->second;
  FaceMatch m = findMatch(name, bold, italic, nullptr);
  return matches_.emplace(std::move(key), m).first->second;
}

const FaceMatch& FontLibrary::fallback(const std::string& name, bool bold, bool italic,
                                       char32_t c) {
  requireFreeType();
  std::string key = requestKey(name, bold, italic);
  key += 'U';
  key += std::to_string(static_cast<std::uint32_t>(c));
  if (auto it = matches_.find(key); it != matches_.end()) return it->second;
  FaceMatch m = findMatch(name, bold, italic, &c);
  // fontconfig answers with its best face even when none covers c: check the face itself.
  if (m.face != nullptr && glyphIndexOf(*m.face, c) == 0) m = {};
  return matches_.emplace(std::move(key), m).first->second;
}

namespace {

unsigned indexIn(FontFace& f, FT_CharMap map, FT_ULong code) {
  FT_Face face = f.face.get();
  if (face->charmap != map && FT_Set_Charmap(face, map) != 0) return 0;
  return FT_Get_Char_Index(face, code);
}

}  // namespace

unsigned symbolGlyphIndexOf(FontFace& f, std::uint8_t b) {
  if (f.symbolMap == nullptr) return 0;
  // Symbol fonts put their characters at U+F000 + byte; some older ones at the byte itself.
  if (unsigned g = indexIn(f, f.symbolMap, 0xF000u + b)) return g;
  return indexIn(f, f.symbolMap, b);
}

unsigned glyphIndexOf(FontFace& f, char32_t c) {
  if (f.unicodeMap != nullptr) {
    if (unsigned g = indexIn(f, f.unicodeMap, c)) return g;
  }
  if (f.symbolMap == nullptr) return 0;
  if (c < 0x100) return symbolGlyphIndexOf(f, static_cast<std::uint8_t>(c));
  return indexIn(f, f.symbolMap, c);
}

}  // namespace kerfline
