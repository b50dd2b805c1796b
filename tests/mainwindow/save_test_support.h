#pragma once
// Helpers shared by the window's save, batch, suggestion and identical-output tests.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>

#include "appcore/settings_file.h"
#include "mainwindow/Unit1.h"

namespace kerfline::testing {

/// The one QApplication of a test process (offscreen: the test registration sets the platform).
inline QApplication& application() {
  static int argc = 1;
  static char name[] = "kerfline_window_test";
  static char* argv[] = {name, nullptr};
  // Never destroyed: the clipboard and fonts outlive the test's statics otherwise.
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

/// The window's widget, command or timer of that object name (the name of the window's member
/// that holds it); a missing one ends the test with an exception naming it.
template <class T>
T* child(const QObject& window, const char* name) {
  T* found = window.findChild<T*>(QString::fromLatin1(name));
  if (found == nullptr) throw std::logic_error(std::string("the window has no ") + name);
  return found;
}

/// A window for tests: start-up timer stopped, program folder moved to folder (so Reg.ini is
/// private to the test), error boxes recorded in errors instead of shown.
inline std::unique_ptr<TMainForm> makeTestForm(const QString& folder, QStringList& errors) {
  application();
  auto form = std::make_unique<TMainForm>();
  testing::child<QTimer>(*form, "StartupTimer1")->stop();
  form->ProgramFolder = QFile::encodeName(folder).toStdString() + "/";
  form->errorBox = [&errors](const QString& text) { errors << text; };
  return form;
}

/// A font description with only face, size and bold set.
inline TFontDescription font(const char* name, int size, bool bold = false) {
  TFontDescription f;
  f.Name = name;
  f.Size = size;
  f.Bold = bold;
  return f;
}

/// The whole content of a file, or nothing when it cannot be read.
inline std::optional<std::string> readBytes(const QString& path) {
  std::ifstream in(QFile::encodeName(path).toStdString(), std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

/// Writes bytes to a file, replacing it.
inline void writeBytes(const QString& path, const std::string& bytes) {
  std::ofstream out(QFile::encodeName(path).toStdString(), std::ios::binary | std::ios::trunc);
  out << bytes;
}

/// A file under tests/data.
inline QString testData(const char* relative) {
  return QStringLiteral(KERFLINE_TEST_DATA_DIR "/") + QString::fromUtf8(relative);
}

/// The three settings as Reg.ini in folder holds them, or nothing without the file.
inline std::optional<LayerSettings> storedSettings(const QString& folder) {
  const std::string path = settingsPath(QFile::encodeName(folder).toStdString() + "/");
  if (!QFile::exists(QString::fromStdString(path))) return std::nullopt;
  return Loadini(path);
}

/// Copies a built program (bin/<name>) into folder, so that folder is its program folder.
inline QString copyProgram(const QString& name, const QString& folder) {
  const QString target = folder + "/" + name;
  QFile::remove(target);
  QFile::copy(QStringLiteral(KERFLINE_BINARY_DIR "/bin/") + name, target);
  QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::ExeOwner);
  return target;
}

/// A finished (or killed) run of a program.
struct ProcessResult {
  bool finished = false;  ///< ended by itself before the time limit
  int exitCode = -1;
  QString standardError;
};

/// Starts program with args under the offscreen platform, with message boxes closing at once.
inline void startWindowProcess(QProcess& process, const QString& program, const QStringList& args) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  env.insert(QStringLiteral("KERFLINE_AUTOCLOSE_MESSAGES"), QStringLiteral("1"));
  // The window keeps its size and recent files in the user's configuration: a test run uses
  // a folder of its own beside the program instead, read and written by this run alone.
  const QString folder = program.left(program.lastIndexOf('/'));
  env.insert(QStringLiteral("XDG_CONFIG_HOME"), folder + QStringLiteral("/config"));
  process.setProcessEnvironment(env);
  process.setWorkingDirectory(folder);
  process.start(program, args);
  process.waitForStarted(10000);
}

/// Waits up to limitMs for a started process; a process still running then is killed.
inline ProcessResult finishProcess(QProcess& process, int limitMs) {
  ProcessResult r;
  r.finished = process.waitForFinished(limitMs);
  if (!r.finished) {
    process.kill();
    process.waitForFinished(5000);
  }
  r.exitCode = process.exitCode();
  r.standardError = QString::fromLocal8Bit(process.readAllStandardError());
  return r;
}

/// Runs a program to its end (at most limitMs).
inline ProcessResult runProcess(const QString& program, const QStringList& args, int limitMs) {
  QProcess process;
  startWindowProcess(process, program, args);
  return finishProcess(process, limitMs);
}

}  // namespace kerfline::testing
