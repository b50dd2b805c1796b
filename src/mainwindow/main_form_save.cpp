#include <QFile>
#include <QFileDialog>
#include <QStatusBar>
#include <utility>

#include "appcore/drawable_text.h"
#include "export/drawing_export.h"
#include "export/toolpath_export.h"
#include "mainwindow/Unit1.h"
#include "mainwindow/rich_edit.h"
#include "richtext/styled_text.h"
#include "typography/placed_export.h"
#include "typography/text_placement.h"

namespace kerfline {
namespace {

// Progress is drawn every this many characters: often enough to see it move on a long text,
// rarely enough that painting the status bar costs nothing next to the conversions.
constexpr std::int32_t kProgressEvery = 256;

// Follows the export's walk in the window: each character becomes the current one exactly as a
// step to it would make it (conversion font, UnitScale, the one-character holder, caret just
// after it), while nothing reads the editor's whole text again. No events are processed during
// the walk, so nobody can see the caret between two characters: moving it (a layout query in
// the editor, the costliest step by far) is left to the end, where the caret display is shown
// as the walk leaves it, for the caret after the second-last character. The preview repaint is
// only requested; the status bar alone is painted synchronously, for the progress.
class WindowExportObserver final : public ExportObserver {
 public:
  WindowExportObserver(TMainForm& form, std::int32_t total, int scale)
      : form_(form), total_(total), scale_(scale) {
    showProgress(0);
  }
  ~WindowExportObserver() override {
    try {
      placeCaret();
    } catch (...) {
      // Only the caret display is lost; the export's own error, if any, is the one to report.
    }
    form_.statusBar()->clearMessage();
  }
  WindowExportObserver(const WindowExportObserver&) = delete;
  WindowExportObserver& operator=(const WindowExportObserver&) = delete;

  void characterBecameCurrent(std::int32_t pos, char32_t c, const TFontDescription& font,
                              float unitScale) override {
    previous_ = current_;
    current_ = pos;
    form_.CurChar = c;
    form_.RichEdit2.text.assign(1, c);
    form_.RichEdit2.font = font;
    form_.ConversionFont = font;
    if (scale_ > 0) form_.CharFontSize = font.Size;  // a scale of 0 or less keeps the size
    form_.UnitScale = unitScale;
    form_.requestRepaint();
    if (pos % kProgressEvery == 0 || pos == total_) showProgress(pos);
  }

 private:
  void showProgress(std::int32_t done) {
    form_.statusBar()->showMessage(
        TMainForm::tr("Saving %1/%2 characters").arg(done).arg(total_));
    form_.statusBar()->repaint();
  }

  void placeCaret() {
    if (current_ == 0) return;  // an empty text: nothing became current
    TRichEdit& editor = *form_.editor();
    if (previous_ != 0) moveCaret(editor, previous_);
    form_.ShowLineNum2(&editor);
    moveCaret(editor, current_);
    editor.setFocus();
  }

  static void moveCaret(TRichEdit& editor, std::int32_t offset) {
    editor.setSelLength(0);
    editor.setSelStart(offset);
  }

  TMainForm& form_;
  std::int32_t total_;
  int scale_;
  std::int32_t current_ = 0;   // position of the current character, 0 before the first
  std::int32_t previous_ = 0;  // position of the character before it, 0 when none
};

std::string localPath(const QString& fileName) { return QFile::encodeName(fileName).toStdString(); }

// Both save commands share SaveDialog1: an existing file is replaced without a question, and
// the name chosen last is offered again by either command.
QString askSaveName(QFileDialog* dialog, const std::function<QString()>& ask) {
  dialog->setOption(QFileDialog::DontConfirmOverwrite);
  const QString fileName = ask();
  if (!fileName.isEmpty()) dialog->selectFile(fileName);
  return fileName;
}

}  // namespace

void TMainForm::FileSaveCmdExecute() {
  const QString fileName = askSaveName(SaveDialog1, saveFileName);
  if (!fileName.isEmpty()) FileSave(fileName);
  requestRepaint();
  Saveini();
}

void TMainForm::SavePolyExecute() {
  const QString fileName = askSaveName(SaveDialog1, saveFileName);
  if (fileName.isEmpty()) return;
  SavePoly2(fileName);
  Saveini();
}

void TMainForm::FileSave(const QString& fileName) {
  const ExportSettings settings = exportSettings();
  const StyledText text = RichEdit1->styledText();
  ConversionOptions options = conversionOptions();
  options.format = OutputFormat::Lines;
  requireDrawable(text, settings.resolution);
  {
    WindowExportObserver observer(*this, text.length(), settings.scale);
    saveStrokeDxf(localPath(fileName), text, options, TTF2Vector, &observer);
  }
  tellLoadFailures();
}

void TMainForm::SavePoly2(const QString& fileName) {
  const ExportSettings settings = exportSettings();
  const StyledText text = RichEdit1->styledText();
  {
    ConversionOptions options = conversionOptions();
    options.format = OutputFormat::PolyLines;
    requireDrawable(text, settings.resolution);
    WindowExportObserver observer(*this, text.length(), settings.scale);
    saveStrokeDxf(localPath(fileName), text, options, TTF2Vector, &observer);
  }
  setWindowTitle(fileName);
  requestRepaint();
  tellLoadFailures();
}

void TMainForm::exportDrawing(const QString& fileName, ConversionOptions options) {
  options = withWindowPlacement(std::move(options));
  const StyledText text = RichEdit1->styledText();
  DrawingExportReport report;
  requireDrawable(text, options.classic.resolution);
  {
    WindowExportObserver observer(*this, text.length(), options.classic.scale);
    exportTextFile(localPath(fileName), text, options, TTF2Vector, &report, &observer);
  }
  setWindowTitle(fileName);
  requestRepaint();
  const QString unit = QString::fromLatin1(unitName(options.units));
  StatusBar1->showMessage(tr("Saved %1 paths, %2 x %3 %4")
                              .arg(report.contours)
                              .arg(report.extent.width(), 0, 'g', 6)
                              .arg(report.extent.height(), 0, 'g', 6)
                              .arg(unit));
  // Material the kerf leaves uncut, and cuts that run into a neighbour, are never passed over
  // in silence.
  const std::string notes = toolpathSummary(report.toolpath);
  if (!notes.empty()) StatusBar1->showMessage(QString::fromStdString(notes));
  tellLoadFailures();
}

void TMainForm::requireDrawable(const TextSource& text, int resolution) {
  TTF2Vector.ClearLoadFailures();
  requireDrawableText(text, resolution, TTF2Vector);
}

void TMainForm::tellLoadFailures() {
  // The status bar holds one line: the first failure and how many more there were.
  const std::vector<std::string> lines = loadFailureLines(TTF2Vector.LoadFailures(), 2);
  if (lines.empty()) return;
  std::string message = lines.front();
  if (lines.size() > 1) message += "; " + lines[1];
  StatusBar1->showMessage(QString::fromStdString(message));
}

}  // namespace kerfline
