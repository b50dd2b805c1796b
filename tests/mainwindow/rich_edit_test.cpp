#include "mainwindow/rich_edit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFontInfo>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <memory>
#include <unistd.h>

#include "common/error.h"
#include "mainwindow/rich_edit_format.h"
#include "richtext/document_loader.h"
#include "expect_throw_msg.h"
#include "temp_dir.h"

namespace kerfline {
namespace {

// The widgets need one QApplication for the whole run; gtest_main owns main().
class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "mainwindow_rich_edit_test";
    static char* argv[] = {name, nullptr};
    app_ = std::make_unique<QApplication>(argc, argv);
  }
  void TearDown() override { app_.reset(); }

 private:
  std::unique_ptr<QApplication> app_;
};
[[maybe_unused]] const auto* const qtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

TFontDescription font(std::string name, int size) {
  TFontDescription f;
  f.Name = std::move(name);
  f.Size = size;
  return f;
}

TFontDescription bold(TFontDescription f) {
  f.Bold = true;
  return f;
}

// Formats of every character, one entry per position, built from the runs.
std::vector<TFontDescription> formatsOf(const StyledText& s) {
  std::vector<TFontDescription> out;
  for (const auto& run : s.runs()) out.insert(out.end(), static_cast<std::size_t>(run.length), run.format);
  return out;
}

class RichEditTest : public ::testing::Test {
 protected:
  TRichEdit edit;
};

TEST_F(RichEditTest, InitialTextOffsetsAndLines) {
  edit.setText(U"AAbbcC\r\n\r\n");
  EXPECT_EQ(edit.text(), U"AAbbcC\r\n\r\n");
  EXPECT_EQ(edit.toPlainText(), QStringLiteral("AAbbcC\n\n"));
  EXPECT_EQ(edit.lineCount(), 3);
  // offset -> line: a line's CR and LF belong to it; past the end is the last line.
  const std::vector<std::pair<int, int>> lines = {{0, 0}, {5, 0}, {6, 0}, {7, 0}, {8, 1},
                                                  {9, 1}, {10, 2}, {500, 2}};
  for (auto [offset, line] : lines) EXPECT_EQ(edit.lineFromChar(offset), line) << offset;
  EXPECT_EQ(edit.lineIndex(0), 0);
  EXPECT_EQ(edit.lineIndex(1), 8);
  EXPECT_EQ(edit.lineIndex(2), 10);
  EXPECT_EQ(edit.lineIndex(3), -1);
}

TEST_F(RichEditTest, SelectionCountsLineBreaksTwice) {
  edit.setText(U"AAbbcC\r\n\r\n");
  edit.setSelLength(3);
  edit.setSelStart(5);
  EXPECT_EQ(edit.selStart(), 5);
  EXPECT_EQ(edit.selLength(), 3);
  EXPECT_EQ(edit.textCursor().selectedText(), QStringLiteral("C\u2029"));
  // Moving the start keeps the length, as the window expects.
  edit.setSelStart(1);
  EXPECT_EQ(edit.textCursor().selectedText(), QStringLiteral("Abb"));
  edit.setSelLength(0);
  edit.setSelStart(10);
  EXPECT_EQ(edit.selStart(), 10);
  EXPECT_EQ(edit.selLength(), 0);
  EXPECT_EQ(edit.textCursor().position(), 8);
  // A length beyond the text stops at its end.
  edit.setSelStart(4);
  edit.setSelLength(100);
  EXPECT_EQ(edit.selLength(), 6);
  // The length asked for holds for the start set next, even where it did not fit behind the
  // old start: at the end of the text, or ending between a CR and its LF.
  edit.setSelLength(0);
  edit.setSelStart(10);
  edit.setSelLength(1);
  edit.setSelStart(0);
  EXPECT_EQ(edit.textCursor().selectedText(), QStringLiteral("A"));
  edit.setSelLength(0);
  edit.setSelStart(5);
  edit.setSelLength(4);  // from C to the middle of the second break
  edit.setSelStart(1);
  EXPECT_EQ(edit.textCursor().selectedText(), QStringLiteral("Abbc"));
}

TEST_F(RichEditTest, CaretLineQueriesForTheCaretDisplay) {
  // What the caret display computes: line of s, line of s + n - 1, column s - lineIndex(line).
  edit.setText(U"one\r\ntwo\r\nthree\r\nfour");
  struct Case {
    int start, length, line, last, column;
  };
  for (const Case c : {Case{0, 0, 0, 0, 0},     // -1 asks for the caret's line
                       Case{5, 0, 1, 0, 0},     // line start: the character before is on line 0
                       Case{12, 0, 2, 2, 2},    // "th|ree"
                       Case{6, 12, 1, 3, 1}}) {  // "wo\r\nthree\r\nf": from line 2 into line 4
    edit.setSelLength(c.length);
    edit.setSelStart(c.start);
    const int s = edit.selStart(), n = edit.selLength();
    EXPECT_EQ(edit.lineFromChar(s), c.line) << c.start;
    EXPECT_EQ(edit.lineFromChar(s + n - 1), c.last) << c.start;
    EXPECT_EQ(s - edit.lineIndex(edit.lineFromChar(s)), c.column) << c.start;
  }
  edit.setSelLength(0);
  edit.setSelStart(12);
  EXPECT_EQ(edit.lineFromChar(-1), 2);
  EXPECT_EQ(edit.lineIndex(-1), 10);
}

TEST_F(RichEditTest, CharactersBeyondTheBmpCountOnce) {
  edit.setText(U"a\U0001F600b\r\n\U00010348");
  EXPECT_EQ(edit.text(), U"a\U0001F600b\r\n\U00010348");
  EXPECT_EQ(edit.lineIndex(1), 5);
  edit.setSelLength(1);
  edit.setSelStart(1);
  EXPECT_EQ(edit.textCursor().selectedText(), QString::fromUcs4(U"\U0001F600", 1));
  edit.setSelLength(1);
  edit.setSelStart(5);
  EXPECT_EQ(edit.textCursor().selectedText(), QString::fromUcs4(U"\U00010348", 1));
  EXPECT_EQ(edit.selLength(), 1);
}

TEST_F(RichEditTest, AnyLineBreakBecomesCrLf) {
  edit.setText(U"a\nb\rc\r\n");
  EXPECT_EQ(edit.text(), U"a\r\nb\r\nc\r\n");
  // Shift+Enter gives a line separator inside the paragraph: still a line break of two.
  edit.setText(U"ab");
  edit.setSelLength(0);
  edit.setSelStart(1);
  QTest::keyClick(&edit, Qt::Key_Return, Qt::ShiftModifier);
  EXPECT_EQ(edit.text(), U"a\r\nb");
  EXPECT_EQ(edit.lineCount(), 2);
  EXPECT_EQ(edit.lineIndex(1), 3);
  EXPECT_EQ(edit.styledText().text(), U"a\r\nb");
}

TEST_F(RichEditTest, StyledTextRoundTripIsExact) {
  TFontDescription a = font("Liberation Serif", 12);
  TFontDescription b = font("No Such Face Anywhere", 37);
  b.Bold = b.Italic = b.Underline = b.StrikeOut = true;
  b.CharSet = charset::Greek;
  b.Pitch = TFontPitch::Fixed;
  b.Color = 0x00FF8001;
  TFontDescription c = font("Arial", 8);
  c.CharSet = charset::Ansi;
  c.Pitch = TFontPitch::Variable;
  c.Color = 0x000000FF;
  TFontDescription d = font("", 1);  // an empty face name is kept too
  StyledText x;
  x.append(U"\r\n", c);  // an empty first line
  x.append(U"Hello\t", a);
  x.append(U"W\U0001F600rld", b);
  x.append(U"\r\n", c);  // a break in a format of its own
  x.append(U"\r\n\r\n", a);
  x.append(U"z", d);
  // Characters Qt might treat specially: NUL, controls, no-break space, byte-order mark, the
  // object replacement character, the last code point.
  x.append(std::u32string{0, 1, 0x1F, 0xA0, 0xFEFF, 0xFFFC, 0xFFFF, 0x10FFFF}, a);
  x.append(U"\r\n", b);
  edit.setStyledText(x);
  const StyledText y = edit.styledText();
  EXPECT_EQ(y.text(), x.text());
  EXPECT_EQ(y.runs(), x.runs());
  EXPECT_EQ(edit.text(), x.text());
}

TEST_F(RichEditTest, SelectionAttributesReadTheRightCharacter) {
  const TFontDescription a = font("Alpha", 10), b = font("Beta", 20), c = font("Gamma", 30);
  StyledText x;
  x.append(U"aa", a);
  x.append(U"bb", b);
  x.append(U"\r\n", c);
  x.append(U"aa", a);
  edit.setStyledText(x);
  struct Case {
    int start, length;
    TFontDescription expected;
  };
  for (const Case& k : {Case{0, 0, a},   // nothing before the caret: the first character
                        Case{2, 0, a},   // the character before the caret
                        Case{3, 0, b},
                        Case{6, 0, c},   // line start: the break before it
                        Case{1, 3, a},   // a selection: its first character
                        Case{2, 2, b},
                        Case{4, 3, c}}) {
    edit.setSelLength(k.length);
    edit.setSelStart(k.start);
    EXPECT_EQ(edit.selAttributes(), k.expected) << k.start << "+" << k.length;
  }
}

TEST_F(RichEditTest, SetSelAttributesWritesOnlyTheGivenFields) {
  StyledText x;
  x.append(U"ab", font("Alpha", 10));
  x.append(U"cd", font("Beta", 20));
  x.append(U"ef", font("Alpha", 10));
  edit.setStyledText(x);
  edit.setSelLength(3);
  edit.setSelStart(1);  // "bcd"
  edit.setSelAttributes(bold(font("Ignored", 99)), AttrBold);
  const auto f = formatsOf(edit.styledText());
  ASSERT_EQ(f.size(), 6u);
  EXPECT_EQ(f[0], font("Alpha", 10));
  EXPECT_EQ(f[1], bold(font("Alpha", 10)));
  EXPECT_EQ(f[2], bold(font("Beta", 20)));
  EXPECT_EQ(f[3], bold(font("Beta", 20)));
  EXPECT_EQ(f[4], font("Alpha", 10));
  EXPECT_EQ(edit.selAttributes(), bold(font("Alpha", 10)));
}

TEST_F(RichEditTest, DefaultAttributesApplyToTypingNotToSelections) {
  TFontDescription typed = font("Typed Face", 17);
  typed.Italic = true;
  typed.Color = 0x123456;
  typed.CharSet = charset::Russian;
  edit.setText(U"ab");
  edit.setSelLength(0);
  edit.setSelStart(2);
  edit.setDefAttributes(typed);
  EXPECT_EQ(edit.defAttributes(), typed);
  EXPECT_EQ(edit.selAttributes(), typed);  // the caret's pending format, as the toolbar shows
  QTest::keyClicks(&edit, "xy");
  EXPECT_EQ(edit.text(), U"abxy");
  auto f = formatsOf(edit.styledText());
  EXPECT_EQ(f[0], defaultEditorFormat());
  EXPECT_EQ(f[2], typed);
  EXPECT_EQ(f[3], typed);

  // With a selection the defaults change, the selected text does not.
  edit.setSelLength(2);
  edit.setSelStart(0);
  edit.setDefAttributes(font("Other", 9), AttrFaceName | AttrSize);
  f = formatsOf(edit.styledText());
  EXPECT_EQ(f[0], defaultEditorFormat());
  TFontDescription expected = typed;
  expected.Name = "Other";
  expected.Size = 9;
  EXPECT_EQ(edit.defAttributes(), expected);
}

TEST_F(RichEditTest, EmptyEditorTypesInTheDefaultAttributes) {
  TFontDescription d = font("MS Sans Serif", 8);
  d.Underline = true;
  d.Pitch = TFontPitch::Fixed;
  edit.setDefAttributes(d);
  edit.clearText();
  EXPECT_EQ(edit.text(), U"");
  EXPECT_EQ(edit.document()->defaultFont().pointSize(), 8);
  EXPECT_EQ(edit.document()->defaultFont().families().value(0), QStringLiteral("MS Sans Serif"));
  // A click into the empty editor drops any pending format; the first line's own format stays.
  edit.setSelLength(0);
  edit.setSelStart(0);
  QTest::keyClicks(&edit, "q");
  QTest::keyClick(&edit, Qt::Key_Return);
  EXPECT_EQ(formatsOf(edit.styledText()), std::vector<TFontDescription>(3, d));
  // setText writes the defaults explicitly.
  edit.setText(U"k");
  EXPECT_EQ(formatsOf(edit.styledText()), std::vector<TFontDescription>(1, d));
}

TEST_F(RichEditTest, DefaultFaceSurvivesTheWindowFont) {
  QWidget window;
  TRichEdit* child = new TRichEdit(&window);
  child->setDefAttributes(font("MS Sans Serif", 8));
  window.setFont(QFont(QStringLiteral("Liberation Mono"), 23));
  child->setText(U"");
  child->setSelLength(0);
  child->setSelStart(0);
  QTest::keyClicks(child, "a");
  EXPECT_EQ(child->styledText().runs().at(0).format, font("MS Sans Serif", 8));
}

using test::TempDir;

TEST_F(RichEditTest, LoadsPlainAndRichTextFiles) {
  const TempDir dir;
  edit.setDefAttributes(font("MS Sans Serif", 8));
  edit.loadFromFile(dir.write("plain.txt", "one\ntwo\r\n"));
  EXPECT_EQ(edit.text(), U"one\r\ntwo\r\n");
  EXPECT_EQ(formatsOf(edit.styledText()), std::vector<TFontDescription>(10, font("MS Sans Serif", 8)));

  edit.loadFromFile(dir.write("rich.rtf", "{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs40 Hi\\b B\\par}"));
  EXPECT_EQ(edit.text().substr(0, 3), U"HiB");
  const auto f = formatsOf(edit.styledText());
  ASSERT_GE(f.size(), 3u);
  EXPECT_EQ(f[0].Name, "Arial");
  EXPECT_EQ(f[0].Size, 20);
  EXPECT_FALSE(f[1].Bold);
  EXPECT_TRUE(f[2].Bold);
}

TEST_F(RichEditTest, ScriptSuffixedFacesShowTheirBaseFace) {
  // "Arial CE" is no installed family; the editor shows what it shows for "Arial", as the
  // exports cut it, and keeps the name and character set the document gave.
  const QString arial = QFontInfo(QFont(QStringLiteral("Arial"))).family();
  const QString times = QFontInfo(QFont(QStringLiteral("Times New Roman"))).family();
  ASSERT_NE(arial, QFontInfo(QFont(QStringLiteral("Arial CE"))).family()) << "Qt alone differs";
  const TempDir dir;
  edit.loadFromFile(dir.write("ce.rtf", "{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset238 Arial CE;}"
                                        "{\\f1\\fcharset204 Times New Roman Cyr;}}\\f0 \\'8a{\\f1 \\'c0}}"));
  ASSERT_EQ(edit.text(), U"\u0160\u0410");
  QTextCursor cursor(edit.document());
  cursor.setPosition(1);
  EXPECT_EQ(QFontInfo(cursor.charFormat().font()).family(), arial);
  cursor.setPosition(2);
  EXPECT_EQ(QFontInfo(cursor.charFormat().font()).family(), times);
  const auto f = formatsOf(edit.styledText());
  ASSERT_EQ(f.size(), 2u);
  EXPECT_EQ(f[0].Name, "Arial CE");
  EXPECT_EQ(f[0].CharSet, 238);
  EXPECT_EQ(f[1].Name, "Times New Roman Cyr");
  EXPECT_EQ(f[1].CharSet, 204);

  // Typed text in such a default face too.
  edit.setDefAttributes(font("Arial Greek", 12));
  EXPECT_EQ(QFontInfo(edit.font()).family(), arial);
  EXPECT_EQ(edit.defAttributes().Name, "Arial Greek");
}

// The exports read the editor's snapshot in the window and the loaded document headless; both
// must hold the same characters in the same formats for the same file.
TEST_F(RichEditTest, SnapshotAfterLoadingEqualsTheLoadedDocument) {
  const std::string dir = KERFLINE_TEST_DATA_DIR "/richtext/";
  int checked = 0;
  for (const std::string& path :
       {std::string(KERFLINE_SOURCE_DIR "/examples/sample.rtf"), std::string(KERFLINE_SOURCE_DIR "/examples/sample.txt"),
        dir + "rtf_abiword.rtf", dir + "rtf_libreoffice.rtf", dir + "plain_utf16le_bom.txt", dir + "plain_cr.txt"}) {
    ASSERT_TRUE(std::filesystem::exists(path)) << path;
    ++checked;
    const StyledText loaded = loadDocument(path, edit.defAttributes());
    edit.loadFromFile(path);
    const StyledText snapshot = edit.styledText();
    EXPECT_EQ(snapshot.text(), loaded.text()) << path;
    EXPECT_EQ(snapshot.runs(), loaded.runs()) << path;
    EXPECT_EQ(edit.text(), loaded.text()) << path;
  }
  EXPECT_GE(checked, 4);
}

TEST_F(RichEditTest, FailedLoadLeavesTheEditorAsItWas) {
  const TempDir dir;
  edit.setText(U"kept");
  const std::string missing = dir.file("no-such-file.rtf");
  EXPECT_ERROR_MSG(edit.loadFromFile(missing), "Cannot open file " + missing);
  EXPECT_THROW(edit.loadFromFile(dir.file("")), Error);  // a folder
  EXPECT_EQ(edit.text(), U"kept");
}

TEST_F(RichEditTest, ClipboardKeepsTextAndEveryFormat) {
  TFontDescription a = font("Alpha", 10);
  TFontDescription b = bold(font("Beta", 20));
  b.CharSet = charset::Hebrew;
  b.Pitch = TFontPitch::Variable;
  b.Color = 0x00A0B0C0;
  StyledText x;
  x.append(U"ab", a);
  x.append(U"C\U0001F600\r\nD", b);
  x.append(U"e", a);
  edit.setStyledText(x);

  edit.setSelLength(4);
  edit.setSelStart(2);  // "C😀\r\n" in b
  edit.copy();
  edit.setSelLength(0);
  edit.setSelStart(8);
  edit.paste();
  EXPECT_EQ(edit.text(), U"abC\U0001F600\r\nDeC\U0001F600\r\n");
  auto f = formatsOf(edit.styledText());
  for (int i = 8; i < 12; ++i) EXPECT_EQ(f[static_cast<std::size_t>(i)], b) << i;

  edit.undo();
  EXPECT_EQ(edit.text(), x.text());

  edit.setSelLength(2);
  edit.setSelStart(0);
  edit.cut();
  EXPECT_EQ(edit.text(), U"C\U0001F600\r\nDe");
  edit.setSelLength(0);
  edit.setSelStart(6);
  edit.paste();
  EXPECT_EQ(edit.text(), U"C\U0001F600\r\nDeab");
  f = formatsOf(edit.styledText());
  EXPECT_EQ(f[6], a);
  EXPECT_EQ(f[7], a);

  // Plain text from another program takes the format at the caret.
  QApplication::clipboard()->setText(QStringLiteral("zz"));
  edit.setSelLength(0);
  edit.setSelStart(1);
  edit.paste();
  EXPECT_EQ(edit.text(), U"Czz\U0001F600\r\nDeab");
  f = formatsOf(edit.styledText());
  EXPECT_EQ(f[1], b);
  EXPECT_EQ(f[2], b);
}

// The point size scales each character in the drawing: a pasted size below 1 point would
// collapse the character to a point. Another program's HTML may ask for 0.3 points.
TEST_F(RichEditTest, PastedSizesBelowOnePointReadAsOnePoint) {
  edit.setText(U"ab");
  auto* data = new QMimeData;
  data->setHtml(QStringLiteral("<span style='font-size:0.3pt'>x</span><span style='font-size:1px'>y</span>"));
  QApplication::clipboard()->setMimeData(data);
  edit.setSelLength(0);
  edit.setSelStart(1);
  edit.paste();
  ASSERT_EQ(edit.text(), U"axyb");
  const auto f = formatsOf(edit.styledText());
  EXPECT_EQ(f[1].Size, 1);
  EXPECT_EQ(f[2].Size, 1);
}

TEST_F(RichEditTest, StartsEmptyInTheDefaultFormatWithTheWindowsDisplay) {
  EXPECT_EQ(edit.text(), U"");
  EXPECT_EQ(edit.defAttributes(), defaultEditorFormat());
  EXPECT_EQ(edit.selAttributes(), defaultEditorFormat());
  EXPECT_EQ(edit.lineWrapMode(), QTextEdit::NoWrap);
  EXPECT_EQ(edit.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(edit.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_TRUE(edit.acceptRichText());
}

TEST_F(RichEditTest, InsertionFormatWithoutSelectionAppliesToTyping) {
  edit.setText(U"ab");
  edit.setSelLength(0);
  edit.setSelStart(1);
  edit.setSelAttributes(bold(font("Ignored", 1)), AttrBold);
  EXPECT_TRUE(edit.selAttributes().Bold);
  QTest::keyClicks(&edit, "X");
  const auto f = formatsOf(edit.styledText());
  EXPECT_EQ(f, (std::vector<TFontDescription>{defaultEditorFormat(), bold(defaultEditorFormat()),
                                              defaultEditorFormat()}));
}

TEST_F(RichEditTest, SignalsFollowTheBaseHandling) {
  edit.setText(U"abc");
  edit.resize(300, 200);
  edit.show();
  QSignalSpy released(&edit, &TRichEdit::keyReleased);
  QSignalSpy pressed(&edit, &TRichEdit::mousePressed);
  QSignalSpy up(&edit, &TRichEdit::mouseReleased);
  // The handler sees the caret already moved by the key.
  int seenStart = -1;
  QObject::connect(&edit, &TRichEdit::keyReleased, [&] { seenStart = edit.selStart(); });
  edit.setSelLength(0);
  edit.setSelStart(0);
  QTest::keyClick(&edit, Qt::Key_Right);
  EXPECT_EQ(released.count(), 1);
  EXPECT_EQ(seenStart, 1);
  QTest::mouseClick(edit.viewport(), Qt::LeftButton, {}, QPoint(2, 2));
  EXPECT_EQ(pressed.count(), 1);
  EXPECT_EQ(up.count(), 1);
}

TEST_F(RichEditTest, ReplacingTheTextStartsANewHistory) {
  edit.setText(U"first");
  edit.setText(U"second");
  edit.undo();
  EXPECT_EQ(edit.text(), U"second");
  QTest::keyClicks(&edit, "x");
  edit.undo();
  EXPECT_EQ(edit.text(), U"second");
}

}  // namespace
}  // namespace kerfline
