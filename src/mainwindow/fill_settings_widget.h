#pragma once
// The carve choice of the G-code export: profile, pocket, raised letters, V-carve, hatch or
// offset fill, with the fields each takes.
#include <QWidget>

#include "export/conversion_options.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QFormLayout;
class QLineEdit;
class QPushButton;

namespace kerfline {

/// What a G-code job makes of the letters, as dialog fields: the carve choice and the numbers
/// of the chosen operation (the others are hidden and disabled). Shows and fills
/// ConversionOptions::cut, ::fill and ::vcarve; a number left at its field's minimum where the
/// option has a default ("default", "none") stays unset.
class FillSettingsWidget final : public QWidget {
 public:
  /// The carve choices, in the order the combo box lists them.
  enum Carve { Profile, Pocket, Raised, VCarve, Hatch, OffsetFill };

  explicit FillSettingsWidget(QWidget* parent = nullptr);

  /// Shows options' operation and fill settings.
  void setOptions(const ConversionOptions& options);
  /// Writes the fields into options' cut and fill (other members untouched).
  void applyTo(ConversionOptions& options) const;

  QComboBox* carve = nullptr;              ///< profile, pocket, raised, V-carve, hatch, offset fill
  QDoubleSpinBox* toolDiameter = nullptr;  ///< pocket and raised
  QDoubleSpinBox* stepOver = nullptr;      ///< pocket, raised and V-carved floors, of the width
  QDoubleSpinBox* finishAllowance = nullptr;
  QDoubleSpinBox* margin = nullptr;        ///< raised; the minimum reads "default"
  QDoubleSpinBox* interval = nullptr;      ///< hatch and offset fill
  QDoubleSpinBox* hatchAngle = nullptr;    ///< hatch, degrees
  QCheckBox* crossHatch = nullptr;
  QCheckBox* unidirectional = nullptr;
  QDoubleSpinBox* overscan = nullptr;      ///< hatch with the laser; the minimum reads "none"
  QCheckBox* fillOutline = nullptr;
  // V-carve (the depth per pass is the G-code settings' own field).
  QDoubleSpinBox* bitAngle = nullptr;      ///< the V-bit's included angle, degrees
  QDoubleSpinBox* bitDiameter = nullptr;   ///< the minimum reads "none"
  QDoubleSpinBox* maxDepth = nullptr;      ///< the minimum reads "none"
  QDoubleSpinBox* clearTool = nullptr;     ///< with a clearing program's file only
  QLineEdit* clearOutput = nullptr;        ///< empty: the V-bit clears the floors
  QPushButton* browseClearOutput = nullptr;
  // V-carved inlays: the pocket or the plug that fills it, and their numbers.
  enum Inlay { NoInlay, InlayPocket, InlayPlug };  ///< in the order the combo box lists them
  QComboBox* inlay = nullptr;
  QDoubleSpinBox* inlayDepth = nullptr;   ///< the minimum reads "default" (the maximum depth)
  QDoubleSpinBox* inlayMargin = nullptr;  ///< the plug only; the minimum reads "default"
  QDoubleSpinBox* glueGap = nullptr;      ///< the minimum reads "default"

 private:
  void addCarveRows();
  void updateEnabled();

  QFormLayout* form_ = nullptr;
};

}  // namespace kerfline
