#include "export/glyph_cache.h"

namespace kerfline {
namespace {

TFontDescription keyOf(TFontDescription font) {
  font.Size = 0;
  font.Color = 0;
  return font;
}

bool sameKey(const TFontDescription& key, const TFontDescription& font) {
  return key.Name == font.Name && key.Bold == font.Bold && key.Italic == font.Italic &&
         key.Underline == font.Underline && key.StrikeOut == font.StrikeOut &&
         key.CharSet == font.CharSet && key.Pitch == font.Pitch;
}

}  // namespace

GlyphCache::Glyphs& GlyphCache::glyphsOf(const TFontDescription& font) {
  if (last_ && sameKey(last_->font, font)) return last_->glyphs;
  for (Face& f : faces_)
    if (sameKey(f.font, font)) {
      last_ = &f;
      return f.glyphs;
    }
  faces_.push_back(Face{keyOf(font), {}});
  last_ = &faces_.back();
  return last_->glyphs;
}

std::optional<TStrokeCollection> GlyphCache::strokesOf(const TFontDescription& font, char32_t c,
                                                       int precision) {
  if (glyphs_ >= maxGlyphs_) clear();
  Glyphs& glyphs = glyphsOf(font);
  // Code points need 21 bits; the precision is 1..100 but any int keeps its own key.
  const std::uint64_t key =
      (std::uint64_t{static_cast<std::uint32_t>(precision)} << 32) | std::uint64_t{c};
  if (const auto it = glyphs.find(key); it != glyphs.end()) return it->second;
  ++conversions_;
  const auto added = glyphs.emplace(key, source_.strokesOf(font, c, precision)).first;
  ++glyphs_;
  return added->second;
}

void GlyphCache::clear() {
  faces_.clear();
  last_ = nullptr;
  glyphs_ = 0;
}

}  // namespace kerfline
