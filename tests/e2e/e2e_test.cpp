// End-to-end: the real kerfline-convert as a process, in a private copy so that the program
// folder (and its Reg.ini) belongs to the test; every DXF it writes is read back by ezdxf.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "process.h"
#include "temp_dir.h"

namespace kerfline::e2e {
namespace {

namespace fs = std::filesystem;

const std::string kEmptyDxf = "  0\r\nSECTION\r\n  2\r\nENTITIES\r\n  0\r\nENDSEC\r\n  0\r\nEOF\r\n";


/// What check_dxf.py found in a file.
struct DxfCheck {
  int status = -1;
  std::string err;
  long entities = 0, strokes = 0, contours = 0;
  std::array<double, 4> extent{};                 // min x, max x, min y, max y
  std::vector<std::array<double, 4>> contourBoxes;  // the same per contour, in file order
};

struct Expect {
  std::string mode = "lines";
  std::string layer = "0";
  std::string zLevel = "0.00";
  std::string zMove = "1.00";
  std::string sameStrokesAs;
};

DxfCheck checkDxf(const fs::path& file, const Expect& e) {
  std::vector<std::string> args{KERFLINE_CHECK_DXF, file.string(), "--mode", e.mode, "--layer",
                                e.layer, "--zlevel", e.zLevel, "--zmove", e.zMove};
  if (!e.sameStrokesAs.empty()) args.insert(args.end(), {"--same-strokes-as", e.sameStrokesAs});
  ProcessResult r = runProcess("/usr/bin/python3", args, "/");
  DxfCheck c;
  c.status = r.status;
  c.err = r.err;
  std::istringstream in(r.out);
  std::string key;
  while (in >> key) {
    if (key == "entities") in >> c.entities;
    else if (key == "strokes") in >> c.strokes;
    else if (key == "contours") in >> c.contours;
    else if (key == "extent") in >> c.extent[0] >> c.extent[1] >> c.extent[2] >> c.extent[3];
    else if (key == "contour") {
      std::array<double, 4> b{};
      in >> b[0] >> b[1] >> b[2] >> b[3];
      c.contourBoxes.push_back(b);
    }
  }
  return c;
}

class ConvertTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = dir_.path();
    bin_ = root_ / "bin";
    work_ = root_ / "work";
    fs::create_directories(bin_);
    fs::create_directories(work_);
    fs::copy_file(KERFLINE_CONVERT_EXE, bin_ / "kerfline-convert");
  }

  ProcessResult convert(const std::vector<std::string>& args) { return convertIn(work_, args); }
  ProcessResult convertIn(const fs::path& cwd, const std::vector<std::string>& args) {
    return runProcess((bin_ / "kerfline-convert").string(), args, cwd.string());
  }
  /// Files in the work folder, for "nothing else was written".
  std::vector<std::string> workFiles() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(work_)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

  test::TempDir dir_;
  fs::path root_, bin_, work_;
};

// ---- arguments and messages ------------------------------------------------------------

TEST_F(ConvertTest, helpExplainsEveryPosition) {
  for (const char* flag : {"--help", "-h"}) {
    ProcessResult r = convert({flag});
    EXPECT_EQ(r.status, 0) << flag;
    for (const char* word : {"INPUT", "SCALE", "PITCH", "RESOLUTION", "SPACE", "LAYER", "MODE",
                             "Reg.ini", "1 to 10000", "Examples", "MS Sans Serif"}) {
      EXPECT_NE(r.out.find(word), std::string::npos) << flag << " lacks " << word;
    }
  }
}

TEST_F(ConvertTest, outputThatCannotBeWrittenIsNoSuccess) {
  // Standard output on a full device: the help or report the user asked for never arrived.
  spit(work_ / "in.txt", "AB\r\n");
  const std::string exe = (bin_ / "kerfline-convert").string();
  auto toFullDevice = [&](std::vector<std::string> args) {
    args.insert(args.begin(), {"-c", "exec \"$0\" \"$@\" >/dev/full", exe});
    return runProcess("/bin/sh", args, work_.string());
  };
  ProcessResult help = toFullDevice({"--help"});
  EXPECT_EQ(help.status, 1);
  EXPECT_NE(help.err.find("standard output"), std::string::npos) << help.err;
  ProcessResult report = toFullDevice({"--report", "in.txt"});
  EXPECT_EQ(report.status, 1);
  EXPECT_NE(report.err.find("standard output"), std::string::npos) << report.err;
}

TEST_F(ConvertTest, noInputIsAUsageError) {
  for (std::vector<std::string> args : {std::vector<std::string>{}, {"--report"}, {""}}) {
    ProcessResult r = convert(args);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("Usage:"), std::string::npos);
  }
  EXPECT_TRUE(workFiles().empty());
}

TEST_F(ConvertTest, missingInputGivesTheNoticeAndWritesNothing) {
  fs::create_directory(work_ / "folder.txt");
  for (const char* input : {"nothere.txt", "folder.txt"}) {
    ProcessResult r = convert({input, "100", "-2"});
    EXPECT_EQ(r.status, 1) << input;
    EXPECT_EQ(r.err, "Passed File Not Found \n") << input;
  }
  EXPECT_EQ(workFiles(), std::vector<std::string>{"folder.txt"});
}

TEST_F(ConvertTest, aMistypedOptionPointsToTheHelp) {
  // Taken as an input name like any other argument, but a newcomer learns where to look.
  // (Anything starting with "--" selects the named form, which refuses unknown options.)
  for (const char* option : {"-v", "-version", "-report"}) {
    ProcessResult r = convert({option});
    EXPECT_EQ(r.status, 1) << option;
    EXPECT_EQ(r.err.rfind("Passed File Not Found \n", 0), 0u) << r.err;
    EXPECT_NE(r.err.find("--help"), std::string::npos) << r.err;
  }
  spit(work_ / "-v", "AB");  // a file of that name is still converted
  EXPECT_EQ(convert({"-v"}).status, 0);
}

TEST_F(ConvertTest, otherModesWriteNothing) {
  spit(work_ / "in.txt", "A");
  for (const char* mode : {"3", "01", " 1", "0"}) {
    ProcessResult r = convert({"in.txt", "100", "-2", "2", "10", "L", mode});
    EXPECT_EQ(r.status, 2) << mode;
    EXPECT_NE(r.err.find("MODE"), std::string::npos) << mode;
  }
  // The usage is settled before the input is read: a bad MODE is a usage error also when the
  // input is missing or unreadable.
  for (const char* input : {"missing.txt", "/proc/self/mem"}) {
    ProcessResult r = convert({input, "100", "-2", "2", "10", "L", "3"});
    EXPECT_EQ(r.status, 2) << input;
    EXPECT_NE(r.err.find("MODE"), std::string::npos) << input;
  }
  EXPECT_EQ(workFiles(), std::vector<std::string>{"in.txt"});
}

TEST_F(ConvertTest, outputNameFollowsTheInputName) {
  fs::create_directory(work_ / "a.rtf");
  const std::pair<std::string, std::string> cases[] = {
      {"sign.txt.rtf", "sign.DXF"},     {"sign.rtf.txt", "sign.rtf.DXF"},
      {"notes.doc", "notes.doc.DXF"},   {"plain", "plain.DXF"},
      {"a.rtf/inner", "a.rtf/inner.DXF"}, {"-dash.TXT", "-dash.DXF"},
  };
  for (const auto& [input, output] : cases) {
    spit(work_ / input, "I");
    ProcessResult r = convert({input});
    EXPECT_EQ(r.status, 0) << input << ": " << r.err;
    EXPECT_TRUE(fs::exists(work_ / output)) << input;
  }
}

TEST_F(ConvertTest, emptyTextGivesTheEightLineFileInBothModes) {
  spit(work_ / "empty.txt", "");
  spit(work_ / "blank.txt", "   \r\n \n");
  for (const char* mode : {"1", "2"}) {
    for (const char* input : {"empty.txt", "blank.txt"}) {
      ProcessResult r = convert({input, "100", "-2", "2", "10", "L", mode});
      ASSERT_EQ(r.status, 0) << r.err;
      EXPECT_EQ(slurp(work_ / (std::string(input).substr(0, 5) + ".DXF")), kEmptyDxf);
    }
  }
}

TEST_F(ConvertTest, unwritableOutputIsReported) {
  spit(work_ / "x.txt", "A");
  fs::create_directory(work_ / "x.DXF");  // a folder where the file should go
  ProcessResult r = convert({"x.txt"});
  EXPECT_EQ(r.status, 1);
  EXPECT_FALSE(r.err.empty());
  EXPECT_TRUE(fs::is_directory(work_ / "x.DXF"));
}

TEST_F(ConvertTest, unreadableInputAndUnwritableFolderAreReportedByTheirFileErrors) {
  // Everyone may run the program and enter the folders, but only the owner may write.
  for (const fs::path& p : {root_, bin_, work_}) ::chmod(p.c_str(), 0755);
  spit(work_ / "secret.txt", "A");
  ::chmod((work_ / "secret.txt").c_str(), 0600);
  spit(work_ / "open.txt", "A");
  ::chmod((work_ / "open.txt").c_str(), 0644);
  const std::string exe = (bin_ / "kerfline-convert").string();

  ProcessResult r = runProcess(exe, {"secret.txt"}, work_.string(), true);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "Cannot open file secret.txt\n");

  r = runProcess(exe, {"open.txt"}, work_.string(), true);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("File access denied"), std::string::npos) << r.err;
  EXPECT_EQ(workFiles(), (std::vector<std::string>{"open.txt", "secret.txt"}));
}

// ---- settings file ---------------------------------------------------------------------

TEST_F(ConvertTest, withoutRegIniTheDefaultsApplyAndNoFileIsCreated) {
  spit(work_ / "hello.txt", "Hello\nWorld");
  ProcessResult r = convert({"hello.txt"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(r.out.empty());
  DxfCheck c = checkDxf(work_ / "hello.DXF", {});
  EXPECT_EQ(c.status, 0) << c.err;
  // H e l l o W o r l d: e, o, o and d have two contours each.
  EXPECT_EQ(c.contours, 14);
  EXPECT_EQ(c.entities, c.strokes + 2 * c.contours);
  EXPECT_FALSE(fs::exists(bin_ / "Reg.ini"));
}

TEST_F(ConvertTest, regIniBesideTheProgramIsReadNeverWritten) {
  const std::string ini = "; kept\r\n[layer]\r\nLAYER = \"Engrave 2\"\r\nZup=5\r\nZdown=-0.5\r\n";
  spit(bin_ / "Reg.ini", ini);
  ::chmod((bin_ / "Reg.ini").c_str(), 0444);
  auto before = fs::last_write_time(bin_ / "Reg.ini");
  spit(work_ / "in.txt", "AB\nC");
  // From another current folder: the program folder is where the program lies.
  ProcessResult r = convertIn("/", {(work_ / "in.txt").string()});
  ASSERT_EQ(r.status, 0) << r.err;
  DxfCheck c = checkDxf(work_ / "in.DXF", {"lines", "Engrave 2", "-0.5", "5", ""});
  EXPECT_EQ(c.status, 0) << c.err;
  EXPECT_EQ(c.contours, 6);  // A 2, B 3, C 1
  // A layer argument wins for this run only.
  r = convert({"in.txt", "100", "-2", "2", "10", "CUT"});
  ASSERT_EQ(r.status, 0) << r.err;
  c = checkDxf(work_ / "in.DXF", {"lines", "CUT", "-0.5", "5", ""});
  EXPECT_EQ(c.status, 0) << c.err;
  EXPECT_EQ(slurp(bin_ / "Reg.ini"), ini);
  EXPECT_EQ(fs::last_write_time(bin_ / "Reg.ini"), before);
  EXPECT_EQ(std::distance(fs::directory_iterator(bin_), {}), 2) << "program and Reg.ini only";
}

TEST_F(ConvertTest, unparsableZSettingsCountAsZero) {
  spit(work_ / "in.txt", "I");
  ASSERT_EQ(convert({"in.txt"}).status, 0);
  DxfCheck usual = checkDxf(work_ / "in.DXF", {});
  spit(bin_ / "Reg.ini", "[Layer]\r\nZup=abc\r\nZdown=1,5\r\n");
  ASSERT_EQ(convert({"in.txt"}).status, 0);
  // Plunge and retract lines are still written, from Z 0 to Z 0.
  DxfCheck c = checkDxf(work_ / "in.DXF", {"lines", "0", "0", "0", ""});
  EXPECT_EQ(c.status, 0) << c.err;
  EXPECT_EQ(c.entities, usual.entities);
  EXPECT_GT(c.entities, 0);
}

// ---- formats and layout ----------------------------------------------------------------

TEST_F(ConvertTest, polyLinesHoldExactlyTheStrokesOfTheLinesFile) {
  spit(work_ / "in.txt", "Kerf 8\nline two");
  ASSERT_EQ(convert({"in.txt", "150", "-3", "4", "20", "L1", "2"}).status, 0);
  fs::rename(work_ / "in.DXF", work_ / "lines.dxf");
  ASSERT_EQ(convert({"in.txt", "150", "-3", "4", "20", "L1", "1"}).status, 0);
  DxfCheck lines = checkDxf(work_ / "lines.dxf", {"lines", "L1", "0.00", "1.00", ""});
  DxfCheck polys = checkDxf(work_ / "in.DXF", {"polylines", "L1", "0.00", "1.00",
                                               (work_ / "lines.dxf").string()});
  EXPECT_EQ(lines.status, 0) << lines.err;
  EXPECT_EQ(polys.status, 0) << polys.err;
  EXPECT_GT(lines.strokes, 0);
  EXPECT_EQ(lines.entities, lines.strokes + 2 * lines.contours);
  EXPECT_EQ(polys.entities, lines.strokes);
  // 5 header + 38 per POLYLINE + 3 footer lines.
  std::string text = slurp(work_ / "in.DXF");
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 5 + 38 * polys.entities + 3);
}

TEST_F(ConvertTest, scaleAndPitchArgumentsShapeTheLayout) {
  spit(work_ / "in.txt", "H\nH");
  ASSERT_EQ(convert({"in.txt", "100", "-3.50"}).status, 0);
  DxfCheck small = checkDxf(work_ / "in.DXF", {});
  ASSERT_EQ(small.status, 0) << small.err;
  ASSERT_EQ(small.contourBoxes.size(), 2u);
  // The second line lies exactly 3.5 below the first: pitch is taken as typed.
  EXPECT_NEAR(small.contourBoxes[1][2] - small.contourBoxes[0][2], -3.5, 1e-5);
  EXPECT_NEAR(small.contourBoxes[1][0], small.contourBoxes[0][0], 1e-6) << "each line starts at X 0";

  ASSERT_EQ(convert({"in.txt", "200.4", "-7"}).status, 0);  // 200.4 rounds to 200
  DxfCheck big = checkDxf(work_ / "in.DXF", {});
  ASSERT_EQ(big.contourBoxes.size(), 2u);
  double smallHeight = small.contourBoxes[0][3] - small.contourBoxes[0][2];
  double bigHeight = big.contourBoxes[0][3] - big.contourBoxes[0][2];
  EXPECT_NEAR(bigHeight / smallHeight, 2.0, 1e-5);

  ASSERT_EQ(convert({"in.txt", "1e9"}).status, 0);  // clamped to 10000
  DxfCheck huge = checkDxf(work_ / "in.DXF", {});
  EXPECT_NEAR((huge.contourBoxes[0][3] - huge.contourBoxes[0][2]) / smallHeight, 100.0, 1e-3);
}

TEST_F(ConvertTest, eachCharacterKeepsItsOwnSizeFromRichText) {
  // The same letter at 10 and at 20 points, one line each.
  spit(work_ / "sizes.rtf",
       "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs20 H\\par\\fs40 H\\par}");
  ProcessResult r = convert({"sizes.rtf"});
  ASSERT_EQ(r.status, 0) << r.err;
  DxfCheck c = checkDxf(work_ / "sizes.DXF", {});
  ASSERT_EQ(c.status, 0) << c.err;
  ASSERT_EQ(c.contourBoxes.size(), 2u);
  const auto& h10 = c.contourBoxes[0];
  const auto& h20 = c.contourBoxes[1];
  EXPECT_NEAR((h20[3] - h20[2]) / (h10[3] - h10[2]), 2.0, 1e-5);
  EXPECT_NEAR((h20[1] - h20[0]) / (h10[1] - h10[0]), 2.0, 1e-5);
}

// ---- bundled and shared samples --------------------------------------------------------

TEST_F(ConvertTest, bundledExamplesConvertAndReportWhatWasWritten) {
  for (const char* name : {"sample.txt", "sample.rtf"}) {
    fs::copy_file(fs::path(KERFLINE_SOURCE_DIR) / "examples" / name, work_ / name);
    ProcessResult r = convert({"--report", name});
    ASSERT_EQ(r.status, 0) << name << ": " << r.err;
    fs::path out = work_ / "sample.DXF";
    DxfCheck c = checkDxf(out, {});
    EXPECT_EQ(c.status, 0) << name << ": " << c.err;
    EXPECT_GT(c.contours, 20) << name;
    EXPECT_NE(r.out.find("Wrote sample.DXF"), std::string::npos) << r.out;
    // Appended, not " " + a temporary: GCC 12 at -O3 warns of an impossible overlap there.
    const std::string expected =
        std::string(" ").append(std::to_string(c.entities)).append(" LINE entities");
    EXPECT_NE(r.out.find(expected), std::string::npos) << r.out;
    fs::remove(out);
  }
}

TEST_F(ConvertTest, sharedRichTextSamplesConvertInBothModes) {
  fs::path data = fs::path(KERFLINE_TEST_DATA_DIR) / "richtext";
  int converted = 0;
  for (const auto& entry : fs::directory_iterator(data)) {
    std::string name = entry.path().filename();
    if (name.rfind("rtf_", 0) != 0 || entry.path().extension() != ".rtf") continue;
    fs::copy_file(entry.path(), work_ / name, fs::copy_options::overwrite_existing);
    std::string out = name.substr(0, name.size() - 4) + ".DXF";
    for (const char* mode : {"2", "1"}) {
      ProcessResult r = convert({name, "100", "-2", "2", "10", "R", mode});
      ASSERT_EQ(r.status, 0) << name << ": " << r.err;
      DxfCheck c = checkDxf(work_ / out, {mode[0] == '1' ? "polylines" : "lines", "R", "0.00",
                                          "1.00", ""});
      EXPECT_EQ(c.status, 0) << name << " mode " << mode << ": " << c.err;
    }
    ++converted;
  }
  // The samples are part of the tests: without them this test has checked nothing.
  EXPECT_GE(converted, 2) << "rtf_*.rtf samples missing from " << data;
}

}  // namespace
}  // namespace kerfline::e2e
