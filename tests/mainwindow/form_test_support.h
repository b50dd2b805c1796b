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
#include "save_test_support.h"

namespace kerfline::formtest {

using testing::application;

class FormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    application();
    QApplication::setApplicationName(QStringLiteral("Kerfline"));
    ASSERT_TRUE(dir_.isValid());
    form_ = testing::makeTestForm(dir_.path(), errors_);
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
