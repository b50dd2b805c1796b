// The real window: start-up state, caret display, commands, shortcuts, files and help.
#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QSignalSpy>
#include <QTextBlock>
#include <QToolButton>
#include <fstream>

#include "appcore/program_folder.h"
#include "form_test_support.h"
#include "mainwindow/about_box.h"
#include "mainwindow/rich_edit.h"
#include "mainwindow/spin_edit.h"
#include "mainwindow/up_down.h"
#include "richtext/styled_text.h"

namespace kerfline {
namespace {

using formtest::FormTest;

void writeFile(const QString& path, const std::string& bytes) {
  std::ofstream out(QFile::encodeName(path).toStdString(), std::ios::binary);
  out << bytes;
}

using MainFormTest = FormTest;

TEST_F(MainFormTest, start_up_state) {
  TMainForm& f = form();
  EXPECT_EQ(f.windowTitle(), QStringLiteral("Kerfline "));
  EXPECT_EQ(f.CurChar, U'A');
  EXPECT_EQ(f.CharPos, 1);
  EXPECT_EQ(f.editor()->text(), U"AAbbcC\r\n\r\n");
  EXPECT_EQ(testing::child<QComboBox>(f, "FontName")->currentText(), QStringLiteral("MS Sans Serif"));
  EXPECT_EQ(testing::child<QLineEdit>(f, "FontSize")->text(), QStringLiteral("8"));
  EXPECT_FALSE(testing::child<QToolButton>(f, "BoldButton")->isChecked());
  EXPECT_FALSE(testing::child<QToolButton>(f, "ItalicButton")->isChecked());
  EXPECT_EQ(f.editor()->defAttributes().Name, "MS Sans Serif");
  EXPECT_EQ(f.editor()->defAttributes().Size, 8);
  EXPECT_EQ(f.editor()->width(), f.width() / 2);
  EXPECT_EQ(testing::child<TSpinEdit>(f, "Resolution1")->text(), QStringLiteral("2"));
  EXPECT_EQ(testing::child<TSpinEdit>(f, "ScaleEdit1")->text(), QStringLiteral("100"));
  EXPECT_EQ(testing::child<TSpinEdit>(f, "SpacePc")->text(), QStringLiteral("10"));
  EXPECT_EQ(testing::child<QLineEdit>(f, "Edit1")->text(), QStringLiteral("-2.000"));
  EXPECT_EQ(testing::child<QLabel>(f, "Panel2")->text(), QString());
  EXPECT_FALSE(testing::child<QTimer>(f, "Timer")->isActive());
  EXPECT_EQ(testing::child<QTimer>(f, "Timer")->interval(), 300);
  EXPECT_EQ(testing::child<QTimer>(f, "StartupTimer1")->interval(), 3000);
  EXPECT_TRUE(testing::child<QTimer>(f, "StartupTimer1")->isSingleShot());
  EXPECT_EQ(f.ConversionFont.Name, "Times New Roman");
  EXPECT_EQ(f.RichEdit2.font.Size, 8);
  EXPECT_EQ(testing::child<QToolButton>(f, "AutoBtn")->text(), QStringLiteral("Scan"));
  EXPECT_EQ(testing::child<QToolButton>(f, "AutoBtn")->toolTip(), QStringLiteral("Toggle to scan sentence"));
  EXPECT_EQ(testing::child<QComboBox>(f, "FontName")->toolTip(), QStringLiteral("Font Name"));
  EXPECT_EQ(testing::child<QComboBox>(f, "FontName")->statusTip(), QStringLiteral("Select font name"));
  EXPECT_EQ(testing::child<QAction>(f, "FileSaveCmd")->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
  // The program folder is the test executable's own, whatever the current folder.
  EXPECT_EQ(programFolder(), (QCoreApplication::applicationDirPath() + u'/').toStdString());
}

TEST_F(MainFormTest, every_parameter_field_is_inside_the_window) {
  TMainForm& f = form();
  for (QWidget* w : std::initializer_list<QWidget*>{testing::child<TSpinEdit>(f, "Resolution1"), testing::child<TSpinEdit>(f, "ScaleEdit1"), testing::child<QLineEdit>(f, "Layername"), testing::child<QLineEdit>(f, "ZmoveEdit"), testing::child<TSpinEdit>(f, "SpacePc"), testing::child<QLineEdit>(f, "Edit1"),
                                                    testing::child<QLineEdit>(f, "ZlevelEdit"), testing::child<QLabel>(f, "Label3"), testing::child<QLabel>(f, "Label5"), testing::child<QLabel>(f, "Label6"), testing::child<QLabel>(f, "Panel2"), testing::child<QToolButton>(f, "NextCharBtn")}) {
    const QRect r(w->mapTo(&f, QPoint(0, 0)), w->size());
    EXPECT_TRUE(f.rect().contains(r)) << w->objectName().toStdString();
    EXPECT_TRUE(w->isVisible()) << w->objectName().toStdString();
  }
}

TEST_F(MainFormTest, font_list_holds_each_face_once_sorted) {
  const QComboBox* list = testing::child<QComboBox>(form(), "FontName");
  ASSERT_GT(list->count(), 1);
  QStringList names;
  for (int i = 0; i < list->count(); ++i) names << list->itemText(i);
  for (int i = 1; i < names.size(); ++i) {
    EXPECT_LE(QString::compare(names[i - 1], names[i], Qt::CaseInsensitive), 0) << names[i].toStdString();
    EXPECT_NE(names[i - 1], names[i]);
    EXPECT_FALSE(names[i].endsWith(u']')) << names[i].toStdString();
  }
  EXPECT_TRUE(names.contains(QStringLiteral("DejaVu Sans")));
  EXPECT_TRUE(names.contains(QStringLiteral("Liberation Sans")));
  EXPECT_EQ(list->maxVisibleItems(), 10);
}

TEST_F(MainFormTest, loadini_shows_the_settings_file_or_the_missing_key_values) {
  form().Loadini();
  EXPECT_EQ(testing::child<QLineEdit>(form(), "Layername")->text(), QStringLiteral("0"));
  EXPECT_EQ(testing::child<QLineEdit>(form(), "ZmoveEdit")->text(), QStringLiteral("1.00"));
  EXPECT_EQ(testing::child<QLineEdit>(form(), "ZlevelEdit")->text(), QStringLiteral("0.00"));
  writeFile(folder() + QStringLiteral("Reg.ini"), "[Layer]\r\nZup=7\r\n");
  form().Loadini();
  EXPECT_EQ(testing::child<QLineEdit>(form(), "Layername")->text(), QStringLiteral("0"));
  EXPECT_EQ(testing::child<QLineEdit>(form(), "ZmoveEdit")->text(), QStringLiteral("7"));
  EXPECT_EQ(testing::child<QLineEdit>(form(), "ZlevelEdit")->text(), QStringLiteral("0.00"));
  writeFile(folder() + QStringLiteral("Reg.ini"), "[Layer]\r\nLayer=CUT\r\nZup=abc\r\nZdown=-1.5\r\n");
  form().Loadini();
  EXPECT_EQ(testing::child<QLineEdit>(form(), "Layername")->text(), QStringLiteral("CUT"));
  EXPECT_EQ(testing::child<QLineEdit>(form(), "ZmoveEdit")->text(), QStringLiteral("abc"));
  EXPECT_EQ(testing::child<QLineEdit>(form(), "ZlevelEdit")->text(), QStringLiteral("-1.5"));
}

// "line1", "line2", "line3 text", "line4": offsets 0, 7, 14, 26 start the lines.
constexpr char32_t kFourLines[] = U"line1\r\nline2\r\nline3 text\r\nline4";

TEST_F(MainFormTest, caret_display_cases) {
  TMainForm& f = form();
  f.editor()->setText(kFourLines);
  const struct {
    std::int32_t start, length;
    const char* shown;
  } cases[] = {
      {0, 0, "  Pos [1:1]   Sel : [1]   "},
      {18, 0, "  Pos [3:5]   Sel : [1]   "},
      {7, 0, "  Pos [2:1]   Sel : [0]   "},   // the character before the caret ends line 1
      {9, 20, "  Pos [2:3]   Sel : [3]   "},  // line 2 into line 4
      {2, 3, "  Pos [1:3]   Sel : [1]   "},
  };
  for (const auto& c : cases) {
    f.editor()->setSelStart(c.start);
    f.editor()->setSelLength(c.length);
    QTest::keyRelease(f.editor(), Qt::Key_Shift);
    EXPECT_EQ(testing::child<QLabel>(f, "Panel2")->text().toStdString(), c.shown) << c.start << '+' << c.length;
  }
}

TEST_F(MainFormTest, clicking_at_line_3_column_5_shows_it) {
  TMainForm& f = form();
  f.editor()->setText(kFourLines);
  QTextCursor at(f.editor()->document()->findBlockByNumber(2));
  at.setPosition(at.position() + 4);
  const QPoint p = f.editor()->cursorRect(at).center();
  QTest::mouseClick(f.editor()->viewport(), Qt::LeftButton, {}, p);
  EXPECT_EQ(testing::child<QLabel>(f, "Panel2")->text(), QStringLiteral("  Pos [3:5]   Sel : [1]   "));
  EXPECT_EQ(f.SelLineCount, 1);
}

TEST_F(MainFormTest, new_empties_the_editor_and_keeps_the_character) {
  TMainForm& f = form();
  f.CharPos = 3;
  testing::child<QAction>(f, "FileNewCmd")->trigger();
  EXPECT_EQ(f.editor()->text(), U"");
  EXPECT_EQ(f.CharPos, 3);
  EXPECT_EQ(f.CurChar, U'A');
}

TEST_F(MainFormTest, open_loads_rich_text_and_plain_text_and_cancel_keeps_the_text) {
  TMainForm& f = form();
  openAnswer_.clear();
  testing::child<QAction>(f, "FileOpenCmd")->trigger();
  EXPECT_EQ(f.editor()->text(), U"AAbbcC\r\n\r\n");

  const QString rtf = folder() + QStringLiteral("sign.rtf");
  writeFile(rtf, "{\\rtf1\\ansi{\\fonttbl{\\f0 Liberation Serif;}}\\f0\\fs24 Hi\\b Yo\\b0\\par}");
  openAnswer_ = rtf;
  testing::child<QAction>(f, "FileOpenCmd")->trigger();
  EXPECT_TRUE(errors_.isEmpty()) << errors_.join(u'\n').toStdString();
  const StyledText loaded = f.editor()->styledText();
  ASSERT_GE(loaded.length(), 4);
  EXPECT_EQ(loaded.text().substr(0, 4), U"HiYo");
  EXPECT_EQ(loaded.fontAt(1).Name, "Liberation Serif");
  EXPECT_EQ(loaded.fontAt(1).Size, 12);
  EXPECT_FALSE(loaded.fontAt(2).Bold);
  EXPECT_TRUE(loaded.fontAt(3).Bold);
  EXPECT_EQ(f.editor()->selStart(), 0);
  EXPECT_EQ(f.editor()->selLength(), 1);

  const QString txt = folder() + QStringLiteral("notes.TXT");
  writeFile(txt, "plain {\\b text}\nsecond");
  openAnswer_ = txt;
  testing::child<QAction>(f, "FileOpenCmd")->trigger();
  EXPECT_EQ(f.editor()->text(), U"plain {\\b text}\r\nsecond");
}

TEST_F(MainFormTest, open_failure_reports_and_leaves_the_editor_empty) {
  TMainForm& f = form();
  openAnswer_ = folder() + QStringLiteral("missing.rtf");
  testing::child<QAction>(f, "FileOpenCmd")->trigger();
  ASSERT_EQ(errors_.size(), 1);
  EXPECT_EQ(errors_[0], QStringLiteral("Cannot open file ") + openAnswer_ + u'.');
  EXPECT_EQ(f.editor()->text(), U"");
}

TEST_F(MainFormTest, cut_copy_paste_undo_through_menus_and_buttons) {
  TMainForm& f = form();
  QClipboard* clip = QGuiApplication::clipboard();
  f.editor()->setSelStart(0);
  f.editor()->setSelLength(2);
  testing::child<QAction>(f, "Cut1")->trigger();  // Edit > Cut
  EXPECT_EQ(f.editor()->text(), U"bbcC\r\n\r\n");
  EXPECT_EQ(clip->text(), QStringLiteral("AA"));
  f.editor()->setSelStart(0);
  f.editor()->setSelLength(1);
  testing::child<QAction>(f, "SavePolyLines1")->trigger();  // File > "Cut"
  EXPECT_EQ(f.editor()->text(), U"bcC\r\n\r\n");
  EXPECT_EQ(clip->text(), QStringLiteral("b"));
  f.editor()->setSelStart(0);
  f.editor()->setSelLength(2);
  testing::child<QAction>(f, "Copy1")->trigger();
  EXPECT_EQ(clip->text(), QStringLiteral("bc"));
  f.editor()->setSelStart(3);
  f.editor()->setSelLength(0);
  testing::child<QAction>(f, "Paste1")->trigger();
  EXPECT_EQ(f.editor()->text(), U"bcCbc\r\n\r\n");
  QTest::mouseClick(testing::child<QToolButton>(f, "PasteButton"), Qt::LeftButton);
  EXPECT_EQ(f.editor()->text(), U"bcCbcbc\r\n\r\n");
  testing::child<QAction>(f, "EditUndoCmd")->trigger();
  EXPECT_EQ(f.editor()->text(), U"bcCbc\r\n\r\n");
}

TEST_F(MainFormTest, window_shortcuts_run_their_command_once_wherever_the_focus_is) {
  TMainForm& f = form();
  QSignalSpy cut(testing::child<QAction>(f, "EditCutCmd"), &QAction::triggered);
  QSignalSpy copy(testing::child<QAction>(f, "EditCopyCmd"), &QAction::triggered);
  QSignalSpy undo(testing::child<QAction>(f, "EditUndoCmd"), &QAction::triggered);
  QSignalSpy save(testing::child<QAction>(f, "FileSaveCmd"), &QAction::triggered);
  QSignalSpy poly(testing::child<QAction>(f, "SavePoly"), &QAction::triggered);
  QSignalSpy newCmd(testing::child<QAction>(f, "FileNewCmd"), &QAction::triggered);
  f.editor()->setFocus();
  f.editor()->setSelStart(0);
  f.editor()->setSelLength(1);
  QTest::keyClick(f.editor(), Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(cut.count(), 1);
  EXPECT_EQ(f.editor()->text(), U"AbbcC\r\n\r\n");
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("A"));

  f.editor()->setSelStart(0);
  f.editor()->setSelLength(2);
  QTest::keyClick(f.editor(), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(copy.count(), 1);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("Ab"));

  QTest::keyClick(f.editor(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(undo.count(), 1);
  EXPECT_EQ(f.editor()->text(), U"AAbbcC\r\n\r\n");

  // Ctrl+V is the editor's own: it pastes, no window command runs.
  f.editor()->setSelStart(0);
  f.editor()->setSelLength(0);
  QTest::keyClick(f.editor(), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(f.editor()->text(), U"AbAAbbcC\r\n\r\n");

  QTest::keyClick(f.editor(), Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(save.count(), 1);
  QTest::keyClick(f.editor(), Qt::Key_P, Qt::ControlModifier);
  EXPECT_EQ(poly.count(), 1);

  // In a line edit the window's Ctrl+X still wins and cuts the editor's selection.
  f.editor()->setSelStart(0);
  f.editor()->setSelLength(2);
  testing::child<QLineEdit>(f, "Layername")->setFocus();
  testing::child<QLineEdit>(f, "Layername")->selectAll();
  QTest::keyClick(testing::child<QLineEdit>(f, "Layername"), Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(cut.count(), 2);
  EXPECT_EQ(f.editor()->text(), U"AAbbcC\r\n\r\n");
  EXPECT_FALSE(testing::child<QLineEdit>(f, "Layername")->text().isEmpty());
  QTest::keyClick(testing::child<QLineEdit>(f, "Layername"), Qt::Key_N, Qt::ControlModifier);
  EXPECT_EQ(newCmd.count(), 1);
  EXPECT_EQ(f.editor()->text(), U"");
}

TEST_F(MainFormTest, help_opens_the_page_beside_the_program) {
  TMainForm& f = form();
  f.ProgramFolder = (folder() + QStringLiteral("with blank/")).toStdString();
  browserWorks_ = true;
  testing::child<QAction>(f, "Help1")->trigger();
  ASSERT_EQ(urls_.size(), 1);
  EXPECT_EQ(urls_[0], QUrl::fromLocalFile(folder() + QStringLiteral("with blank/KerflineHelp.Htm")));
  EXPECT_TRUE(errors_.isEmpty());
}

TEST_F(MainFormTest, about_box_names_version_licence_and_the_settings_file_in_use) {
  TMainForm& f = form();
  // Help is a menu now: the help page and the About box are its two items.
  QMenu* help = f.menuBar()->findChild<QMenu*>(QStringLiteral("HelpMenu"));
  ASSERT_NE(help, nullptr);
  EXPECT_EQ(help->actions(), (QList<QAction*>{testing::child<QAction>(f, "Help1"), testing::child<QAction>(f, "About1")}));

  for (const bool saved : {false, true}) {
    if (saved) writeFile(folder() + QStringLiteral("Reg.ini"), "[Layer]\r\n");
    testing::child<QAction>(f, "About1")->trigger();
    auto* box = f.findChild<TAboutBox*>();
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(box));
    EXPECT_TRUE(box->isModal());
    EXPECT_EQ(box->VersionLabel->text(), QStringLiteral("Kerfline " KERFLINE_VERSION));
    EXPECT_TRUE(box->LicenceLabel->text().contains(QStringLiteral("GNU General Public License")));
    EXPECT_EQ(box->SettingsLabel->text(),
              QStringLiteral("Settings file: ") + folder() + QStringLiteral("Reg.ini") +
                  (saved ? QString() : QStringLiteral(" (written at the first save)")));
    // OK closes it, and it is gone (not kept hidden for the next time).
    QPointer<TAboutBox> watch(box);
    QTest::keyClick(box, Qt::Key_Return);
    QTRY_VERIFY(watch.isNull());
  }
  EXPECT_TRUE(errors_.isEmpty());
}

TEST_F(MainFormTest, help_of_an_installed_program_is_found_below_share_of_its_prefix) {
  TMainForm& f = form();
  const QString prefix = folder() + QStringLiteral("usr local/");
  ASSERT_TRUE(QDir().mkpath(prefix + QStringLiteral("bin")));
  ASSERT_TRUE(QDir().mkpath(prefix + QStringLiteral("share/kerfline")));
  writeFile(prefix + QStringLiteral("share/kerfline/KerflineHelp.Htm"), "<html></html>");
  f.ProgramFolder = (prefix + QStringLiteral("bin/")).toStdString();
  browserWorks_ = true;
  testing::child<QAction>(f, "Help1")->trigger();
  ASSERT_EQ(urls_.size(), 1);
  EXPECT_EQ(urls_[0], QUrl::fromLocalFile(prefix + QStringLiteral("share/kerfline/KerflineHelp.Htm")));

  // A copy beside the program (a build tree, a portable copy) is the one it opens.
  writeFile(prefix + QStringLiteral("bin/KerflineHelp.Htm"), "<html></html>");
  testing::child<QAction>(f, "Help1")->trigger();
  ASSERT_EQ(urls_.size(), 2);
  EXPECT_EQ(urls_[1], QUrl::fromLocalFile(prefix + QStringLiteral("bin/KerflineHelp.Htm")));
  EXPECT_TRUE(errors_.isEmpty());
}

TEST_F(MainFormTest, help_without_a_browser_reports_and_changes_nothing) {
  TMainForm& f = form();
  browserWorks_ = false;
  testing::child<QAction>(f, "Help1")->trigger();
  ASSERT_EQ(errors_.size(), 1);
  EXPECT_EQ(errors_[0], QStringLiteral("Unable to open ") + folder() + QStringLiteral("KerflineHelp.Htm in a web browser."));
  EXPECT_EQ(f.editor()->text(), U"AAbbcC\r\n\r\n");
  EXPECT_TRUE(f.isVisible());
}

TEST_F(MainFormTest, spin_boxes_read_their_minimum_until_the_text_is_a_whole_number) {
  TMainForm& f = form();
  testing::child<TSpinEdit>(f, "ScaleEdit1")->setFocus();
  testing::child<TSpinEdit>(f, "ScaleEdit1")->setText(QString());
  EXPECT_EQ(testing::child<TSpinEdit>(f, "ScaleEdit1")->Value(), 1);
  testing::child<TSpinEdit>(f, "ScaleEdit1")->setText(QStringLiteral("0"));
  EXPECT_EQ(testing::child<TSpinEdit>(f, "ScaleEdit1")->Value(), 0);  // not clamped while typing
  QTest::keyClicks(testing::child<TSpinEdit>(f, "ScaleEdit1"), QStringLiteral("x"));
  EXPECT_EQ(testing::child<TSpinEdit>(f, "ScaleEdit1")->text(), QStringLiteral("0"));  // letters are refused
  f.editor()->setFocus();
  EXPECT_EQ(testing::child<TSpinEdit>(f, "ScaleEdit1")->text(), QStringLiteral("1"));  // brought into range on leaving
  testing::child<TSpinEdit>(f, "ScaleEdit1")->setText(QStringLiteral("99999"));
  testing::child<TSpinEdit>(f, "ScaleEdit1")->stepBy(1);
  EXPECT_EQ(testing::child<TSpinEdit>(f, "ScaleEdit1")->text(), QStringLiteral("10000"));
  testing::child<TSpinEdit>(f, "Resolution1")->setText(QStringLiteral("1.5"));
  EXPECT_EQ(testing::child<TSpinEdit>(f, "Resolution1")->Value(), 1);
  testing::child<TSpinEdit>(f, "SpacePc")->SetValue(-5);
  EXPECT_EQ(testing::child<TSpinEdit>(f, "SpacePc")->text(), QStringLiteral("0"));
  testing::child<TSpinEdit>(f, "Resolution1")->setFocus();
  QTest::keyClick(testing::child<TSpinEdit>(f, "Resolution1"), Qt::Key_Up);
  EXPECT_EQ(testing::child<TSpinEdit>(f, "Resolution1")->text(), QStringLiteral("2"));
}

TEST_F(MainFormTest, delay_processes_events_and_waits_at_least_as_asked) {
  bool ticked = false;
  QTimer::singleShot(5, [&] { ticked = true; });
  QElapsedTimer clock;
  clock.start();
  form().Delay(60);
  EXPECT_GE(clock.elapsed(), 60);
  EXPECT_TRUE(ticked);
}

TEST_F(MainFormTest, close_waits_then_closes) {
  testing::child<QAction>(form(), "Close1")->trigger();
  EXPECT_FALSE(form().isVisible());
}

}  // namespace
}  // namespace kerfline
