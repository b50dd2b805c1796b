#include "mainwindow/Unit1.h"

namespace kerfline {

void TMainForm::SuggestExecute() {}

}  // namespace kerfline
