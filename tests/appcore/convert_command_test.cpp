#include "appcore/convert_command.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "richtext/styled_text.h"

namespace kerfline {
namespace {

using Args = std::vector<std::string>;

std::string usageMessage(const Args& args) {
  try {
    parseConvertCommand(args);
  } catch (const UsageError& e) {
    return e.what();
  }
  return "(accepted)";
}

TEST(convert_command_test, namedFormIsSelectedByDoubleDashOrTheFourLetters) {
  // Positional lines keep their meaning: a negative PITCH, a leading --report or --help.
  EXPECT_FALSE(isNamedCommandLine(Args{"in.txt", "100", "-2.000", "2", "10", "-L", "1"}));
  EXPECT_FALSE(isNamedCommandLine(Args{"--report", "in.txt"}));
  EXPECT_FALSE(isNamedCommandLine(Args{"--help"}));
  EXPECT_FALSE(isNamedCommandLine(Args{"-h"}));
  EXPECT_FALSE(isNamedCommandLine(Args{"-v"}));
  EXPECT_FALSE(isNamedCommandLine(Args{"-"}));
  for (const Args& named : {Args{"in.txt", "--report"}, Args{"--report", "--scale", "2", "x"},
                            Args{"-o", "x", "in"}, Args{"-f", "lines", "in"}, Args{"-q", "in"},
                            Args{"-V"}, Args{"--", "a", "b"}, Args{"--scale=3", "in"}}) {
    EXPECT_TRUE(isNamedCommandLine(named)) << named.front();
  }
}

TEST(convert_command_test, classicValuesAreRoundedLikeThePositionalOnesAndKeptAsTyped) {
  const ConvertCommand c = parseConvertCommand(
      Args{"--scale", "2.5", "--resolution=3.5", "--space", "0.5", "--pitch", "-3.50", "--layer",
           "Ébauche", "--z-up", "+2", "--z-cut=-1e-1", "in.txt"});
  EXPECT_EQ(c.options.classic.scale, 2);  // exact halves to even
  EXPECT_EQ(c.options.classic.resolution, 4);
  EXPECT_EQ(c.options.classic.spacePercent, 0);
  EXPECT_EQ(c.options.classic.pitchText, "-3.50");
  EXPECT_EQ(c.layer, "Ébauche");
  EXPECT_EQ(c.zUp, "+2");
  EXPECT_EQ(c.zCut, "-1e-1");
  EXPECT_EQ(c.inputs, Args{"in.txt"});
  // Untouched fields keep the classic defaults and nothing overrides the settings file.
  const ConvertCommand plain = parseConvertCommand(Args{"-q", "in.txt"});
  EXPECT_EQ(plain.options.classic.scale, 100);
  EXPECT_EQ(plain.options.classic.pitchText, "-2.000");
  EXPECT_FALSE(plain.layer || plain.zUp || plain.zCut);
  EXPECT_FALSE(plain.options.autoPitch);
  EXPECT_EQ(plain.plainFont, defaultEditorFormat());
  // A layer of 39 characters is the longest taken; they are characters, not bytes.
  std::string e39;
  for (int i = 0; i < 39; ++i) e39 += "\u00e9";
  EXPECT_EQ(parseConvertCommand(Args{"--layer", e39, "x"}).layer, e39);
  EXPECT_EQ(usageMessage(Args{"--layer", e39 + "e", "x"}),
            "--layer: '" + e39 + "e' is too long (fewer than 40 characters)");
}

TEST(convert_command_test, laterFormsFillTheirFieldsOfTheConversionOptions) {
  const ConvertCommand c = parseConvertCommand(
      Args{"-f", "gcode", "--units", "inch", "--fit-width", "0.1", "--dxf-version", "2000",
           "--weld", "--kerf", "0.15", "--kerf-side", "inside", "--feed", "1200",
           "--plunge-feed", "300.5", "--spindle", "12000.4", "--depth-per-pass", "0.3",
           "--laser", "--power", "800", "--spacing", "font", "--ligatures", "--align", "center",
           "--pitch", "auto", "-o", "out.nc", "in.txt"});
  const ConversionOptions& o = c.options;
  EXPECT_EQ(o.format, OutputFormat::Gcode);
  EXPECT_EQ(o.units, DrawingUnits::Inch);
  EXPECT_EQ(o.fitWidth, 0.1);  // the double nearest 0.1, not the float
  EXPECT_FALSE(o.fitHeight);
  EXPECT_EQ(o.dxfVersion, 2000);
  EXPECT_TRUE(o.weld);
  EXPECT_EQ(o.kerf, 0.15);
  EXPECT_EQ(o.kerfSide, KerfSide::Inside);
  EXPECT_EQ(o.gcode.feed, 1200.0);
  EXPECT_EQ(o.gcode.plungeFeed, 300.5);
  EXPECT_EQ(o.gcode.spindleRpm, 12000);
  EXPECT_EQ(o.gcode.depthPerPass, 0.3);
  EXPECT_TRUE(o.gcode.laser);
  EXPECT_EQ(o.gcode.power, 800.0);
  EXPECT_EQ(o.spacing, SpacingMode::Font);
  EXPECT_TRUE(o.ligatures);
  EXPECT_EQ(o.align, Alignment::Center);
  EXPECT_TRUE(o.autoPitch);
  EXPECT_EQ(o.classic.pitchText, "-2.000");
  EXPECT_EQ(c.output, "out.nc");
  for (const auto& [name, format] :
       {std::pair{"lines", OutputFormat::Lines}, {"polylines", OutputFormat::PolyLines},
        {"closed", OutputFormat::Closed}, {"svg", OutputFormat::Svg}}) {
    EXPECT_EQ(parseConvertCommand(Args{"--format", name, "x"}).options.format, format) << name;
  }
  EXPECT_EQ(parseConvertCommand(Args{"--fit-height", "25.4", "x"}).options.fitHeight, 25.4);
  EXPECT_EQ(parseConvertCommand(Args{"--kerf-side", "on", "x"}).options.kerfSide, KerfSide::On);
  EXPECT_EQ(parseConvertCommand(Args{"--align", "right", "x"}).options.align, Alignment::Right);
  // A later number wins, and sets the pitch back from auto.
  const ConvertCommand twice = parseConvertCommand(Args{"--pitch", "auto", "--pitch", "-4", "x"});
  EXPECT_FALSE(twice.options.autoPitch);
  EXPECT_EQ(twice.options.classic.pitchText, "-4");
}

TEST(convert_command_test, valuesMayLookLikeOptionsAndDoubleDashEndsTheOptions) {
  const ConvertCommand c =
      parseConvertCommand(Args{"--pitch", "-3", "--layer", "--weld", "--", "-o", "--scale"});
  EXPECT_EQ(c.options.classic.pitchText, "-3");
  EXPECT_EQ(c.layer, "--weld");
  EXPECT_FALSE(c.options.weld);
  EXPECT_EQ(c.inputs, (Args{"-o", "--scale"}));
  // An empty argument names no file, as positionally.
  EXPECT_EQ(parseConvertCommand(Args{"-q", "", "a"}).inputs, Args{"a"});
}

TEST(convert_command_test, fontOptionsChangeOnlyThePlainTextFont) {
  const ConvertCommand c = parseConvertCommand(
      Args{"--font", "DejaVu Serif", "--size", "12.5", "--bold", "--italic", "--text", "A\nB", "-o", "x"});
  TFontDescription expected = defaultEditorFormat();
  expected.Name = "DejaVu Serif";
  expected.Size = 12;
  expected.Bold = true;
  expected.Italic = true;
  EXPECT_EQ(c.plainFont, expected);
  EXPECT_EQ(c.text, "A\nB");
}

TEST(convert_command_test, helpAndVersionAnswerWhateverFollows) {
  EXPECT_EQ(parseConvertCommand(Args{"-q", "--help", "--bogus"}).action, ConvertAction::Help);
  EXPECT_EQ(parseConvertCommand(Args{"-V", "--scale", "abc"}).action, ConvertAction::Version);
  EXPECT_EQ(parseConvertCommand(Args{"--list-fonts"}).action, ConvertAction::ListFonts);
  EXPECT_EQ(parseConvertCommand(Args{"--dump-text", "-"}).action, ConvertAction::DumpText);
  EXPECT_EQ(usageMessage(Args{"--dump-text", "a", "b"}), "--dump-text takes one INPUT");
  EXPECT_EQ(usageMessage(Args{"--dump-text"}), "no INPUT (see kerfline-convert --help)");
  EXPECT_EQ(usageMessage(Args{"-o", "", "a"}), "-o: the file name is empty");
  EXPECT_EQ(usageMessage(Args{"--weld=yes", "a"}), "--weld takes no value");
  EXPECT_EQ(usageMessage(Args{"-oout.dxf", "a"}), "unknown option '-oout.dxf' (see kerfline-convert --help)");
}

// A carving runs on a router (G-code, or its paths as 3-D DXF polylines or an SVG seen from
// above), with its clearing program named when a clearing tool is; no operation but the
// profile goes to the two classic forms.
TEST(convert_command_test, carvingOptionsAreCheckedTogether) {
  const Args carve = {"-f", "gcode", "--cut", "vcarve", "a"};
  const auto with = [&](Args more) {
    Args args = carve;
    args.insert(args.end(), more.begin(), more.end());
    return args;
  };
  const std::vector<std::pair<Args, std::string>> cases = {
      {with({"--max-depth", "3", "--clear-tool", "3.175", "--clear-output", "c.nc"}), "(accepted)"},
      {{"--cut", "vcarve", "-f", "lines", "a"}, "--cut other than profile needs the closed, svg or gcode format"},
      {{"--cut", "carve", "a"}, "--cut: 'carve' is not one of profile, vcarve, pocket, hatch, offset-fill"},
      {{"--cut", "vcarve", "-f", "svg", "a"}, "(accepted)"},
      {{"--cut", "vcarve", "-f", "closed", "--dxf-version", "2000", "a"}, "(accepted)"},
      {with({"--laser"}), "--cut vcarve needs a router, not --laser"},
      {with({"--kerf", "0.2"}), "--cut vcarve takes no --kerf, leads or overcut"},
      {with({"--clear-tool", "3"}), "--clear-tool and --clear-output go together"},
      {with({"--clear-output", "c.nc"}), "--clear-tool and --clear-output go together"},
      {with({"--bit-angle", "180"}), "--bit-angle: '180' is out of range (10 to 170)"},
      {with({"--step-over", "1"}), "--step-over: '1' is out of range (0.05 to 0.95)"},
      {with({"--inlay", "male", "--inlay-depth", "2", "--glue-gap", "0.3", "--inlay-margin", "0"}),
       "(accepted)"},
      {{"--inlay", "female", "-f", "gcode", "a"}, "--inlay carves a pocket or a plug: it needs --cut vcarve"},
      {with({"--inlay", "plug"}), "--inlay: 'plug' is not one of female, male"},
      {with({"--glue-gap", "0"}), "--glue-gap: '0' is out of range (0.001 to 100)"},
  };
  for (const auto& [args, message] : cases) EXPECT_EQ(usageMessage(args), message) << args[2];
  const ConvertCommand c = parseConvertCommand(with({"--bit-angle", "90", "--bit-diameter", "6"}));
  EXPECT_EQ(c.options.cut, CutOperation::VCarve);
  EXPECT_EQ(c.options.vcarve.bitAngle, 90);
  EXPECT_EQ(c.options.vcarve.bitDiameter, 6);
}

}  // namespace
}  // namespace kerfline
