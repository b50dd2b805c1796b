#include "common/file_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "common/file_descriptor.h"

namespace kerfline {
namespace {

TEST(file_reader_test, aPipeIsReadToItsEndButNeverPastTheLimit) {
  for (const std::size_t limit : {std::size_t{11}, std::size_t{10}}) {
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    FileDescriptor reader(ends[0]), writer(ends[1]);
    ASSERT_EQ(::write(writer.get(), "hello world", 11), 11);
    writer.close();
    const FileContent got = readToEnd(reader.get(), limit);
    if (limit == 11) {
      EXPECT_EQ(got.status, ReadStatus::Ok);
      EXPECT_EQ(got.bytes, "hello world");
    } else {
      EXPECT_EQ(got.status, ReadStatus::TooLarge);
      EXPECT_EQ(got.bytes, "");
    }
  }
}

TEST(file_reader_test, onlyRegularFilesAreReadAndTheirSizeIsOnlyAHint) {
  // /proc files report size 0 yet have content.
  const FileContent proc = readRegularFile("/proc/self/status", 1 << 20);
  EXPECT_EQ(proc.status, ReadStatus::Ok);
  EXPECT_NE(proc.bytes.find("Name:"), std::string::npos);
  EXPECT_EQ(readRegularFile("/nonexistent/file", 10).status, ReadStatus::Missing);
  EXPECT_EQ(readRegularFile("/", 10).status, ReadStatus::Unreadable);
  EXPECT_EQ(readRegularFile("/dev/zero", 10).status, ReadStatus::Unreadable);
  EXPECT_EQ(readRegularFile("/proc/self/mem", 10).status, ReadStatus::ReadError);
  // A FIFO with no writer would block an ordinary open for ever.
  std::string folder = (std::filesystem::temp_directory_path() / "kerfline-fifo-XXXXXX").string();
  ASSERT_NE(::mkdtemp(folder.data()), nullptr);
  const std::string fifo = folder + "/pipe";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(readRegularFile(fifo, 10).status, ReadStatus::Unreadable);
  std::filesystem::remove_all(folder);
}

TEST(file_reader_test, descriptorOwnerClosesOnceAndHandsOver) {
  int ends[2];
  ASSERT_EQ(::pipe(ends), 0);
  FileDescriptor a(ends[0]);
  FileDescriptor b(std::move(a));
  EXPECT_FALSE(a);
  EXPECT_EQ(b.get(), ends[0]);
  EXPECT_EQ(b.close(), 0);
  EXPECT_FALSE(b);
  EXPECT_EQ(b.close(), 0) << "closing nothing is no error";
  EXPECT_EQ(::fcntl(ends[0], F_GETFD), -1) << "closed";
  FileDescriptor w(ends[1]);
  EXPECT_EQ(w.release(), ends[1]);
  EXPECT_NE(::fcntl(ends[1], F_GETFD), -1) << "released, still open";
  ::close(ends[1]);
}

}  // namespace
}  // namespace kerfline
