// The window's two save commands on a real window: what they write, what Reg.ini holds after
// a confirmed, cancelled or failed save, and the state the export leaves behind.
#include <gtest/gtest.h>

#include <QAction>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QStringList>
#include <QTimer>

#include <fontconfig/fontconfig.h>

#include "command_output.h"
#include "export/text_export.h"
#include "mainwindow/Unit1.h"
#include "mainwindow/rich_edit.h"
#include "mainwindow/spin_edit.h"
#include "richtext/styled_text.h"
#include "save_test_support.h"

namespace kerfline {
namespace {

using testing::font;

using testing::application;
using testing::readBytes;
using testing::storedSettings;

const TFontDescription kSans = font("Liberation Sans", 10);
const TFontDescription kSerifBold = font("Liberation Serif", 20, true);

// "Ab", a line break, then "C" in another face, size and style.
StyledText sampleText() {
  StyledText t;
  t.append(U"Ab\r\n", kSans);
  t.append(U'C', kSerifBold);
  return t;
}

const std::string kEmptyDxf = "  0\r\nSECTION\r\n  2\r\nENTITIES\r\n  0\r\nENDSEC\r\n  0\r\nEOF\r\n";

class SaveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    form_ = testing::makeTestForm(dir_.path(), errors_);
    form_->saveFileName = [this] { return dialogAnswer_; };
    form_->editor()->setStyledText(sampleText());
    testing::child<QLineEdit>(*form_, "Layername")->setText(QStringLiteral("CUT"));
    testing::child<QLineEdit>(*form_, "ZmoveEdit")->setText(QStringLiteral("2.5"));
    testing::child<QLineEdit>(*form_, "ZlevelEdit")->setText(QStringLiteral("-1"));
  }

  QString path(const char* name) const { return dir_.path() + "/" + name; }

  QTemporaryDir dir_;
  QStringList errors_;
  std::unique_ptr<TMainForm> form_;
  QString dialogAnswer_;
};

enum class Command { Lines, PolyLines };
enum class Answer { Confirmed, Cancelled, FailedWrite };

struct Row {
  Command command;
  Answer answer;
  bool fileWritten;
  bool settingsSaved;
  bool captionIsFile;
};

// The Lines command saves its settings even when the dialog is cancelled; PolyLines only when
// a file was written; a failed export saves nothing and leaves the caption alone.
const Row kRows[] = {
    {Command::Lines, Answer::Confirmed, true, true, false},
    {Command::Lines, Answer::Cancelled, false, true, false},
    {Command::Lines, Answer::FailedWrite, false, false, false},
    {Command::PolyLines, Answer::Confirmed, true, true, true},
    {Command::PolyLines, Answer::Cancelled, false, false, false},
    {Command::PolyLines, Answer::FailedWrite, false, false, false},
};

TEST_F(SaveTest, settings_file_and_caption_after_each_outcome) {
  for (const Row& row : kRows) {
    SCOPED_TRACE(::testing::Message() << "command " << static_cast<int>(row.command) << " answer "
                                      << static_cast<int>(row.answer));
    QFile::remove(path("Reg.ini"));
    errors_.clear();
    form_->setWindowTitle(QStringLiteral("Kerfline "));
    const QString target = row.answer == Answer::FailedWrite ? path("missing/out.dxf") : path("out.dxf");
    QFile::remove(target);
    dialogAnswer_ = row.answer == Answer::Cancelled ? QString() : target;

    (row.command == Command::Lines ? testing::child<QAction>(*form_, "FileSaveCmd") : testing::child<QAction>(*form_, "SavePoly"))->trigger();

    EXPECT_EQ(QFile::exists(target), row.fileWritten);
    const auto stored = storedSettings(dir_.path());
    EXPECT_EQ(stored.has_value(), row.settingsSaved);
    if (stored) {
      EXPECT_EQ(*stored, (LayerSettings{"CUT", "2.5", "-1"}));
    }
    EXPECT_EQ(form_->windowTitle(), row.captionIsFile ? target : QStringLiteral("Kerfline "));
    if (row.answer == Answer::FailedWrite) {
      ASSERT_EQ(errors_.size(), 1);
      EXPECT_TRUE(errors_.front().endsWith('.')) << errors_.front().toStdString();
    } else {
      EXPECT_TRUE(errors_.isEmpty()) << errors_.join('|').toStdString();
    }
  }
}

// Environment variables set for one test and put back afterwards.
class ScopedEnvironment {
 public:
  void set(const char* name, const QByteArray& value) {
    saved_.append({name, qgetenv(name), qEnvironmentVariableIsSet(name)});
    qputenv(name, value);
  }
  void unset(const char* name) {
    saved_.append({name, qgetenv(name), qEnvironmentVariableIsSet(name)});
    qunsetenv(name);
  }
  ~ScopedEnvironment() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
      if (it->wasSet) qputenv(it->name, it->value);
      else qunsetenv(it->name);
    }
  }

 private:
  struct Saved {
    const char* name;
    QByteArray value;
    bool wasSet;
  };
  QList<Saved> saved_;
};

TEST_F(SaveTest, settings_live_in_the_config_folder_when_the_program_folder_cannot_take_them) {
  ScopedEnvironment env;
  env.unset("KERFLINE_SETTINGS");
  env.set("XDG_CONFIG_HOME", QFile::encodeName(path("config")));
  // A program folder that is not there can take no file, for root as for anyone.
  form_->ProgramFolder = QFile::encodeName(path("nowhere")).toStdString() + "/";
  const QString userIni = path("config/kerfline/Reg.ini");
  EXPECT_EQ(form_->settingsFile(), QFile::encodeName(userIni).toStdString());
  form_->Loadini();
  EXPECT_EQ(testing::child<QLineEdit>(*form_, "Layername")->text(), QStringLiteral("0"));
  EXPECT_FALSE(QFile::exists(path("config"))) << "reading creates nothing";

  testing::child<QLineEdit>(*form_, "Layername")->setText(QStringLiteral("CUT"));
  testing::child<QLineEdit>(*form_, "ZmoveEdit")->setText(QStringLiteral("2.5"));
  testing::child<QLineEdit>(*form_, "ZlevelEdit")->setText(QStringLiteral("-1"));
  dialogAnswer_ = path("out.dxf");
  testing::child<QAction>(*form_, "FileSaveCmd")->trigger();
  EXPECT_TRUE(errors_.isEmpty()) << errors_.join('|').toStdString();
  EXPECT_EQ(readBytes(userIni), std::optional<std::string>("[Layer]\r\nLayer=CUT\r\nZup=2.5\r\nZdown=-1\r\n"));
  EXPECT_EQ(QFile::permissions(path("config/kerfline")) & 0x7777,
            QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser);

  // A fresh window reads them back from there.
  QStringList moreErrors;
  auto fresh = testing::makeTestForm(dir_.path(), moreErrors);
  fresh->ProgramFolder = form_->ProgramFolder;
  fresh->Loadini();
  EXPECT_EQ(testing::child<QLineEdit>(*fresh, "Layername")->text(), QStringLiteral("CUT"));
  EXPECT_EQ(testing::child<QLineEdit>(*fresh, "ZmoveEdit")->text(), QStringLiteral("2.5"));

  // KERFLINE_SETTINGS names a file of its own for reading and writing.
  env.set("KERFLINE_SETTINGS", QFile::encodeName(path("named.ini")));
  fresh->Loadini();
  EXPECT_EQ(testing::child<QLineEdit>(*fresh, "Layername")->text(), QStringLiteral("0"));
  testing::child<QLineEdit>(*fresh, "Layername")->setText(QStringLiteral("NAMED"));
  fresh->Saveini();
  EXPECT_EQ(readBytes(path("named.ini")), std::optional<std::string>("[Layer]\r\nLayer=NAMED\r\nZup=1.00\r\nZdown=0.00\r\n"));
  EXPECT_EQ(readBytes(userIni), std::optional<std::string>("[Layer]\r\nLayer=CUT\r\nZup=2.5\r\nZdown=-1\r\n"));
}

TEST_F(SaveTest, files_hold_the_editor_text_with_the_panel_settings) {
  testing::child<TSpinEdit>(*form_, "ScaleEdit1")->SetValue(250);
  testing::child<TSpinEdit>(*form_, "Resolution1")->SetValue(5);
  testing::child<TSpinEdit>(*form_, "SpacePc")->SetValue(0);
  testing::child<QLineEdit>(*form_, "Edit1")->setText(QStringLiteral("-3.5"));
  form_->FileSave(path("lines.dxf"));
  form_->SavePoly2(path("poly.dxf"));

  // The same export run headless over the same text and settings.
  ExportSettings s;
  s.pitchText = "-3.5";
  s.zMoveText = "2.5";
  s.zLevelText = "-1";
  s.layerText = "CUT";
  s.resolution = 5;
  s.scale = 250;
  s.spacePercent = 0;
  TTTFToVectorConverter converter;
  const std::string dir = QFile::encodeName(dir_.path()).toStdString();
  FileSave(dir + "/lines_ref.dxf", sampleText(), s, converter);
  SavePoly2(dir + "/poly_ref.dxf", sampleText(), s, converter);

  const auto lines = readBytes(path("lines.dxf"));
  ASSERT_TRUE(lines);
  EXPECT_NE(*lines, kEmptyDxf);
  EXPECT_EQ(lines, readBytes(path("lines_ref.dxf")));
  EXPECT_EQ(readBytes(path("poly.dxf")), readBytes(path("poly_ref.dxf")));
}

TEST_F(SaveTest, export_leaves_the_last_character_current) {
  testing::child<TSpinEdit>(*form_, "ScaleEdit1")->SetValue(100);
  for (Command command : {Command::Lines, Command::PolyLines}) {
    form_->CurChar = U'?';
    form_->editor()->setSelStart(0);
    if (command == Command::Lines) {
      form_->FileSave(path("state.dxf"));
    } else {
      form_->SavePoly2(path("state.dxf"));
    }
    EXPECT_EQ(form_->CurChar, U'C');
    EXPECT_EQ(form_->editor()->selStart(), 5);  // caret just after the fifth character
    EXPECT_EQ(form_->editor()->selLength(), 0);
    EXPECT_EQ(form_->ConversionFont, kSerifBold);
    EXPECT_EQ(form_->RichEdit2.text, U"C");
    EXPECT_EQ(form_->RichEdit2.font, kSerifBold);
    EXPECT_EQ(form_->CharFontSize, 20);
    EXPECT_EQ(form_->UnitScale, unitScaleFor(100, 20));
    EXPECT_TRUE(testing::child<QStatusBar>(*form_, "StatusBar1")->currentMessage().isEmpty());
    // The caret display was last updated before the last character became current: the caret
    // then stood after the LF, at the start of line 2, with the break before it on line 1.
    EXPECT_EQ(testing::child<QLabel>(*form_, "Panel2")->text(), QStringLiteral("  Pos [2:1]   Sel : [0]   "));
  }
}

TEST_F(SaveTest, empty_text_gives_the_same_eight_lines_in_both_forms) {
  form_->editor()->clearText();
  form_->FileSave(path("empty_lines.dxf"));
  form_->SavePoly2(path("empty_poly.dxf"));
  EXPECT_EQ(readBytes(path("empty_lines.dxf")), kEmptyDxf);
  EXPECT_EQ(readBytes(path("empty_poly.dxf")), kEmptyDxf);
  EXPECT_EQ(form_->windowTitle(), path("empty_poly.dxf"));
}

TEST_F(SaveTest, failed_write_keeps_the_previous_file) {
  // The target exists as a folder: it cannot be replaced by a file.
  ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("taken.dxf")));
  dialogAnswer_ = path("taken.dxf");
  testing::child<QAction>(*form_, "SavePoly")->trigger();
  EXPECT_EQ(errors_.size(), 1);
  EXPECT_TRUE(QFileInfo(path("taken.dxf")).isDir());
  EXPECT_FALSE(storedSettings(dir_.path()));
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList());  // no temporary left
}

TEST_F(SaveTest, glyphs_that_cannot_be_loaded_are_named_and_a_text_of_nothing_else_is_refused) {
  // A copy of a real font whose "A" is a composite holding itself, under a name of its own.
  const std::string font = QFile::encodeName(path("broken.ttf")).toStdString();
  const test::CommandOutput made = test::runCommand(
      "/usr/bin/python3 " KERFLINE_SOURCE_DIR "/tests/vectorizer/make_broken_font.py "
      "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf '" + font +
      "' self-composite A 'Kerfline Broken Sans' 2>&1");
  ASSERT_TRUE(made.ok()) << made.output;
  ASSERT_TRUE(FcConfigAppFontAddFile(nullptr, reinterpret_cast<const FcChar8*>(font.c_str())));
  const TFontDescription broken = testing::font("Kerfline Broken Sans", 10);
  const QString named = QStringLiteral("glyph 36 (U+0041) of font file '%1' cannot be loaded: "
                                       "invalid composite glyph").arg(path("broken.ttf"));

  // "AC": the C is written, the A named in the status bar.
  StyledText partial;
  partial.append(U"AC", broken);
  form_->editor()->setStyledText(partial);
  form_->FileSave(path("partial.dxf"));
  EXPECT_TRUE(form_->statusBar()->currentMessage().startsWith(named))
      << form_->statusBar()->currentMessage().toStdString();
  EXPECT_NE(readBytes(path("partial.dxf")), kEmptyDxf);

  // "A" alone: nothing to draw, told in the error box, the previous file kept.
  StyledText nothing;
  nothing.append(U"A", broken);
  form_->editor()->setStyledText(nothing);
  { std::ofstream(QFile::encodeName(path("old.dxf")).toStdString()) << "previous"; }
  dialogAnswer_ = path("old.dxf");
  testing::child<QAction>(*form_, "SavePoly")->trigger();
  ASSERT_EQ(errors_.size(), 1);
  EXPECT_TRUE(errors_[0].contains(QStringLiteral("Nothing could be drawn: ") + named)) << errors_[0].toStdString();
  EXPECT_EQ(readBytes(path("old.dxf")), "previous");
}

TEST_F(SaveTest, dialog_replaces_without_asking_and_offers_the_last_name) {
  dialogAnswer_ = path("first.dxf");
  testing::child<QAction>(*form_, "FileSaveCmd")->trigger();
  EXPECT_TRUE(testing::child<QFileDialog>(*form_, "SaveDialog1")->testOption(QFileDialog::DontConfirmOverwrite));
  EXPECT_EQ(testing::child<QFileDialog>(*form_, "SaveDialog1")->selectedFiles().value(0), path("first.dxf"));
  EXPECT_EQ(testing::child<QFileDialog>(*form_, "SaveDialog1")->defaultSuffix(), QStringLiteral("dxf"));
}

}  // namespace
}  // namespace kerfline
