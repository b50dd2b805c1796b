// Formatting through the toolbar and the font dialog, and making a character current.
#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QToolButton>
#include <cstdlib>

#include "form_test_support.h"
#include "mainwindow/font_list.h"
#include "mainwindow/rich_edit.h"
#include "mainwindow/spin_edit.h"
#include "mainwindow/up_down.h"
#include "richtext/styled_text.h"

namespace kerfline {
namespace {

using FontControlsTest = formtest::FormTest;

TEST(font_list_test, faces_once_without_foundry_sorted_ignoring_case) {
  const QStringList got = sortedFaceNames({QStringLiteral("Nimbus Sans"), QStringLiteral("D050000L [urw]"),
                                           QStringLiteral("cantarell"), QStringLiteral("D050000L [URW ]"),
                                           QStringLiteral("Bitstream [x"), QStringLiteral("Nimbus Sans"),
                                           QStringLiteral("DejaVu Sans")});
  const QStringList want = {QStringLiteral("Bitstream [x"), QStringLiteral("cantarell"), QStringLiteral("D050000L"),
                            QStringLiteral("DejaVu Sans"), QStringLiteral("Nimbus Sans")};
  EXPECT_EQ(got, want);
}

TEST_F(FontControlsTest, without_a_selection_the_toolbar_sets_the_default_attributes) {
  TMainForm& f = form();
  f.editor()->setSelStart(2);
  f.editor()->setSelLength(0);
  const StyledText before = f.editor()->styledText();
  QTest::mouseClick(testing::child<QToolButton>(f, "BoldButton"), Qt::LeftButton);
  QTest::mouseClick(testing::child<QToolButton>(f, "ItalicButton"), Qt::LeftButton);
  testing::child<QLineEdit>(f, "FontSize")->setText(QStringLiteral("14"));
  testing::child<QComboBox>(f, "FontName")->setCurrentIndex(testing::child<QComboBox>(f, "FontName")->findText(QStringLiteral("DejaVu Serif")));
  const TFontDescription d = f.editor()->defAttributes();
  EXPECT_TRUE(d.Bold);
  EXPECT_TRUE(d.Italic);
  EXPECT_EQ(d.Size, 14);
  EXPECT_EQ(d.Name, "DejaVu Serif");
  EXPECT_EQ(f.editor()->styledText().runs(), before.runs());  // no character changed
  EXPECT_TRUE(errors_.isEmpty());
}

TEST_F(FontControlsTest, single_line_faces_are_listed_marked_and_applied_by_name) {
  TMainForm& f = form();
  const int iso = testing::child<QComboBox>(f, "FontName")->findText(QStringLiteral("ISO3098 (single-line)"));
  ASSERT_GE(iso, 0);
  const int sans = testing::child<QComboBox>(f, "FontName")->findText(QStringLiteral("Hershey Sans (single-line)"));
  ASSERT_GE(sans, 0);
  // The drop-down list is wide enough to show the longest name whole.
  const QString longest = QStringLiteral("Hershey Gothic English Triplex (single-line)");
  ASSERT_GE(testing::child<QComboBox>(f, "FontName")->findText(longest), 0);
  EXPECT_GT(testing::child<QComboBox>(f, "FontName")->view()->minimumWidth(), testing::child<QComboBox>(f, "FontName")->fontMetrics().horizontalAdvance(longest));
  f.editor()->setSelStart(1);
  f.editor()->setSelLength(2);
  testing::child<QComboBox>(f, "FontName")->setCurrentIndex(iso);
  EXPECT_EQ(f.editor()->styledText().fontAt(2).Name, "ISO3098");  // the face's name, unmarked
  // Coming back to the selection shows the marked entry.
  f.editor()->setSelStart(4);
  f.editor()->setSelLength(1);
  f.SelectionChange();
  f.editor()->setSelStart(1);
  f.editor()->setSelLength(2);
  f.SelectionChange();
  EXPECT_EQ(testing::child<QComboBox>(f, "FontName")->currentIndex(), iso);
  EXPECT_EQ(testing::child<QComboBox>(f, "FontName")->currentText(), QStringLiteral("ISO3098 (single-line)"));
  EXPECT_TRUE(errors_.isEmpty());
}

TEST_F(FontControlsTest, with_a_selection_only_the_selection_changes) {
  TMainForm& f = form();
  f.editor()->setSelStart(1);
  f.editor()->setSelLength(3);  // "Abb"
  const TFontDescription defaults = f.editor()->defAttributes();
  QTest::mouseClick(testing::child<QToolButton>(f, "BoldButton"), Qt::LeftButton);
  testing::child<QLineEdit>(f, "FontSize")->setText(QStringLiteral("20"));
  testing::child<QComboBox>(f, "FontName")->setCurrentIndex(testing::child<QComboBox>(f, "FontName")->findText(QStringLiteral("Liberation Serif")));
  const StyledText t = f.editor()->styledText();
  for (std::int32_t pos = 1; pos <= 6; ++pos) {
    const bool inside = pos >= 2 && pos <= 4;
    EXPECT_EQ(t.fontAt(pos).Bold, inside) << pos;
    EXPECT_EQ(t.fontAt(pos).Size, inside ? 20 : 8) << pos;
    EXPECT_EQ(t.fontAt(pos).Name, inside ? "Liberation Serif" : "MS Sans Serif") << pos;
  }
  EXPECT_EQ(f.editor()->defAttributes(), defaults);
}

TEST_F(FontControlsTest, bold_keeps_a_mixed_italic_selection_mixed) {
  TMainForm& f = form();
  f.editor()->setSelStart(0);
  f.editor()->setSelLength(1);
  QTest::mouseClick(testing::child<QToolButton>(f, "ItalicButton"), Qt::LeftButton);
  f.editor()->setSelStart(0);
  f.editor()->setSelLength(4);
  testing::child<QToolButton>(f, "ItalicButton")->setChecked(false);
  QTest::mouseClick(testing::child<QToolButton>(f, "BoldButton"), Qt::LeftButton);
  const StyledText t = f.editor()->styledText();
  EXPECT_TRUE(t.fontAt(1).Italic);
  EXPECT_FALSE(t.fontAt(2).Italic);
  for (std::int32_t pos = 1; pos <= 4; ++pos) EXPECT_TRUE(t.fontAt(pos).Bold) << pos;
}

TEST_F(FontControlsTest, a_size_that_is_no_integer_is_reported_and_not_applied) {
  TMainForm& f = form();
  testing::child<QLineEdit>(f, "FontSize")->setText(QStringLiteral("abc"));
  testing::child<QLineEdit>(f, "FontSize")->setText(QString());
  ASSERT_EQ(errors_.size(), 2);
  EXPECT_EQ(errors_[0], QStringLiteral("'abc' is not a valid integer value."));
  EXPECT_EQ(errors_[1], QStringLiteral("'' is not a valid integer value."));
  EXPECT_EQ(f.editor()->defAttributes().Size, 8);
  testing::child<QLineEdit>(f, "FontSize")->setText(QStringLiteral("150"));  // typed sizes beyond the arrows are accepted
  EXPECT_EQ(f.editor()->defAttributes().Size, 150);
}

// A size below 1 point would scale the character's outline by zero, or mirror it, in the
// drawing: refused like a size that is no number.
TEST_F(FontControlsTest, a_size_below_1_point_is_reported_and_not_applied) {
  TMainForm& f = form();
  f.editor()->setSelStart(0);
  f.editor()->setSelLength(2);
  for (const char* text : {"0", "-5", "+0", "-2147483648"}) {
    errors_.clear();
    testing::child<QLineEdit>(f, "FontSize")->setText(QString::fromLatin1(text));
    ASSERT_EQ(errors_.size(), 1) << text;
    EXPECT_EQ(errors_[0], QStringLiteral("'%1' is not a valid font size: use 1 point or more.").arg(QLatin1String(text)));
    EXPECT_EQ(f.editor()->styledText().fontAt(1).Size, 8) << text;
    EXPECT_EQ(f.editor()->styledText().fontAt(2).Size, 8) << text;
  }
  errors_.clear();
  for (const char* text : {"1", "+2", "5000"}) {
    testing::child<QLineEdit>(f, "FontSize")->setText(QString::fromLatin1(text));
    EXPECT_EQ(f.editor()->styledText().fontAt(1).Size, std::atoi(text));
  }
  EXPECT_TRUE(errors_.isEmpty());
}

TEST_F(FontControlsTest, arrows_step_the_size_and_stop_at_1_and_100) {
  TMainForm& f = form();
  testing::child<QLineEdit>(f, "FontSize")->setText(QStringLiteral("99"));
  QTest::mouseClick(testing::child<TUpDown>(f, "UpDown1")->upButton(), Qt::LeftButton);
  QTest::mouseClick(testing::child<TUpDown>(f, "UpDown1")->upButton(), Qt::LeftButton);
  EXPECT_EQ(testing::child<QLineEdit>(f, "FontSize")->text(), QStringLiteral("100"));
  EXPECT_EQ(f.editor()->defAttributes().Size, 100);
  testing::child<QLineEdit>(f, "FontSize")->setText(QStringLiteral("2"));
  QTest::mouseClick(testing::child<TUpDown>(f, "UpDown1")->downButton(), Qt::LeftButton);
  QTest::mouseClick(testing::child<TUpDown>(f, "UpDown1")->downButton(), Qt::LeftButton);
  EXPECT_EQ(testing::child<QLineEdit>(f, "FontSize")->text(), QStringLiteral("1"));
  EXPECT_TRUE(errors_.isEmpty());
}

TEST_F(FontControlsTest, the_toolbar_does_not_follow_the_caret_until_font_selection) {
  TMainForm& f = form();
  f.editor()->setSelStart(2);
  f.editor()->setSelLength(2);
  QTest::mouseClick(testing::child<QToolButton>(f, "BoldButton"), Qt::LeftButton);
  testing::child<QLineEdit>(f, "FontSize")->setText(QStringLiteral("16"));
  // Move the caret away, then click into the bold text: the toolbar stays as it was.
  f.editor()->setSelStart(0);
  f.editor()->setSelLength(0);
  f.SelectionChange();
  EXPECT_FALSE(testing::child<QToolButton>(f, "BoldButton")->isChecked());
  f.editor()->setSelStart(2);
  f.editor()->setSelLength(2);
  QTest::keyRelease(f.editor(), Qt::Key_Shift);
  EXPECT_FALSE(testing::child<QToolButton>(f, "BoldButton")->isChecked());
  EXPECT_EQ(testing::child<QLineEdit>(f, "FontSize")->text(), QStringLiteral("8"));

  fontAnswer_.reset();  // cancelled
  const StyledText before = f.editor()->styledText();
  testing::child<QAction>(f, "Fontselection1")->trigger();
  EXPECT_TRUE(testing::child<QToolButton>(f, "BoldButton")->isChecked());
  EXPECT_EQ(testing::child<QLineEdit>(f, "FontSize")->text(), QStringLiteral("16"));
  EXPECT_EQ(f.ConversionFont, f.editor()->selAttributes());
  EXPECT_EQ(fontDialogInitial_.pointSize(), 16);
  EXPECT_TRUE(fontDialogInitial_.bold());
  EXPECT_EQ(f.editor()->styledText().runs(), before.runs());
  EXPECT_TRUE(f.editor()->hasFocus());
}

TEST_F(FontControlsTest, confirmed_font_selection_formats_the_selection_and_becomes_the_conversion_font) {
  TMainForm& f = form();
  f.editor()->setSelStart(0);
  f.editor()->setSelLength(2);
  QFont chosen(QStringLiteral("DejaVu Serif"), 20);
  chosen.setItalic(true);
  fontAnswer_ = chosen;
  testing::child<QAction>(f, "Fontselection1")->trigger();
  const TFontDescription a = f.editor()->selAttributes();
  EXPECT_EQ(a.Name, "DejaVu Serif");
  EXPECT_EQ(a.Size, 20);
  EXPECT_TRUE(a.Italic);
  EXPECT_FALSE(a.Bold);
  EXPECT_EQ(f.ConversionFont, a);
  EXPECT_EQ(testing::child<QComboBox>(f, "FontName")->currentText(), QStringLiteral("DejaVu Serif"));
  EXPECT_TRUE(testing::child<QToolButton>(f, "ItalicButton")->isChecked());
  EXPECT_EQ(f.editor()->styledText().fontAt(3).Name, "MS Sans Serif");
}

// The dialog lists a face offered by two foundries as "Face [foundry]" and hands that back as
// the family; the text must store the face itself, which is what the converter looks up.
TEST_F(FontControlsTest, font_selection_stores_the_face_without_its_foundry) {
  TMainForm& f = form();
  f.editor()->setSelStart(0);
  f.editor()->setSelLength(1);
  fontAnswer_ = QFont(QStringLiteral("Nimbus Sans [urw]"), 12);
  testing::child<QAction>(f, "Fontselection1")->trigger();
  EXPECT_EQ(f.editor()->selAttributes().Name, "Nimbus Sans");
  EXPECT_EQ(f.ConversionFont.Name, "Nimbus Sans");
  EXPECT_EQ(testing::child<QComboBox>(f, "FontName")->currentText(), QStringLiteral("Nimbus Sans"));
}

TEST_F(FontControlsTest, update_font_makes_the_character_current) {
  TMainForm& f = form();
  StyledText t;
  TFontDescription small;
  small.Name = "Liberation Sans";
  small.Size = 10;
  TFontDescription big = small;
  big.Name = "Liberation Serif";
  big.Size = 72;
  big.Bold = true;
  t.append(U"ab\r\n", small);
  t.append(U'c', big);
  f.editor()->setStyledText(t);
  testing::child<QLineEdit>(f, "Layername")->setFocus();

  f.UpdateFont(5);
  EXPECT_EQ(f.RichEdit2.text, U"c");
  EXPECT_EQ(f.RichEdit2.font, big);
  EXPECT_EQ(f.ConversionFont, big);
  EXPECT_EQ(f.editor()->selStart(), 5);
  EXPECT_EQ(f.editor()->selLength(), 0);
  EXPECT_TRUE(f.editor()->hasFocus());
  EXPECT_EQ(f.CharFontSize, 72);
  EXPECT_EQ(f.UnitScale, 0.072f);

  testing::child<TSpinEdit>(f, "ScaleEdit1")->setText(QStringLiteral("10000"));
  f.UpdateFont(5);
  EXPECT_EQ(f.UnitScale, 7.2f);

  testing::child<TSpinEdit>(f, "ScaleEdit1")->setText(QStringLiteral("100"));
  f.UpdateFont(1);
  EXPECT_EQ(f.UnitScale, 0.01f);
  EXPECT_EQ(f.CharFontSize, 10);
  EXPECT_EQ(f.editor()->selStart(), 1);

  testing::child<TSpinEdit>(f, "ScaleEdit1")->setText(QStringLiteral("0"));
  f.UpdateFont(5);
  EXPECT_EQ(f.UnitScale, 1.0f);
  EXPECT_EQ(f.CharFontSize, 10);  // unchanged
  EXPECT_EQ(f.RichEdit2.font, big);
}

}  // namespace
}  // namespace kerfline
