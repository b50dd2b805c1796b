#pragma once
// The single-line faces installed on this machine, found by name.
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "vectorizer/single_line_font.h"
#include "vectorizer/single_line_glyph.h"

namespace kerfline {

/// One single-line face: a font file under a readable name.
struct SingleLineFace {
  std::string name;    ///< the name users choose it by (unique among single-line faces)
  std::string family;  ///< the name the file gives itself (LFF "Name"), or the readable name
  std::string path;    ///< the font file
  SingleLineFormat format = SingleLineFormat::Lff;
};

/// A face's font as read, with its mapping to outline units.
struct LoadedSingleLineFace {
  SingleLineFont font;
  SingleLineMetrics metrics;
};

/// The folders searched for single-line fonts: the Hershey and LFF folders of the system,
/// then $XDG_DATA_HOME/kerfline/fonts (~/.local/share/kerfline/fonts without the variable).
std::vector<std::string> defaultSingleLineFolders();

/// The readable name of a Hershey file by its name without ".jhf" ("futural" ->
/// "Hershey Sans"); "Hershey " and the file name for a file not in the table.
std::string hersheyFaceName(std::string_view stem);

/// A face name reduced for matching: ASCII letters lower-cased, blanks dropped, and a
/// trailing "(single-line)" mark dropped ("ISO 3098 (single-line)" -> "iso3098").
std::string faceKey(std::string_view name);

/// Names documents use for outline faces that fontconfig resolves by alias (generic families,
/// the word processors' symbol face), beside the installed families.
std::vector<std::string> outlineNamesInUse();

/// The mark the face lists put after a single-line face's name.
inline constexpr std::string_view kSingleLineMark = " (single-line)";

/// Single-line faces of a set of folders, listed on first use and read when first asked for.
class SingleLineFaces {
 public:
  /// The faces of defaultSingleLineFolders(), shared by the whole process.
  static SingleLineFaces& shared();

  /// Faces of the *.jhf and *.lff files directly in folders (missing folders are skipped).
  /// A face whose name is one of outlineNames (compared as faceKey does) is listed with its
  /// file name added, and that name never finds it: a document naming an outline face keeps
  /// getting the outline face.
  explicit SingleLineFaces(std::vector<std::string> folders,
                           std::vector<std::string> outlineNames = {});
  ~SingleLineFaces();
  SingleLineFaces(const SingleLineFaces&) = delete;
  SingleLineFaces& operator=(const SingleLineFaces&) = delete;

  /// Every face, sorted by name ignoring case.
  std::vector<SingleLineFace> faces();

  /// The face called name, its case and blanks ignored; where no face has that name, the
  /// first face whose file gives itself that name. Null when none does.
  std::unique_ptr<SingleLineFace> lookup(std::string_view name);

  /// The font of the face called name (as lookup finds it), read on first use and kept for
  /// the life of this object; null when no face has that name or its file cannot be read.
  const LoadedSingleLineFace* find(std::string_view name);

 private:
  void scan();                       // caller holds mutex_
  const SingleLineFace* locate(std::string_view name);  // caller holds mutex_
  const SingleLineFace* search(std::string_view name) const;  // caller holds mutex_

  struct Entry;
  std::mutex mutex_;
  std::vector<std::string> folders_;
  std::vector<std::string> reserved_;  // faceKey of every outline name
  bool scanned_ = false;
  std::vector<std::unique_ptr<Entry>> entries_;
  // Every name asked for, as given, and the face it found (null: none); the converter asks
  // once per character.
  std::unordered_map<std::string, const SingleLineFace*> located_;
};

}  // namespace kerfline
