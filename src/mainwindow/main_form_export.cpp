// The export dialog's commands and its settings, section [Export] of the settings file.
#include <QFileDialog>
#include <QStringList>
#include <charconv>
#include <cmath>
#include <optional>

#include "appcore/settings_file.h"
#include "appcore/settings_location.h"
#include "appcore/toolpath_settings.h"
#include "mainwindow/Unit1.h"

namespace kerfline {
namespace {

constexpr const char* kSection = "Export";

void exportCommand(TMainForm& form, OutputFormat preset) {
  ConversionOptions options = form.storedExportOptions();
  options.format = preset;  // the command chooses the form; the dialog may still change it
  if (!form.editExportOptions(options)) return;
  const bool svg = options.format == OutputFormat::Svg;
  QFileDialog* dialog = form.saveDialog();
  dialog->setNameFilters({svg ? TMainForm::tr("SVG Files (*.svg)")
                              : TMainForm::tr("Dxf Files (*.dxf *.DXF)")});
  dialog->setDefaultSuffix(svg ? QStringLiteral("svg") : QStringLiteral("dxf"));
  // Unlike the two classic commands, these ask before replacing a file.
  dialog->setOption(QFileDialog::DontConfirmOverwrite, false);
  const QString fileName = form.saveFileName();
  dialog->setNameFilters({TMainForm::tr("Dxf Files (*.dxf *.DXF)")});
  dialog->setDefaultSuffix(QStringLiteral("dxf"));
  if (fileName.isEmpty()) return;
  form.exportDrawing(fileName, options);
  form.storeExportOptions(options);
  form.Saveini();
}

}  // namespace

void TMainForm::SaveClosedExecute() { exportCommand(*this, OutputFormat::Closed); }

void TMainForm::ExportSvgExecute() { exportCommand(*this, OutputFormat::Svg); }

ConversionOptions TMainForm::storedExportOptions() const {
  const std::string path = settingsFile();
  const auto read = [&](const char* key) {
    return readProfileString(path, kSection, key).value_or(std::string());
  };
  // Whatever the file holds: a value this program did not write counts as not there.
  ConversionOptions o;
  o.format = read("Format") == "svg" ? OutputFormat::Svg : OutputFormat::Closed;
  o.dxfVersion = read("DxfVersion") == "2000" ? 2000 : 12;
  o.units = read("Units") == "in" ? DrawingUnits::Inch : DrawingUnits::Millimetre;
  // Read back in double precision, as written: the size is not rounded to single precision.
  const std::string sizeText = read("FitSize");
  double value = 0;
  const auto [end, error] =
      std::from_chars(sizeText.data(), sizeText.data() + sizeText.size(), value);
  const std::optional<double> size =
      error == std::errc() && end == sizeText.data() + sizeText.size() && std::isfinite(value)
          ? std::optional<double>(value)
          : std::nullopt;
  if (size && *size > 0) {
    if (read("Fit") == "width") o.fitWidth = *size;
    if (read("Fit") == "height") o.fitHeight = *size;
  }
  loadToolpathSettings(path, o);
  return o;
}

void TMainForm::storeExportOptions(const ConversionOptions& o) {
  // Looked up as every save does: the first write may have to make the settings folder.
  const SettingsLocation location = findSettingsFile(ProgramFolder);
  prepareSettingsFolder(location);
  const std::string& path = location.path;
  writeProfileString(path, kSection, "Format", o.format == OutputFormat::Svg ? "svg" : "closed");
  writeProfileString(path, kSection, "DxfVersion", o.dxfVersion == 2000 ? "2000" : "12");
  writeProfileString(path, kSection, "Units", o.units == DrawingUnits::Inch ? "in" : "mm");
  const std::optional<double> size = o.fitWidth ? o.fitWidth : o.fitHeight;
  writeProfileString(path, kSection, "Fit", o.fitWidth ? "width" : o.fitHeight ? "height" : "none");
  writeProfileString(path, kSection, "FitSize",
                     size ? QString::number(*size, 'g', 10).toStdString() : std::string());
  saveToolpathSettings(path, o);
  exportChoicesChanged();  // the view shows what the exports now write
}

}  // namespace kerfline
