#include <QFile>
#include <QGuiApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <optional>
#include <string_view>

#include "appcore/batch_arguments.h"
#include "export/output_file.h"
#include "mainwindow/Unit1.h"
#include "mainwindow/rich_edit.h"
#include "mainwindow/spin_edit.h"

namespace kerfline {
namespace {

bool environmentSays(const char* name) {
  const char* v = std::getenv(name);
  return v != nullptr && std::string_view(v) == "1";
}

void printMessage(const char* kind, const QString& text) {
  std::fprintf(stderr, "Kerfline %s: %s\n", kind, text.toLocal8Bit().constData());
  std::fflush(stderr);
}

}  // namespace

// Not "standard input is no terminal": a file manager or desktop menu starts the window so too,
// with a person in front of it. Without a screen nobody can click; a virtual display needs to
// be named.
bool batchRunsUnattended() {
  const QString platform = QGuiApplication::platformName();
  return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal") ||
         environmentSays("KERFLINE_UNATTENDED") || environmentSays("KERFLINE_AUTOCLOSE_MESSAGES");
}

void TMainForm::StartupTimer1Timer() {
  // Stopped first, so a run happens at most once, even from inside the notice's own loop.
  StartupTimer1->stop();
  if (Arguments.empty()) return;
  if (!UnattendedBatch) {
    runBatch();
    return;
  }
  // Nobody would ever close a box, so the run reports on standard error and, when it failed,
  // ends with a failure status instead of leaving a window open for ever.
  const auto failed = std::make_shared<bool>(false);
  noticeBox = [](const QString& text) { printMessage("notice", text); };
  errorBox = [failed](const QString& text) {
    printMessage("error", text);
    *failed = true;
  };
  try {
    runBatch();
  } catch (const std::exception& e) {
    reportError(e.what());
  }
  if (*failed) failProgram();
}

void TMainForm::runBatch() {
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
    // The name rule never gives the input's own name, but a link of that name may lead to it.
    refuseToReplace(*outputName, args.inputFile, "input file");
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
