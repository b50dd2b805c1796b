#include "richtext/document_loader.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/error.h"
#include "expect_throw_msg.h"
#include "temp_dir.h"

namespace kerfline {
namespace {

namespace fs = std::filesystem;

const std::string kData = std::string(KERFLINE_TEST_DATA_DIR) + "/richtext/";

// The user's message is the contract: pin both the type and the text.
#define EXPECT_LOAD_ERROR(path, message) \
  EXPECT_ERROR_MSG(loadDocument(path, defaultEditorFormat()), message)

using test::TempDir;

TEST(document_loader_test, rtf_content_in_a_txt_file_loads_as_rich_text) {
  const StyledText t = loadDocument(kData + "loader_rich_named.txt", defaultEditorFormat());
  const std::u32string& s = t.text();
  ASSERT_EQ(s.find(U"{\\rtf"), std::u32string::npos) << "the RTF source was shown as text";
  ASSERT_EQ(s.substr(0, 10), U"Hello bold");
  EXPECT_EQ(s.substr(10, 7), U"\r\nWorld");
  // The formatting comes from the file, not from the plain-text defaults.
  EXPECT_EQ(t.fontAt(1).Name, "Arial");
  EXPECT_EQ(t.fontAt(1).Size, 12);
  EXPECT_FALSE(t.fontAt(1).Bold);
  EXPECT_TRUE(t.fontAt(7).Bold);
  EXPECT_FALSE(t.fontAt(13).Bold);
}

TEST(document_loader_test, plain_text_in_an_rtf_file_loads_as_plain_text) {
  TFontDescription format = defaultEditorFormat();
  const StyledText t = loadDocument(kData + "loader_plain_named.rtf", format);
  EXPECT_EQ(t.text(), U"This is plain text in a file named .rtf\r\n{\\rtf1 not at the start}\r\n");
  ASSERT_EQ(t.runs().size(), 1u);
  EXPECT_EQ(t.runs()[0].format, format);
}

TEST(document_loader_test, only_the_first_bytes_make_rich_text) {
  // A signature after anything else, even a blank or a byte-order mark, is plain text.
  const TFontDescription format = defaultEditorFormat();
  EXPECT_EQ(loadDocumentBytes(" {\\rtf1 x}", format).text(), U" {\\rtf1 x}");
  EXPECT_EQ(loadDocumentBytes("\xEF\xBB\xBF{\\rtf1 x}", format).text(), U"{\\rtf1 x}");
  EXPECT_EQ(loadDocumentBytes("{\\RTF1 x}", format).text(), U"{\\RTF1 x}");
  EXPECT_TRUE(loadDocumentBytes("", format).empty());
}

TEST(document_loader_test, files_that_cannot_be_opened) {
  TempDir dir;
  const std::string plain = dir.write("plain.txt", "x");
  ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0600), 0);
  const std::string cases[] = {
      dir.file("missing.txt"),
      dir.file(""),           // the folder itself
      kData,                  // a folder with a trailing separator
      plain + "/inner.txt",   // a path through a file
      dir.file("fifo"),       // must not block waiting for a writer
      "/dev/zero",            // a device would never end
      "",
  };
  for (const std::string& path : cases) EXPECT_LOAD_ERROR(path, "Cannot open file " + path);
}

TEST(document_loader_test, a_read_error_after_opening_fails_to_load) {
  // /proc/self/mem opens as a regular file, but reading address 0 fails with EIO.
  if (::access("/proc/self/mem", R_OK) != 0) GTEST_SKIP() << "no /proc";
  EXPECT_LOAD_ERROR("/proc/self/mem", "Failed to Load Stream");
}

TEST(document_loader_test, an_oversized_file_fails_to_load) {
  TempDir dir;
  const std::string big = dir.write("big.txt", "");
  fs::resize_file(big, (std::uintmax_t{64} << 20) + 1);  // sparse: costs no disk
  EXPECT_LOAD_ERROR(big, "Failed to Load Stream");
}

TEST(document_loader_test, reads_any_name_and_empty_files) {
  TempDir dir;
  EXPECT_EQ(loadDocument(dir.write("Zürich notes", "a\nb"), defaultEditorFormat()).text(), U"a\r\nb");
  EXPECT_TRUE(loadDocument(dir.write("empty.rtf", ""), defaultEditorFormat()).empty());
}

}  // namespace
}  // namespace kerfline
