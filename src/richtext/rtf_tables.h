#pragma once
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "common/font_description.h"
#include "richtext/rtf_state.h"

namespace kerfline::rtf {

/// Face used when a document names no font at all, or only fonts it never defines.
inline constexpr const char* kFallbackFaceName = "Times New Roman";

/// The code page that bytes in a font of the given \fcharset stand in: ANSI is Windows-1252,
/// DEFAULT is the document's code page, the East Asian sets their double-byte code pages.
int codePageOfRtfCharSet(int charSet, int documentCodePage);

/// The font table, the colour table and the document-wide settings of one RTF document, built
/// while the header is read and then used to resolve character formats.
class DocumentTables {
 public:
  /// \ansi, \mac, \pc, \pca, \ansicpgN: the code page of bytes in fonts without their own.
  void setDocumentCodePage(int codePage);
  /// The code page of bytes in fonts without a character set of their own.
  int documentCodePage() const { return documentCodePage_; }
  /// \deffN.
  void setDefaultFont(int number) { defaultFont_ = number; }

  /// \fN inside the font table: starts (or restarts) the definition of font N.
  void beginFont(int number);
  /// \fcharsetN of the font being defined.
  void setFontCharSet(int charSet);
  /// \fprqN of the font being defined.
  void setFontPitch(int pitchRequest);
  /// True while a font definition is open.
  bool definingFont() const { return defining_; }
  /// The code page in which the name bytes of the font being defined are written (the
  /// document's for a symbol font, whose name is plain text).
  int definingFontCodePage() const;
  /// Adds a character to the name (or, with alternative set, the \falt name) being defined.
  void appendFontName(char32_t c, bool alternative);
  /// Ends the definition (';' or the end of its group); a definition without a name is kept
  /// with the fallback face.
  void endFont();

  /// \redN, \greenN, \blueN of the colour entry being read (0 red, 1 green, 2 blue).
  void setColorComponent(int component, int value);
  /// ';' in the colour table: ends the entry; one without components is "auto".
  void endColor();
  /// The end of the colour table: an entry left without its ';' still counts.
  void closeColorTable();

  /// The code page of bytes written in font N (kDefaultFontNumber for the default font).
  int codePageOfFont(int number) const;
  /// Resolves a character format against the tables.
  TFontDescription describe(const CharFormat& format) const;

 private:
  struct FontEntry {
    std::u32string name;
    std::u32string altName;
    int charSet = charset::Default;
    TFontPitch pitch = TFontPitch::Default;
  };
  const FontEntry* findFont(int number) const;

  int documentCodePage_ = 1252;
  int defaultFont_ = 0;  // a file without \deff means its font 0
  std::unordered_map<int, FontEntry> fonts_;
  bool defining_ = false;
  int definingNumber_ = 0;
  FontEntry definingEntry_;

  struct ColorEntry {
    bool automatic = true;
    std::uint32_t rgb = 0;
  };
  std::vector<ColorEntry> colors_;
  int components_[3] = {0, 0, 0};
  bool anyComponent_ = false;
};

}  // namespace kerfline::rtf
