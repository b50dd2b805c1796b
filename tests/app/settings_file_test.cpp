#include "app/settings_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "child_process.h"
#include "common/error.h"
#include "temp_dir.h"

namespace kerfline {
namespace {

namespace fs = std::filesystem;

// A fresh folder and the settings file in it.
struct TempFolder : test::TempDir {
  std::string ini() const { return settingsPath(folder()); }
};

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void spit(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::size_t entriesIn(const std::string& folder) {
  return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {}));
}

// Runs body in a child that has given up root (tests run as root in CI, and root ignores
// permission bits). The child's exit status is the number of failed expectations.
int inUnprivilegedChild(const std::function<int()>& body) {
  pid_t pid = ::fork();
  if (pid == 0) {
    if (!test::dropPrivileges()) ::_exit(100);
    ::_exit(body());
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 200;
}

// The message a failed write must carry; 0 when it was thrown with it.
int failsWithMessage(const std::function<void()>& write, const std::string& path) {
  try {
    write();
  } catch (const Error& e) {
    return std::string(e.what()) == "Unable to write to " + path ? 0 : 1;
  } catch (...) {
    return 2;
  }
  return 3;
}

const LayerSettings kDefaults{"0", "1.00", "0.00"};

TEST(settings_file_test, settingsPathIsRegIniInFolder) {
  EXPECT_EQ(settingsPath("/opt/kerfline/bin/"), "/opt/kerfline/bin/Reg.ini");
}

TEST(settings_file_test, firstStartWithoutFileGivesDefaultsAndWritesNothing) {
  TempFolder t;
  EXPECT_EQ(Loadini(t.ini()), kDefaults);
  EXPECT_FALSE(fs::exists(t.ini()));
}

TEST(settings_file_test, missingKeysTakeTheirDefaults) {
  TempFolder t;
  spit(t.ini(), "[Layer]\r\nZup=7\r\n");
  EXPECT_EQ(Loadini(t.ini()), (LayerSettings{"0", "7", "0.00"}));
}

TEST(settings_file_test, namesMatchWhateverTheirCaseAndValuesLoseBlanksAndQuotes) {
  TempFolder t;
  spit(t.ini(), "[LAYER]\nlayer = \"  Engrave 1 \" \nZUP\t=\t'2.5'\nzdown=  -0.3  \n");
  EXPECT_EQ(Loadini(t.ini()), (LayerSettings{"  Engrave 1 ", "2.5", "-0.3"}));
}

TEST(settings_file_test, defaultsWrittenFromScratchAreFourCrLfLines) {
  TempFolder t;
  Saveini(t.ini(), kDefaults);
  EXPECT_EQ(slurp(t.ini()), "[Layer]\r\nLayer=0\r\nZup=1.00\r\nZdown=0.00\r\n");
  EXPECT_EQ(entriesIn(t.folder()), 1u) << "no temporary file left behind";
}

TEST(settings_file_test, valuesAreStoredAndRestoredAsTyped) {
  TempFolder t;
  LayerSettings typed{"Cut 3", "abc", "-0.50"};
  Saveini(t.ini(), typed);
  EXPECT_EQ(Loadini(t.ini()), typed);
}

TEST(settings_file_test, otherSectionsKeysAndCommentsSurviveAWrite) {
  TempFolder t;
  const std::string head = "; written by hand\n[Window]\nLeft=10\n\n";
  const std::string tail = "\n; machine\n[Router]\r\nSpeed = 3000 \r\n";
  spit(t.ini(), head + "[Layer]\r\nZup=5\r\nExtra=keep\r\n" + tail);
  Saveini(t.ini(), LayerSettings{"L", "6", "0"});
  EXPECT_EQ(slurp(t.ini()),
            head + "[Layer]\r\nZup=6\r\nExtra=keep\r\nLayer=L\r\nZdown=0\r\n" + tail);
}

TEST(settings_file_test, missingSectionIsAppended) {
  TempFolder t;
  spit(t.ini(), "[Other]\r\nA=1\r\n");
  Saveini(t.ini(), kDefaults);
  EXPECT_EQ(slurp(t.ini()), "[Other]\r\nA=1\r\n[Layer]\r\nLayer=0\r\nZup=1.00\r\nZdown=0.00\r\n");
}

TEST(settings_file_test, longValueReadsAsItsFirst2047Characters) {
  TempFolder t;
  Saveini(t.ini(), LayerSettings{std::string(5000, 'L'), "1", "0"});
  EXPECT_EQ(Loadini(t.ini()).layer, std::string(2047, 'L'));
}

TEST(settings_file_test, fileModeIsKept) {
  TempFolder t;
  spit(t.ini(), "[Layer]\r\n");
  fs::permissions(t.ini(), fs::perms::owner_read | fs::perms::owner_write);
  Saveini(t.ini(), kDefaults);
  EXPECT_EQ(fs::status(t.ini()).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
}

TEST(settings_file_test, unwritableFolderIsReportedAndTheFileKept) {
  TempFolder t;
  const std::string before = "[Layer]\r\nLayer=Keep\r\n";
  spit(t.ini(), before);
  fs::permissions(t.folder(), fs::perms::owner_read | fs::perms::owner_exec |
                                  fs::perms::group_read | fs::perms::group_exec |
                                  fs::perms::others_read | fs::perms::others_exec);
  int failures = inUnprivilegedChild([&] {
    int bad = failsWithMessage([&] { Saveini(t.ini(), kDefaults); }, t.ini());
    bad += Loadini(t.ini()).layer == "Keep" ? 0 : 10;  // still readable
    return bad;
  });
  EXPECT_EQ(failures, 0);
  EXPECT_EQ(slurp(t.ini()), before);
  EXPECT_EQ(entriesIn(t.folder()), 1u);
}

TEST(settings_file_test, readOnlyFileInWritableFolderIsRefusedNotReplaced) {
  TempFolder t;
  const std::string before = "[Layer]\r\nZup=9\r\n";
  spit(t.ini(), before);
  fs::permissions(t.folder(), fs::perms::all);
  fs::permissions(t.ini(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  int failures = inUnprivilegedChild(
      [&] { return failsWithMessage([&] { Saveini(t.ini(), kDefaults); }, t.ini()); });
  EXPECT_EQ(failures, 0);
  EXPECT_EQ(slurp(t.ini()), before);
  EXPECT_EQ(entriesIn(t.folder()), 1u);
}

TEST(settings_file_test, folderThatDoesNotExistIsReported) {
  TempFolder t;
  std::string path = t.folder() + "missing/Reg.ini";
  EXPECT_EQ(failsWithMessage([&] { Saveini(path, kDefaults); }, path), 0);
  EXPECT_EQ(Loadini(path), kDefaults);
}

TEST(settings_file_test, oversizedFileCountsAsUnreadableAndIsNeverTruncated) {
  TempFolder t;
  std::string huge = "[Layer]\r\nZup=7\r\n" + std::string(2 << 20, '\x01');
  spit(t.ini(), huge);
  EXPECT_EQ(Loadini(t.ini()), kDefaults);
  EXPECT_EQ(failsWithMessage([&] { Saveini(t.ini(), kDefaults); }, t.ini()), 0);
  EXPECT_EQ(slurp(t.ini()).size(), huge.size());
}

TEST(settings_file_test, folderOrPipeNamedRegIniNeitherHangsNorCrashes) {
  TempFolder dir, pipe;
  fs::create_directory(dir.ini());
  EXPECT_EQ(Loadini(dir.ini()), kDefaults);
  EXPECT_EQ(failsWithMessage([&] { Saveini(dir.ini(), kDefaults); }, dir.ini()), 0);

  ASSERT_EQ(::mkfifo(pipe.ini().c_str(), 0600), 0);
  EXPECT_EQ(Loadini(pipe.ini()), kDefaults);
  EXPECT_EQ(failsWithMessage([&] { Saveini(pipe.ini(), kDefaults); }, pipe.ini()), 0);
}

TEST(settings_file_test, binaryContentReadsWithoutHarm) {
  TempFolder t;
  std::string junk;
  for (int i = 0; i < 4096; ++i) junk += static_cast<char>((i * 37) & 0xFF);
  spit(t.ini(), junk + "\n[Layer]\nLayer=X\n");
  EXPECT_EQ(Loadini(t.ini()).layer, "X");
  Saveini(t.ini(), kDefaults);
  std::string after = slurp(t.ini());
  EXPECT_EQ(after.substr(0, junk.size()), junk);
  EXPECT_EQ(Loadini(t.ini()), kDefaults);
}

}  // namespace
}  // namespace kerfline
