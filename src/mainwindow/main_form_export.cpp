// The export dialog's commands and its settings, section [Export] of the settings file.
#include <QFileDialog>
#include <QStringList>

#include "appcore/settings_location.h"
#include "appcore/toolpath_settings.h"
#include "mainwindow/Unit1.h"

namespace kerfline {
namespace {

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
  // A stored value outside the option table's limits is not used: the dialog shows the
  // default in its place, and saving writes what it shows.
  ConversionOptions o;
  loadExportChoices(settingsFile(), o);
  return o;
}

void TMainForm::storeExportOptions(const ConversionOptions& o) {
  // Looked up as every save does: the first write may have to make the settings folder.
  const SettingsLocation location = findSettingsFile(ProgramFolder);
  prepareSettingsFolder(location);
  saveExportChoices(location.path, o);
  exportChoicesChanged();  // the view shows what the exports now write
}

}  // namespace kerfline
