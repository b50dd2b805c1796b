#include "mainwindow/up_down.h"

#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "windowlogic/window_text.h"

namespace kerfline {

TUpDown::TUpDown(QLineEdit* buddy, int minValue, int maxValue, int position, QWidget* parent)
    : QWidget(parent), buddy_(buddy), min_(minValue), max_(maxValue), position_(position) {
  auto* box = new QVBoxLayout(this);
  box->setContentsMargins(0, 0, 0, 0);
  box->setSpacing(0);
  up_ = new QToolButton(this);
  up_->setArrowType(Qt::UpArrow);
  down_ = new QToolButton(this);
  down_->setArrowType(Qt::DownArrow);
  for (QToolButton* b : {up_, down_}) {
    b->setAutoRepeat(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    box->addWidget(b);
  }
  connect(up_, &QToolButton::clicked, this, [this] { step(1); });
  connect(down_, &QToolButton::clicked, this, [this] { step(-1); });
}

void TUpDown::step(int steps) {
  // Like an up-down control bound to its buddy: the number typed there is the starting point.
  if (const auto typed = parseWholeNumber(buddy_->text().toStdString())) position_ = *typed;
  position_ = static_cast<int>(std::clamp<long long>(static_cast<long long>(position_) + steps, min_, max_));
  buddy_->setText(QString::number(position_));
}

}  // namespace kerfline
