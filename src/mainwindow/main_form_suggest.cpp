#include <QLineEdit>
#include <cstdint>

#include "export/pitch_text.h"
#include "mainwindow/Unit1.h"
#include "mainwindow/rich_edit.h"

namespace kerfline {

void TMainForm::SuggestExecute() {
  float maximum = 0.0f;
  // Counted once: the window stays responsive during the run and the text may change under
  // it, but the number of steps does not.
  const auto steps = static_cast<std::int64_t>(RichEdit1->text().size());
  for (std::int64_t i = 0; i < steps; ++i) {
    NextCharBtnClick();
    Delay(100);  // the requested repaint runs meanwhile and measures CharHeight
    if (closed_) return;  // the window was closed during the wait: the program is ending
    if (CharHeight > maximum) maximum = CharHeight;
  }
  Edit1->setText(QString::fromStdString(formatPitch(suggestedPitch(maximum))));
}

}  // namespace kerfline
