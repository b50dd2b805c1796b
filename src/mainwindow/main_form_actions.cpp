#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QUrl>

#include "common/error.h"
#include "mainwindow/Unit1.h"
#include "mainwindow/about_box.h"
#include "mainwindow/rich_edit.h"

namespace kerfline {
namespace {

// A page beside the program (a build tree, a portable copy) wins; an installed program keeps it
// in share/kerfline/ of its prefix. When there is neither, the page beside the program is named,
// so that the message says where it was looked for.
QString helpPage(const QString& programFolder) {
  const QString beside = programFolder + QStringLiteral("KerflineHelp.Htm");
  if (QFileInfo::exists(beside)) return beside;
  const QString installed =
      QDir::cleanPath(programFolder + QStringLiteral("../share/kerfline/KerflineHelp.Htm"));
  return QFileInfo::exists(installed) ? installed : beside;
}

}  // namespace

void TMainForm::FileNewCmdExecute() { RichEdit1->clearText(); }

void TMainForm::FileOpenCmdExecute() {
  const QString path = openFileName();
  if (path.isEmpty()) return;
  RichEdit1->clearText();
  RichEdit1->loadFromFile(path.toStdString());
  RichEdit1->setSelStart(0);
  RichEdit1->setSelLength(1);
}

void TMainForm::EditCutCmdExecute() { RichEdit1->cut(); }

void TMainForm::EditCopyCmdExecute() { RichEdit1->copy(); }

void TMainForm::EditUndoCmdExecute() { RichEdit1->undo(); }

void TMainForm::Paste1Click() { RichEdit1->paste(); }

void TMainForm::Close1Click() {
  Delay(1000);
  close();
}

void TMainForm::Help1Click() {
  OpenInternetExplorer(helpPage(QString::fromStdString(ProgramFolder)));
}

void TMainForm::About1Click() {
  auto* box = new TAboutBox(QFile::decodeName(QByteArray::fromStdString(settingsFile())), this);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->open();
}

void TMainForm::OpenInternetExplorer(const QString& address) {
  // Handed over as a file URL, never through a shell: blanks and quotes in the path are safe.
  if (!openUrl(QUrl::fromLocalFile(address)))
    throw Error(tr("Unable to open %1 in a web browser").arg(address).toStdString());
}

}  // namespace kerfline
