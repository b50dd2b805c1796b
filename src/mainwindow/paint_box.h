#pragma once
// The preview surface: its paint event hands a painter to TMainForm::PaintBoxPaint.
#include <QWidget>

namespace kerfline {

class TMainForm;

class TPaintBox : public QWidget {
  Q_OBJECT
 public:
  /// A white surface painted by form.
  TPaintBox(TMainForm* form, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  TMainForm* form_;
};

}  // namespace kerfline
