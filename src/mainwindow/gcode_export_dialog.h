#pragma once
// The settings asked before a G-code export: units, weld, kerf and machine settings.
#include <QDialog>

#include "export/conversion_options.h"

class QComboBox;

namespace kerfline {

class FillSettingsWidget;
class ToolpathSettingsWidget;

/// A modal dialog holding the unit choice and a ToolpathSettingsWidget with OK and Cancel.
class GcodeExportDialog final : public QDialog {
 public:
  /// Shows options' units, weld, kerf and G-code settings.
  GcodeExportDialog(const ConversionOptions& options, QWidget* parent = nullptr);
  /// The shown options with the dialog's fields applied.
  ConversionOptions options() const;

  QComboBox* units = nullptr;                  ///< millimetres, inches (DrawingUnits order)
  ToolpathSettingsWidget* toolpath = nullptr;  ///< weld, kerf and G-code fields
  FillSettingsWidget* fill = nullptr;          ///< the carve choice and its fields

 private:
  ConversionOptions options_;
};

}  // namespace kerfline
