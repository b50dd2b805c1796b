// One input, one set of settings, three ways to the DXF: the window's batch run as a real
// process, the window's save commands in this process, and kerfline-convert. The files must be
// byte-identical, multi-font rich text included.
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QTimer>
#include <memory>
#include <vector>

#include "appcore/batch_arguments.h"
#include "mainwindow/Unit1.h"
#include "mainwindow/rich_edit.h"
#include "mainwindow/spin_edit.h"
#include "save_test_support.h"

namespace kerfline {
namespace {

using testing::readBytes;

struct Settings {
  const char* name;
  QStringList args;  // arguments 2 to 7
};

// Z up and Z cutting have no argument: all three read them from this Reg.ini.
const char* const kRegIni = "[Layer]\r\nLayer=REG\r\nZup=3.25\r\nZdown=-0.5\r\n";

const Settings kSettings[] = {
    {"lines", {"150", "-3.25", "4", "15", "JOB", "2"}},
    {"poly", {"200", "-2.5", "2", "0", "JOB", "1"}},
    {"defaults", {}},  // scale 100, pitch -2.000, resolution 2, space 10, layer from Reg.ini
};

QStringList fixtures() {
  QStringList all = {testing::testData("save/multi_font.rtf"), testing::testData("save/plain.txt")};
  // Documents written by word processors, where the project holds them.
  for (const char* other : {KERFLINE_SOURCE_DIR "/examples/sample.rtf",
                            KERFLINE_TEST_DATA_DIR "/richtext/rtf_libreoffice.rtf"}) {
    if (QFileInfo::exists(QString::fromUtf8(other))) all << QString::fromUtf8(other);
  }
  return all;
}

class IdenticalOutputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::application();
    ASSERT_TRUE(dir_.isValid());
    for (const char* sub : {"bin", "window", "form", "convert"}) QDir(dir_.path()).mkdir(sub);
    window_ = testing::copyProgram(QStringLiteral("kerfline"), dir_.path() + "/bin");
    convert_ = testing::copyProgram(QStringLiteral("kerfline-convert"), dir_.path() + "/bin");
    testing::writeBytes(dir_.path() + "/bin/Reg.ini", kRegIni);
  }

  // The input copied into a folder of its own, so that each way writes its DXF beside it.
  QString place(const QString& fixture, const char* way, const Settings& s) const {
    const QString folder = dir_.path() + "/" + way + "/" + s.name;
    QDir().mkpath(folder);
    const QString target = folder + "/" + QFileInfo(fixture).fileName();
    QFile::copy(fixture, target);
    return target;
  }

  static QString outputOf(const QString& input) {
    return QFile::decodeName(batchOutputName(QFile::encodeName(input).toStdString()).c_str());
  }

  // The same settings through the window's own controls and its save commands.
  void saveFromForm(const QString& input, const Settings& s) {
    TMainForm form;
    testing::child<QTimer>(form, "StartupTimer1")->stop();
    QStringList errors;
    form.errorBox = [&errors](const QString& text) { errors << text; };
    form.ProgramFolder = QFile::encodeName(dir_.path()).toStdString() + "/bin/";
    form.Loadini();
    form.openFileName = [&input] { return input; };
    testing::child<QAction>(form, "FileOpenCmd")->trigger();
    if (!s.args.isEmpty()) {
      testing::child<TSpinEdit>(form, "ScaleEdit1")->SetValue(s.args[0].toInt());
      testing::child<QLineEdit>(form, "Edit1")->setText(s.args[1]);
      testing::child<TSpinEdit>(form, "Resolution1")->SetValue(s.args[2].toInt());
      testing::child<TSpinEdit>(form, "SpacePc")->SetValue(s.args[3].toInt());
      testing::child<QLineEdit>(form, "Layername")->setText(s.args[4]);
    }
    const bool poly = s.args.size() > 5 && s.args[5] == QStringLiteral("1");
    if (poly) {
      form.SavePoly2(outputOf(input));
    } else {
      form.FileSave(outputOf(input));
    }
    EXPECT_TRUE(errors.isEmpty()) << errors.join('|').toStdString();
  }

  QTemporaryDir dir_;
  QString window_;
  QString convert_;
};

TEST_F(IdenticalOutputTest, batch_run_save_commands_and_converter_write_the_same_bytes) {
  struct Case {
    QString fixture;
    const Settings* settings;
    QString viaWindow, viaForm, viaConvert;
  };
  std::vector<Case> cases;
  for (const QString& fixture : fixtures()) {
    for (const Settings& s : kSettings) {
      cases.push_back({fixture, &s, outputOf(place(fixture, "window", s)),
                       outputOf(place(fixture, "form", s)), outputOf(place(fixture, "convert", s))});
    }
  }

  // The window processes all start at once and wait out their start-up timers together.
  std::vector<std::unique_ptr<QProcess>> processes;
  for (const Case& c : cases) {
    processes.push_back(std::make_unique<QProcess>());
    const QString input = dir_.path() + "/window/" + c.settings->name + "/" + QFileInfo(c.fixture).fileName();
    testing::startWindowProcess(*processes.back(), window_, QStringList{input} + c.settings->args);
  }
  for (const Case& c : cases) {
    const QString input = dir_.path() + "/form/" + c.settings->name + "/" + QFileInfo(c.fixture).fileName();
    saveFromForm(input, *c.settings);
    const QString convertInput = dir_.path() + "/convert/" + c.settings->name + "/" + QFileInfo(c.fixture).fileName();
    const testing::ProcessResult r = testing::runProcess(convert_, QStringList{convertInput} + c.settings->args, 120000);
    EXPECT_TRUE(r.finished && r.exitCode == 0) << r.standardError.toStdString();
  }
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const testing::ProcessResult r = testing::finishProcess(*processes[i], 120000);
    EXPECT_TRUE(r.finished && r.exitCode == 0) << r.standardError.toStdString();
  }

  for (const Case& c : cases) {
    SCOPED_TRACE((QFileInfo(c.fixture).fileName() + " " + c.settings->name).toStdString());
    const auto viaWindow = readBytes(c.viaWindow);
    const auto viaForm = readBytes(c.viaForm);
    const auto viaConvert = readBytes(c.viaConvert);
    ASSERT_TRUE(viaWindow && viaForm && viaConvert);
    EXPECT_NE(viaConvert->find("ENTITIES"), std::string::npos);
    EXPECT_GT(viaConvert->size(), std::size_t{2000});  // the text really was converted
    EXPECT_TRUE(*viaWindow == *viaConvert) << "batch run differs from kerfline-convert";
    EXPECT_TRUE(*viaForm == *viaConvert) << "save command differs from kerfline-convert";
    // The layer of the runs without a layer argument comes from Reg.ini, as the Z values do.
    const bool regLayer = c.settings->args.isEmpty();
    EXPECT_NE(viaConvert->find(regLayer ? "  8\r\nREG\r\n" : "  8\r\nJOB\r\n"), std::string::npos);
  }
}

}  // namespace
}  // namespace kerfline
