// The Production panel on a real offscreen window: a merge file picked through Browse, its
// rows stepped through in the job view, and the panel's choices kept across a restart.
#include <gtest/gtest.h>

#include <QAction>
#include <QDoubleSpinBox>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTest>

#include "form_test_support.h"
#include "mainwindow/job_scene.h"
#include "mainwindow/job_view.h"
#include "mainwindow/production_panel.h"
#include "mainwindow/rich_edit.h"
#include "richtext/styled_text.h"

namespace kerfline {
namespace {

class ProductionPanelTest : public formtest::FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder() + QStringLiteral("settings"));
    QFile csv(folder() + "team.csv");
    ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
    csv.write("name,role\nAda,Welder\nBruno,Router\n\"Cy, Jr\",Laser\nDee,Sales\n");
    csv.close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return view().scene() != nullptr; }, 10000));
  }
  JobView& view() { return *testing::child<JobView>(form(), "JobView1"); }
  ProductionPanel& panel() { return *form().productionPanel(); }

  // The characters the job view draws, spaces and line breaks left out.
  std::u32string drawn() {
    std::u32string out;
    std::int32_t last = 0;
    for (const PlacedCharacter& c : view().scene()->drawing.characters)
      if (!c.contours.empty() && c.position != last) {
        out += c.character;
        last = c.position;
      }
    return out;
  }
  // Waits for the view to show what a change asked for.
  void waitForDrawn(const std::u32string& want) {
    EXPECT_TRUE(QTest::qWaitFor([&] { return drawn() == want; }, 10000))
        << "the view shows " << std::string(drawn().begin(), drawn().end());
  }
};

TEST_F(ProductionPanelTest, stepping_through_the_merge_rows_shows_each_item_in_the_job_view) {
  StyledText text;
  text.append(U"{name}:{role}", testing::font("DejaVu Sans", 20));
  form().editor()->setStyledText(text);
  // View > Production Panel shows the dock.
  testing::child<QAction>(form(), "ProductionPanel1")->trigger();
  EXPECT_TRUE(panel().isVisible());
  openAnswer_.clear();
  panel().chooseMergeFile = [this] { return folder() + "team.csv"; };
  QTest::mouseClick(testing::child<QPushButton>(panel(), "MergeBrowse"), Qt::LeftButton);
  auto* rows = testing::child<QListWidget>(panel(), "MergeRows");
  ASSERT_EQ(rows->count(), 4);
  waitForDrawn(U"Ada:Welder");
  // The third row, picked with the keyboard as a person steps down the list.
  rows->setFocus();
  QTest::keyClick(rows, Qt::Key_Down);
  QTest::keyClick(rows, Qt::Key_Down);
  EXPECT_EQ(panel().currentRow(), 2);
  waitForDrawn(U"Cy,Jr:Laser");
  // A placeholder the file has no column for: the view shows the text as typed.
  StyledText unknown;
  unknown.append(U"{team}", testing::font("DejaVu Sans", 20));
  form().editor()->setStyledText(unknown);
  waitForDrawn(U"{team}");
}

TEST_F(ProductionPanelTest, the_panel_survives_a_restart_in_its_own_section) {
  panel().openMergeFile(folder() + "team.csv");
  testing::child<QSpinBox>(panel(), "SerialStart")->setValue(41);
  testing::child<QDoubleSpinBox>(panel(), "SheetWidth")->setValue(300);
  testing::child<QDoubleSpinBox>(panel(), "SheetHeight")->setValue(200);
  testing::child<QDoubleSpinBox>(panel(), "SheetGap")->setValue(5);
  testing::child<QSpinBox>(panel(), "TabCount")->setValue(2);
  testing::child<QDoubleSpinBox>(panel(), "TabHeight")->setValue(0.5);
  panel().setCurrentRow(2);
  form().Saveini();
  QFile ini(folder() + "Reg.ini");
  ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
  const QByteArray bytes = ini.readAll();
  EXPECT_TRUE(bytes.contains("[Production]\r\nMergeFile=" + QFile::encodeName(folder()) + "team.csv\r\n"
                             "SerialStart=41\r\nSerialStep=\r\nCopies=\r\nSheet=300x200\r\nGap=5\r\n"))
      << bytes.toStdString();

  QStringList errors;
  auto again = testing::makeTestForm(dir_.path(), errors);
  again->Loadini();
  ProductionPanel& restored = *again->productionPanel();
  EXPECT_EQ(testing::child<QListWidget>(restored, "MergeRows")->count(), 4);
  EXPECT_EQ(testing::child<QSpinBox>(restored, "SerialStart")->value(), 41);
  const ProductionOptions p = restored.production();
  ASSERT_TRUE(p.sheet.has_value());
  EXPECT_EQ(p.sheet->x, 300);
  EXPECT_EQ(p.sheet->y, 200);
  EXPECT_EQ(p.gap, 5.0);
  ConversionOptions o;
  o.format = OutputFormat::Gcode;
  restored.applyTo(o);
  EXPECT_EQ(o.tabCount, 2.0);
  EXPECT_EQ(o.tabHeight, 0.5);
  EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
}

}  // namespace
}  // namespace kerfline
