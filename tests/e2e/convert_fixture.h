#pragma once
// A private copy of kerfline-convert with a work folder, for tests that run it as a process.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "process.h"

namespace kerfline::e2e {

/// bin/kerfline-convert and work/in.txt in a fresh folder, removed afterwards.
class NamedOptionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "kerfline-named-XXXXXX").string();
    root_ = ::mkdtemp(pattern.data());
    bin_ = root_ / "bin";
    work_ = root_ / "work";
    std::filesystem::create_directories(bin_);
    std::filesystem::create_directories(work_);
    std::filesystem::copy_file(KERFLINE_CONVERT_EXE, bin_ / "kerfline-convert");
    spit(work_ / "in.txt", "Kerf 8\nline two");
  }
  void TearDown() override {
    std::error_code ec;
    std::filesystem::permissions(bin_, std::filesystem::perms::owner_all, ec);
    std::filesystem::remove_all(root_);
  }

  ProcessResult convert(const std::vector<std::string>& args, const ProcessSetup& setup = {}) {
    ProcessSetup s = setup;
    s.unsetEnv.push_back("KERFLINE_SETTINGS");
    return runProcess((bin_ / "kerfline-convert").string(), args, work_.string(), s);
  }
  /// Runs the command and gives back the bytes it wrote to work/name (removed afterwards).
  std::string written(const std::vector<std::string>& args, const std::string& name) {
    ProcessResult r = convert(args);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    std::string bytes = slurp(work_ / name);
    std::filesystem::remove(work_ / name);
    return bytes;
  }
  std::vector<std::string> workFiles() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(work_)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

  std::filesystem::path root_, bin_, work_;
};

}  // namespace kerfline::e2e
