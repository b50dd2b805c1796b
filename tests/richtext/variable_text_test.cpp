// Placeholders of a production run: serial formats against printf's own output written out by
// hand, the style a filled value takes, and the refusals that must come before any file.
#include "richtext/variable_text.h"

#include <gtest/gtest.h>

#include "common/error.h"
#include "common/utf8.h"

namespace kerfline {
namespace {

TEST(variable_text_test, serial_formats) {
  struct Case {
    long long n;
    std::u32string format;
    std::optional<std::string> expected;
  };
  const Case cases[] = {
      {7, U"", "7"},          {7, U"04", "0007"},     {12345, U"03", "12345"},
      {255, U"x", "ff"},      {255, U"X", "FF"},      {255, U"04x", "00ff"},
      {42, U"5", "   42"},    {42, U"d", "42"},       {1000000000, U"", "1000000000"},
      {7, U"q", std::nullopt}, {7, U"4.2", std::nullopt}, {7, U"x4", std::nullopt},
      {7, U"021", std::nullopt},  // wider than any serial needs
      {-1, U"x", std::nullopt},   // no two's complement on a tag
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(u32ToUtf8(c.format));
    EXPECT_EQ(formatSerial(c.n, c.format), c.expected);
  }
}

TEST(variable_text_test, a_value_takes_the_style_of_its_opening_brace) {
  TFontDescription plain, bold;
  plain.Name = bold.Name = "DejaVu Sans";
  bold.Bold = true;
  StyledText text;
  text.append(U"No. ", plain);
  text.append(U"{", bold);
  text.append(U"n:03} {{x}}", plain);  // the rest of the placeholder plain: still bold
  const StyledText item = TextTemplate(text).fill(ItemValues{5});
  EXPECT_EQ(item.text(), U"No. 005 {x}");
  ASSERT_EQ(item.runs().size(), 3u);
  EXPECT_EQ(item.runs()[1], (StyledText::Run{4, 3, bold}));
  EXPECT_EQ(item.runs()[2].format, plain);
}

TEST(variable_text_test, merge_values_fill_columns_with_line_breaks_as_the_text_model_has_them) {
  CsvTable table;
  table.header = {"name", "role"};
  table.rows = {{"Ann", "Lead"}, {"Bob", "line\none"}};
  StyledText text;
  text.append(U"{name}\r\n{role} #{n}", TFontDescription{});
  const TextTemplate t(text);
  t.check(&table);
  EXPECT_EQ(t.fill(ItemValues{3, &table, 1}).text(), U"Bob\r\nline\r\none #3");
}

TEST(variable_text_test, refuses_what_no_item_can_fill) {
  CsvTable table;
  table.header = {"name", "role"};
  struct Case {
    std::u32string text;
    const CsvTable* table;
    const char* message;
  };
  const Case cases[] = {
      {U"{nmae}", &table, "{nmae}: the merge file has no such column (it has: name, role)"},
      {U"{name}", nullptr, "{name}: no merge file (--merge) gives a column of that name"},
      {U"{n:04q}", nullptr, "{n:04q}: not a serial format (such as {n:04} or {n:x})"},
      {U"{name:04}", &table, "{name:04}: a format applies to {n} only"},
      {U"ab {n\r\n}", nullptr,
       "a placeholder opened at character 4 is not closed on its line (write {{ for a brace)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(u32ToUtf8(c.text));
    StyledText text;
    text.append(c.text, TFontDescription{});
    try {
      TextTemplate(text).check(c.table);
      ADD_FAILURE() << "taken";
    } catch (const Error& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
}

}  // namespace
}  // namespace kerfline
