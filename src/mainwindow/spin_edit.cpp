#include "mainwindow/spin_edit.h"

#include <QLineEdit>
#include <algorithm>

#include "windowlogic/window_text.h"

namespace kerfline {

TSpinEdit::TSpinEdit(int minValue, int maxValue, int value, int maxLength, QWidget* parent)
    : QAbstractSpinBox(parent), min_(minValue), max_(maxValue) {
  if (maxLength > 0) lineEdit()->setMaxLength(maxLength);
  lineEdit()->setText(QString::number(value));
  // Every text change counts, not only finished edits: the preview follows each keystroke.
  connect(lineEdit(), &QLineEdit::textChanged, this, &TSpinEdit::changed);
}

int TSpinEdit::Value() const {
  const auto v = parseWholeNumber(lineEdit()->text().toStdString());
  return v ? *v : min_;
}

int TSpinEdit::clamp(std::int64_t v) const {
  return static_cast<int>(std::clamp<std::int64_t>(v, min_, max_));
}

void TSpinEdit::SetValue(int v) {
  const QString text = QString::number(clamp(v));
  if (lineEdit()->text() != text) lineEdit()->setText(text);
}

void TSpinEdit::setText(const QString& text) { lineEdit()->setText(text); }

void TSpinEdit::stepBy(int steps) { SetValue(clamp(std::int64_t{Value()} + steps)); }

QValidator::State TSpinEdit::validate(QString& input, int&) const {
  // Digits, signs and the decimal point may be typed; the value is judged when it is read.
  for (QChar c : input)
    if (!(c.isDigit() && c.unicode() < 128) && c != u'+' && c != u'-' && c != u'.')
      return QValidator::Invalid;
  return QValidator::Acceptable;
}

QAbstractSpinBox::StepEnabled TSpinEdit::stepEnabled() const {
  return StepUpEnabled | StepDownEnabled;
}

void TSpinEdit::focusOutEvent(QFocusEvent* event) {
  // Leaving the box shows the value that is actually used, brought into the range; a text
  // that is no whole number ("", "-", "1.5") is replaced too, so what is seen is what counts.
  const auto v = parseWholeNumber(lineEdit()->text().toStdString());
  if (!v || clamp(*v) != *v) SetValue(Value());
  QAbstractSpinBox::focusOutEvent(event);
}

}  // namespace kerfline
