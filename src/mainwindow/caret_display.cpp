#include <QLabel>

#include "mainwindow/Unit1.h"
#include "mainwindow/rich_edit.h"
#include "windowlogic/window_text.h"

namespace kerfline {

void TMainForm::ShowLineNum2(TRichEdit* editor) {
  const std::int32_t s = editor->selStart();
  const std::int32_t n = editor->selLength();
  const std::int32_t line = editor->lineFromChar(s);
  // With nothing selected this is the character before the caret; -1 asks for the caret's line.
  const std::int32_t last = editor->lineFromChar(s + n - 1);
  const std::int32_t column = s - editor->lineIndex(line);
  SelLineCount = last - line + 1;
  Panel2->setText(QString::fromStdString(caretPositionText(line + 1, column + 1, SelLineCount)));
}

}  // namespace kerfline
