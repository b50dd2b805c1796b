#include "appcore/program_folder.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>

namespace kerfline {
namespace {

TEST(program_folder_test, isTheFolderOfThisExecutableWhateverTheCurrentFolder) {
  std::filesystem::path before = std::filesystem::current_path();
  ASSERT_EQ(::chdir("/"), 0);
  std::string folder = programFolder();
  std::filesystem::current_path(before);
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.front(), '/');
  EXPECT_EQ(folder.back(), '/');
  EXPECT_TRUE(std::filesystem::is_regular_file(folder + "appcore_test"));
}

}  // namespace
}  // namespace kerfline
