#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "appcore/batch_arguments.h"
#include "mainwindow/Unit1.h"
#include "mainwindow/rich_edit.h"
#include "mainwindow/spin_edit.h"

namespace kerfline {
namespace {

// Test aid for runs of the real program: with KERFLINE_AUTOCLOSE_MESSAGES=1 in the
// environment, a batch run shows its notices and errors on standard error instead of in boxes
// that would wait for a click nobody makes.
bool messagesAutoClose() {
  const char* v = std::getenv("KERFLINE_AUTOCLOSE_MESSAGES");
  return v != nullptr && std::string_view(v) == "1";
}

void printMessage(const char* kind, const QString& text) {
  std::fprintf(stderr, "Kerfline %s: %s\n", kind, text.toLocal8Bit().constData());
  std::fflush(stderr);
}

}  // namespace

void TMainForm::StartupTimer1Timer() {
  // Stopped first, so a run happens at most once, even from inside the notice's own loop.
  StartupTimer1->stop();
  if (Arguments.empty()) return;

  if (messagesAutoClose()) {
    noticeBox = [](const QString& text) { printMessage("notice", text); };
    errorBox = [](const QString& text) { printMessage("error", text); };
  }

  const BatchArguments args = parseBatchArguments(Arguments);
  std::optional<std::string> outputName;
  if (QFileInfo(QFile::decodeName(args.inputFile.c_str())).isFile()) {
    RichEdit1->clearText();
    // A load error leaves this handler here: reported, no export, the window stays open.
    RichEdit1->loadFromFile(args.inputFile);
    outputName = batchOutputName(args.inputFile);
    // Caret at the start, nothing selected; the first character's format becomes the editor's
    // base font and the conversion font (selected for a moment, so its own format is read).
    RichEdit1->setSelLength(0);
    RichEdit1->setSelStart(0);
    RichEdit1->setSelLength(1);
    const TFontDescription first = RichEdit1->selAttributes();
    RichEdit1->setSelLength(0);
    RichEdit1->setDefAttributes(first);
    ConversionFont = first;
    requestRepaint();
  } else {
    if (isMinimized()) showNormal();
    ShowMessage(QStringLiteral("Passed File Not Found "));
  }

  // The positional command line converts the classic way, as kerfline-convert does, whatever
  // the window's typography controls were left at.
  useClassicPlacement();
  // Through the controls, so their change handlers run as for the user's own edits.
  if (args.scale) ScaleEdit1->SetValue(*args.scale);
  if (args.pitchText) Edit1->setText(QString::fromStdString(*args.pitchText));
  if (args.resolution) Resolution1->SetValue(*args.resolution);
  if (args.spacePercent) SpacePc->SetValue(*args.spacePercent);
  if (args.layer) Layername->setText(QString::fromStdString(*args.layer));

  if (outputName) {
    const QString target = QFile::decodeName(outputName->c_str());
    switch (args.mode) {
      case BatchMode::Lines:
        FileSave(target);
        break;
      case BatchMode::PolyLines:
        SavePoly2(target);
        break;
      case BatchMode::None:
        break;
    }
  }
  // Reached only without an error: a failed load or write keeps the window open. A missing
  // input file ends the program as a finished run does; the notice has been confirmed.
  terminateProgram();
}

}  // namespace kerfline
