#include "typography/run_shaper.h"

#include <hb-ot.h>
#include <hb.h>

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

namespace kerfline {
namespace {

template <auto Destroy>
struct HbDeleter {
  template <typename T>
  void operator()(T* p) const {
    Destroy(p);
  }
};
using HbFontPtr = std::unique_ptr<hb_font_t, HbDeleter<hb_font_destroy>>;
using HbBufferPtr = std::unique_ptr<hb_buffer_t, HbDeleter<hb_buffer_destroy>>;

// HarfBuzz fonts of the faces shaped so far, opened once for the life of the process like the
// vectorizer's FreeType faces. HarfBuzz fonts are safe to share between threads once made;
// the map itself is guarded.
class HbFonts {
 public:
  static HbFonts& shared() {
    static HbFonts fonts;
    return fonts;
  }

  // Null when the file cannot be read or the face is not in it.
  hb_font_t* font(const TFaceInfo& face) {
    std::lock_guard lock(mutex_);
    auto key = std::make_pair(face.file, face.index);
    if (auto it = fonts_.find(key); it != fonts_.end()) return it->second.get();
    HbFontPtr font;
    hb_blob_t* blob = hb_blob_create_from_file_or_fail(face.file.c_str());
    if (blob != nullptr) {
      hb_face_t* hbFace = hb_face_create(blob, static_cast<unsigned>(face.index));
      hb_blob_destroy(blob);
      if (hb_face_get_glyph_count(hbFace) > 0) {
        font.reset(hb_font_create(hbFace));
        // Font units: the scale is the face's own em, and without a ppem nothing is hinted.
        const int upem = static_cast<int>(hb_face_get_upem(hbFace));
        hb_font_set_scale(font.get(), upem, upem);
        hb_ot_font_set_funcs(font.get());
        hb_font_make_immutable(font.get());
      }
      hb_face_destroy(hbFace);
    }
    return fonts_.emplace(std::move(key), std::move(font)).first->second.get();
  }

 private:
  std::mutex mutex_;
  std::map<std::pair<std::string, int>, HbFontPtr> fonts_;
};

}  // namespace

std::vector<ShapedGlyph> shapeRun(const TFaceInfo& face, std::u32string_view line,
                                  const TextRun& run, bool ligatures) {
  std::vector<ShapedGlyph> out;
  hb_font_t* font = HbFonts::shared().font(face);
  if (font == nullptr || run.start >= run.end || run.end > line.size()) return out;

  static thread_local HbBufferPtr buffer(hb_buffer_create());
  hb_buffer_t* buf = buffer.get();
  hb_buffer_reset(buf);
  hb_buffer_add_utf32(buf, reinterpret_cast<const std::uint32_t*>(line.data()),
                      static_cast<int>(line.size()), static_cast<unsigned>(run.start),
                      static_cast<int>(run.end - run.start));
  hb_buffer_set_direction(buf, run.rightToLeft() ? HB_DIRECTION_RTL : HB_DIRECTION_LTR);
  hb_buffer_set_script(buf, static_cast<hb_script_t>(run.script));
  // No language: the result must not depend on the locale the program runs in.

  // One character stays one cut shape unless ligatures are asked for; the script's required
  // ligatures and joining forms are features HarfBuzz applies regardless.
  const unsigned on = ligatures ? 1 : 0;
  const hb_feature_t features[] = {
      {HB_TAG('l', 'i', 'g', 'a'), on, HB_FEATURE_GLOBAL_START, HB_FEATURE_GLOBAL_END},
      {HB_TAG('c', 'l', 'i', 'g'), on, HB_FEATURE_GLOBAL_START, HB_FEATURE_GLOBAL_END},
      {HB_TAG('d', 'l', 'i', 'g'), on, HB_FEATURE_GLOBAL_START, HB_FEATURE_GLOBAL_END},
  };
  hb_shape(font, buf, features, 3);

  unsigned count = 0;
  const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buf, &count);
  const hb_glyph_position_t* pos = hb_buffer_get_glyph_positions(buf, &count);
  out.reserve(count);
  for (unsigned i = 0; i < count; ++i) {
    out.push_back(ShapedGlyph{info[i].codepoint, info[i].cluster, pos[i].x_advance,
                              pos[i].y_advance, pos[i].x_offset, pos[i].y_offset});
  }
  return out;
}

std::vector<ShapedGlyph> shapeRunOrMap(const TFaceInfo& face, std::u32string_view line,
                                       const TextRun& run, bool ligatures,
                                       TTTFToVectorConverter& converter) {
  std::vector<ShapedGlyph> out = shapeRun(face, line, run, ligatures);
  if (!out.empty() || HbFonts::shared().font(face) != nullptr) return out;
  for (std::size_t i = run.start; i < run.end && i < line.size(); ++i) {
    const auto mapped = converter.GlyphAndAdvance(face, line[i]);
    if (!mapped) return {};
    out.push_back(ShapedGlyph{mapped->first, static_cast<std::uint32_t>(i), mapped->second, 0, 0, 0});
  }
  if (run.rightToLeft()) std::reverse(out.begin(), out.end());
  return out;
}

}  // namespace kerfline
