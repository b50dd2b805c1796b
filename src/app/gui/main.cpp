// The window program: start-up sequence, and the one place errors escaping an event end up.
#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <exception>
#include <string>
#include <vector>

#include "common/freed_memory.h"
#include "export/temporary_registry.h"
#include "mainwindow/Unit1.h"
#include "windowlogic/window_text.h"

namespace {

// Handlers report their own errors; this catches whatever still escapes an event so that
// the program goes on running, as the general error report promises.
class KerflineApplication : public QApplication {
 public:
  using QApplication::QApplication;
  bool notify(QObject* receiver, QEvent* event) override {
    try {
      return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
      QMessageBox::critical(nullptr, QStringLiteral("Kerfline"),
                            QString::fromStdString(kerfline::errorBoxText(e.what())));
    }
    return false;
  }
};

}  // namespace

int main(int argc, char* argv[]) {
  kerfline::keepFreedMemoryForReuse();  // before the job view's thread starts
  KerflineApplication app(argc, argv);
  // The title names the program on the task bar. No display name: Qt would append it to
  // every window title ("Kerfline  - Kerfline", "sign.dxf - Kerfline"), and the window's
  // caption is its own ("Kerfline ", or the file a PolyLines save wrote).
  QApplication::setApplicationName(QStringLiteral("Kerfline"));
  // Desktops match the running window to its menu entry and icon by this id (on Wayland it is
  // the window's app id); the icon theme has the icon once Kerfline is installed.
  QGuiApplication::setDesktopFileName(QStringLiteral(KERFLINE_APP_ID));
  QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral(KERFLINE_APP_ID)));

  // A window closed by logging out or by kill must not leave a half-written drawing's temporary.
  kerfline::removeTemporariesOnSignal();
  kerfline::TMainForm form;
  form.UnattendedBatch = kerfline::batchRunsUnattended();
  // The arguments after the program's own name; an empty one takes no position.
  for (int i = 1; i < argc; ++i)
    if (argv[i][0] != '\0') form.Arguments.emplace_back(argv[i]);
  form.restoreWindowState();  // size, splits, folders and recent files of the last run
  form.show();
  try {
    form.Loadini();
  } catch (const std::exception& e) {
    form.reportError(e.what());
  }
  return app.exec();
}
