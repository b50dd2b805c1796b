#pragma once
// Process-wide font cache: fontconfig matches and FreeType faces, opened once.
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

#include "vectorizer/glyph_outline.h"

struct FT_FaceRec_;
struct FT_LibraryRec_;
struct FT_CharMapRec_;

namespace kerfline {

/// Closes a FreeType face.
struct FaceCloser {
  void operator()(FT_FaceRec_* face) const;
};

/// One opened face of a font file, owned by the FontLibrary.
struct FontFace {
  std::unique_ptr<FT_FaceRec_, FaceCloser> face;  ///< the FreeType face
  std::string file;                               ///< the file it was opened from
  int index = 0;                                  ///< its face index in that file
  FT_CharMapRec_* unicodeMap = nullptr;           ///< its Unicode character map, if any
  FT_CharMapRec_* symbolMap = nullptr;            ///< its Windows symbol character map, if any
  bool italic = false;                            ///< the face itself is italic or oblique
};

/// A face chosen for a request and the style it must be given synthetically.
struct FaceMatch {
  FontFace* face = nullptr;  ///< null when no usable face was found
  Synthesis synthesis;
  /// Where face is null because the file fontconfig chose cannot be opened: that file, its
  /// face index and why (failure empty otherwise).
  std::string failedFile;
  int failedIndex = 0;
  std::string failure;
};

/// Glyph index of Unicode character c in face: Unicode map first, then the symbol map
/// (where 0xF000 + c and c itself are tried for c < 0x100); 0 when the face lacks it.
unsigned glyphIndexOf(FontFace& face, char32_t c);

/// Glyph index of a single-byte code in a symbol face: 0xF000 + b, then b; 0 when absent.
unsigned symbolGlyphIndexOf(FontFace& face, std::uint8_t b);

/// Starts FreeType (the signature of FT_Init_FreeType); 0 on success, else FreeType's error.
using FreeTypeStart = int (*)(FT_LibraryRec_** library);

/// fontconfig matching and FreeType faces, cached for the life of the process.
class FontLibrary {
 public:
  /// The one library of the process, created on first use.
  static std::shared_ptr<FontLibrary> shared();

  /// A library whose FreeType is started by start (FT_Init_FreeType unless a test says else).
  explicit FontLibrary(FreeTypeStart start = nullptr);
  ~FontLibrary();
  FontLibrary(const FontLibrary&) = delete;
  FontLibrary& operator=(const FontLibrary&) = delete;

  /// Holds the library (and every face) for one conversion; FreeType faces are not reentrant.
  [[nodiscard]] std::unique_lock<std::mutex> lock() { return std::unique_lock(mutex_); }

  /// Best installed face for family name, bold and italic (caller holds lock()). A name with a
  /// Windows script suffix ("Arial CE") that no installed family has is matched by its base
  /// name. Throws Error when FreeType could not be started.
  const FaceMatch& match(const std::string& name, bool bold, bool italic);

  /// Best installed face for the request that has character c; face null when none has it
  /// (caller holds lock()). Throws Error when FreeType could not be started.
  const FaceMatch& fallback(const std::string& name, bool bold, bool italic, char32_t c);

  /// The face of file at index, opened on first use; null when it cannot be opened or has no
  /// outlines (caller holds lock()).
  FontFace* face(const std::string& file, int index);

  /// Why face(file, index) gave null (FreeType's words, or that it has no outlines); empty
  /// when it gave a face or was never asked (caller holds lock()).
  std::string faceFailure(const std::string& file, int index) const;

 private:
  FaceMatch findMatch(const std::string& name, bool bold, bool italic, const char32_t* c);
  const std::string& familyToMatch(const std::string& name);
  void requireFreeType() const;

  struct LibraryDeleter {
    void operator()(FT_LibraryRec_* lib) const;
  };

  std::mutex mutex_;
  std::unique_ptr<FT_LibraryRec_, LibraryDeleter> library_;
  int startError_ = 0;  // FreeType's error when it could not be started
  std::unordered_map<std::string, std::string> families_;  // face name -> family to match
  std::unordered_map<std::string, std::unique_ptr<FontFace>> faces_;
  std::unordered_map<std::string, std::string> faceFailures_;  // same keys as faces_
  std::unordered_map<std::string, FaceMatch> matches_;
};

}  // namespace kerfline
