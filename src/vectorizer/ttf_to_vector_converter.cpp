#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H
#include FT_ADVANCES_H

#include <utility>

#include "common/code_pages.h"
#include "common/utf8.h"
#include "vectorizer/UTTF2Vct.h"
#include "vectorizer/font_library.h"
#include "vectorizer/glyph_outline.h"
#include "vectorizer/outline_walk.h"
#include "vectorizer/single_line_faces.h"

namespace kerfline {

namespace {

bool isCharacter(std::int32_t code) {
  return code >= 0 && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF);
}

std::optional<TFaceInfo> infoOf(const FaceMatch& match) {
  if (match.face == nullptr) return std::nullopt;
  const FT_Face face = match.face->face.get();
  TFaceInfo info;
  info.file = match.face->file;
  info.index = match.face->index;
  info.unitsPerEm = face->units_per_EM;
  // The horizontal header as the font has it; FreeType's own ascender may come from OS/2
  // instead, and CFF fonts without the table fall back to those values.
  if (const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA))) {
    info.ascender = hhea->Ascender;
    info.descender = hhea->Descender;
    info.lineGap = hhea->Line_Gap;
  } else {
    info.ascender = face->ascender;
    info.descender = face->descender;
    info.lineGap = face->height - face->ascender + face->descender;
  }
  info.syntheticBold = match.synthesis.embolden;
  info.syntheticOblique = match.synthesis.oblique;
  return info;
}

}  // namespace

TTTFToVectorConverter::TTTFToVectorConverter() : TTTFToVectorConverter(FontLibrary::shared()) {}

TTTFToVectorConverter::TTTFToVectorConverter(std::shared_ptr<FontLibrary> fonts)
    : fonts_(std::move(fonts)) {
  font_.Name = "Arial";
  font_.Size = 28;
}

TTTFToVectorConverter::~TTTFToVectorConverter() = default;

bool TTTFToVectorConverter::SingleLineFont() const {
  return SingleLineFaces::shared().find(font_.Name) != nullptr;
}

std::optional<double> TTTFToVectorConverter::SingleLineAdvance(char32_t c) const {
  const LoadedSingleLineFace* face = SingleLineFaces::shared().find(font_.Name);
  if (face == nullptr) return std::nullopt;
  const auto it = face->font.glyphs.find(c);
  if (it == face->font.glyphs.end()) {
    // LFF files leave the space out: it advances by the word spacing.
    if (c == U' ' && face->font.format == SingleLineFormat::Lff)
      return face->font.wordSpacing * face->metrics.scale;
    return std::nullopt;
  }
  TStrokeCollection strokes;
  appendSingleLineStrokes(face->font, face->metrics, it->second, 1, strokes);
  return strokes.advance();
}

std::optional<TStrokeCollection> TTTFToVectorConverter::singleLineStrokes(
    const LoadedSingleLineFace& face, std::int32_t code) const {
  char32_t c = 0;
  if (unicode_) {
    if (!isCharacter(code)) return std::nullopt;
    c = static_cast<char32_t>(code);
  } else {
    const auto byte = static_cast<std::uint8_t>(code & 0xFF);
    c = decodeByte(codePageOfCharSet(font_.CharSet), byte);
    if (c == kReplacementChar) return std::nullopt;
    if (c >= 0xF000 && c <= 0xF0FF) c = byte;  // a symbol code point means the byte itself here
  }
  const auto it = face.font.glyphs.find(c);
  if (it == face.font.glyphs.end()) return std::nullopt;
  TStrokeCollection strokes;
  appendSingleLineStrokes(face.font, face.metrics, it->second, precision_, strokes);
  // A glyph without a line (the space) has nothing to cut, as an empty outline has not.
  if (strokes.Count() == 0) return std::nullopt;
  return strokes;
}

// Shared by conversion by character and by index so that both give the same strokes for the
// same glyph.
std::optional<TStrokeCollection> TTTFToVectorConverter::strokesOfGlyph(FontFace& face,
                                                                       unsigned glyph,
                                                                       const Synthesis& synthesis,
                                                                       char32_t c,
                                                                       bool* unloadable) {
  std::string failure;
  if (!loadGlyphOutline(face.face.get(), glyph, synthesis, outline_, &failure)) {
    if (unloadable != nullptr) *unloadable = !failure.empty();
    if (!failure.empty()) noteFailure({face.file, face.index, glyph, c, std::move(failure)});
    return std::nullopt;
  }
  TStrokeCollection strokes;
  walkOutline(outline_, precision_, strokes);
  // Contours that all collapse to single points leave nothing to cut or draw.
  if (strokes.Count() == 0) return std::nullopt;
  return strokes;
}

void TTTFToVectorConverter::noteFaceFailure(const FaceMatch& match) {
  if (match.face == nullptr && !match.failure.empty())
    noteFailure({match.failedFile, match.failedIndex, std::nullopt, 0, match.failure});
}

void TTTFToVectorConverter::noteFailedFace(const std::string& file, int index) {
  std::string failure = fonts_->faceFailure(file, index);
  if (!failure.empty()) noteFailure({file, index, std::nullopt, 0, std::move(failure)});
}

void TTTFToVectorConverter::noteFailure(LoadFailure failure) {
  const std::int64_t glyph = failure.glyph ? std::int64_t{*failure.glyph} : -1;
  if (failureKeys_.emplace(failure.file, failure.faceIndex, glyph).second)
    failures_.push_back(std::move(failure));
}

void TTTFToVectorConverter::ClearLoadFailures() {
  failures_.clear();
  failureKeys_.clear();
}

void TTTFToVectorConverter::SetPrecision(int v) {
  if (v >= 1 && v <= 100) precision_ = v;
}

std::optional<TStrokeCollection> TTTFToVectorConverter::ConvertChar(std::int32_t Code) {
  // Conversions always take the glyph at the fixed outline em; the size says so afterwards.
  font_.Size = 1024;

  // A single-line face draws the characters it has; the others fall back to the outline
  // faces as for any face that lacks a character.
  if (const LoadedSingleLineFace* face = SingleLineFaces::shared().find(font_.Name)) {
    if (auto strokes = singleLineStrokes(*face, Code)) return strokes;
  }

  auto lock = fonts_->lock();
  const FaceMatch* use = &fonts_->match(font_.Name, font_.Bold, font_.Italic);
  noteFaceFailure(*use);
  unsigned glyph = 0;
  char32_t c = 0;
  if (unicode_) {
    if (!isCharacter(Code)) return std::nullopt;
    c = static_cast<char32_t>(Code);
  } else {
    const auto byte = static_cast<std::uint8_t>(Code & 0xFF);
    if (use->face != nullptr) glyph = symbolGlyphIndexOf(*use->face, byte);
    if (glyph == 0) {
      const int codePage = codePageOfCharSet(font_.CharSet);
      c = decodeByte(codePage, byte);
      // A byte the code page leaves undefined names no character: nothing to cut.
      if (c == kReplacementChar) return std::nullopt;
      // Symbol code points (U+F000 + byte) mean nothing to a text face: take the byte as
      // Latin-1 there, as the system does when a symbol charset meets a text font.
      if (c >= 0xF000 && c <= 0xF0FF && (use->face == nullptr || use->face->symbolMap == nullptr))
        c = byte;
    }
  }
  if (glyph == 0 && use->face != nullptr) glyph = glyphIndexOf(*use->face, c);
  if (glyph != 0) {
    // A glyph that loads (even an empty one) is the character's; one that cannot be loaded
    // is treated as missing from its face, so another face that has the character may draw it.
    bool unloadable = false;
    auto strokes = strokesOfGlyph(*use->face, glyph, use->synthesis, c, &unloadable);
    if (!unloadable || c == 0) return strokes;
  }
  const FontFace* unusable = use->face;
  use = &fonts_->fallback(font_.Name, font_.Bold, font_.Italic, c);
  noteFaceFailure(*use);
  if (use->face == nullptr || use->face == unusable) return std::nullopt;
  glyph = glyphIndexOf(*use->face, c);
  if (glyph == 0) return std::nullopt;
  return strokesOfGlyph(*use->face, glyph, use->synthesis, c);
}

// ConvertChar chooses the face and glyph (fallbacks and unloadable glyphs included) and leaves
// the records it walked in outline_: one choice serves the strokes and the records alike, at
// the price of a walk that is cheap beside loading the glyph.
bool TTTFToVectorConverter::OutlineOfChar(std::int32_t Code, Outline& dest) {
  dest.clear();
  const std::optional<TStrokeCollection> strokes = ConvertChar(Code);
  if (!strokes || strokes->openPaths()) return false;
  dest = outline_;
  return true;
}

bool TTTFToVectorConverter::OutlineOfGlyph(const TFaceInfo& face, std::uint32_t glyph,
                                           Outline& dest) {
  dest.clear();
  if (!ConvertGlyph(face, glyph)) return false;
  dest = outline_;
  return true;
}

std::optional<TFaceInfo> TTTFToVectorConverter::MatchedFace() {
  auto lock = fonts_->lock();
  return infoOf(fonts_->match(font_.Name, font_.Bold, font_.Italic));
}

std::optional<TFaceInfo> TTTFToVectorConverter::FaceOfChar(char32_t c) {
  auto lock = fonts_->lock();
  const FaceMatch& matched = fonts_->match(font_.Name, font_.Bold, font_.Italic);
  if (matched.face != nullptr && glyphIndexOf(*matched.face, c) != 0) return infoOf(matched);
  const FaceMatch& other = fonts_->fallback(font_.Name, font_.Bold, font_.Italic, c);
  if (other.face != nullptr) return infoOf(other);
  return infoOf(matched);
}

std::optional<TStrokeCollection> TTTFToVectorConverter::ConvertGlyph(const TFaceInfo& face,
                                                                      std::uint32_t glyph) {
  font_.Size = 1024;  // as ConvertChar: the fixed outline em
  auto lock = fonts_->lock();
  FontFace* use = fonts_->face(face.file, face.index);
  if (use == nullptr) {
    noteFailedFace(face.file, face.index);
    return std::nullopt;
  }
  Synthesis synthesis;
  synthesis.embolden = face.syntheticBold;
  synthesis.oblique = face.syntheticOblique;
  return strokesOfGlyph(*use, glyph, synthesis, 0);
}

std::optional<std::pair<std::uint32_t, std::int32_t>> TTTFToVectorConverter::GlyphAndAdvance(
    const TFaceInfo& face, char32_t c) {
  auto lock = fonts_->lock();
  FontFace* use = fonts_->face(face.file, face.index);
  if (use == nullptr) {
    noteFailedFace(face.file, face.index);
    return std::nullopt;
  }
  const unsigned glyph = glyphIndexOf(*use, c);
  FT_Fixed advance = 0;
  if (FT_Get_Advance(use->face.get(), glyph, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING, &advance) != 0)
    advance = 0;
  return std::make_pair(static_cast<std::uint32_t>(glyph), static_cast<std::int32_t>(advance));
}

}  // namespace kerfline
