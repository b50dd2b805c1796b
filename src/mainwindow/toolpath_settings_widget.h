#pragma once
// The weld, kerf and G-code fields of the export dialog.
#include <QWidget>

#include "export/conversion_options.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QSpinBox;

namespace kerfline {

/// Weld, kerf (width and side), cut order, leads, curve tolerance and arcs, and the G-code
/// machine settings as dialog
/// fields. Shows and
/// fills the corresponding members of a ConversionOptions; feeds left at "default" stay unset
/// so that the writer's defaults for the unit apply.
class ToolpathSettingsWidget final : public QWidget {
 public:
  explicit ToolpathSettingsWidget(QWidget* parent = nullptr);

  /// Shows weld, kerf, kerf side and G-code settings of options.
  void setOptions(const ConversionOptions& options);
  /// Writes the fields into options (other members untouched).
  void applyTo(ConversionOptions& options) const;
  /// Units of the feeds' and kerf's captions and of the default feeds shown.
  void setUnits(DrawingUnits units);
  /// Shows or hides the G-code group (only the G-code export uses it).
  void setGcodeVisible(bool visible);

  QCheckBox* weld = nullptr;             ///< union of overlapping outlines
  QCheckBox* kerfEnabled = nullptr;      ///< offset for the kerf at all
  QDoubleSpinBox* kerfWidth = nullptr;   ///< kerf width, drawing units
  QComboBox* kerfSide = nullptr;         ///< outside, inside, on (KerfSide order)
  QComboBox* order = nullptr;            ///< the form's own, then CutOrder's order
  QDoubleSpinBox* leadIn = nullptr;      ///< lead-in length; the minimum reads "none"
  QDoubleSpinBox* leadOut = nullptr;     ///< lead-out length; the minimum reads "none"
  QDoubleSpinBox* overcut = nullptr;     ///< overcut length; the minimum reads "none"
  QComboBox* leadShape = nullptr;        ///< line, arc (LeadShape order)
  QDoubleSpinBox* tolerance = nullptr;   ///< curve tolerance; the minimum reads "resolution"
  QCheckBox* arcs = nullptr;             ///< lines and arcs fitted within the tolerance
  QDoubleSpinBox* feed = nullptr;        ///< cutting feed; the minimum reads "default"
  QDoubleSpinBox* plungeFeed = nullptr;  ///< plunge feed; the minimum reads "default"
  QCheckBox* spindle = nullptr;          ///< M3 S<rpm> after the header
  QSpinBox* spindleRpm = nullptr;
  QCheckBox* passes = nullptr;           ///< several passes per contour
  QDoubleSpinBox* depthPerPass = nullptr;
  QCheckBox* laser = nullptr;            ///< no Z moves, M4/M5 around each contour
  QDoubleSpinBox* power = nullptr;       ///< laser power S

 private:
  void updateEnabled();

  QWidget* gcodeGroup_ = nullptr;
};

}  // namespace kerfline
