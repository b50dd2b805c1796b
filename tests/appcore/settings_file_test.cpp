#include "appcore/settings_file.h"
#include "appcore/settings_location.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
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

TEST(settings_file_test, symbolicLinkKeepsPointingAtTheUsersFile) {
  // A settings file kept elsewhere (a dotfiles folder, say) and linked into place: a save
  // writes the file the link names and leaves the link as it was.
  TempFolder t, elsewhere;
  const std::string real = elsewhere.folder() + "kerfline.ini";
  spit(real, "; mine\r\n[Layer]\r\nZup=3\r\n");
  fs::create_symlink(real, t.ini());
  Saveini(t.ini(), LayerSettings{"L", "4", "-1"});
  EXPECT_TRUE(fs::is_symlink(t.ini()));
  EXPECT_EQ(slurp(real), "; mine\r\n[Layer]\r\nZup=4\r\nLayer=L\r\nZdown=-1\r\n");
  EXPECT_EQ(entriesIn(t.folder()), 1u);
  EXPECT_EQ(entriesIn(elsewhere.folder()), 1u) << "no temporary left beside the real file";
}

// ---- where the settings file lives ------------------------------------------------------

constexpr fs::perms kReadOnlyFolder = fs::perms::owner_read | fs::perms::owner_exec |
                                      fs::perms::group_read | fs::perms::group_exec |
                                      fs::perms::others_read | fs::perms::others_exec;

TEST(settings_location_test, lookupOrderForEveryKindOfProgramFolder) {
  TempFolder program, other;
  fs::permissions(program.folder(), fs::perms::all);
  const std::string portable = program.ini();
  // A named file wins over everything, even a portable file that is present.
  spit(portable, "[Layer]\r\n");
  EXPECT_EQ(locateSettings({"/srv/cut.ini", program.folder(), "/cfg", "/home/u"}),
            (SettingsLocation{"/srv/cut.ini", SettingsOrigin::Named}));
  fs::remove(portable);
  // A folder the user may write keeps the portable file, as a copy in a build tree does.
  EXPECT_EQ(locateSettings({"", program.folder(), "/cfg", "/home/u"}),
            (SettingsLocation{portable, SettingsOrigin::Portable}));

  // The rest as a user who cannot write the program folder.
  fs::permissions(program.folder(), kReadOnlyFolder);
  const std::string missing = other.folder() + "gone/";
  int failures = inUnprivilegedChild([&] {
    int bad = 0;
    auto user = [](std::string path) { return SettingsLocation{path, SettingsOrigin::User}; };
    bad += locateSettings({"", program.folder(), "/cfg", "/home/u"}) == user("/cfg/kerfline/Reg.ini") ? 0 : 1;
    bad += locateSettings({"", program.folder(), "/cfg//", "/home/u"}) == user("/cfg/kerfline/Reg.ini") ? 0 : 2;
    // A relative XDG_CONFIG_HOME is ignored; the home folder's .config takes its place.
    bad += locateSettings({"", program.folder(), "cfg", "/home/u/"}) == user("/home/u/.config/kerfline/Reg.ini") ? 0 : 4;
    bad += locateSettings({"", program.folder(), "", "/home/u"}) == user("/home/u/.config/kerfline/Reg.ini") ? 0 : 8;
    // A program folder that is not there cannot take a file either.
    bad += locateSettings({"", missing, "/cfg", ""}) == user("/cfg/kerfline/Reg.ini") ? 0 : 16;
    // No home at all: the portable file is the last resort, and saving there will say why not.
    bad += locateSettings({"", program.folder(), "", ""}) ==
                   SettingsLocation{portable, SettingsOrigin::Portable} ? 0 : 32;
    return bad;
  });
  EXPECT_EQ(failures, 0);
}

TEST(settings_location_test, userWhoCannotWriteTheProgramFolderKeepsSettingsInTheConfigFolder) {
  TempFolder program, config;
  fs::permissions(program.folder(), kReadOnlyFolder);
  fs::permissions(config.folder(), fs::perms::all);  // the user's own ~/.config
  const std::string userIni = config.folder() + "kerfline/Reg.ini";
  const LayerSettings saved{"Engrave", "3.5", "-0.25"};
  int failures = inUnprivilegedChild([&] {
    ::unsetenv("KERFLINE_SETTINGS");
    ::setenv("XDG_CONFIG_HOME", config.folder().c_str(), 1);
    int bad = 0;
    // First start: nothing there yet, the defaults, and nothing created by reading.
    SettingsLocation at = findSettingsFile(program.folder());
    bad += at == SettingsLocation{userIni, SettingsOrigin::User} ? 0 : 1;
    bad += Loadini(at.path) == kDefaults ? 0 : 2;
    bad += fs::exists(config.folder() + "kerfline") ? 4 : 0;
    // The first save creates the folder (private to the user) and the file.
    try {
      prepareSettingsFolder(at);
      Saveini(at.path, saved);
    } catch (...) {
      return 100;
    }
    bad += Loadini(findSettingsFile(program.folder()).path) == saved ? 0 : 8;
    struct stat info {};
    bad += ::stat((config.folder() + "kerfline").c_str(), &info) == 0 &&
                   (info.st_mode & 07777) == 0700 ? 0 : 16;
    // A second save goes to the same file, whose folder exists by now.
    prepareSettingsFolder(at);
    Saveini(at.path, kDefaults);
    bad += Loadini(at.path) == kDefaults ? 0 : 32;
    Saveini(at.path, saved);
    return bad;
  });
  EXPECT_EQ(failures, 0);
  EXPECT_EQ(slurp(userIni), "[Layer]\r\nLayer=Engrave\r\nZup=3.5\r\nZdown=-0.25\r\n");
  EXPECT_FALSE(fs::exists(program.ini()));

  // A portable file put beside the program wins, though the user may not write it.
  fs::permissions(program.folder(), fs::perms::owner_all);
  spit(program.ini(), "[Layer]\r\nLayer=Portable\r\n");
  fs::permissions(program.ini(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  fs::permissions(program.folder(), kReadOnlyFolder);
  failures = inUnprivilegedChild([&] {
    ::unsetenv("KERFLINE_SETTINGS");
    ::setenv("XDG_CONFIG_HOME", config.folder().c_str(), 1);
    SettingsLocation at = findSettingsFile(program.folder());
    int bad = at == SettingsLocation{program.ini(), SettingsOrigin::Portable} ? 0 : 1;
    bad += Loadini(at.path).layer == "Portable" ? 0 : 2;
    // The environment variable names a file of its own, and --settings wins over it.
    ::setenv("KERFLINE_SETTINGS", userIni.c_str(), 1);
    bad += Loadini(findSettingsFile(program.folder()).path) == saved ? 0 : 4;
    bad += findSettingsFile(program.folder(), "/srv/x.ini").path == "/srv/x.ini" ? 0 : 8;
    return bad;
  });
  EXPECT_EQ(failures, 0);
}

TEST(settings_location_test, aConfigFolderThatCannotBeMadeIsReportedByTheFileName) {
  TempFolder config;
  spit(config.folder() + "kerfline", "a file where the folder should be");
  const SettingsLocation at{config.folder() + "kerfline/Reg.ini", SettingsOrigin::User};
  EXPECT_EQ(failsWithMessage([&] {
              prepareSettingsFolder(at);
              Saveini(at.path, kDefaults);
            }, at.path), 0);
}

}  // namespace
}  // namespace kerfline
