#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QUrl>

#include "common/error.h"
#include "mainwindow/Unit1.h"
#include "mainwindow/about_box.h"
#include "mainwindow/rich_edit.h"

namespace kerfline {

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
  OpenInternetExplorer(QString::fromStdString(ProgramFolder) + QStringLiteral("KerflineHelp.Htm"));
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
