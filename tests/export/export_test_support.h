#pragma once
// Shared helpers of the export tests: an in-memory text, hand-made glyphs, a tiny file system
// and a reader that splits a DXF file into its lines (with the helpers every test shares).
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "child_process.h"
#include "common/error.h"
#include "expect_throw_msg.h"
#include "temp_dir.h"
#include "common/text_source.h"
#include "export/layout_walk.h"
#include "geometry/contour.h"
#include "vectorizer/stroke_collection.h"

namespace kerfline::test {

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);

/// A font description of face name at size points.
TFontDescription face(const char* name, int size, bool bold = false);

/// One character: a clockwise hole, its counter-clockwise outline, and an open stroke; every
/// value a short exact decimal so that expected texts can be written by hand. Layer "cut".
Drawing sampleDrawing();

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

/// In a child with a private mount namespace: mounts a tmpfs of sizeBytes at folder, then
/// runs body. The mount vanishes with the child.
std::string onTinyFileSystem(const std::string& folder, std::size_t sizeBytes,
                             const std::function<std::string()>& body);

/// The lines of a DXF file without their CR LF; fails the test on a line not ending so.
std::vector<std::string> dxfLines(const std::string& bytes);

/// Runs /usr/bin/python3 with the script (a path under tests/) and its arguments; returns
/// what it printed on standard output and error, or "exit <status>: <output>" on failure.
std::string runPython(const std::string& script, const std::vector<std::string>& args);

/// The float written as text (parsed with the C library, for checks independent of DxfReal).
double numberOf(const std::string& text);

}  // namespace kerfline::test
