#include "typography/shaped_layout.h"

#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>

#include "export/text_export.h"
#include "typography/bidi_runs.h"
#include "typography/run_shaper.h"

namespace kerfline {
namespace {

constexpr char32_t kLf = 10;
constexpr char32_t kCr = 13;

// A font as far as shaping cares: colour, underline and the like do not break a run.
using FontKey = std::tuple<std::string, int, bool, bool, std::size_t>;

struct RunFont {
  TFontDescription font;
  std::size_t face = 0;
  float unitScale = 0;
};

class Shaper {
 public:
  Shaper(const TextSource& text, const ShapingOptions& options, TTTFToVectorConverter& converter)
      : text_(text), options_(options), converter_(converter) {}

  ShapedText run() {
    ShapedLine line;
    const std::int32_t length = text_.length();
    for (std::int32_t pos = 1; pos <= length; ++pos) {
      const char32_t c = text_.charAt(pos);
      if (c == kLf) {
        finishLine(line);
        line = ShapedLine{};
        line.lineFeed = pos;
        continue;
      }
      if (c == kCr) {
        line.breaks.push_back(pos);
        continue;
      }
      chars_.push_back(c);
      positions_.push_back(pos);
      fontKeys_.push_back(fontKeyOf(pos, c));
    }
    finishLine(line);
    return std::move(out_);
  }

 private:
  std::size_t fontKeyOf(std::int32_t pos, char32_t c) {
    TFontDescription font = text_.fontAt(pos);
    if (!lastFont_ || !(font == *lastFont_)) {
      converter_.SetFont(font);
      lastFont_ = font;
    }
    std::size_t face = kNoFace;
    std::optional<TFaceInfo> info;
    if (converter_.SingleLineFont() && converter_.SingleLineAdvance(c)) {
      face = kSingleLine;
    } else {
      info = converter_.FaceOfChar(c);
    }
    if (info) {
      auto found = faceIndex_.find(*info);
      if (found == faceIndex_.end()) {
        found = faceIndex_.emplace(*info, out_.faces.size()).first;
        out_.faces.push_back(*info);
      }
      face = found->second;
    }
    FontKey key{font.Name, font.Size, font.Bold, font.Italic, face};
    auto it = fontIndex_.find(key);
    if (it == fontIndex_.end()) {
      const float unitScale = unitScaleFor(options_.scale, font.Size);
      it = fontIndex_.emplace(std::move(key), fonts_.size()).first;
      fonts_.push_back(RunFont{std::move(font), face, unitScale});
    }
    return it->second;
  }

  void finishLine(ShapedLine& line) {
    std::set<std::size_t> seen;
    for (std::size_t key : fontKeys_) {
      if (seen.insert(key).second) line.fonts.push_back(fonts_[key].font);
    }
    double pen = 0;
    for (const TextRun& run : itemizeLine(chars_, fontKeys_)) placeRun(run, line, pen);
    line.advance = pen;
    out_.lines.push_back(std::move(line));
    chars_.clear();
    positions_.clear();
    fontKeys_.clear();
  }

  void placeRun(const TextRun& run, ShapedLine& line, double& pen) {
    const RunFont& font = fonts_[run.fontKey];
    if (font.face == kNoFace) return;  // no installed face at all: nothing to cut, no advance
    if (font.face == kSingleLine) {
      placeSingleLineRun(run, font, line, pen);
      return;
    }
    const TFaceInfo& face = out_.faces[font.face];
    if (face.unitsPerEm <= 0) return;
    const std::vector<ShapedGlyph> glyphs =
        shapeRunOrMap(face, chars_, run, options_.ligatures, converter_);

    // Font units to drawing units as the outlines are scaled: to the outline em first, then by
    // the output factor and UnitScale.
    const double toOutline = static_cast<double>(kOutlineEm) / face.unitsPerEm;
    const double toDrawing = drawingUnitsPerOutlineUnit(font.unitScale);
    // Synthetic bold widens every glyph by FreeType's strength, em / 24 (in 1/64 units).
    const double boldExtra =
        face.syntheticBold ? static_cast<double>(face.unitsPerEm * 64 / 24) / 64.0 : 0.0;
    const double trackingPerCharacter = options_.tracking * (kOutlineEm / 100.0) * toDrawing;

    // Characters per cluster: from its first code point up to the next cluster's.
    std::set<std::uint32_t> clusters;
    for (const ShapedGlyph& g : glyphs) clusters.insert(g.cluster);
    std::set<std::uint32_t> tracked;
    for (const ShapedGlyph& g : glyphs) {
      PlacedGlyph placed;
      placed.glyph = g.glyph;
      placed.face = font.face;
      placed.position = positions_[g.cluster];
      placed.character = chars_[g.cluster];
      placed.unitScale = font.unitScale;
      placed.x = pen + g.xOffset * toOutline * toDrawing;
      placed.y = g.yOffset * toOutline * toDrawing;
      double advance = g.xAdvance;
      if (advance != 0) advance += boldExtra;
      pen += advance * toOutline * toDrawing;
      if (tracked.insert(g.cluster).second) {
        placed.startsCluster = true;
        auto next = clusters.upper_bound(g.cluster);
        const std::size_t end = next == clusters.end() ? run.end : *next;
        pen += trackingPerCharacter * static_cast<double>(end - g.cluster);
      }
      line.glyphs.push_back(placed);
    }
  }

  // One glyph per character, each after the one before by the face's own advance (already in
  // outline units) plus tracking; a right-to-left run is laid from its last character on.
  void placeSingleLineRun(const TextRun& run, const RunFont& font, ShapedLine& line,
                          double& pen) {
    converter_.SetFont(font.font);
    lastFont_ = font.font;
    const double toDrawing = drawingUnitsPerOutlineUnit(font.unitScale);
    const double tracking = options_.tracking * (kOutlineEm / 100.0) * toDrawing;
    for (std::size_t k = run.start; k < run.end; ++k) {
      const std::size_t i = run.rightToLeft() ? run.end - 1 - (k - run.start) : k;
      PlacedGlyph placed;
      placed.singleLine = true;
      placed.position = positions_[i];
      placed.character = chars_[i];
      placed.startsCluster = true;
      placed.unitScale = font.unitScale;
      placed.x = pen;
      line.glyphs.push_back(placed);
      pen += converter_.SingleLineAdvance(chars_[i]).value_or(0.0) * toDrawing + tracking;
    }
  }

  static constexpr std::size_t kNoFace = static_cast<std::size_t>(-1);
  static constexpr std::size_t kSingleLine = static_cast<std::size_t>(-2);

  const TextSource& text_;
  const ShapingOptions& options_;
  TTTFToVectorConverter& converter_;
  ShapedText out_;
  std::u32string chars_;
  std::vector<std::int32_t> positions_;
  std::vector<std::size_t> fontKeys_;
  std::vector<RunFont> fonts_;
  std::map<FontKey, std::size_t> fontIndex_;
  struct FaceLess {
    bool operator()(const TFaceInfo& a, const TFaceInfo& b) const {
      return std::tie(a.file, a.index, a.syntheticBold, a.syntheticOblique) <
             std::tie(b.file, b.index, b.syntheticBold, b.syntheticOblique);
    }
  };
  std::map<TFaceInfo, std::size_t, FaceLess> faceIndex_;
  std::optional<TFontDescription> lastFont_;
};

}  // namespace

double drawingUnitsPerOutlineUnit(float unitScale) {
  // Two floats multiply exactly in double precision (24 + 24 significant bits).
  return static_cast<double>(kOutlineFactor) * static_cast<double>(unitScale);
}

ShapedText shapeText(const TextSource& text, const ShapingOptions& options,
                     TTTFToVectorConverter& converter) {
  return Shaper(text, options, converter).run();
}

}  // namespace kerfline
