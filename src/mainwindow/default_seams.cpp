#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QGroupBox>
#include <QMessageBox>
#include <QUrl>

#include "mainwindow/Unit1.h"
#include "mainwindow/export_dialog.h"
#include "mainwindow/gcode_export_dialog.h"

namespace kerfline {
namespace {

QString chosenFile(QFileDialog* dialog) {
  if (dialog->exec() != QDialog::Accepted) return {};
  const QStringList files = dialog->selectedFiles();
  return files.isEmpty() ? QString() : files.first();
}

std::optional<QFont> runFontDialog(QWidget* parent, const QFont& initial) {
  QFontDialog dialog(initial, parent);
  dialog.setOption(QFontDialog::ScalableFonts);
  dialog.setOption(QFontDialog::DontUseNativeDialog);
  // No effects section: the dialog offers no switch for it, so its group (the one holding
  // the underline and strike-out boxes) is hidden; the preselected effects pass through.
  for (QGroupBox* group : dialog.findChildren<QGroupBox*>())
    if (!group->findChildren<QCheckBox*>().isEmpty()) group->hide();
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.selectedFont();
}

}  // namespace

void TMainForm::installDefaultSeams() {
  openFileName = [this] { return chosenFile(OpenDialog1); };
  saveFileName = [this] { return chosenFile(SaveDialog1); };
  chooseFont = [this](const QFont& initial) { return runFontDialog(this, initial); };
  editExportOptions = [this](ConversionOptions& options) {
    ExportDialog dialog(this);
    dialog.setOptions(options);
    if (dialog.exec() != QDialog::Accepted) return false;
    options = dialog.options(options);
    return true;
  };
  openUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
  errorBox = [this](const QString& text) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Kerfline"), text,
                    QMessageBox::Ok, this);
    box.exec();
  };
  noticeBox = [this](const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Kerfline"), text,
                    QMessageBox::Ok, this);
    box.exec();
  };
  askGcodeSettings = [this](const ConversionOptions& shown) -> std::optional<ConversionOptions> {
    GcodeExportDialog dialog(shown, this);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.options();
  };
  gcodeFileName = [this] {
    QString name = QFileDialog::getSaveFileName(this, tr("Export G-code"), QString(),
                                                tr("G-code (*.nc *.ngc *.gcode);;All files (*)"));
    // A machine's file list often shows only known endings.
    if (!name.isEmpty() && QFileInfo(name).suffix().isEmpty()) name += QStringLiteral(".nc");
    return name;
  };
  terminateProgram = [this] {
    close();
    QCoreApplication::quit();
  };
  failProgram = [this] {
    close();
    QCoreApplication::exit(1);
  };
}

}  // namespace kerfline
