#pragma once
// An integer spin box that, like the fields the exports read, keeps whatever the user typed
// until it loses the focus: its value is the text when that is a whole number, else the minimum.
#include <QAbstractSpinBox>
#include <cstdint>

namespace kerfline {

class TSpinEdit : public QAbstractSpinBox {
  Q_OBJECT
 public:
  /// A box for minValue..maxValue showing value, accepting at most maxLength typed characters
  /// (0: no limit).
  TSpinEdit(int minValue, int maxValue, int value, int maxLength, QWidget* parent = nullptr);

  /// The text read as a whole number (not clamped), or the minimum when it is none.
  int Value() const;
  /// Shows v brought into the range.
  void SetValue(int v);
  /// Replaces the text as typing would (no range check until the focus leaves).
  void setText(const QString& text);
  int MinValue() const { return min_; }
  int MaxValue() const { return max_; }

  void stepBy(int steps) override;
  QValidator::State validate(QString& input, int& pos) const override;

 signals:
  /// The text changed (typing, arrows or SetValue).
  void changed();

 protected:
  StepEnabled stepEnabled() const override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  int clamp(std::int64_t v) const;
  int min_;
  int max_;
};

}  // namespace kerfline
