// The command-line batch run: in a window of this process through its seams, and as the real
// program started with arguments.
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QTimer>
#include <filesystem>
#include <memory>
#include <vector>

#include "mainwindow/Unit1.h"
#include "mainwindow/rich_edit.h"
#include "mainwindow/spin_edit.h"
#include "save_test_support.h"

namespace kerfline {
namespace {

using testing::application;
using testing::readBytes;

class BatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    form_ = testing::makeTestForm(dir_.path(), errors_);
    form_->noticeBox = [this](const QString& text) { notices_ << text; };
    form_->terminateProgram = [this] { ++terminations_; };
    form_->failProgram = [this] { ++failures_; };
  }

  static std::string local(const QString& path) { return QFile::encodeName(path).toStdString(); }
  QString path(const char* name) const { return dir_.path() + "/" + name; }
  QString copyInput(const char* fixture, const char* name) const {
    QFile::remove(path(name));
    QFile::copy(testing::testData(fixture), path(name));
    return path(name);
  }
  void runBatch(std::vector<std::string> args) {
    form_->Arguments = std::move(args);
    testing::child<QTimer>(*form_, "StartupTimer1")->start();
    form_->run(&TMainForm::StartupTimer1Timer);
  }

  QTemporaryDir dir_;
  QStringList errors_;
  std::unique_ptr<TMainForm> form_;
  QStringList notices_;
  int terminations_ = 0;
  int failures_ = 0;
};

TEST_F(BatchTest, without_arguments_the_window_stays_interactive) {
  const std::u32string before = form_->editor()->text();
  runBatch({});
  EXPECT_FALSE(testing::child<QTimer>(*form_, "StartupTimer1")->isActive());
  EXPECT_EQ(terminations_, 0);
  EXPECT_TRUE(notices_.isEmpty());
  EXPECT_EQ(form_->editor()->text(), before);
}

TEST_F(BatchTest, missing_input_shows_the_notice_applies_the_rest_and_ends) {
  runBatch({local(path("absent.rtf")), "20000", "-3.50", "0", "-5", "LAYER"});
  EXPECT_EQ(notices_, QStringList{QStringLiteral("Passed File Not Found ")});
  EXPECT_EQ(testing::child<TSpinEdit>(*form_, "ScaleEdit1")->Value(), 10000);
  EXPECT_EQ(testing::child<QLineEdit>(*form_, "Edit1")->text(), QStringLiteral("-3.50"));
  EXPECT_EQ(testing::child<TSpinEdit>(*form_, "Resolution1")->Value(), 1);
  EXPECT_EQ(testing::child<TSpinEdit>(*form_, "SpacePc")->Value(), 0);
  EXPECT_EQ(testing::child<QLineEdit>(*form_, "Layername")->text(), QStringLiteral("LAYER"));
  EXPECT_EQ(terminations_, 1);
  EXPECT_FALSE(testing::child<QTimer>(*form_, "StartupTimer1")->isActive());
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList());
}

TEST_F(BatchTest, ignored_arguments_leave_their_controls) {
  const QString input = copyInput("save/plain.txt", "keep.txt");
  testing::child<QLineEdit>(*form_, "Edit1")->setText(QStringLiteral("-2.000"));
  runBatch({local(input), "12abc", "1,5", "abc", "x", std::string(40, 'L'), "3"});
  EXPECT_EQ(testing::child<TSpinEdit>(*form_, "ScaleEdit1")->Value(), 100);
  EXPECT_EQ(testing::child<QLineEdit>(*form_, "Edit1")->text(), QStringLiteral("-2.000"));
  EXPECT_EQ(testing::child<TSpinEdit>(*form_, "Resolution1")->Value(), 2);
  EXPECT_EQ(testing::child<TSpinEdit>(*form_, "SpacePc")->Value(), 10);
  EXPECT_EQ(testing::child<QLineEdit>(*form_, "Layername")->text(), QStringLiteral("0"));
  EXPECT_EQ(terminations_, 1);
}

TEST_F(BatchTest, mode_chooses_the_export) {
  struct Row {
    std::vector<std::string> modeArgs;  // what follows the six arguments
    const char* expected;               // "LINE", "POLYLINE" or nullptr for no file
  };
  const Row rows[] = {
      {{}, "LINE"}, {{"2"}, "LINE"}, {{"1"}, "POLYLINE"}, {{"01"}, nullptr}, {{"3"}, nullptr},
      {{" 1"}, nullptr}, {{"2", "extra"}, "LINE"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.modeArgs.empty() ? std::string("(none)") : row.modeArgs.front());
    terminations_ = 0;
    const QString input = copyInput("save/multi_font.rtf", "job.rtf");
    QFile::remove(path("job.DXF"));
    form_->setWindowTitle(QStringLiteral("Kerfline "));
    std::vector<std::string> args{local(input), "150", "-4", "3", "5", "CUT"};
    args.insert(args.end(), row.modeArgs.begin(), row.modeArgs.end());
    runBatch(args);

    EXPECT_TRUE(errors_.isEmpty()) << errors_.join('|').toStdString();
    EXPECT_EQ(terminations_, 1);
    const auto dxf = readBytes(path("job.DXF"));
    ASSERT_EQ(dxf.has_value(), row.expected != nullptr);
    if (!dxf) continue;
    EXPECT_NE(dxf->find(std::string("  0\r\n") + row.expected + "\r\n  8\r\nCUT\r\n"), std::string::npos);
    EXPECT_EQ(dxf->find("POLYLINE") != std::string::npos, std::string(row.expected) == "POLYLINE");
    // Only the PolyLines export names the window after its file.
    EXPECT_EQ(form_->windowTitle() == path("job.DXF"), std::string(row.expected) == "POLYLINE");
  }
  // A batch run never writes the settings file.
  EXPECT_FALSE(QFile::exists(path("Reg.ini")));
}

TEST_F(BatchTest, loaded_text_starts_with_caret_and_fonts_from_its_first_character) {
  const QString input = copyInput("save/multi_font.rtf", "first.rtf");
  runBatch({local(input), "100", "-2", "2", "10", "0", "3"});  // mode 3: no export
  TFontDescription arial;
  arial.Name = "Arial";
  arial.Size = 10;
  arial.CharSet = 0;
  const StyledText text = form_->editor()->styledText();
  ASSERT_FALSE(text.empty());
  EXPECT_EQ(text.charAt(1), U'A');
  EXPECT_EQ(form_->editor()->selStart(), 0);
  EXPECT_EQ(form_->editor()->selLength(), 0);
  EXPECT_EQ(form_->ConversionFont, text.fontAt(1));
  EXPECT_EQ(form_->ConversionFont.Name, "Arial");
  EXPECT_EQ(form_->ConversionFont.Size, 10);
  EXPECT_EQ(form_->editor()->defAttributes().Name, "Arial");
  EXPECT_EQ(form_->editor()->defAttributes().Size, 10);
}

TEST_F(BatchTest, output_name_drops_rtf_then_txt) {
  const QString input = copyInput("save/plain.txt", "sign.txt.rtf");  // plain text despite the name
  runBatch({local(input)});
  EXPECT_TRUE(QFile::exists(path("sign.DXF")));
  EXPECT_EQ(form_->editor()->text(), U"Hello\r\nWorld o\r\n");
}

TEST_F(BatchTest, load_failure_is_reported_and_the_window_stays) {
  // Larger than any document the editor takes; sparse, so it costs no disk.
  const QString input = path("huge.txt");
  { QFile f(input); ASSERT_TRUE(f.open(QIODevice::WriteOnly)); ASSERT_TRUE(f.resize(qint64{65} << 20)); }
  runBatch({local(input), "100"});
  EXPECT_EQ(errors_, QStringList{QStringLiteral("Failed to Load Stream.")});
  EXPECT_EQ(terminations_, 0);
  EXPECT_FALSE(QFile::exists(path("huge.DXF")));
}

TEST_F(BatchTest, write_failure_is_reported_and_the_window_stays) {
  const QString input = copyInput("save/multi_font.rtf", "blocked.rtf");
  ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("blocked.DXF")));  // a folder in the way
  runBatch({local(input)});
  EXPECT_EQ(errors_.size(), 1);
  EXPECT_EQ(terminations_, 0);
  EXPECT_TRUE(QFileInfo(path("blocked.DXF")).isDir());
}

TEST_F(BatchTest, unattended_run_tells_errors_on_standard_error_and_ends_failed) {
  // The same faults that leave an interactive window open must end a run nobody watches.
  { QFile f(path("huge.txt")); ASSERT_TRUE(f.open(QIODevice::WriteOnly)); ASSERT_TRUE(f.resize(qint64{65} << 20)); }
  copyInput("save/multi_font.rtf", "blocked.rtf");
  ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("blocked.DXF")));
  copyInput("save/multi_font.rtf", "fine.rtf");
  struct Row {
    const char* input;
    const char* told;  // on standard error, or nullptr for a run that succeeds
  };
  const Row rows[] = {{"huge.txt", "Kerfline error: Failed to Load Stream."},
                      {"blocked.rtf", "Kerfline error: File access denied."},
                      {"fine.rtf", nullptr}};
  form_->UnattendedBatch = true;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.input);
    terminations_ = failures_ = 0;
    ::testing::internal::CaptureStderr();
    runBatch({local(path(row.input))});
    const std::string told = ::testing::internal::GetCapturedStderr();
    EXPECT_TRUE(errors_.isEmpty()) << "a box was shown: " << errors_.join('|').toStdString();
    EXPECT_EQ(failures_, row.told ? 1 : 0);
    EXPECT_EQ(terminations_, row.told ? 0 : 1);
    if (row.told) {
      EXPECT_NE(told.find(row.told), std::string::npos) << told;
    }
  }
  EXPECT_TRUE(QFile::exists(path("fine.DXF")));
}

// ---- the real program ---------------------------------------------------------------------

class BatchProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    application();
    ASSERT_TRUE(dir_.isValid());
    program_ = testing::copyProgram(QStringLiteral("kerfline"), dir_.path());
    ASSERT_TRUE(QFileInfo(program_).isExecutable());
  }
  QString path(const char* name) const { return dir_.path() + "/" + name; }

  QTemporaryDir dir_;
  QString program_;
};

TEST_F(BatchProcessTest, runs_end_the_program_or_leave_it_open) {
  QFile::copy(testing::testData("save/multi_font.rtf"), path("six.rtf"));
  QFile::copy(testing::testData("save/multi_font.rtf"), path("zero_one.rtf"));
  QFile::copy(testing::testData("save/multi_font.rtf"), path("three.rtf"));
  QFile::copy(testing::testData("save/multi_font.rtf"), path("blocked.rtf"));
  QDir(dir_.path()).mkdir(QStringLiteral("blocked.DXF"));  // a folder in the way
  struct Run {
    QStringList args;
    bool ends;
    const char* notice;  // expected on standard error, or nullptr
    int exitCode = 0;
  };
  const std::vector<Run> runs = {
      {{path("six.rtf"), "100", "-2", "2", "10", "SIX"}, true, nullptr},
      {{path("zero_one.rtf"), "100", "-2", "2", "10", "0", "01"}, true, nullptr},
      {{path("three.rtf"), "100", "-2", "2", "10", "0", "3"}, true, nullptr},
      {{path("absent.rtf"), "200"}, true, "Passed File Not Found "},
      // Nobody can close an error box on the offscreen platform: told, and a failed run.
      {{path("blocked.rtf")}, true, "Kerfline error: File access denied.", 1},
      {{}, false, nullptr},
  };
  // All at once: each waits three seconds before its run.
  std::vector<std::unique_ptr<QProcess>> processes;
  for (const Run& run : runs) {
    processes.push_back(std::make_unique<QProcess>());
    testing::startWindowProcess(*processes.back(), program_, run.args);
  }
  for (std::size_t i = 0; i < runs.size(); ++i) {
    SCOPED_TRACE(runs[i].args.join(' ').toStdString());
    // Without arguments the window must still be there well after its start-up timer.
    const testing::ProcessResult r = testing::finishProcess(*processes[i], runs[i].ends ? 60000 : 4500);
    EXPECT_EQ(r.finished, runs[i].ends) << r.standardError.toStdString();
    if (runs[i].ends) {
      EXPECT_EQ(r.exitCode, runs[i].exitCode) << r.standardError.toStdString();
    }
    if (runs[i].notice) {
      EXPECT_TRUE(r.standardError.contains(QString::fromLatin1(runs[i].notice))) << r.standardError.toStdString();
    }
  }
  const auto six = readBytes(path("six.DXF"));
  ASSERT_TRUE(six);
  EXPECT_NE(six->find("  0\r\nLINE\r\n  8\r\nSIX\r\n"), std::string::npos);
  EXPECT_FALSE(QFile::exists(path("zero_one.DXF")));
  EXPECT_FALSE(QFile::exists(path("three.DXF")));
  EXPECT_FALSE(QFile::exists(path("Reg.ini")));
}

}  // namespace
}  // namespace kerfline
