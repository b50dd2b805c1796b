#include "mainwindow/Unit1.h"

namespace kerfline {

void TMainForm::StartupTimer1Timer() {}

}  // namespace kerfline
