#pragma once
// A real main window on the offscreen platform, with the dialogs, boxes and browser replaced
// by recorders, and the program folder moved to a private temporary folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <memory>

#include "mainwindow/Unit1.h"

namespace kerfline::formtest {

/// The one QApplication of the test process.
inline QApplication& application() {
  static int argc = 1;
  static char name[] = "mainwindow_form_test";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    auto* a = new QApplication(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kerfline"));
    return a;
  }();
  return *app;
}

class FormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    application();
    ASSERT_TRUE(dir_.isValid());
    form_ = std::make_unique<TMainForm>();
    form_->StartupTimer1->stop();
    form_->ProgramFolder = QFile::encodeName(dir_.path()).toStdString() + "/";
    form_->errorBox = [this](const QString& text) { errors_ << text; };
    form_->noticeBox = [this](const QString& text) { notices_ << text; };
    form_->openFileName = [this] { return openAnswer_; };
    form_->saveFileName = [] { return QString(); };
    form_->chooseFont = [this](const QFont& initial) {
      fontDialogInitial_ = initial;
      return fontAnswer_;
    };
    form_->openUrl = [this](const QUrl& url) {
      urls_ << url;
      return browserWorks_;
    };
    form_->show();
    form_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form_.get()));
  }
  void TearDown() override { form_.reset(); }

  TMainForm& form() { return *form_; }
  QString folder() const { return dir_.path() + u'/'; }

  QTemporaryDir dir_;
  std::unique_ptr<TMainForm> form_;
  QStringList errors_;
  QStringList notices_;
  QString openAnswer_;
  std::optional<QFont> fontAnswer_;
  QFont fontDialogInitial_;
  QList<QUrl> urls_;
  bool browserWorks_ = false;
};

}  // namespace kerfline::formtest
