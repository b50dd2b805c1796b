#pragma once
// Shared helpers of the export tests: a temporary folder, an in-memory text, hand-made glyphs
// and a reader that splits a DXF file into its lines.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "common/error.h"
#include "common/text_source.h"
#include "export/layout_walk.h"
#include "vectorizer/stroke_collection.h"

namespace kerfline::test {

/// Pins both the exception type and the user's message.
#define EXPECT_ERROR_MSG(statement, message)                          \
  do {                                                                \
    try {                                                             \
      statement;                                                      \
      ADD_FAILURE() << "no kerfline::Error thrown";                   \
    } catch (const ::kerfline::Error& e) {                            \
      EXPECT_STREQ(e.what(), message);                                \
    }                                                                 \
  } while (false)

/// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::string file(const std::string& name) const { return (path_ / name).string(); }
  /// Names of everything in the folder, sorted.
  std::vector<std::string> entries() const;

 private:
  std::filesystem::path path_;
};

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);

/// A text of code points, every position in the same font unless set otherwise.
class MemoryText final : public TextSource {
 public:
  explicit MemoryText(std::u32string text, TFontDescription font = {});
  /// Gives position pos (1-based) its own font.
  void setFont(std::int32_t pos, const TFontDescription& font);
  std::int32_t length() const override;
  char32_t charAt(std::int32_t pos) const override;
  TFontDescription fontAt(std::int32_t pos) const override;

 private:
  std::u32string text_;
  std::vector<TFontDescription> fonts_;
};

/// Glyphs made by hand: a character's collection, or nothing for characters not listed.
class FakeGlyphs final : public GlyphSource {
 public:
  /// One contour per inner vector, its points joined in order and closed back to the first.
  void set(char32_t c, const std::vector<std::vector<std::pair<int, int>>>& contours);
  /// The exact strokes given, in order; openPaths marks them as a single-line face's paths.
  void setStrokes(char32_t c, const std::vector<TStroke>& strokes, bool openPaths = false);
  std::optional<TStrokeCollection> strokesOf(const TFontDescription& font, char32_t c,
                                             int precision) override;
  /// The (character, point size, precision) of every request, in order.
  std::vector<std::tuple<char32_t, int, int>> requests;

 private:
  std::map<char32_t, TStrokeCollection> glyphs_;
};

/// Runs body in a forked child and returns the text it returned (or "exception: <what>"),
/// for checks that need another user or a private mount namespace. "skip: <why>" by convention
/// when the child cannot set itself up.
std::string inChild(const std::function<std::string()>& body);

/// In a child: drops root to nobody (65534) so that permission bits count, then runs body.
std::string asUnprivilegedUser(const std::function<std::string()>& body);

/// In a child with a private mount namespace: mounts a tmpfs of sizeBytes at folder, then
/// runs body. The mount vanishes with the child.
std::string onTinyFileSystem(const std::string& folder, std::size_t sizeBytes,
                             const std::function<std::string()>& body);

/// The lines of a DXF file without their CR LF; fails the test on a line not ending so.
std::vector<std::string> dxfLines(const std::string& bytes);

/// The standard output of /usr/bin/python3 running the script (under tests/) on file; a
/// failing run answers "failed: " and what it printed.
std::string runPythonReader(const std::string& script, const std::string& file);

/// The float written as text (parsed with the C library, for checks independent of DxfReal).
double numberOf(const std::string& text);

}  // namespace kerfline::test
