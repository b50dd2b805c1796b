#include <QMessageBox>
#include <QTimer>
#include <exception>

#include "mainwindow/Unit1.h"
#include "windowlogic/window_text.h"

namespace kerfline {

void TMainForm::reportError(const std::string& message) {
  errorBox(QString::fromStdString(errorBoxText(message)));
}

void TMainForm::reportErrorLater(const std::string& message) {
  // A box opened inside a paint would paint again underneath it and report the same error
  // over and over; one box at a time, shown after the paint.
  if (paintErrorShown_) return;
  paintErrorShown_ = true;
  QTimer::singleShot(0, this, [this, message] {
    reportError(message);
    paintErrorShown_ = false;
  });
}

void TMainForm::ShowMessage(const QString& text) { noticeBox(text); }

void TMainForm::run(void (TMainForm::*handler)()) {
  try {
    (this->*handler)();
  } catch (const std::exception& e) {
    reportError(e.what());
  }
}

}  // namespace kerfline
