#pragma once
// The export dialog: what the closed-contour forms write (form, unit, size), one row per setting.
#include <QDialog>

#include "export/conversion_options.h"

class QComboBox;
class QDoubleSpinBox;
class QFormLayout;
class QLabel;

namespace kerfline {

class ToolpathSettingsWidget;

/// The modal dialog both export commands open; it shows and edits a ConversionOptions.
class ExportDialog final : public QDialog {
  Q_OBJECT
 public:
  explicit ExportDialog(QWidget* parent = nullptr);

  /// Shows the format, DXF version, unit, fit size, weld and kerf of options in the fields.
  void setOptions(const ConversionOptions& options);
  /// base with the fields' format, DXF version, unit, fit size, weld and kerf written into it.
  ConversionOptions options(ConversionOptions base) const;

 private:
  void updateSizeField();

  QFormLayout* form_ = nullptr;
  QComboBox* format_ = nullptr;  // closed R12, closed R2000, SVG
  QComboBox* units_ = nullptr;   // mm, in
  QComboBox* fit_ = nullptr;     // natural size, fit width, fit height
  QDoubleSpinBox* size_ = nullptr;
  ToolpathSettingsWidget* toolpath_ = nullptr;  // weld, kerf and side; its G-code group hidden
};

}  // namespace kerfline
