#include "mainwindow/paint_box.h"

#include <QPainter>
#include <exception>

#include "mainwindow/Unit1.h"

namespace kerfline {

TPaintBox::TPaintBox(TMainForm* form, QWidget* parent) : QWidget(parent), form_(form) {
  setAutoFillBackground(true);
  QPalette p = palette();
  p.setColor(QPalette::Window, Qt::white);
  setPalette(p);
}

void TPaintBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  // An error must not escape a paint event; it is reported once the paint is over.
  try {
    form_->PaintBoxPaint(painter, height());
  } catch (const std::exception& e) {
    form_->reportErrorLater(e.what());
  }
}

}  // namespace kerfline
