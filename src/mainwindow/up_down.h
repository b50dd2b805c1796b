#pragma once
// Up/down arrows attached to a text box holding an integer (the font size box).
#include <QWidget>

class QLineEdit;
class QToolButton;

namespace kerfline {

class TUpDown : public QWidget {
  Q_OBJECT
 public:
  /// Arrows stepping buddy's number by one within minValue..maxValue, without wrap-around.
  TUpDown(QLineEdit* buddy, int minValue, int maxValue, int position, QWidget* parent = nullptr);
  /// The last position the arrows set or read from the buddy.
  int Position() const { return position_; }
  /// Clicks the up (steps > 0) or down arrow.
  void step(int steps);
  QToolButton* upButton() const { return up_; }
  QToolButton* downButton() const { return down_; }

 private:
  QLineEdit* buddy_;
  QToolButton* up_;
  QToolButton* down_;
  int min_;
  int max_;
  int position_;
};

}  // namespace kerfline
