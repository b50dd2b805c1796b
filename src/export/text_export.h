#pragma once
#include <cstdint>
#include <string>

#include "common/font_description.h"
#include "common/text_source.h"

namespace kerfline {

class TTTFToVectorConverter;

/// The window fields an export reads, as texts and spin-box values (texts are UTF-8).
struct ExportSettings {
  std::string pitchText = "-2.000";  ///< Edit1; not a number -> -2
  std::string zMoveText = "1.00";    ///< ZmoveEdit; not a number -> 0
  std::string zLevelText = "0.00";   ///< ZlevelEdit; not a number -> 0
  std::string layerText = "0";       ///< Layername; trimmed, at most 255 bytes, "0" if empty
  int resolution = 2;                ///< Resolution1, 1..100: the converter's Precision
  int scale = 100;                   ///< ScaleEdit1 value
  int spacePercent = 10;             ///< SpacePc, 0..100
};

/// Told when a character of the walk becomes current, so the window can move its selection,
/// caret display and preview while the same walk runs headless.
class ExportObserver {
 public:
  virtual ~ExportObserver() = default;
  /// Position pos (1-based) holding character c in font is now current; unitScale is the
  /// value the export uses for it.
  virtual void characterBecameCurrent(std::int32_t pos, char32_t c, const TFontDescription& font,
                                      float unitScale) = 0;
};

/// Single-precision constant from outline units to drawing units before UnitScale.
inline constexpr float kOutlineFactor = 0.18f;

/// UnitScale of a character: scale / 100000 * pointSize in single precision, 1 when scale <= 0.
float unitScaleFor(int scale, int pointSize);

/// "Lines + Z moves": every stroke a LINE at ZLevel, plunge and retract around each contour.
/// Writes to a temporary file beside path and renames it over path when complete.
/// Throws Error with the user's message ("Invalid filename.", "Disk full.", ...) on failure,
/// leaving any previous file at path untouched.
void FileSave(const std::string& path, const TextSource& text, const ExportSettings& settings,
              TTTFToVectorConverter& converter, ExportObserver* observer = nullptr);

/// "PolyLines XY only": every stroke a two-vertex POLYLINE at ZLevel. Same failure rules.
void SavePoly2(const std::string& path, const TextSource& text, const ExportSettings& settings,
               TTTFToVectorConverter& converter, ExportObserver* observer = nullptr);

}  // namespace kerfline
