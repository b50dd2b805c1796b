#include "appcore/convert_command.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>
#include <utility>

#include "appcore/option_table.h"
#include "appcore/sign_path_file.h"
#include "common/utf8.h"
#include "export/number_rule.h"
#include "layout/frame_spec.h"
#include "richtext/styled_text.h"

namespace kerfline {
namespace {

// The value of one option as typed, with the option's name for messages.
struct Value {
  std::string_view option;
  const std::string& text;
};

[[noreturn]] void refuse(const Value& v, std::string_view why) {
  throw UsageError(std::string(v.option) + ": '" + v.text + "' " + std::string(why));
}

float number(const Value& v) {
  const std::optional<float> n = parseNumber(v.text);
  if (!n) refuse(v, "is not a number");
  return *n;
}

// Whole numbers follow the positional rule (rounded once to single precision, ties to even);
// only the clamping becomes an error, since a script wants to hear of a value out of range.
int wholeNumber(const Value& v, const OptionDescriptor& limits) {
  const float rounded = std::nearbyint(number(v));
  if (!withinLimits(limits, rounded)) refuse(v, "is out of range (" + limitsText(limits) + ")");
  return static_cast<int>(rounded);
}

// Text passed as typed (pitch): it must be a finite number by the rule the exports read.
std::string numberText(const Value& v) {
  if (!std::isfinite(number(v))) refuse(v, "is out of range");
  return v.text;
}

// Z texts are passed as typed too, inside the limits a machine can mean.
std::string limitedText(const Value& v, const OptionDescriptor& limits) {
  if (!withinLimits(limits, number(v))) refuse(v, "is out of range (" + limitsText(limits) + ")");
  return v.text;
}

// Lengths, feeds and powers are doubles in the drawing model: the same grammar as the number
// rule, the value taken in double precision rather than rounded to single.
double realNumber(const Value& v, const OptionDescriptor& limits) {
  number(v);
  std::string_view t = v.text;
  while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
  if (!t.empty() && t.front() == '+') t.remove_prefix(1);
  double value = 0;  // "." and "-." are 0 by the rule and have no digit for from_chars
  const std::errc error = std::from_chars(t.data(), t.data() + t.size(), value).ec;
  if (error == std::errc::result_out_of_range || !withinLimits(limits, value)) {
    refuse(v, "is out of range (" + limitsText(limits) + ")");
  }
  return value;
}

// A numeric option of the table: read by its kind and stored in its field.
void applyTableOption(ConvertCommand& c, const OptionDescriptor& row, const Value& v) {
  row.set(c.options, row.kind == OptionKind::Whole ? wholeNumber(v, row) : realNumber(v, row));
}

// A serial number: any whole number in the row's limits, read in double precision so that
// every one up to the limit is exact (single precision stops at 2^24).
long long serialNumber(const Value& v, const OptionDescriptor& limits) {
  const double n = realNumber(v, limits);
  return static_cast<long long>(n);
}

// A size "WxH" (or "W" for a square), each side within the row's limits.
Vec2 sheetSize(const Value& v, const OptionDescriptor& limits) {
  const std::size_t x = v.text.find_first_of("xX");
  if (x == std::string::npos) {
    const double side = realNumber(v, limits);
    return {side, side};
  }
  const std::string w = v.text.substr(0, x), h = v.text.substr(x + 1);
  return {realNumber(Value{v.option, w}, limits), realNumber(Value{v.option, h}, limits)};
}

template <class E, std::size_t N>
E oneOf(const Value& v, const std::pair<std::string_view, E> (&names)[N]) {
  std::string list;
  for (const auto& [name, value] : names) {
    if (name == v.text) return value;
    list += list.empty() ? "" : ", ";
    list += name;
  }
  refuse(v, "is not one of " + list);
}

// "A<sep>B": the two texts around the first separator, each a real number within limits.
std::pair<double, double> realPair(const Value& v, char separator, const OptionDescriptor& first,
                                   const OptionDescriptor& second, std::string_view form) {
  const std::size_t at = v.text.find(separator);
  if (at == std::string::npos) refuse(v, "is not of the form " + std::string(form));
  const std::string a = v.text.substr(0, at);
  const std::string b = v.text.substr(at + 1);
  return {realNumber(Value{v.option, a}, first), realNumber(Value{v.option, b}, second)};
}

// A shell's double quotes keep "\n" as two characters, and a one-line command is how a badge
// run is typed: so in --text a backslash and n break the line, and two backslashes are one.
// Any other backslash stays as it is, as it always did.
std::string withLineBreaks(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == 'n' || text[i + 1] == '\\')) {
      out += text[++i] == 'n' ? '\n' : '\\';
    } else {
      out += text[i];
    }
  }
  return out;
}

// --frame rect | rounded:R | ellipse | outline:OFFSET, the size within the frame margin's limits.
void applyFrame(ConvertCommand& c, const Value& v) {
  const auto frame = frameFromSpec(v.text, optionNamed("--frame-margin").max);
  if (!frame) refuse(v, "is not one of " + std::string(kFrameSpecForms));
  c.options.layout.frame = frame->first;
  c.options.layout.frameSize = frame->second;
}

// The path the text follows, read and checked now, so that a bad file or bad data costs no
// conversion and writes nothing.
void readPath(ConvertCommand& c) {
  SignLayout& layout = c.options.layout;
  try {
    if (c.pathFile) {
      layout.pathData = signPathFromFile(*c.pathFile, c.pathId);
    } else if (!layout.pathData.empty()) {
      checkSignPath(layout.pathData);
    }
  } catch (const Error& e) {
    throw UsageError(std::string(c.pathFile ? "--path-file: " : "--path: ") + e.what());
  }
}

// Characters of a layer name, as the positional rule counts them (code points).
constexpr std::size_t kMaxLayerChars = 39;

/// One named option: its long name, its short letter (or none), whether a value follows, and
/// what it does to the command. The numeric options of a job are not here: their rows in the
/// option table name them, limit them and say which field they fill.
struct OptionEntry {
  std::string_view name;
  char letter;
  bool takesValue;
  void (*apply)(ConvertCommand&, const Value&);
};

constexpr std::pair<std::string_view, OutputFormat> kFormats[] = {
    {"lines", OutputFormat::Lines}, {"polylines", OutputFormat::PolyLines},
    {"closed", OutputFormat::Closed}, {"svg", OutputFormat::Svg}, {"gcode", OutputFormat::Gcode}};
constexpr std::pair<std::string_view, DrawingUnits> kUnits[] = {
    {"mm", DrawingUnits::Millimetre}, {"in", DrawingUnits::Inch}, {"inch", DrawingUnits::Inch}};
constexpr std::pair<std::string_view, int> kDxfVersions[] = {{"12", 12}, {"2000", 2000}};
constexpr std::pair<std::string_view, KerfSide> kKerfSides[] = {
    {"outside", KerfSide::Outside}, {"inside", KerfSide::Inside}, {"on", KerfSide::On}};
// A plain carving is the default: the command line names only the parts.
constexpr std::pair<std::string_view, InlayPart> kInlayParts[] = {
    {"female", InlayPart::Female}, {"male", InlayPart::Male}};
constexpr std::pair<std::string_view, SpacingMode> kSpacings[] = {
    {"classic", SpacingMode::Classic}, {"font", SpacingMode::Font}};
constexpr std::pair<std::string_view, Alignment> kAlignments[] = {
    {"left", Alignment::Left}, {"center", Alignment::Center}, {"right", Alignment::Right}};

const OptionEntry kOptions[] = {
    // where the result goes, and what else the run does
    {"--output", 'o', true, [](ConvertCommand& c, const Value& v) { c.output = v.text; }},
    {"--format", 'f', true,
     [](ConvertCommand& c, const Value& v) { c.options.format = oneOf(v, kFormats); }},
    {"--settings", 0, true, [](ConvertCommand& c, const Value& v) { c.settingsFile = v.text; }},
    {"--report", 0, false, [](ConvertCommand& c, const Value&) { c.report = true; }},
    {"--quiet", 'q', false, [](ConvertCommand& c, const Value&) { c.quiet = true; }},
    {"--dump-text", 0, false,
     [](ConvertCommand& c, const Value&) { c.action = ConvertAction::DumpText; }},
    {"--list-fonts", 0, false,
     [](ConvertCommand& c, const Value&) { c.action = ConvertAction::ListFonts; }},
    {"--version", 'V', false,
     [](ConvertCommand& c, const Value&) { c.action = ConvertAction::Version; }},
    {"--help", 'h', false, [](ConvertCommand& c, const Value&) { c.action = ConvertAction::Help; }},
    // the classic settings
    {"--pitch", 0, true,
     [](ConvertCommand& c, const Value& v) {
       c.pitchGiven = true;
       if (v.text == "auto") {
         c.options.autoPitch = true;
       } else {
         c.options.classic.pitchText = numberText(v);
         c.options.autoPitch = false;
       }
     }},
    {"--layer", 0, true,
     [](ConvertCommand& c, const Value& v) {
       if (utf8ToU32(v.text).size() > kMaxLayerChars) refuse(v, "is too long (fewer than 40 characters)");
       c.layer = v.text;
     }},
    {"--z-up", 0, true,
     [](ConvertCommand& c, const Value& v) { c.zUp = limitedText(v, optionNamed("--z-up")); }},
    {"--z-cut", 0, true,
     [](ConvertCommand& c, const Value& v) { c.zCut = limitedText(v, optionNamed("--z-cut")); }},
    // the font of plain text and of --text
    {"--font", 0, true,
     [](ConvertCommand& c, const Value& v) {
       if (v.text.empty() || !isValidUtf8(v.text)) refuse(v, "is not a face name");
       c.plainFont.Name = v.text;
     }},
    {"--size", 0, true,
     [](ConvertCommand& c, const Value& v) { c.plainFont.Size = wholeNumber(v, optionNamed("--size")); }},
    {"--bold", 0, false, [](ConvertCommand& c, const Value&) { c.plainFont.Bold = true; }},
    {"--italic", 0, false, [](ConvertCommand& c, const Value&) { c.plainFont.Italic = true; }},
    {"--text", 0, true,
     [](ConvertCommand& c, const Value& v) {
       if (!isValidUtf8(v.text)) throw UsageError(std::string(v.option) + ": the text is not UTF-8");
       c.text = withLineBreaks(v.text);
     }},
    // the drawing model: units, size, outlines
    {"--units", 0, true,
     [](ConvertCommand& c, const Value& v) { c.options.units = oneOf(v, kUnits); }},
    {"--dxf-version", 0, true,
     [](ConvertCommand& c, const Value& v) { c.options.dxfVersion = oneOf(v, kDxfVersions); }},
    {"--weld", 0, false, [](ConvertCommand& c, const Value&) { c.options.weld = true; }},
    {"--kerf-side", 0, true,
     [](ConvertCommand& c, const Value& v) { c.options.kerfSide = oneOf(v, kKerfSides); }},
    {"--order", 0, true,
     [](ConvertCommand& c, const Value& v) { c.options.order = oneOf(v, kCutOrderNames); }},
    {"--lead-type", 0, true,
     [](ConvertCommand& c, const Value& v) { c.options.leadShape = oneOf(v, kLeadShapeNames); }},
    {"--arcs", 0, false, [](ConvertCommand& c, const Value&) { c.options.arcs = true; }},
    // the operation
    {"--clear-output", 0, true,
     [](ConvertCommand& c, const Value& v) {
       if (v.text.empty()) refuse(v, "names no file");
       c.options.vcarve.clearOutput = v.text;
     }},
    {"--inlay", 0, true,
     [](ConvertCommand& c, const Value& v) { c.options.vcarve.inlay = oneOf(v, kInlayParts); }},
    // the machine
    {"--laser", 0, false, [](ConvertCommand& c, const Value&) { c.options.gcode.laser = true; }},
    // filled letters
    {"--cut", 0, true,
     [](ConvertCommand& c, const Value& v) {
       c.options.cut = oneOf(v, kCutOperationNames);
     }},
    {"--background", 0, false,
     [](ConvertCommand& c, const Value&) { c.options.fill.background = true; }},
    {"--cross-hatch", 0, false,
     [](ConvertCommand& c, const Value&) { c.options.fill.crossHatch = true; }},
    {"--unidirectional", 0, false,
     [](ConvertCommand& c, const Value&) { c.options.fill.unidirectional = true; }},
    {"--fill-outline", 0, false,
     [](ConvertCommand& c, const Value&) { c.options.fill.outline = true; }},
    // typography
    {"--spacing", 0, true,
     [](ConvertCommand& c, const Value& v) { c.options.spacing = oneOf(v, kSpacings); }},
    {"--ligatures", 0, false, [](ConvertCommand& c, const Value&) { c.options.ligatures = true; }},
    {"--align", 0, true,
     [](ConvertCommand& c, const Value& v) { c.options.align = oneOf(v, kAlignments); }},
    // production runs: items from serial numbers or a merge file, alone or on sheets
    {"--serial-start", 0, true,
     [](ConvertCommand& c, const Value& v) {
       c.production.serialStart = serialNumber(v, optionNamed("--serial-start"));
     }},
    {"--serial-step", 0, true,
     [](ConvertCommand& c, const Value& v) {
       c.production.serialStep = serialNumber(v, optionNamed("--serial-step"));
     }},
    {"--copies", 0, true,
     [](ConvertCommand& c, const Value& v) {
       c.production.copies = wholeNumber(v, optionNamed("--copies"));
     }},
    {"--merge", 0, true,
     [](ConvertCommand& c, const Value& v) {
       if (v.text.empty()) refuse(v, "is not a file name");
       c.production.mergeFile = v.text;
     }},
    {"--sheet", 0, true,
     [](ConvertCommand& c, const Value& v) {
       c.production.sheet = sheetSize(v, optionNamed("--sheet"));
     }},
    {"--cell", 0, true,
     [](ConvertCommand& c, const Value& v) {
       c.production.cell = sheetSize(v, optionNamed("--cell"));
     }},
    {"--gap", 0, true,
     [](ConvertCommand& c, const Value& v) {
       c.production.gap = realNumber(v, optionNamed("--gap"));
     }},
    {"--columns", 0, true,
     [](ConvertCommand& c, const Value& v) {
       c.production.columns = wholeNumber(v, optionNamed("--columns"));
     }},
    {"--one-file", 0, false, [](ConvertCommand& c, const Value&) { c.production.oneFile = true; }},
    {"--tabs-on-holes", 0, false, [](ConvertCommand& c, const Value&) { c.options.tabsOnHoles = true; }},
    {"--bridge-direction", 0, true,
     [](ConvertCommand& c, const Value& v) { c.options.bridgeDirection = oneOf(v, kBridgeDirectionNames); }},
    // sign layout
    {"--mirror", 0, true,
     [](ConvertCommand& c, const Value& v) { c.options.layout.mirror = oneOf(v, kMirrorNames); }},
    {"--arc-side", 0, true,
     [](ConvertCommand& c, const Value& v) { c.options.layout.arcSide = oneOf(v, kArcSideNames); }},
    {"--arc-align", 0, true,
     [](ConvertCommand& c, const Value& v) { c.options.layout.arcAlign = oneOf(v, kArcAlignNames); }},
    {"--arc-mode", 0, true,
     [](ConvertCommand& c, const Value& v) { c.options.layout.bend = oneOf(v, kBendModeNames); }},
    {"--fit-box", 0, true,
     [](ConvertCommand& c, const Value& v) {
       const OptionDescriptor& limits = optionNamed("--fit-width");
       const auto [w, h] = realPair(v, 'x', limits, limits, "WIDTHxHEIGHT");
       c.options.layout.boxWidth = w;
       c.options.layout.boxHeight = h;
     }},
    {"--anchor", 0, true,
     [](ConvertCommand& c, const Value& v) { c.options.layout.anchor = oneOf(v, kBoxAnchorNames); }},
    {"--stretch", 0, false, [](ConvertCommand& c, const Value&) { c.options.layout.stretch = true; }},
    {"--frame", 0, true, applyFrame},
    {"--path", 0, true, [](ConvertCommand& c, const Value& v) { c.options.layout.pathData = v.text; }},
    {"--path-file", 0, true, [](ConvertCommand& c, const Value& v) { c.pathFile = v.text; }},
    {"--path-id", 0, true, [](ConvertCommand& c, const Value& v) { c.pathId = v.text; }},
    {"--path-align", 0, true,
     [](ConvertCommand& c, const Value& v) { c.options.layout.pathAlign = oneOf(v, kArcAlignNames); }},
    {"--holes", 0, true,
     [](ConvertCommand& c, const Value& v) {
       const auto [n, diameter] =
           realPair(v, ',', optionNamed("--hole-inset"), optionNamed("--arc-radius"), "N,DIAMETER");
       if (n != 2 && n != 4) refuse(v, "needs 2 (left and right) or 4 (corners) holes");
       c.options.layout.holeCount = static_cast<int>(n);
       c.options.layout.holeDiameter = diameter;
     }},
};

const OptionEntry* findLong(std::string_view name) {
  for (const OptionEntry& e : kOptions) {
    if (e.name == name) return &e;
  }
  return nullptr;
}

// A numeric option of the job, by its command-line name.
const OptionDescriptor* findNumeric(std::string_view name) {
  for (const OptionDescriptor& row : optionTable()) {
    if (!row.flag.empty() && row.flag == name && row.set) return &row;
  }
  return nullptr;
}

const OptionEntry* findShort(char letter) {
  for (const OptionEntry& e : kOptions) {
    if (e.letter != 0 && e.letter == letter) return &e;
  }
  return nullptr;
}

[[noreturn]] void unknownOption(const std::string& arg) {
  throw UsageError("unknown option '" + arg + "' (see kerfline-convert --help)");
}

// The combinations that cannot run, checked before anything is read or written.
void checkCombinations(const ConvertCommand& c) {
  if (c.action == ConvertAction::Help || c.action == ConvertAction::Version ||
      c.action == ConvertAction::ListFonts) {
    return;
  }
  if (c.text && !c.inputs.empty()) throw UsageError("--text and INPUT files cannot be combined");
  if (!c.text && c.inputs.empty()) throw UsageError("no INPUT (see kerfline-convert --help)");
  if (c.options.fitWidth && c.options.fitHeight) {
    throw UsageError("--fit-width and --fit-height cannot be combined");
  }
  const SignLayout& layout = c.options.layout;
  if (c.pathFile && !layout.pathData.empty()) throw UsageError("--path and --path-file cannot be combined");
  if (!c.pathId.empty() && !c.pathFile) throw UsageError("--path-id needs --path-file");
  if ((c.pathFile || !layout.pathData.empty()) && layout.arcRadius) {
    throw UsageError("--arc-radius and a path cannot be combined");
  }
  if (layout.boxWidth && (c.options.fitWidth || c.options.fitHeight)) {
    throw UsageError("--fit-box cannot be combined with --fit-width or --fit-height");
  }
  if (layout.boxWidth && 2 * layout.margin >= std::min(*layout.boxWidth, *layout.boxHeight)) {
    throw UsageError("--margin leaves no room inside --fit-box");
  }
  if (c.options.order == CutOrder::Travel &&
      (c.options.format == OutputFormat::Lines || c.options.format == OutputFormat::PolyLines)) {
    throw UsageError("--order travel needs the closed, svg or gcode format");
  }
  if (c.options.arcs &&
      (c.options.format == OutputFormat::Lines || c.options.format == OutputFormat::PolyLines)) {
    throw UsageError("--arcs needs the closed, svg or gcode format");
  }
  if (c.options.tabCount && c.options.tabSpacing)
    throw UsageError("--tabs and --tab-spacing cannot be combined");
  if (!asksForTabs(c.options) &&
      (c.options.tabWidth || c.options.tabMinLength || c.options.tabsOnHoles || c.options.tabHeight))
    throw UsageError(
        "--tab-width, --tab-height, --tab-min-length and --tabs-on-holes need --tabs or --tab-spacing");
  // Arcs are fitted after the tabs are marked and would merge away the vertices where a tab
  // begins and ends: the tool would cut straight through it.
  if (c.options.tabHeight && c.options.arcs && c.options.format == OutputFormat::Gcode &&
      !c.options.gcode.laser)
    throw UsageError("--tab-height cannot be combined with --arcs");
  if (asksForTabs(c.options) &&
      (c.options.format == OutputFormat::Lines || c.options.format == OutputFormat::PolyLines))
    throw UsageError("tabs need the closed, svg or gcode format");
  if (!c.options.stencilBridge && (c.options.bridgeCount || c.options.bridgeMinSpan))
    throw UsageError("--bridges and --bridge-min-span need --stencil");
  if (c.options.stencilBridge &&
      (c.options.format == OutputFormat::Lines || c.options.format == OutputFormat::PolyLines))
    throw UsageError("--stencil needs the closed, svg or gcode format");
  const ProductionOptions& p = c.production;
  if (p.copies && p.mergeFile)
    throw UsageError("--copies and --merge cannot be combined: a merge file gives one item per row");
  if ((p.gap || p.columns || p.cell || p.oneFile) && !p.sheet)
    throw UsageError("--gap, --columns, --cell and --one-file lay items out on a --sheet");
  if (p.oneFile && c.options.format != OutputFormat::Gcode)
    throw UsageError("--one-file needs the gcode format (a pause between the sheets)");
  if (p.active() && c.inputs.size() > 1)
    throw UsageError("a production run (--merge, --copies, --serial-*, --sheet) takes one INPUT");
  if (p.active() && c.output && *c.output == "-" && c.action != ConvertAction::DumpText)
    throw UsageError("a production run writes files: -o names them, not standard output");
  if (c.options.cut != CutOperation::Profile &&
      (c.options.format == OutputFormat::Lines || c.options.format == OutputFormat::PolyLines)) {
    throw UsageError("--cut other than profile needs the closed, svg or gcode format");
  }
  if (c.options.cut == CutOperation::VCarve) {
    if (c.options.gcode.laser) throw UsageError("--cut vcarve needs a router, not --laser");
    // The bit's own width is the carving's offset, and it enters along the axis.
    if (c.options.kerf || asksForLeads(c.options))
      throw UsageError("--cut vcarve takes no --kerf, leads or overcut");
    if (c.options.vcarve.clearTool.has_value() != !c.options.vcarve.clearOutput.empty())
      throw UsageError("--clear-tool and --clear-output go together");
  }
  if (c.options.vcarve.inlay != InlayPart::None && c.options.cut != CutOperation::VCarve)
    throw UsageError("--inlay carves a pocket or a plug: it needs --cut vcarve");
  std::size_t fromStdin = 0;
  for (const std::string& input : c.inputs) fromStdin += input == "-" ? 1 : 0;
  if (fromStdin > 1) throw UsageError("standard input (-) can be read only once");
  if (c.action == ConvertAction::DumpText) {
    if (c.output) throw UsageError("--dump-text prints to standard output and takes no -o");
    if (c.inputs.size() > 1) throw UsageError("--dump-text takes one INPUT");
    return;
  }
  if (c.output && c.inputs.size() > 1) {
    throw UsageError("-o names one output file and cannot be used with several inputs");
  }
  if (c.text && !c.output) throw UsageError("--text needs -o FILE");
  if (fromStdin > 0 && !c.output) throw UsageError("standard input (-) needs -o FILE");
  if (c.output && c.output->empty()) throw UsageError("-o: the file name is empty");
}

}  // namespace

bool isNamedCommandLine(const std::vector<std::string>& args) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (i == 0 && (a == "--report" || a == "--help" || a == "-h")) continue;
    if (a.starts_with("--") || a == "-o" || a == "-f" || a == "-q" || a == "-V") return true;
  }
  return false;
}

ConvertCommand parseConvertCommand(const std::vector<std::string>& args) {
  ConvertCommand command;
  command.plainFont = defaultEditorFormat();
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg == "-" || !arg.starts_with('-')) {
      // An empty argument names no file, as in the positional form.
      if (!arg.empty()) command.inputs.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    const OptionEntry* entry = nullptr;
    std::optional<std::string> inlineValue;
    std::string name = arg;
    if (arg.starts_with("--")) {
      if (const std::size_t eq = arg.find('='); eq != std::string::npos) {
        name = arg.substr(0, eq);
        inlineValue = arg.substr(eq + 1);
      }
      entry = findLong(name);
    } else if (arg.size() == 2) {
      entry = findShort(arg[1]);
    }
    const OptionDescriptor* numeric = entry || !arg.starts_with("--") ? nullptr : findNumeric(name);
    if (!entry && !numeric) unknownOption(arg);
    // Messages name the option as typed ("-o" or "--output").
    if (entry && !entry->takesValue) {
      if (inlineValue) throw UsageError(name + " takes no value");
      entry->apply(command, Value{name, arg});
      // Help and version answer at once, whatever else the line holds.
      if (command.action == ConvertAction::Help || command.action == ConvertAction::Version) {
        return command;
      }
      continue;
    }
    if (!inlineValue) {
      // The next argument is the value even when it starts with "-" (a pitch of -3).
      if (i + 1 >= args.size()) throw UsageError(name + " needs a value");
      inlineValue = args[++i];
    }
    const Value value{name, *inlineValue};
    if (numeric) {
      applyTableOption(command, *numeric, value);
    } else {
      entry->apply(command, value);
    }
  }
  checkCombinations(command);
  readPath(command);
  return command;
}

}  // namespace kerfline
