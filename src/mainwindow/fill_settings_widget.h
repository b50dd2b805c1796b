#pragma once
// The carve choice of the G-code export: profile, pocket, raised letters, hatch or offset fill,
// with the fields each takes.
#include <QWidget>

#include "export/conversion_options.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;

namespace kerfline {

/// What a G-code job makes of the letters, as dialog fields: the carve choice and the numbers
/// of the chosen fill (the others are disabled). Shows and fills ConversionOptions::cut and
/// ConversionOptions::fill; a number left at its field's minimum where the option has a
/// default ("default") stays unset.
class FillSettingsWidget final : public QWidget {
 public:
  /// The carve choices, in the order the combo box lists them.
  enum Carve { Profile, Pocket, Raised, Hatch, OffsetFill };

  explicit FillSettingsWidget(QWidget* parent = nullptr);

  /// Shows options' operation and fill settings.
  void setOptions(const ConversionOptions& options);
  /// Writes the fields into options' cut and fill (other members untouched).
  void applyTo(ConversionOptions& options) const;

  QComboBox* carve = nullptr;              ///< profile, pocket, raised, hatch, offset fill
  QDoubleSpinBox* toolDiameter = nullptr;  ///< pocket and raised
  QDoubleSpinBox* stepOver = nullptr;      ///< pocket and raised, fraction of the width
  QDoubleSpinBox* finishAllowance = nullptr;
  QDoubleSpinBox* margin = nullptr;        ///< raised; the minimum reads "default"
  QDoubleSpinBox* interval = nullptr;      ///< hatch and offset fill
  QDoubleSpinBox* hatchAngle = nullptr;    ///< hatch, degrees
  QCheckBox* crossHatch = nullptr;
  QCheckBox* unidirectional = nullptr;
  QDoubleSpinBox* overscan = nullptr;      ///< hatch with the laser; the minimum reads "none"
  QCheckBox* fillOutline = nullptr;

 private:
  void updateEnabled();
};

}  // namespace kerfline
