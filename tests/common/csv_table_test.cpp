// The merge-file reader against worked examples of what spreadsheets write, and of what they
// must not be trusted to write.
#include "common/csv_table.h"

#include <gtest/gtest.h>

#include "common/error.h"

namespace kerfline {
namespace {

using Rows = std::vector<std::vector<std::string>>;

struct ReadCase {
  const char* name;
  std::string bytes;
  std::vector<std::string> header;
  Rows rows;
  std::vector<int> lines;
};

TEST(csv_table_test, reads_what_spreadsheets_write) {
  const ReadCase cases[] = {
      {"LF", "a,b\n1,2\n3,4\n", {"a", "b"}, {{"1", "2"}, {"3", "4"}}, {2, 3}},
      {"CR LF, no final break", "a,b\r\n1,2\r\n3,4", {"a", "b"}, {{"1", "2"}, {"3", "4"}}, {2, 3}},
      {"byte-order mark", "\xEF\xBB\xBFname\nAnn\n", {"name"}, {{"Ann"}}, {2}},
      {"comma in quotes", "a,b\n\"x, y\",z\n", {"a", "b"}, {{"x, y", "z"}}, {2}},
      {"doubled quote", "a\n\"say \"\"hi\"\"\"\n", {"a"}, {{"say \"hi\""}}, {2}},
      // The next row's line counts the break inside the quotes.
      {"line break in quotes", "a,b\n\"one\r\ntwo\",x\n3,4\n", {"a", "b"},
       {{"one\r\ntwo", "x"}, {"3", "4"}}, {2, 4}},
      {"empty fields", "a,b,c\n,,\n\"\",x,\n", {"a", "b", "c"}, {{"", "", ""}, {"", "x", ""}}, {2, 3}},
      {"blank lines skipped", "a\n\n1\n\r\n2\n", {"a"}, {{"1"}, {"2"}}, {3, 5}},
      {"UTF-8 kept", "n\xC3\xA4me\nJos\xC3\xA9\n", {"n\xC3\xA4me"}, {{"Jos\xC3\xA9"}}, {2}},
      {"header only", "a,b\n", {"a", "b"}, {}, {}},
  };
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(c.name);
    const CsvTable t = parseCsv(c.bytes);
    EXPECT_EQ(t.header, c.header);
    EXPECT_EQ(t.rows, c.rows);
    EXPECT_EQ(t.rowLines, c.lines);
  }
}

struct RefusedCase {
  const char* name;
  std::string bytes;
  const char* message;
};

TEST(csv_table_test, refuses_malformed_files_naming_the_line) {
  const RefusedCase cases[] = {
      {"ragged row", "a,b\n1,2\n3\n", "line 3: a row of 1 fields; the header has 2"},
      {"too many fields", "a\n1,2\n", "line 2: a row of 2 fields; the header has 1"},
      {"quote never closed", "a\n1\n\"open\n\n", "line 3: a quoted field is never closed"},
      {"text after closing quote", "a\n\"x\"y\n",
       "line 2: text after a closing quote (write a quote inside quotes as \"\")"},
      {"quote in unquoted field", "a\nsay \"hi\"\n",
       "line 2: a quote inside an unquoted field (quote the whole field)"},
      {"not UTF-8", "a\ncaf\xE9\n", "line 2: a field is not UTF-8 text"},
      {"a NUL byte", {"a\nx\0y\n", 7}, "line 2: a field holds a NUL byte (is this a text file?)"},
      {"column named twice", "a,b,a\n", "line 1: the header names column \"a\" twice"},
      {"empty file", "", "no header row naming the columns"},
      {"only a mark and breaks", "\xEF\xBB\xBF\r\n\r\n", "no header row naming the columns"},
  };
  for (const RefusedCase& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      parseCsv(c.bytes);
      ADD_FAILURE() << "taken";
    } catch (const Error& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
}

TEST(csv_table_test, limits_columns_and_size) {
  std::string wide;
  for (std::size_t i = 0; i <= kMaxCsvColumns; ++i) wide += "c" + std::to_string(i) + ",";
  wide.back() = '\n';
  EXPECT_THROW(parseCsv(wide), Error);
  EXPECT_THROW(parseCsv(std::string(kMaxCsvBytes + 1, 'a')), Error);
}

}  // namespace
}  // namespace kerfline
