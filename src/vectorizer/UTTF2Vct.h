#pragma once
// The glyph vectorizer: one character of a font -> closed contours of straight strokes.
#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "common/font_description.h"
#include "vectorizer/load_failure.h"
#include "vectorizer/outline_records.h"
#include "vectorizer/stroke.h"
#include "vectorizer/stroke_collection.h"

namespace kerfline {

class FontLibrary;
struct LoadedSingleLineFace;
struct FaceMatch;
struct FontFace;
struct Synthesis;

/// A face the conversions take glyphs from, as a shaper must open it too: the file and face
/// fontconfig chose, the font-unit metrics of its horizontal header and the style the outlines
/// are given synthetically.
struct TFaceInfo {
  std::string file;               ///< font file fontconfig chose
  int index = 0;                  ///< face index within that file
  int unitsPerEm = 0;             ///< font units per em (U of the outline scale)
  int ascender = 0;               ///< hhea ascender, font units
  int descender = 0;              ///< hhea descender, font units (negative below the baseline)
  int lineGap = 0;                ///< hhea line gap, font units
  bool syntheticBold = false;     ///< outlines are emboldened by em / 24
  bool syntheticOblique = false;  ///< outlines are slanted by FreeType's oblique shear

  friend bool operator==(const TFaceInfo&, const TFaceInfo&) = default;
};

/// Em height of every conversion in outline units: 1024 points at a fixed 96 pixels per inch.
inline constexpr int kOutlineEm = 1365;

/// Converts characters of the font described by Font() into stroke collections.
class TTTFToVectorConverter {
 public:
  /// A new converter: "Arial" at 28 points, Precision 8, UNICODE false.
  TTTFToVectorConverter();
  /// The same, finding its faces in fonts instead of the process-wide library.
  explicit TTTFToVectorConverter(std::shared_ptr<FontLibrary> fonts);
  ~TTTFToVectorConverter();
  TTTFToVectorConverter(const TTTFToVectorConverter&) = delete;
  TTTFToVectorConverter& operator=(const TTTFToVectorConverter&) = delete;

  /// The font conversions use; its Size is 1024 after any conversion.
  const TFontDescription& Font() const { return font_; }
  /// Copies every attribute of f into the converter's own font.
  void SetFont(const TFontDescription& f) { font_ = f; }

  /// Strokes per curve piece.
  int Precision() const { return precision_; }
  /// Stores v only when 1 <= v <= 100; anything else is ignored.
  void SetPrecision(int v);

  /// True: Code is a Unicode code point. False: Code is a byte of the font's character set.
  bool UNICODE() const { return unicode_; }
  void SetUNICODE(bool v) { unicode_ = v; }

  /// The strokes of character Code, or nothing when no installed face has an outline for it.
  /// Where Font() names a single-line face that has the character, its open paths (marked
  /// so in the collection). The collection belongs to the caller. Never throws for a missing
  /// font or glyph; throws Error when the font engine could not be started. A face or glyph
  /// that cannot be loaded is noted in LoadFailures() and the character is then treated as
  /// one the face lacks (another face that has it, or nothing).
  std::optional<TStrokeCollection> ConvertChar(std::int32_t Code);

  /// True when Font() names a single-line face (drawn as open paths, not shaped as outlines).
  bool SingleLineFont() const;
  /// Where Font() names a single-line face that has Unicode character c: its advance in
  /// outline units, the glyph's width plus the face's letter spacing (Hershey: its bounds; a
  /// space of an LFF face: its word spacing). Nothing otherwise.
  std::optional<double> SingleLineAdvance(char32_t c) const;
  /// The face fontconfig chooses for Font() (name, bold, italic), or nothing when none is usable.
  std::optional<TFaceInfo> MatchedFace();
  /// The face a Unicode conversion of c takes its glyph from: the matched face when it has c,
  /// else the best face that has it; the matched face when no face has c; nothing without one.
  std::optional<TFaceInfo> FaceOfChar(char32_t c);
  /// The strokes of glyph index glyph of face (from MatchedFace() or FaceOfChar()), with the
  /// same records, rounding and flattening as ConvertChar; nothing when it has no outline.
  std::optional<TStrokeCollection> ConvertGlyph(const TFaceInfo& face, std::uint32_t glyph);
  /// The outline records (outline units, unhinted, synthesis applied) of the glyph ConvertChar
  /// takes for Code, for flattening at a tolerance (vectorizer/tolerance_flattening.h) instead
  /// of Precision. False, dest empty, where ConvertChar gives nothing or the open paths of a
  /// single-line face (those have no records: take ConvertChar's strokes).
  bool OutlineOfChar(std::int32_t Code, Outline& dest);
  /// The outline records of glyph index glyph of face, as ConvertGlyph would walk them; false,
  /// dest empty, when it has none.
  bool OutlineOfGlyph(const TFaceInfo& face, std::uint32_t glyph, Outline& dest);
  /// The glyph index of c in face (0 when the face lacks it) and its unhinted advance width in
  /// font units from the face's own metrics: placement for faces no shaper can read (Type 1).
  /// Nothing when the face cannot be opened.
  std::optional<std::pair<std::uint32_t, std::int32_t>> GlyphAndAdvance(const TFaceInfo& face,
                                                                        char32_t c);

  /// Faces and glyphs the conversions since the last ClearLoadFailures() could not load, each
  /// once, in the order they were met.
  const std::vector<LoadFailure>& LoadFailures() const { return failures_; }
  /// Forgets the failures noted so far (a new job starts).
  void ClearLoadFailures();

 private:
  std::optional<TStrokeCollection> singleLineStrokes(const LoadedSingleLineFace& face,
                                                     std::int32_t code) const;
  // Outline, records and strokes of glyph in face (character c, 0 when unknown); a glyph that
  // cannot be loaded is noted, and unloadable, when given, says whether that was the case.
  std::optional<TStrokeCollection> strokesOfGlyph(FontFace& face, unsigned glyph,
                                                  const Synthesis& synthesis, char32_t c,
                                                  bool* unloadable = nullptr);
  // Notes the face of match when it is null because its file cannot be opened.
  void noteFaceFailure(const FaceMatch& match);
  // Notes face index of file when the library could not open it.
  void noteFailedFace(const std::string& file, int index);
  void noteFailure(LoadFailure failure);

  TFontDescription font_;
  int precision_ = 8;
  bool unicode_ = false;
  std::shared_ptr<FontLibrary> fonts_;  // process-wide cache of matches and open faces
  Outline outline_;  // the glyph being converted; kept so its storage serves the next one
  std::vector<LoadFailure> failures_;
  // File, face index and glyph (-1: the face) of each failure, so each is noted once however
  // often a text asks for it.
  std::set<std::tuple<std::string, int, std::int64_t>> failureKeys_;
};

}  // namespace kerfline
