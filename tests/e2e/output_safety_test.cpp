// End-to-end: where kerfline-convert writes, and what it never overwrites or leaves behind.
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "convert_fixture.h"
#include "process.h"

namespace kerfline::e2e {
namespace {

namespace fs = std::filesystem;

using OutputSafetyTest = NamedOptionsTest;

TEST_F(OutputSafetyTest, theDefaultNameFollowsTheForm) {
  const std::pair<const char*, const char*> cases[] = {
      {"lines", "in.DXF"}, {"polylines", "in.DXF"}, {"closed", "in.DXF"},
      {"svg", "in.svg"},   {"gcode", "in.nc"}};
  for (const auto& [form, name] : cases) {
    const ProcessResult r = convert({"-f", form, "in.txt"});
    EXPECT_EQ(r.status, 0) << form << ": " << r.err;
    EXPECT_EQ(workFiles(), (std::vector<std::string>{name, "in.txt"})) << form;
    fs::remove(work_ / name);
  }
}

TEST_F(OutputSafetyTest, anOutputThatIsAFileThisRunReadsIsRefused) {
  spit(work_ / "s.ini", "[Layer]\nZup=2\n");
  fs::create_symlink("in.txt", work_ / "link.nc");
  fs::create_hard_link(work_ / "in.txt", work_ / "hard.txt");
  fs::create_symlink("in.txt", work_ / "in.DXF");  // what the positional name rule gives
  struct Case {
    std::vector<std::string> args;
    const char* message;
  };
  const Case cases[] = {
      {{"-o", "in.txt", "in.txt"}, "in.txt is the input file itself"},
      {{"-o", "./in.txt", "in.txt"}, "./in.txt is the input file itself"},
      {{"-f", "gcode", "-o", "link.nc", "in.txt"}, "link.nc is the input file itself"},
      {{"-f", "svg", "-o", "hard.txt", "in.txt"}, "hard.txt is the input file itself"},
      {{"--settings", "s.ini", "-o", "s.ini", "in.txt"}, "s.ini is the settings file itself"},
      {{"in.txt"}, "in.DXF is the input file itself"},
  };
  const std::vector<std::string> before = workFiles();
  for (const Case& c : cases) {
    const ProcessResult r = convert(c.args);
    EXPECT_EQ(r.status, 1) << c.message;
    EXPECT_NE(r.err.find(std::string(c.message) + ": nothing written."), std::string::npos) << r.err;
    EXPECT_EQ(slurp(work_ / "in.txt"), "Kerf 8\nline two") << c.message;
    EXPECT_EQ(slurp(work_ / "s.ini"), "[Layer]\nZup=2\n") << c.message;
    EXPECT_EQ(workFiles(), before) << c.message;
  }
}

TEST_F(OutputSafetyTest, aLinkPlantedInASharedFolderIsNotFollowed) {
  if (::geteuid() != 0) GTEST_SKIP() << "giving a link to another user needs root";
  const fs::path target = root_ / "victim.txt";
  struct Case {
    const char* name;
    ::mode_t folderMode;
    ::uid_t linkOwner;
    bool followed;
  };
  // Root owns the folders here, so a link of root's is the user's and the folder owner's.
  const Case cases[] = {
      {"another user's link in a sticky shared folder", 01777, 65534, false},
      {"the user's own link there", 01777, 0, true},
      {"another user's link in a folder that is not sticky", 0777, 65534, true},
  };
  for (const Case& c : cases) {
    const fs::path shared = root_ / "shared";
    fs::create_directory(shared);
    ::chmod(shared.c_str(), c.folderMode);
    spit(target, "precious");
    fs::create_symlink(target, shared / "out.nc");
    ASSERT_EQ(::lchown((shared / "out.nc").c_str(), c.linkOwner, c.linkOwner), 0);
    const ProcessResult r = convert({"-f", "gcode", "-o", (shared / "out.nc").string(), "in.txt"});
    if (c.followed) {
      EXPECT_EQ(r.status, 0) << c.name << ": " << r.err;
      EXPECT_TRUE(slurp(target).starts_with("(Kerfline G-code)")) << c.name;
      EXPECT_TRUE(fs::is_symlink(shared / "out.nc")) << c.name;
    } else {
      EXPECT_EQ(r.status, 1) << c.name;
      EXPECT_NE(r.err.find("is a symbolic link in a shared folder that belongs to another user"),
                std::string::npos) << r.err;
      EXPECT_EQ(slurp(target), "precious") << c.name;
    }
    fs::remove_all(shared);
  }
}

// The first temporary under folder that has grown past a few blocks, waiting for it up to a
// minute: the run is then well inside its writing.
bool awaitGrowingTemporary(const fs::path& folder) {
  for (int tries = 0; tries < 6000; ++tries) {
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(folder, ec); !ec && it != fs::end(it); it.increment(ec)) {
      const std::string name = it->path().filename().string();
      if (name.starts_with(".kerfline-") && name.ends_with(".tmp") &&
          fs::file_size(it->path(), ec) > (1u << 16))
        return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

TEST_F(OutputSafetyTest, anInterruptedRunLeavesTheOldFileAndNoTemporary) {
  // Hundreds of megabytes of lines: far more than is written before the signal arrives.
  std::string text;
  for (int line = 0; line < 100; ++line)
    text += std::string(20, ' ') + "The quick brown fox jumps over the lazy dog 0123456789\n";
  spit(work_ / "big.txt", text);
  const fs::path scratch = root_ / "scratch";
  fs::create_directory(scratch);
  struct Case {
    int signal;
    const char* output;
  };
  const Case cases[] = {{SIGINT, "out.DXF"}, {SIGTERM, "out.DXF"}, {SIGHUP, "out.DXF"},
                        {SIGTERM, "-"}};
  for (const Case& c : cases) {
    spit(work_ / "out.DXF", "old drawing");
    const std::vector<std::string> before = workFiles();
    ProcessSetup setup;
    setup.unsetEnv = {"KERFLINE_SETTINGS"};
    setup.setEnv = {"TMPDIR=" + scratch.string()};
    bool seen = false;
    setup.whileRunning = [&](int pid) {
      seen = awaitGrowingTemporary(root_);
      ::kill(pid, c.signal);
    };
    const ProcessResult r = runProcess((bin_ / "kerfline-convert").string(),
                                       {"-o", c.output, "big.txt"}, work_.string(), setup);
    EXPECT_TRUE(seen) << "no temporary grew before the run ended: " << r.err;
    EXPECT_EQ(r.status, 128 + c.signal) << c.signal << " " << c.output;
    EXPECT_EQ(slurp(work_ / "out.DXF"), "old drawing") << c.signal;
    EXPECT_EQ(workFiles(), before) << c.signal << " " << c.output;
    EXPECT_TRUE(fs::is_empty(scratch)) << c.signal << " " << c.output;
  }
}

}  // namespace
}  // namespace kerfline::e2e
