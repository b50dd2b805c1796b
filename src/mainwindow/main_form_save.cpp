#include "mainwindow/Unit1.h"

namespace kerfline {

void TMainForm::FileSaveCmdExecute() {}

void TMainForm::SavePolyExecute() {}

void TMainForm::FileSave(const QString&) {}

void TMainForm::SavePoly2(const QString&) {}

}  // namespace kerfline
