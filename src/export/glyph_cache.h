#pragma once
#include <cstddef>
#include <cstdint>
#include <list>
#include <optional>
#include <unordered_map>

#include "common/font_description.h"
#include "export/layout_walk.h"

namespace kerfline {

/// A glyph source that remembers what another one gave, per font, character and precision,
/// so that walking a text again converts only the glyphs it has not seen. The size and
/// colour of a font do not change its strokes (they come at the fixed outline em) and are
/// not part of the key. One cache per thread: it does no locking.
class GlyphCache final : public GlyphSource {
 public:
  /// Asks source on a miss; source must outlive the cache. Once more than maxGlyphs are
  /// held, the cache starts afresh (a text of a few fonts holds a few hundred).
  explicit GlyphCache(GlyphSource& source, std::size_t maxGlyphs = 1u << 16)
      : source_(source), maxGlyphs_(maxGlyphs) {}

  std::optional<TStrokeCollection> strokesOf(const TFontDescription& font, char32_t c,
                                             int precision) override;
  /// Asked of the source every time: records are flattened once per tolerance by whoever
  /// asks (the cut-ready cache), so keeping them here would only hold memory twice.
  bool outlineOf(const TFontDescription& font, char32_t c, Outline& dest) override {
    return source_.outlineOf(font, c, dest);
  }

  /// Glyphs held, and the conversions asked of the source so far.
  std::size_t size() const { return glyphs_; }
  std::size_t conversions() const { return conversions_; }
  /// Forgets every glyph.
  void clear();

 private:
  using Glyphs = std::unordered_map<std::uint64_t, std::optional<TStrokeCollection>>;
  struct Face {
    TFontDescription font;  ///< size and colour zeroed
    Glyphs glyphs;
  };

  Glyphs& glyphsOf(const TFontDescription& font);

  GlyphSource& source_;
  std::size_t maxGlyphs_;
  std::list<Face> faces_;  // few entries; a list keeps each Face in place for last_
  Face* last_ = nullptr;   // the face of the previous character: a text changes font rarely
  std::size_t glyphs_ = 0;
  std::size_t conversions_ = 0;
};

}  // namespace kerfline
