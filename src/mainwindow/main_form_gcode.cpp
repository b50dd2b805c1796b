#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStatusBar>

#include "appcore/settings_location.h"
#include "appcore/toolpath_settings.h"
#include "export/drawing_export.h"
#include "export/toolpath_export.h"
#include "mainwindow/Unit1.h"
#include "mainwindow/rich_edit.h"
#include "richtext/styled_text.h"
#include "typography/placed_export.h"

namespace kerfline {

void TMainForm::ExportGcodeExecute() {
  ConversionOptions options;
  options.format = OutputFormat::Gcode;
  // The settings file every other command reads and writes: an installed program's folder is
  // not the user's to write.
  loadToolpathSettings(settingsFile(), options);
  const std::optional<ConversionOptions> chosen = askGcodeSettings(options);
  if (!chosen) return;
  const QString fileName = gcodeFileName();
  if (fileName.isEmpty()) return;
  // Remembered before the export, so that a refused setting is there to correct next time.
  const SettingsLocation location = findSettingsFile(ProgramFolder);
  prepareSettingsFolder(location);
  saveToolpathSettings(location.path, *chosen);
  exportChoicesChanged();  // weld and kerf are shared with the view
  ExportGcode(fileName, *chosen);
}

void TMainForm::ExportGcode(const QString& fileName, const ConversionOptions& chosen) {
  // Scale, pitch, Z up, Z cutting and the placement as the panel shows them.
  ConversionOptions options = withWindowPlacement(chosen);
  options.format = OutputFormat::Gcode;
  const StyledText text = RichEdit1->styledText();
  DrawingExportReport report;
  StatusBar1->clearMessage();
  options.sourceName = "window text, " + std::to_string(text.length()) + " positions";
  // A clearing program named without a folder goes beside the V-bit's program.
  if (const QString clear = QFile::decodeName(options.vcarve.clearOutput.c_str());
      !clear.isEmpty() && QFileInfo(clear).isRelative())
    options.vcarve.clearOutput =
        QFile::encodeName(QFileInfo(fileName).dir().filePath(clear)).toStdString();
  requireDrawable(text, options.classic.resolution);
  exportTextFile(QFile::encodeName(fileName).toStdString(), text, options, TTF2Vector, &report);
  std::string notes = toolpathSummary(report.toolpath);
  for (const auto* list : {&report.fillNotes, &report.carveNotes})
    for (const std::string& note : *list) notes += (notes.empty() ? "" : " ") + note;
  if (!notes.empty())
    StatusBar1->showMessage(QString::fromStdString(notes));
  else if (options.cut == CutOperation::VCarve)
    StatusBar1->showMessage(tr("G-code written: V-carve."));
  else
    StatusBar1->showMessage(tr("G-code written: %1 paths.").arg(report.contours));
  tellLoadFailures();
}

}  // namespace kerfline
