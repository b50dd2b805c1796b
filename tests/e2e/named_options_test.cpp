// End-to-end: the named command line of kerfline-convert against its positional form. Equal
// settings must give the same bytes, and every bad value must stop the run before anything
// is written.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "command_output.h"
#include "convert_fixture.h"
#include "process.h"

namespace kerfline::e2e {
namespace {

namespace fs = std::filesystem;

// ---- each option alone against the positional form --------------------------------------

TEST_F(NamedOptionsTest, eachOptionAloneGivesThePositionalBytes) {
  struct Case {
    std::vector<std::string> positional;
    std::vector<std::string> named;
  };
  const std::vector<Case> cases = {
      {{"in.txt"}, {"--output", "in.DXF", "in.txt"}},
      {{"in.txt", "250"}, {"--scale", "250", "in.txt"}},
      {{"in.txt", "2.5"}, {"--scale=2.5", "in.txt"}},  // rounded the same way, to 2
      {{"in.txt", "100", "-3.5"}, {"--pitch", "-3.5", "in.txt"}},
      {{"in.txt", "100", "1e1"}, {"--pitch=1e1", "in.txt"}},  // the text as typed
      {{"in.txt", "100", "-2", "7"}, {"--resolution", "7", "in.txt"}},
      {{"in.txt", "100", "-2", "2", "0"}, {"--space", "0", "in.txt"}},
      {{"in.txt", "100", "-2", "2", "55"}, {"--space", "55", "in.txt"}},
      {{"in.txt", "100", "-2", "2", "10", "CUT 2"}, {"--layer", "CUT 2", "in.txt"}},
      {{"in.txt", "100", "-2", "2", "10", "0", "1"}, {"-f", "polylines", "in.txt"}},
      {{"in.txt", "100", "-2", "2", "10", "0", "2"}, {"--format", "lines", "in.txt"}},
      {{"--report", "in.txt"}, {"-q", "in.txt"}},
  };
  for (const Case& c : cases) {
    const std::string expected = written(c.positional, "in.DXF");
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(written(c.named, "in.DXF"), expected) << c.named.front();
  }
  // Written elsewhere by -o, the same bytes.
  const std::string usual = written({"in.txt"}, "in.DXF");
  EXPECT_EQ(written({"-o", "other.dxf", "in.txt"}, "other.dxf"), usual);
}

TEST_F(NamedOptionsTest, zOptionsAndSettingsFileGiveTheBytesOfAPortableRegIni) {
  const std::string ini = "[Layer]\r\nLayer=ENGRAVE\r\nZup=5\r\nZdown=-0.75\r\n";
  spit(bin_ / "Reg.ini", ini);
  const std::string fromRegIni = written({"in.txt"}, "in.DXF");
  fs::remove(bin_ / "Reg.ini");
  EXPECT_EQ(written({"--z-up", "5", "--z-cut", "-0.75", "--layer", "ENGRAVE", "in.txt"}, "in.DXF"),
            fromRegIni);
  spit(work_ / "job.ini", ini);
  EXPECT_EQ(written({"--settings", "job.ini", "in.txt"}, "in.DXF"), fromRegIni);
  ProcessSetup env;
  env.setEnv = {"KERFLINE_SETTINGS=" + (work_ / "job.ini").string()};
  ProcessResult r = runProcess((bin_ / "kerfline-convert").string(), {"in.txt"}, work_.string(), env);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(slurp(work_ / "in.DXF"), fromRegIni);
  // The options override the file for this run, which is never written.
  spit(bin_ / "Reg.ini", "[Layer]\r\nZup=9\r\nZdown=9\r\nLayer=X\r\n");
  EXPECT_EQ(written({"--z-up=5", "--z-cut=-0.75", "--layer=ENGRAVE", "in.txt"}, "in.DXF"), fromRegIni);
  EXPECT_EQ(slurp(bin_ / "Reg.ini"), "[Layer]\r\nZup=9\r\nZdown=9\r\nLayer=X\r\n");
}

TEST_F(NamedOptionsTest, fontOptionsSetPlainTextAsARichTextFileWouldAndTextNeedsNoFile) {
  // Plain text in a chosen font must equal the same text given that font by an RTF document.
  spit(work_ / "styled.rtf",
       "{\\rtf1\\ansi{\\fonttbl{\\f0 DejaVu Serif;}}\\f0\\fs40\\b\\i Kerf 8\\par line two}");
  const std::string rich = written({"styled.rtf"}, "styled.DXF");
  EXPECT_EQ(written({"--font", "DejaVu Serif", "--size", "20", "--bold", "--italic", "in.txt"},
                    "in.DXF"),
            rich);
  EXPECT_EQ(written({"--text", "Kerf 8\nline two", "--font=DejaVu Serif", "--size=20", "--bold",
                     "--italic", "-o", "t.dxf"},
                    "t.dxf"),
            rich);
  // An RTF input keeps its own fonts whatever --font says.
  EXPECT_EQ(written({"--font", "DejaVu Sans Mono", "--size", "5", "styled.rtf"}, "styled.DXF"), rich);
  // Without font options plain text and --text take the editor's default.
  EXPECT_EQ(written({"--text", "Kerf 8\nline two", "-o", "t.dxf"}, "t.dxf"),
            written({"in.txt"}, "in.DXF"));
}

TEST_F(NamedOptionsTest, reportTellsWhatThePositionalReportTells) {
  ProcessResult positional = convert({"--report", "in.txt", "120"});
  ProcessResult named = convert({"--report", "--scale", "120", "in.txt"});
  ASSERT_EQ(positional.status, 0) << positional.err;
  ASSERT_EQ(named.status, 0) << named.err;
  EXPECT_EQ(named.out, positional.out);
  EXPECT_NE(named.out.find("settings from " + (bin_ / "Reg.ini").string()), std::string::npos)
      << named.out;
  EXPECT_EQ(convert({"--report", "-q", "in.txt"}).out, "");
}

// ---- standard input and output, several inputs ------------------------------------------

TEST_F(NamedOptionsTest, standardInputAndOutputCarryTheSameBytes) {
  const std::string file = written({"in.txt"}, "in.DXF");
  ProcessSetup stdinText;
  stdinText.input = slurp(work_ / "in.txt");
  ProcessResult r = convert({"-o", "-", "-"}, stdinText);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, file);
  EXPECT_EQ(workFiles(), std::vector<std::string>{"in.txt"}) << "nothing left behind";

  // The content decides: rich text on standard input is read as rich text.
  spit(work_ / "doc.rtf", "{\\rtf1{\\fonttbl{\\f0 DejaVu Sans;}}\\f0\\fs30 Ab\\par C}");
  const std::string rich = written({"doc.rtf"}, "doc.DXF");
  ProcessSetup stdinRich;
  stdinRich.input = slurp(work_ / "doc.rtf");
  r = convert({"-f", "polylines", "-o", "from-stdin.dxf", "-"}, stdinRich);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(slurp(work_ / "from-stdin.dxf"), written({"doc.rtf", "100", "-2", "2", "10", "0", "1"}, "doc.DXF"));
  EXPECT_NE(slurp(work_ / "from-stdin.dxf"), rich);

  // With the drawing on standard output the report goes to standard error.
  r = convert({"--report", "-o", "-", "in.txt"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, file);
  EXPECT_EQ(r.err.rfind("Wrote standard output (Lines + Z moves)\n", 0), 0u) << r.err;

  // Standard output on a full device: the drawing never arrived, which is no success.
  r = runProcess("/bin/sh", {"-c", "exec \"$0\" \"$@\" >/dev/full", (bin_ / "kerfline-convert").string(),
                             "-o", "-", "in.txt"},
                 work_.string());
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "kerfline-convert: standard output: Cannot write to standard output\n");
}

TEST_F(NamedOptionsTest, severalInputsEachGetTheirFileAndOneMissingFailsAlone) {
  spit(work_ / "b.rtf", "{\\rtf1 B}");
  const std::string a = written({"in.txt"}, "in.DXF");
  const std::string b = written({"b.rtf"}, "b.DXF");
  // Several inputs need the named form ("--" or any option): positionally, the second would
  // be SCALE.
  ProcessResult r = convert({"--", "in.txt", "missing.txt", "b.rtf"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "kerfline-convert: missing.txt: No such file or directory\n");
  EXPECT_EQ(slurp(work_ / "in.DXF"), a);
  EXPECT_EQ(slurp(work_ / "b.DXF"), b);
  EXPECT_EQ(workFiles(), (std::vector<std::string>{"b.DXF", "b.rtf", "in.DXF", "in.txt"}));
  // An output that cannot be written is named too; the next input still runs.
  fs::create_directory(work_ / "dir.DXF");
  spit(work_ / "dir.txt", "X");
  r = convert({"-q", "dir.txt", "in.txt"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "kerfline-convert: dir.DXF: File access denied.\n");
}

TEST_F(NamedOptionsTest, dumpTextIsJsonThatAnIndependentReaderAccepts) {
  spit(work_ / "doc.rtf",
       "{\\rtf1{\\fonttbl{\\f0\\fcharset204 Arial Cyr;}}\\f0\\fs20 \\'cf\\'f0\\b \"x\\\\y\"\\par "
       "\\u-10179?\\u-8704?\\tab end}");  // a surrogate pair, as RTF writes U+1F600
  // Python's own JSON reader, and code points counted by Python.
  const std::string check =
      "import json,sys\n"
      "d=json.loads(sys.stdin.read())\n"
      "t=d['text']; pos=0\n"
      "for r in d['runs']:\n"
      "  assert r['start']==pos, r; pos+=r['length']\n"
      "assert pos==len(t), (pos, len(t))\n"
      "print(repr(t), len(d['runs']), d['runs'][0]['face'], d['runs'][0]['charset'])\n";
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--dump-text", "doc.rtf"}, {"--dump-text", "-"}}) {
    ProcessSetup in;
    in.input = slurp(work_ / "doc.rtf");
    ProcessResult dump = convert(args, in);
    ASSERT_EQ(dump.status, 0) << dump.err;
    ProcessSetup json;
    json.input = dump.out;
    ProcessResult r = runProcess("/usr/bin/python3", {"-c", check}, "/", json);
    EXPECT_EQ(r.status, 0) << r.err << dump.out;
    EXPECT_EQ(r.out, "'\u041f\u0440\"x\\\\y\"\\r\\n\U0001F600\\tend' 2 Arial Cyr 204\n") << dump.out;
  }
  // Plain text takes the font options; nothing is written.
  ProcessResult plain = convert({"--dump-text", "--text", "A\nB", "--font", "DejaVu Sans", "--size", "14"});
  EXPECT_EQ(plain.status, 0) << plain.err;
  EXPECT_EQ(plain.out.rfind("{\"text\": \"A\\r\\nB\", \"runs\": [{\"start\": 0, \"length\": 4, "
                            "\"face\": \"DejaVu Sans\", \"size\": 14, ", 0), 0u) << plain.out;
  EXPECT_EQ(workFiles(), (std::vector<std::string>{"doc.rtf", "in.txt"}));
}

// ---- refusals ----------------------------------------------------------------------------

TEST_F(NamedOptionsTest, everyBadValueAndUnknownOptionStopsWithStatus2AndWritesNothing) {
  const std::string fortyChars(40, 'L');
  struct Case {
    std::vector<std::string> args;
    std::string message;  // after "kerfline-convert: "
  };
  const std::vector<Case> cases = {
      {{"--scale", "abc", "in.txt"}, "--scale: 'abc' is not a number"},
      {{"--scale", "0.4", "in.txt"}, "--scale: '0.4' is out of range (1 to 10000)"},
      {{"--scale", "10000.6", "in.txt"}, "--scale: '10000.6' is out of range (1 to 10000)"},
      {{"--scale", " 5 ", "in.txt"}, "--scale: ' 5 ' is not a number"},
      {{"--scale", "1,5", "in.txt"}, "--scale: '1,5' is not a number"},
      {{"--scale", "in.txt"}, "--scale: 'in.txt' is not a number"},
      {{"in.txt", "--scale"}, "--scale needs a value"},
      {{"--resolution", "0", "in.txt"}, "--resolution: '0' is out of range (1 to 100)"},
      {{"--resolution", "101", "in.txt"}, "--resolution: '101' is out of range (1 to 100)"},
      {{"--space", "-1", "in.txt"}, "--space: '-1' is out of range (0 to 100)"},
      {{"--space", "100.6", "in.txt"}, "--space: '100.6' is out of range (0 to 100)"},
      {{"--pitch", "down", "in.txt"}, "--pitch: 'down' is not a number"},
      {{"--pitch", "1e99", "in.txt"}, "--pitch: '1e99' is out of range"},
      {{"--layer", fortyChars, "in.txt"}, "--layer: '" + fortyChars + "' is too long (fewer than 40 characters)"},
      {{"--z-up", "abc", "in.txt"}, "--z-up: 'abc' is not a number"},
      {{"--z-cut", "-1,5", "in.txt"}, "--z-cut: '-1,5' is not a number"},
      {{"--font", "", "in.txt"}, "--font: '' is not a face name"},
      {{"--size", "0", "in.txt"}, "--size: '0' is out of range (1 to 1638)"},
      {{"--size", "big", "in.txt"}, "--size: 'big' is not a number"},
      {{"-f", "dwg", "in.txt"}, "-f: 'dwg' is not one of lines, polylines, closed, svg, gcode"},
      {{"--format=Lines", "in.txt"}, "--format: 'Lines' is not one of lines, polylines, closed, svg, gcode"},
      {{"--units", "cm", "in.txt"}, "--units: 'cm' is not one of mm, in, inch"},
      {{"--fit-width", "0", "in.txt"}, "--fit-width: '0' is out of range (0.001 to 100000)"},
      {{"--fit-height", "-5", "in.txt"}, "--fit-height: '-5' is out of range (0.001 to 100000)"},
      {{"--fit-width", "10", "--fit-height", "5", "in.txt"}, "--fit-width and --fit-height cannot be combined"},
      {{"--dxf-version", "14", "in.txt"}, "--dxf-version: '14' is not one of 12, 2000"},
      {{"--kerf", "0", "in.txt"}, "--kerf: '0' is out of range (0.0001 to 100)"},
      {{"--kerf", "0.1mm", "in.txt"}, "--kerf: '0.1mm' is not a number"},
      {{"--kerf-side", "middle", "in.txt"}, "--kerf-side: 'middle' is not one of outside, inside, on"},
      {{"--feed", "fast", "in.txt"}, "--feed: 'fast' is not a number"},
      {{"--plunge-feed", "0", "in.txt"}, "--plunge-feed: '0' is out of range (0.1 to 100000)"},
      {{"--spindle", "0", "in.txt"}, "--spindle: '0' is out of range (1 to 100000)"},
      {{"--depth-per-pass", "-1", "in.txt"}, "--depth-per-pass: '-1' is out of range (0.0001 to 100)"},
      {{"--power", "-1", "in.txt"}, "--power: '-1' is out of range (0 to 100000)"},
      // Values no machine means: memory, the clipper's grid or hundreds of digits otherwise.
      {{"--kerf", "1e13", "in.txt"}, "--kerf: '1e13' is out of range (0.0001 to 100)"},
      {{"--kerf", "1e305", "in.txt"}, "--kerf: '1e305' is out of range (0.0001 to 100)"},
      {{"--feed", "1e308", "in.txt"}, "--feed: '1e308' is out of range (0.1 to 100000)"},
      {{"--power", "1e308", "in.txt"}, "--power: '1e308' is out of range (0 to 100000)"},
      {{"--z-up", "1e20", "in.txt"}, "--z-up: '1e20' is out of range (-1000 to 1000)"},
      {{"--spindle", "1e6", "in.txt"}, "--spindle: '1e6' is out of range (1 to 100000)"},
      {{"--settings", ".", "in.txt"}, "--settings: cannot read '.': not a readable regular file"},
      {{"--settings", "/dev/zero", "in.txt"}, "--settings: cannot read '/dev/zero': not a readable regular file"},
      {{"--spacing", "tight", "in.txt"}, "--spacing: 'tight' is not one of classic, font"},
      {{"--align", "justify", "in.txt"}, "--align: 'justify' is not one of left, center, right"},
      {{"--scal", "2", "in.txt"}, "unknown option '--scal' (see kerfline-convert --help)"},
      {{"-o", "x.dxf", "-x", "in.txt"}, "unknown option '-x' (see kerfline-convert --help)"},
      {{"in.txt", "--report=1"}, "--report takes no value"},
      {{"--text", "AB"}, "--text needs -o FILE"},
      {{"--text", "AB", "-o", "x.dxf", "in.txt"}, "--text and INPUT files cannot be combined"},
      {{"--text", "\xff", "-o", "x.dxf"}, "--text: the text is not UTF-8"},
      {{"-o", "x.dxf", "in.txt", "in.txt"}, "-o names one output file and cannot be used with several inputs"},
      {{"-q"}, "no INPUT (see kerfline-convert --help)"},
      {{"-q", "-"}, "standard input (-) needs -o FILE"},
      {{"-o", "x.dxf", "-", "-"}, "standard input (-) can be read only once"},
      {{"--dump-text", "-o", "x.json", "in.txt"}, "--dump-text prints to standard output and takes no -o"},
      {{"--settings", "none.ini", "in.txt"}, "--settings: cannot read 'none.ini': No such file or directory"},
      // Every input checked before the first is written.
      {{"in.txt", "--scale", "0"}, "--scale: '0' is out of range (1 to 10000)"},
  };
  for (const Case& c : cases) {
    ProcessResult r = convert(c.args);
    EXPECT_EQ(r.status, 2) << c.message;
    EXPECT_EQ(r.err, "kerfline-convert: " + c.message + "\n");
    EXPECT_EQ(r.out, "") << c.message;
    EXPECT_EQ(workFiles(), std::vector<std::string>{"in.txt"}) << c.message;
  }
}

TEST_F(NamedOptionsTest, aSettingsFileThatIsNoSettingsFileStopsTheRunAndIsLeftAlone) {
  ASSERT_EQ(::mkfifo((work_ / "pipe").c_str(), 0600), 0);  // opened blocking, this would hang
  const std::string huge = "[Layer]\r\nZup=2\r\n" + std::string(1100000, ';');
  spit(work_ / "huge.ini", huge);
  for (const std::string name : {"pipe", "huge.ini"}) {
    ProcessResult r = convert({"--settings", name, "-o", "x.dxf", "in.txt"});
    EXPECT_EQ(r.status, 2) << name;
    EXPECT_NE(r.err.find("--settings: cannot read '" + name + "': "), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(work_ / "x.dxf")) << name;
  }
  EXPECT_EQ(slurp(work_ / "huge.ini"), huge);
}

TEST_F(NamedOptionsTest, aStoredZThatIsNoNumberIsNotUsedAndTheRunSaysSo) {
  const std::string usual = written({"--z-up", "1.00", "-o", "z.dxf", "in.txt"}, "z.dxf");
  spit(work_ / "nan.ini", "[Layer]\r\nZup=nan\r\n");
  ProcessResult r = convert({"--settings", "nan.ini", "--report", "-o", "z.dxf", "in.txt"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(slurp(work_ / "z.dxf"), usual) << "the classic default, not nan read as 0";
  EXPECT_EQ(r.err, "kerfline-convert: nan.ini: [Layer] Zup=nan is not a number from -1000 to 1000; "
                   "1.00 used instead\n");
  EXPECT_NE(r.out.find("Z up 1.00,"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("  [Layer] Zup=nan is not"), std::string::npos) << r.out;

  // A finite height no machine has: the classic forms keep their bytes, a G-code program is
  // not given a 21-digit word.
  spit(work_ / "far.ini", "[Layer]\r\nZup=1e20\r\n");
  spit(bin_ / "Reg.ini", "[Layer]\r\nZup=1e20\r\n");
  EXPECT_EQ(written({"--settings", "far.ini", "in.txt"}, "in.DXF"), written({"in.txt"}, "in.DXF"))
      << "as the positional form writes it";
  ProcessResult g = convert({"--settings", "far.ini", "-f", "gcode", "-o", "z.nc", "in.txt"});
  ASSERT_EQ(g.status, 0) << g.err;
  EXPECT_NE(g.err.find("Zup=1e20 is not a number from -1000 to 1000; 1.00 used instead"),
            std::string::npos) << g.err;
  EXPECT_NE(slurp(work_ / "z.nc").find("G0 Z1.0000"), std::string::npos);
}

TEST_F(NamedOptionsTest, closedAndSvgFormsFromPlainAndRichTextWithTheirUnitInTheReport) {
  ProcessResult closed =
      convert({"--format", "closed", "--units", "in", "--fit-width", "50", "--report", "in.txt"});
  ASSERT_EQ(closed.status, 0) << closed.err;
  EXPECT_NE(closed.out.find("Wrote in.DXF (closed polylines)"), std::string::npos) << closed.out;
  EXPECT_NE(closed.out.find(" in (50 x "), std::string::npos) << closed.out;
  const std::string dxf = slurp(work_ / "in.DXF");
  EXPECT_EQ(dxf.rfind("  0\r\nSECTION\r\n  2\r\nHEADER\r\n  9\r\n$ACADVER\r\n  1\r\nAC1009\r\n", 0), 0u);
  EXPECT_NE(dxf.find("$INSUNITS\r\n 70\r\n     1\r\n"), std::string::npos);
  fs::remove(work_ / "in.DXF");

  fs::copy_file(KERFLINE_TEST_DATA_DIR "/richtext/rtf_libreoffice.rtf", work_ / "sign.rtf");
  ProcessResult svg = convert({"-f", "svg", "in.txt", "sign.rtf"});
  ASSERT_EQ(svg.status, 0) << svg.err;
  EXPECT_EQ(workFiles(), (std::vector<std::string>{"in.svg", "in.txt", "sign.rtf", "sign.svg"}));
  EXPECT_NE(slurp(work_ / "sign.svg").find("<path d=\"M"), std::string::npos);
}

TEST_F(NamedOptionsTest, gcodeWithWeldAndKerfFromTheCommandLine) {
  ProcessResult r = convert({"-f", "gcode", "--weld", "--kerf", "0.01", "--units", "inch",
                             "--feed", "30", "--z-up", "0.2", "--z-cut", "-0.05", "-o", "sign.nc",
                             "in.txt"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  const std::string program = slurp(work_ / "sign.nc");
  EXPECT_TRUE(program.starts_with("(Kerfline G-code)\n(source: in.txt)\n")) << program;
  EXPECT_NE(program.find("(weld on, kerf 0.01000 outside)\nG20\nG90\nG17\nG0 Z0.20000\n"),
            std::string::npos);
  EXPECT_NE(program.find("\nG1 Z-0.05000 F8\n"), std::string::npos);
  EXPECT_NE(program.find(" F30\n"), std::string::npos);
  EXPECT_TRUE(program.ends_with("G0 Z0.20000\nM2\n"));

  // A kerf wider than every stroke leaves nothing to cut: said on standard error, report or not.
  r = convert({"-f", "gcode", "--kerf", "5", "--kerf-side", "inside", "--report", "-o", "thin.nc",
               "in.txt"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("kerfline-convert: thin.nc: Kerf: "), std::string::npos) << r.err;
  EXPECT_NE(r.out.find("Wrote thin.nc (G-code)\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\n  Kerf: "), std::string::npos) << r.out;
}

// ---- typography in the two classic forms ------------------------------------------------

// "LINE <n> POLYLINE <n> VERTEX <n>" and the extent as ezdxf reads the file.
std::vector<std::string> ezdxfView(const fs::path& dxf) {
  const std::string command =
      "/usr/bin/python3 " KERFLINE_SOURCE_DIR "/tests/export/read_dxf.py '" + dxf.string() + "'";
  std::vector<std::string> lines;
  std::istringstream in(test::runCommand(command).output);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST_F(NamedOptionsTest, typographyOptionsPlaceTheSameCutsElsewhere) {
  // The classic choices spelled out give the positional bytes.
  const std::string positional = written({"in.txt"}, "in.DXF");
  EXPECT_EQ(written({"--spacing", "classic", "--align", "left", "in.txt"}, "in.DXF"), positional);
  spit(work_ / "classic.dxf", positional);
  const auto classic = ezdxfView(work_ / "classic.dxf");
  ASSERT_EQ(classic.size(), 3u);
  // Font spacing, centred lines, automatic pitch, tracking: the same glyphs (as many LINE
  // entities, Latin letters having one form) at other places, in both forms.
  for (const char* format : {"lines", "polylines"}) {
    for (std::vector<std::string> args :
         {std::vector<std::string>{"--spacing", "font"}, {"--align", "center"}, {"--pitch", "auto"},
          {"--spacing", "font", "--space", "30", "--align", "right", "--pitch", "auto"}}) {
      SCOPED_TRACE(std::string(format) + " " + args[0] + " " + args[1]);
      args.insert(args.end(), {"-f", format, "-o", "out.dxf", "in.txt"});
      ProcessResult r = convert(args);
      ASSERT_EQ(r.status, 0) << r.err;
      const auto view = ezdxfView(work_ / "out.dxf");
      ASSERT_EQ(view.size(), 3u);
      if (std::string(format) == "lines") {
        EXPECT_EQ(view[0], classic[0]);
        // Centred lines keep the widest line's extent; the narrower line moves all the same.
        EXPECT_NE(slurp(work_ / "out.dxf"), positional);
      } else {
        EXPECT_NE(view[0].find("POLYLINE"), std::string::npos);
      }
      fs::remove(work_ / "out.dxf");
    }
  }
  // --space is tracking in font spacing: the line grows.
  auto width = [&](const std::vector<std::string>& args) {
    std::vector<std::string> all = args;
    all.insert(all.end(), {"-o", "w.dxf", "in.txt"});
    EXPECT_EQ(convert(all).status, 0);
    std::istringstream extent(ezdxfView(work_ / "w.dxf").at(2));
    double minX = 0, minY = 0, minZ = 0, maxX = 0;
    extent >> minX >> minY >> minZ >> maxX;
    return maxX - minX;
  };
  EXPECT_GT(width({"--spacing", "font", "--space", "40"}), width({"--spacing", "font"}) + 1.0);
}

// The drawing forms place text as the stroke forms do: ezdxf finds the closed polylines over
// the very extent of the LINE entities of the same options; SVG and G-code are written too.
TEST_F(NamedOptionsTest, drawingFormsCarryTheShapedPlacement) {
  auto extentOf = [&](const std::string& file) {
    std::istringstream in(ezdxfView(work_ / file).at(2));
    double minX = 0, minY = 0, minZ = 0, maxX = 0, maxY = 0, maxZ = 0;
    in >> minX >> minY >> minZ >> maxX >> maxY >> maxZ;
    return std::vector<double>{minX, minY, maxX, maxY};
  };
  auto write = [&](std::vector<std::string> args, const std::vector<std::string>& more) {
    args.insert(args.end(), more.begin(), more.end());
    args.push_back("in.txt");
    const ProcessResult r = convert(args);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
  };
  write({"-f", "closed", "-o", "classic.dxf"}, {});
  const std::vector<double> classic = extentOf("classic.dxf");
  for (const std::vector<std::string>& placement :
       {std::vector<std::string>{"--spacing", "font"}, {"--align", "center", "--pitch", "auto"},
        {"--spacing", "font", "--space", "20", "--align", "right", "--pitch", "auto"}}) {
    SCOPED_TRACE(placement[0] + " " + placement[1] + " " + placement.back());
    write({"-f", "lines", "-o", "lines.dxf"}, placement);
    write({"-f", "closed", "-o", "closed.dxf"}, placement);
    const std::vector<double> lines = extentOf("lines.dxf");
    const std::vector<double> closed = extentOf("closed.dxf");
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(closed[i], lines[i], 1e-6) << i;
    EXPECT_NE(closed, classic);
    write({"-f", "svg", "-o", "a.svg"}, placement);
    EXPECT_NE(slurp(work_ / "a.svg").find("<path d=\"M"), std::string::npos);
    write({"-f", "gcode", "-o", "a.nc"}, placement);
    EXPECT_NE(slurp(work_ / "a.nc").find("\nG1 X"), std::string::npos);
  }
}

// ---- help, version, settings lookup ------------------------------------------------------

TEST_F(NamedOptionsTest, helpNamesEveryOptionAndVersionItsNumber) {
  ProcessResult help = convert({"-q", "--help"});
  EXPECT_EQ(help.status, 0);
  for (const char* option :
       {"--output", "--format", "--scale", "--pitch", "--resolution", "--space", "--layer",
        "--z-up", "--z-cut", "--font", "--size", "--bold", "--italic", "--text", "--settings",
        "--report", "--quiet", "--version", "--help", "--dump-text", "--list-fonts", "--units",
        "--fit-width", "--fit-height", "--dxf-version", "--weld", "--kerf", "--kerf-side",
        "--feed", "--plunge-feed", "--spindle", "--depth-per-pass", "--laser", "--power",
        "--spacing", "--ligatures", "--align", "KERFLINE_SETTINGS", ".config/kerfline/Reg.ini"}) {
    EXPECT_NE(help.out.find(option), std::string::npos) << option;
  }
  for (const char* flag : {"-V", "--version"}) {
    ProcessResult v = convert({flag});
    EXPECT_EQ(v.status, 0);
    EXPECT_EQ(v.out, "kerfline-convert " KERFLINE_VERSION "\n");
  }
  ProcessResult fonts = convert({"--list-fonts"});
  EXPECT_EQ(fonts.status, 0);
  EXPECT_NE(fonts.out.find("\nDejaVu Sans\n"), std::string::npos);
  EXPECT_NE(fonts.out.find("\nLiberation Serif\n"), std::string::npos);
}

TEST_F(NamedOptionsTest, userWhoCannotWriteTheProgramFolderReadsTheConfigFolder) {
  const fs::path config = root_ / "config";
  fs::create_directories(config / "kerfline");
  spit(config / "kerfline" / "Reg.ini", "[Layer]\r\nLayer=XDG\r\nZup=4\r\n");
  fs::permissions(root_, fs::perms::all);
  fs::permissions(work_, fs::perms::all);
  fs::permissions(bin_, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                            fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
  ProcessSetup user;
  user.unprivileged = true;
  user.setEnv = {"XDG_CONFIG_HOME=" + config.string()};
  ProcessResult r = convert({"--report", "in.txt"}, user);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("layer \"XDG\", Z up 4, Z cutting 0.00 (settings from " +
                       (config / "kerfline" / "Reg.ini").string() + ")"),
            std::string::npos)
      << r.out;
  // The portable file wins as soon as it is there, though the user cannot write it.
  fs::permissions(bin_, fs::perms::owner_all, fs::perm_options::add);
  spit(bin_ / "Reg.ini", "[Layer]\r\nLayer=PORTABLE\r\n");
  fs::permissions(bin_, fs::perms::owner_write, fs::perm_options::remove);
  r = convert({"--report", "in.txt"}, user);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("layer \"PORTABLE\", Z up 1.00"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("(settings from " + (bin_ / "Reg.ini").string() + ")"), std::string::npos);
}

}  // namespace
}  // namespace kerfline::e2e
