#pragma once
#include <span>
#include <vector>
#include <memory>
#include <string>
#include <string_view>

#include "export/conversion_options.h"
#include "export/output_buffer.h"
#include "export/number_text_cache.h"
#include "export/output_file.h"
#include "geometry/contour.h"

namespace kerfline {

/// The drawing as a standalone SVG 1.1 file at path: width and height its page (else its
/// extent) in the options' unit, a viewBox in drawing units with Y turned to grow downward,
/// one layer group (fill none, hairline stroke) holding one path per character, its closed
/// rings as closed subpaths and its open paths open, in the drawing's order. Written to a
/// temporary file and renamed; throws Error with the user's message, leaving any previous
/// file untouched.
void saveSvg(const std::string& path, const Drawing& drawing, const ConversionOptions& options);

/// The hairline every path is stroked with unless it says otherwise: 0.001 inch, the width
/// laser drivers take for "cut this line", in units (inch or millimetre).
double svgHairline(DrawingUnits units);

/// Longest text writeSvgNumber gives (the fixed form of the smallest subnormal is 48).
inline constexpr int kSvgNumberMaxLength = 64;

/// Writes appendSvgNumber's text of v at out, which has room for kSvgNumberMaxLength chars;
/// returns the end.
char* writeSvgNumber(char* out, float v);

/// saveSvg written character by character, for a drawing too big to hold: the extent and layer
/// are given first, then every character in order, then commit.
class SvgStream {
 public:
  /// Opens the temporary file beside path and writes the header for extent and layer.
  SvgStream(const std::string& path, const Extent& extent, const std::string& layer,
            const ConversionOptions& options);
  /// Writes one character's path; bulges, when not empty, holds one list per contour of the
  /// bulges of the pieces leaving its points (arc_path.h), written as arcs.
  void character(const PlacedCharacter& c, std::span<const std::vector<double>> bulges = {});
  /// Starts a group inside the layer; attributes is its attribute text, already escaped
  /// (e.g. `stroke-linecap="round"`). Ends at endGroup().
  void beginGroup(std::string_view attributes);
  void endGroup();
  /// One open path through points as a path element of its own, stroked width wide (drawing
  /// units; the layer's hairline where width is 0).
  void polyline(std::span<const Vec2> points, float width);
  /// Ends the file and renames it over path; throws Error as saveSvg.
  void commit();

 private:
  OutputFile file_;
  OutputBuffer out_;
  // Heights repeat in every letter of a line (three in four are met again); X values seldom do.
  std::unique_ptr<NumberTextCache<writeSvgNumber, kSvgNumberMaxLength, 10>> yTexts_;
};

/// Appends v as the shortest plain decimal (never exponent form) that reads back as the same
/// single-precision value; both zeros are "0". Throws Error("Coordinate out of range.") for
/// an infinity or NaN.
void appendSvgNumber(std::string& out, float v);

/// The id for a layer group: the layer name itself where it is an XML name made of ASCII
/// letters, digits, "_", "-" and "." that starts with a letter or "_"; otherwise each other
/// character becomes "_" and a leading "_" is added where the name starts with none of those.
std::string svgLayerId(const std::string& utf8Layer);

}  // namespace kerfline
