// The option table against its two readers: every numeric option at its limits, just outside
// them, and as nan, infinity and text, on the command line and in the settings file.
#include "appcore/option_table.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>

#include "appcore/convert_command.h"
#include "appcore/settings_file.h"
#include "appcore/toolpath_settings.h"

namespace kerfline {
namespace {

namespace fs = std::filesystem;

struct Probe {
  std::string text;
  bool taken;
};

// The values each row must take and refuse, written so that they read back exactly.
std::vector<Probe> probes(const OptionDescriptor& row) {
  const double inf = std::numeric_limits<double>::infinity();
  const bool whole = row.kind == OptionKind::Whole;
  // Z texts are read by the single-precision number rule: the next value is a float's.
  const bool single = row.kind == OptionKind::Text;
  const float finf = std::numeric_limits<float>::infinity();
  const double below = whole    ? row.min - 1
                       : single ? std::nextafter(static_cast<float>(row.min), -finf)
                                : std::nextafter(row.min, -inf);
  const double above = whole    ? row.max + 1
                       : single ? std::nextafter(static_cast<float>(row.max), finf)
                                : std::nextafter(row.max, inf);
  return {{exactText(row.min), true},  {exactText(row.max), true}, {exactText(below), false},
          {exactText(above), false},   {"nan", false},             {"inf", false},
          {"-inf", false},             {"ten", false},             {"1e400", false}};
}

TEST(option_table_test, the_command_line_takes_exactly_the_values_inside_each_rows_limits) {
  for (const OptionDescriptor& row : optionTable()) {
    if (row.flag.empty()) continue;
    for (const Probe& p : probes(row)) {
      const std::string flag(row.flag);
      SCOPED_TRACE(flag + " " + p.text);
      // Options that shape something another option asks for come with it: the layout of items
      // on a sheet needs a sheet (of the largest size), tabs a form that can leave gaps.
      std::vector<std::string> args = {flag, p.text, "in.txt"};
      if (flag == "--gap" || flag == "--columns" || flag == "--cell")
        args.insert(args.begin(), {"--sheet", "100000"});
      if (flag.starts_with("--tab") || flag.starts_with("--stencil") || flag.starts_with("--bridge"))
        args.insert(args.begin(), {"-f", "closed"});
      if (flag.starts_with("--bridge")) args.insert(args.begin(), {"--stencil", "1"});
      if (flag == "--tab-width" || flag == "--tab-height" || flag == "--tab-min-length")
        args.insert(args.begin(), {"--tabs", "1"});
      if (!p.taken) {
        EXPECT_THROW(parseConvertCommand(args), UsageError);
        continue;
      }
      const ConvertCommand c = parseConvertCommand(args);
      if (row.get) {
        EXPECT_EQ(row.get(c.options), std::stod(p.text));
      }
    }
  }
  // The message names the option, the value and the limits.
  try {
    parseConvertCommand({"--kerf", "1e13", "in.txt"});
    ADD_FAILURE() << "1e13 taken";
  } catch (const UsageError& e) {
    EXPECT_STREQ(e.what(), "--kerf: '1e13' is out of range (0.0001 to 100)");
  }
}

TEST(option_table_test, the_settings_file_uses_only_the_values_inside_each_rows_limits) {
  const fs::path path =
      fs::temp_directory_path() / ("kerfline-option-table-" + std::to_string(::getpid()) + ".ini");
  for (const OptionDescriptor& row : optionTable()) {
    if (row.section.empty() || !row.set || row.section == "Layer") continue;
    for (const Probe& p : probes(row)) {
      SCOPED_TRACE(std::string(row.key) + "=" + p.text);
      fs::remove(path);
      writeProfileString(path.string(), std::string(row.section), std::string(row.key), p.text);
      ConversionOptions o;
      const std::optional<double> before = row.get(o);
      const std::vector<std::string> refused = row.section == "Typography"
                                                   ? loadTypographyChoices(path.string(), o)
                                               : row.section == "Layout"
                                                   ? loadLayoutChoices(path.string(), o)
                                                   : loadToolpathSettings(path.string(), o);
      if (p.taken) {
        EXPECT_EQ(row.get(o), std::stod(p.text));
        EXPECT_TRUE(refused.empty());
      } else {
        EXPECT_EQ(row.get(o), before) << "a refused value leaves the setting as it was";
        ASSERT_EQ(refused.size(), 1u);
        EXPECT_NE(refused[0].find(std::string(row.key) + "=" + p.text + " is not a"),
                  std::string::npos)
            << refused[0];
      }
    }
    // What the codec writes, it reads back.
    ConversionOptions chosen;
    row.set(chosen, row.max);
    fs::remove(path);
    saveExportChoices(path.string(), chosen);
    saveTypographyChoices(path.string(), chosen);
    saveLayoutChoices(path.string(), chosen);
    ConversionOptions back;
    loadExportChoices(path.string(), back);
    loadTypographyChoices(path.string(), back);
    loadLayoutChoices(path.string(), back);
    EXPECT_EQ(row.get(back), row.max) << row.key;
  }
  fs::remove(path);
}

}  // namespace
}  // namespace kerfline
