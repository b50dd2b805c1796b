#include "export/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "export_test_support.h"

namespace kerfline {
namespace {

using test::TempDir;
using test::readFile;
using test::writeFile;
namespace fs = std::filesystem;

std::string writeAndCommit(const std::string& target, const std::string& bytes) {
  OutputFile file(target);
  file.write(bytes.data(), bytes.size());
  file.commit();
  return readFile(target);
}

TEST(output_file_test, messages_for_system_errors) {
  const std::pair<int, const char*> cases[] = {
      {ENOENT, "Invalid filename."},     {ENOTDIR, "Invalid filename."},
      {ENAMETOOLONG, "Invalid filename."}, {EINVAL, "Invalid filename."},
      {EACCES, "File access denied."},   {EPERM, "File access denied."},
      {EROFS, "File access denied."},    {EISDIR, "File access denied."},
      {EMFILE, "Too many open files."},  {ENFILE, "Too many open files."},
      {ENOSPC, "Disk full."},            {EDQUOT, "Disk full."},
      {EIO, "I/O error 5."},             {EXDEV, "I/O error 18."},
  };
  for (const auto& [err, message] : cases) EXPECT_EQ(fileErrorMessage(err), message) << err;
}

TEST(output_file_test, commit_replaces_the_target_and_leaves_no_temporary) {
  TempDir dir;
  const std::string target = dir.file("out.dxf");
  EXPECT_EQ(writeAndCommit(target, "first\r\n"), "first\r\n");
  EXPECT_EQ(writeAndCommit(target, "second\r\n"), "second\r\n");
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"out.dxf"});
}

TEST(output_file_test, abandoned_file_leaves_previous_target_untouched) {
  TempDir dir;
  const std::string target = dir.file("out.dxf");
  writeFile(target, "previous");
  {
    OutputFile file(target);
    EXPECT_TRUE(fs::exists(file.temporaryPath()));
    EXPECT_EQ(fs::path(file.temporaryPath()).parent_path(), dir.path());
    file.write("partial", 7);
  }
  EXPECT_EQ(readFile(target), "previous");
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"out.dxf"});
}

TEST(output_file_test, bad_names_are_invalid_filenames) {
  TempDir dir;
  const std::string cases[] = {
      "",
      dir.file("missing-folder/out.dxf"),
      dir.file("out.dxf/"),
      dir.file(std::string(300, 'n') + ".dxf"),
      dir.file("plain-file/out.dxf"),  // a file where a folder should be
  };
  writeFile(dir.file("plain-file"), "x");
  for (const auto& target : cases) {
    EXPECT_ERROR_MSG(OutputFile{target}, "Invalid filename.");
  }
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"plain-file"});
}

TEST(output_file_test, a_folder_is_not_overwritten) {
  TempDir dir;
  fs::create_directory(dir.path() / "sub.dxf");
  EXPECT_ERROR_MSG(OutputFile{dir.file("sub.dxf")}, "File access denied.");
  EXPECT_TRUE(fs::is_directory(dir.path() / "sub.dxf"));
}

TEST(output_file_test, replaced_file_keeps_its_permissions) {
  TempDir dir;
  const std::string target = dir.file("out.dxf");
  writeFile(target, "old");
  fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  writeAndCommit(target, "new");
  EXPECT_EQ(fs::status(target).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(output_file_test, new_file_gets_the_usual_permissions) {
  TempDir dir;
  const mode_t mask = ::umask(022);
  writeAndCommit(dir.file("out.dxf"), "x");
  ::umask(mask);
  EXPECT_EQ(fs::status(dir.file("out.dxf")).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                fs::perms::others_read);
}

TEST(output_file_test, symbolic_link_is_written_through) {
  TempDir dir;
  fs::create_directory(dir.path() / "real");
  writeFile(dir.file("real/out.dxf"), "old");
  fs::create_symlink(dir.path() / "real" / "out.dxf", dir.path() / "link.dxf");
  writeAndCommit(dir.file("link.dxf"), "new");
  EXPECT_TRUE(fs::is_symlink(dir.path() / "link.dxf"));
  EXPECT_EQ(readFile(dir.file("real/out.dxf")), "new");
}

// A link to a file not written yet (also through a second, relative link) creates that file
// and stays a link; a loop of links names no file.
TEST(output_file_test, dangling_symbolic_link_is_written_through) {
  TempDir dir;
  fs::create_directory(dir.path() / "real");
  fs::create_symlink(dir.path() / "real" / "out.dxf", dir.path() / "link.dxf");
  fs::create_symlink("link.dxf", dir.path() / "relative.dxf");
  writeAndCommit(dir.file("relative.dxf"), "new");
  EXPECT_TRUE(fs::is_symlink(dir.path() / "link.dxf"));
  EXPECT_TRUE(fs::is_symlink(dir.path() / "relative.dxf"));
  EXPECT_EQ(readFile(dir.file("real/out.dxf")), "new");

  fs::create_symlink("loop-b.dxf", dir.path() / "loop-a.dxf");
  fs::create_symlink("loop-a.dxf", dir.path() / "loop-b.dxf");
  EXPECT_ERROR_MSG(OutputFile{dir.file("loop-a.dxf")}, "Invalid filename.");
  EXPECT_TRUE(fs::is_symlink(dir.path() / "loop-a.dxf"));
}

// Renaming over a pipe or device would swap the special file for a plain one (as root even
// /dev/null); such a target is refused and stays what it was.
TEST(output_file_test, special_file_is_refused_not_replaced) {
  TempDir dir;
  const std::string fifo = dir.file("pipe.dxf");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
  EXPECT_ERROR_MSG(OutputFile{fifo}, "File access denied.");
  EXPECT_TRUE(fs::is_fifo(fifo));
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"pipe.dxf"});
}

// Root ignores permission bits, so the refusals are checked as user nobody in a child.
TEST(output_file_test, access_denied_for_read_only_folder_and_file) {
  TempDir dir;
  fs::permissions(dir.path(), fs::perms::all & ~fs::perms::group_write & ~fs::perms::others_write);
  fs::create_directory(dir.path() / "locked");
  fs::create_directory(dir.path() / "open");
  fs::permissions(dir.path() / "locked", fs::perms::owner_all | fs::perms::group_read |
                                             fs::perms::group_exec | fs::perms::others_read |
                                             fs::perms::others_exec);
  fs::permissions(dir.path() / "open", fs::perms::all);
  const std::string inLocked = dir.file("locked/out.dxf");
  const std::string readOnly = dir.file("open/read-only.dxf");
  writeFile(readOnly, "keep me");
  fs::permissions(readOnly, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);

  const std::string result = test::asUnprivilegedUser([&]() -> std::string {
    std::string messages;
    for (const auto& target : {inLocked, readOnly}) {
      try {
        writeAndCommit(target, "new");
        messages += "written|";
      } catch (const Error& e) {
        messages += std::string(e.what()) + "|";
      }
    }
    return messages;
  });
  if (result.rfind("skip:", 0) == 0) GTEST_SKIP() << result;
  EXPECT_EQ(result, "File access denied.|File access denied.|");
  EXPECT_EQ(readFile(readOnly), "keep me");
  EXPECT_FALSE(fs::exists(inLocked));
  EXPECT_EQ(dir.entries(), (std::vector<std::string>{"locked", "open"}));
  EXPECT_TRUE(fs::is_empty(dir.path() / "locked"));
}

TEST(output_file_test, short_write_on_dev_full_is_disk_full) {
  const int fd = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
  ASSERT_GE(fd, 0);
  OutputFile file(fd);
  const std::string block(1 << 16, 'x');
  EXPECT_ERROR_MSG(file.write(block.data(), block.size()), "Disk full.");
}

TEST(output_file_test, full_file_system_is_disk_full_and_keeps_previous_target) {
  TempDir dir;
  const std::string folder = dir.path().string();
  const std::string result = test::onTinyFileSystem(folder, 64 * 1024, [&]() -> std::string {
    const std::string target = folder + "/out.dxf";
    writeFile(target, "previous");
    std::string message = "no error";
    try {
      OutputFile file(target);
      const std::string block(1 << 16, 'x');
      for (int i = 0; i < 4; ++i) file.write(block.data(), block.size());
      file.commit();
    } catch (const Error& e) {
      message = e.what();
    }
    std::string names;
    for (const auto& entry : fs::directory_iterator(folder)) names += entry.path().filename().string() + ";";
    return message + "|" + readFile(target) + "|" + names;
  });
  if (result.rfind("skip:", 0) == 0) GTEST_SKIP() << result;
  EXPECT_EQ(result, "Disk full.|previous|out.dxf;");
}

}  // namespace
}  // namespace kerfline
