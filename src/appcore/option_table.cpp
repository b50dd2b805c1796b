#include "appcore/option_table.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace kerfline {
namespace {

// The limits are what a real machine can be asked for, in either drawing unit, with room to
// spare; beyond them a number is a typo or an attack, and would either overflow the clipper's
// integer grid (a kerf of 1e14), exhaust memory offsetting (1e13), or write G-code words of
// hundreds of digits that no controller reads.
//  - Kerf, depth per pass, leads and overcut: 0.0001 (a tenth of a micron, the finest field step) to 100: a
//    100 mm cutter is the largest router bit made; a 100 in kerf is no cut at all.
//  - Feeds: 0.1 to 100000 per minute: 100 m/min is beyond the fastest gantry laser.
//  - Spindle: 1 to 100000 rpm: the fastest engraving spindles turn 60000.
//  - Power: 0 to 100000: GRBL defaults to S1000, some controllers count to 65535; S0 is a
//    dry run with the beam off.
//  - Z up and Z cutting: -1000 to 1000: no machine travels a metre in Z.
//  - Fit width or height: 0.001 to 100000: a 100 m banner is larger than any bed.
// The classic settings keep the ranges their fields always had.
const OptionDescriptor kTable[] = {
    {"--scale", "", "", OptionKind::Whole, "percent", 1, 10000, 0, "scale",
     [](const ConversionOptions& o) -> std::optional<double> { return o.classic.scale; },
     [](ConversionOptions& o, std::optional<double> v) { o.classic.scale = static_cast<int>(v.value_or(100)); }},
    {"--resolution", "", "", OptionKind::Whole, "", 1, 100, 0, "curve resolution",
     [](const ConversionOptions& o) -> std::optional<double> { return o.classic.resolution; },
     [](ConversionOptions& o, std::optional<double> v) { o.classic.resolution = static_cast<int>(v.value_or(2)); }},
    {"--space", "", "", OptionKind::Whole, "percent", 0, 100, 0, "space between characters",
     [](const ConversionOptions& o) -> std::optional<double> { return o.classic.spacePercent; },
     [](ConversionOptions& o, std::optional<double> v) { setSpace(o, static_cast<int>(v.value_or(0))); }},
    {"", "Typography", "Tracking", OptionKind::Whole, "hundredths of the em", 0, 100, 0,
     "font spacing: tracking",
     [](const ConversionOptions& o) -> std::optional<double> { return o.tracking; },
     [](ConversionOptions& o, std::optional<double> v) { o.tracking = static_cast<int>(v.value_or(0)); }},
    {"--size", "", "", OptionKind::Whole, "points", 1, 1638, 0, "size of the plain-text font"},
    {"--z-up", "Layer", "Zup", OptionKind::Text, "drawing units", -1000, 1000, 2, "travel height"},
    {"--z-cut", "Layer", "Zdown", OptionKind::Text, "drawing units", -1000, 1000, 2,
     "cutting depth"},
    {"--fit-width", "", "", OptionKind::Real, "drawing units", 0.001, 100000, 3,
     "width after scaling",
     [](const ConversionOptions& o) { return o.fitWidth; },
     [](ConversionOptions& o, std::optional<double> v) { o.fitWidth = v; }},
    {"--fit-height", "", "", OptionKind::Real, "drawing units", 0.001, 100000, 3,
     "height after scaling",
     [](const ConversionOptions& o) { return o.fitHeight; },
     [](ConversionOptions& o, std::optional<double> v) { o.fitHeight = v; }},
    {"--kerf", "Export", "Kerf", OptionKind::Real, "drawing units", 0.0001, 100, 4, "kerf width",
     [](const ConversionOptions& o) { return o.kerf; },
     [](ConversionOptions& o, std::optional<double> v) { o.kerf = v; }},
    {"--feed", "Export", "Feed", OptionKind::Real, "units per minute", 0.1, 100000, 1,
     "cutting feed",
     [](const ConversionOptions& o) { return o.gcode.feed; },
     [](ConversionOptions& o, std::optional<double> v) { o.gcode.feed = v; }},
    {"--plunge-feed", "Export", "PlungeFeed", OptionKind::Real, "units per minute", 0.1, 100000,
     1, "plunge feed",
     [](const ConversionOptions& o) { return o.gcode.plungeFeed; },
     [](ConversionOptions& o, std::optional<double> v) { o.gcode.plungeFeed = v; }},
    {"--spindle", "Export", "Spindle", OptionKind::Whole, "rpm", 1, 100000, 0, "spindle speed",
     [](const ConversionOptions& o) -> std::optional<double> {
       return o.gcode.spindleRpm ? std::optional<double>(*o.gcode.spindleRpm) : std::nullopt;
     },
     [](ConversionOptions& o, std::optional<double> v) {
       o.gcode.spindleRpm = v ? std::optional<int>(static_cast<int>(*v)) : std::nullopt;
     }},
    {"--depth-per-pass", "Export", "DepthPerPass", OptionKind::Real, "drawing units", 0.0001,
     100, 4, "depth of each pass",
     [](const ConversionOptions& o) { return o.gcode.depthPerPass; },
     [](ConversionOptions& o, std::optional<double> v) { o.gcode.depthPerPass = v; }},
    {"--lead-in", "Export", "LeadIn", OptionKind::Real, "drawing units", 0.0001, 100, 4,
     "lead-in of closed contours, on the scrap side",
     [](const ConversionOptions& o) { return o.leadIn; },
     [](ConversionOptions& o, std::optional<double> v) { o.leadIn = v; }},
    {"--lead-out", "Export", "LeadOut", OptionKind::Real, "drawing units", 0.0001, 100, 4,
     "lead-out of closed contours, on the scrap side",
     [](const ConversionOptions& o) { return o.leadOut; },
     [](ConversionOptions& o, std::optional<double> v) { o.leadOut = v; }},
    {"--overcut", "Export", "Overcut", OptionKind::Real, "drawing units", 0.0001, 100, 4,
     "cut on past the start of closed contours",
     [](const ConversionOptions& o) { return o.overcut; },
     [](ConversionOptions& o, std::optional<double> v) { o.overcut = v; }},
    {"--power", "Export", "Power", OptionKind::Real, "", 0, 100000, 1, "laser power (the S word)",
     [](const ConversionOptions& o) { return o.gcode.power; },
     [](ConversionOptions& o, std::optional<double> v) { o.gcode.power = v; }},
    // Curves: a tenth of a micron is below any machine's step; 10 units is a chord per
    // quarter of a sign letter a metre high, beyond which a tolerance is a typo.
    {"--tolerance", "Export", "Tolerance", OptionKind::Real, "drawing units", 0.0001, 10, 4,
     "largest distance of the paths from the true curves (instead of --resolution)",
     [](const ConversionOptions& o) { return o.tolerance; },
     [](ConversionOptions& o, std::optional<double> v) { o.tolerance = v; }},
    // Production runs: held in the command's production options, not in a job's fields.
    // Serial numbers reach a billion; a million copies or columns is past any sheet.
    {"--serial-start", "", "", OptionKind::Whole, "", 0, 1e9, 0, "serial number {n} of the first item"},
    {"--serial-step", "", "", OptionKind::Whole, "", 1, 1e6, 0, "added to {n} from item to item"},
    {"--copies", "", "", OptionKind::Whole, "", 1, 1e6, 0, "items without a merge file"},
    {"--sheet", "", "", OptionKind::Real, "drawing units", 0.001, 100000, 3,
     "sheet width and height, WxH"},
    {"--cell", "", "", OptionKind::Real, "drawing units", 0.001, 100000, 3,
     "grid cell width and height, WxH"},
    {"--gap", "", "", OptionKind::Real, "drawing units", 0, 100000, 3, "space between items on a sheet"},
    {"--columns", "", "", OptionKind::Whole, "", 1, 1e6, 0, "columns of the grid on a sheet"},
    // Holding tabs: a thousand to a contour is past any part; widths as the kerf's.
    {"--tabs", "", "", OptionKind::Whole, "", 1, 1000, 0, "holding tabs per contour",
     [](const ConversionOptions& o) { return o.tabCount; },
     [](ConversionOptions& o, std::optional<double> v) { o.tabCount = v; }},
    {"--tab-spacing", "", "", OptionKind::Real, "drawing units", 0.001, 100000, 3,
     "one holding tab per this length of contour",
     [](const ConversionOptions& o) { return o.tabSpacing; },
     [](ConversionOptions& o, std::optional<double> v) { o.tabSpacing = v; }},
    {"--tab-width", "", "", OptionKind::Real, "drawing units", 0.0001, 100, 4,
     "material a holding tab leaves",
     [](const ConversionOptions& o) { return o.tabWidth; },
     [](ConversionOptions& o, std::optional<double> v) { o.tabWidth = v; }},
    // A router's tab: from a hair of material to 100, thicker than any sheet it holds.
    {"--tab-height", "", "", OptionKind::Real, "drawing units", 0.0001, 100, 4,
     "material a router leaves over a holding tab (G-code)",
     [](const ConversionOptions& o) { return o.tabHeight; },
     [](ConversionOptions& o, std::optional<double> v) { o.tabHeight = v; }},
    {"--stencil", "", "", OptionKind::Real, "drawing units", 0.0001, 100, 4,
     "stencil bridge width",
     [](const ConversionOptions& o) { return o.stencilBridge; },
     [](ConversionOptions& o, std::optional<double> v) { o.stencilBridge = v; }},
    {"--bridges", "", "", OptionKind::Whole, "", 1, 8, 0, "stencil bridges per island",
     [](const ConversionOptions& o) { return o.bridgeCount; },
     [](ConversionOptions& o, std::optional<double> v) { o.bridgeCount = v; }},
    {"--bridge-min-span", "", "", OptionKind::Real, "drawing units", 0.001, 100000, 3,
     "islands larger than this get two stencil bridges",
     [](const ConversionOptions& o) { return o.bridgeMinSpan; },
     [](ConversionOptions& o, std::optional<double> v) { o.bridgeMinSpan = v; }},
    {"--tab-min-length", "", "", OptionKind::Real, "drawing units", 0, 100000, 3,
     "contours shorter than this get no tab",
     [](const ConversionOptions& o) { return o.tabMinLength; },
     [](ConversionOptions& o, std::optional<double> v) { o.tabMinLength = v; }},
    // Filled letters. Tool: 0.01 (the finest engraving bit is 0.1 mm) to 100. Step-over: a
    // fraction of the tool's width; below 0.05 is hours of passes, above 0.95 leaves ridges.
    // Interval: 0.001 (a micron, finer than any beam) to 100. Angle: a full turn either way.
    {"--tool-diameter", "Export", "ToolDiameter", OptionKind::Real, "drawing units", 0.01, 100, 4,
     "pocket: the cutter's diameter",
     [](const ConversionOptions& o) { return o.fill.toolDiameter; },
     [](ConversionOptions& o, std::optional<double> v) { o.fill.toolDiameter = v; }},
    {"--step-over", "Export", "StepOver", OptionKind::Real, "of the tool's width", 0.05, 0.95, 2,
     "pocket and V-carved floors: distance between passes (default 0.4)",
     [](const ConversionOptions& o) { return o.fill.stepOver; },
     [](ConversionOptions& o, std::optional<double> v) { o.fill.stepOver = v; }},
    {"--finish-allowance", "Export", "FinishAllowance", OptionKind::Real, "drawing units", 0, 50,
     4, "pocket: left on the walls for the finishing pass (default 0)",
     [](const ConversionOptions& o) { return o.fill.finishAllowance; },
     [](ConversionOptions& o, std::optional<double> v) { o.fill.finishAllowance = v; }},
    {"--margin", "Export", "Margin", OptionKind::Real, "drawing units", 0, 100000, 3,
     "space between the text and what bounds it: the fit box's edge, or the raised "
     "letters' cleared border beyond their box (there, default the tool's width)",
     [](const ConversionOptions& o) { return o.fill.margin; },
     // One margin for both: the fit box keeps it inside, raised letters clear it outside.
     [](ConversionOptions& o, std::optional<double> v) {
       o.fill.margin = v;
       o.layout.margin = v.value_or(0);
     }},
    {"--interval", "Export", "Interval", OptionKind::Real, "drawing units", 0.001, 100, 4,
     "hatch and offset fill: distance between lines",
     [](const ConversionOptions& o) { return o.fill.interval; },
     [](ConversionOptions& o, std::optional<double> v) { o.fill.interval = v; }},
    {"--hatch-angle", "Export", "HatchAngle", OptionKind::Real, "degrees", -360, 360, 2,
     "hatch: direction of the lines from X, counter-clockwise (default 0)",
     [](const ConversionOptions& o) { return o.fill.hatchAngle; },
     [](ConversionOptions& o, std::optional<double> v) { o.fill.hatchAngle = v; }},
    {"--overscan", "Export", "Overscan", OptionKind::Real, "drawing units", 0, 1000, 3,
     "hatch with the laser: run on beyond each line, beam off (default 0)",
     [](const ConversionOptions& o) { return o.fill.overscan; },
     [](ConversionOptions& o, std::optional<double> v) { o.fill.overscan = v; }},
    // V-carving. The bit angle spans the V-bits made (engraving bits of 10 degrees to wide
    // sign-making bits); widths and depths are those of the kerf.
    {"--bit-angle", "Carve", "BitAngle", OptionKind::Real, "degrees", 10, 170, 1,
     "V-bit's included angle (--cut vcarve)",
     [](const ConversionOptions& o) -> std::optional<double> { return o.vcarve.bitAngle; },
     [](ConversionOptions& o, std::optional<double> v) { o.vcarve.bitAngle = v.value_or(60); }},
    {"--bit-diameter", "Carve", "BitDiameter", OptionKind::Real, "drawing units", 0.01, 100, 3,
     "V-bit's diameter: no deeper than its cone",
     [](const ConversionOptions& o) { return o.vcarve.bitDiameter; },
     [](ConversionOptions& o, std::optional<double> v) { o.vcarve.bitDiameter = v; }},
    {"--max-depth", "Carve", "MaxDepth", OptionKind::Real, "drawing units", 0.0001, 100, 4,
     "deepest cut; wider parts get a flat floor",
     [](const ConversionOptions& o) { return o.vcarve.maxDepth; },
     [](ConversionOptions& o, std::optional<double> v) { o.vcarve.maxDepth = v; }},
    {"--clear-tool", "Carve", "ClearTool", OptionKind::Real, "drawing units", 0.01, 100, 3,
     "flat end mill clearing the floor (with --clear-output)",
     [](const ConversionOptions& o) { return o.vcarve.clearTool; },
     [](ConversionOptions& o, std::optional<double> v) { o.vcarve.clearTool = v; }},
    // V-carved inlays (--inlay female|male): depths as the carving's, a margin as the layout's;
    // a glue gap below a micron is no gap a machine holds.
    {"--inlay-depth", "Carve", "InlayDepth", OptionKind::Real, "drawing units", 0.0001, 100, 4,
     "inlay: the pocket's depth (default --max-depth)",
     [](const ConversionOptions& o) { return o.vcarve.inlayDepth; },
     [](ConversionOptions& o, std::optional<double> v) { o.vcarve.inlayDepth = v; }},
    {"--inlay-margin", "Carve", "InlayMargin", OptionKind::Real, "drawing units", 0, 1000, 3,
     "inlay plug: its box beyond the letters (default 2 mm)",
     [](const ConversionOptions& o) { return o.vcarve.inlayMargin; },
     [](ConversionOptions& o, std::optional<double> v) { o.vcarve.inlayMargin = v; }},
    {"--glue-gap", "Carve", "GlueGap", OptionKind::Real, "drawing units", 0.001, 100, 3,
     "inlay: left between plug and pocket (default 0.5 mm)",
     [](const ConversionOptions& o) { return o.vcarve.glueGap; },
     [](ConversionOptions& o, std::optional<double> v) { o.vcarve.glueGap = v; }},
    // Sign layout. Lengths to 100000 as the fit sizes; angles a full turn either way; a slant
    // short of 90 degrees (tan 85 is already 11); stretch from a hundredth to a hundredfold.
    {"--rotate", "Layout", "Rotate", OptionKind::Real, "degrees", -360, 360, 2,
     "turn the text counter-clockwise about its anchor",
     [](const ConversionOptions& o) -> std::optional<double> { return o.layout.rotate; },
     [](ConversionOptions& o, std::optional<double> v) { o.layout.rotate = v.value_or(0); }},
    {"--slant", "Layout", "Slant", OptionKind::Real, "degrees", -85, 85, 2,
     "lean the letters right (oblique)",
     [](const ConversionOptions& o) -> std::optional<double> { return o.layout.slant; },
     [](ConversionOptions& o, std::optional<double> v) { o.layout.slant = v.value_or(0); }},
    {"--stretch-x", "Layout", "StretchX", OptionKind::Real, "factor", 0.01, 100, 3,
     "condense (below 1) or expand the text along its lines",
     [](const ConversionOptions& o) -> std::optional<double> { return o.layout.stretchX; },
     [](ConversionOptions& o, std::optional<double> v) { o.layout.stretchX = v.value_or(1); }},
    {"--arc-radius", "Layout", "ArcRadius", OptionKind::Real, "drawing units", 0.001, 100000, 3,
     "set the text on a circle of this baseline radius about the origin",
     [](const ConversionOptions& o) { return o.layout.arcRadius; },
     [](ConversionOptions& o, std::optional<double> v) { o.layout.arcRadius = v; }},
    {"--arc-angle", "Layout", "ArcAngle", OptionKind::Real, "degrees", -360, 360, 2,
     "direction of the text's anchor from the centre, clockwise from up",
     [](const ConversionOptions& o) { return o.layout.arcAngle; },
     [](ConversionOptions& o, std::optional<double> v) { o.layout.arcAngle = v; }},
    {"--frame-margin", "Layout", "FrameMargin", OptionKind::Real, "drawing units", 0, 100000, 3,
     "space between the text (or the fit box) and the frame",
     [](const ConversionOptions& o) -> std::optional<double> { return o.layout.frameMargin; },
     [](ConversionOptions& o, std::optional<double> v) { o.layout.frameMargin = v.value_or(0); }},
    {"--path-offset", "Layout", "PathOffset", OptionKind::Real, "drawing units", 0, 100000, 3,
     "arc length along the path where the text's anchor sits",
     [](const ConversionOptions& o) { return o.layout.pathOffset; },
     [](ConversionOptions& o, std::optional<double> v) { o.layout.pathOffset = v; }},
    {"--hole-inset", "Layout", "HoleInset", OptionKind::Real, "drawing units", 0, 100000, 3,
     "from the frame's edge to a hole's centre (default: one diameter)",
     [](const ConversionOptions& o) { return o.layout.holeInset; },
     [](ConversionOptions& o, std::optional<double> v) { o.layout.holeInset = v; }},
};

}  // namespace

std::span<const OptionDescriptor> optionTable() { return kTable; }

const OptionDescriptor& optionNamed(std::string_view flagOrKey) {
  for (const OptionDescriptor& row : kTable) {
    if (row.flag == flagOrKey || (!row.key.empty() && row.key == flagOrKey)) return row;
  }
  throw std::logic_error("no option " + std::string(flagOrKey));
}

bool withinLimits(const OptionDescriptor& option, double v) {
  if (!std::isfinite(v) || v < option.min || v > option.max) return false;
  return option.kind != OptionKind::Whole || v == std::floor(v);
}

std::string exactText(double v) {
  char buffer[64];
  const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, v);
  return error == std::errc() ? std::string(buffer, end) : std::string();
}

std::string limitsText(const OptionDescriptor& option) {
  // Plain decimals ("0.0001", not "1e-04"): limits are read by people.
  const auto plain = [](double v) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.6f", v);
    std::string s = buffer;
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    return s;
  };
  return plain(option.min) + " to " + plain(option.max);
}

std::optional<double> storedValue(const OptionDescriptor& option, std::string_view text) {
  double v = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, error] = std::from_chars(text.data(), end, v);
  if (text.empty() || error != std::errc() || ptr != end || !withinLimits(option, v)) {
    return std::nullopt;
  }
  return v;
}

std::string optionLimitsHelp() {
  std::string text;
  for (const OptionDescriptor& row : kTable) {
    if (row.flag.empty()) continue;
    // Appended piece by piece: GCC 12 at -O3 takes "literal" + string for an overlapping copy.
    std::string line = "  ";
    line.append(row.flag);
    line.resize(22, ' ');
    line += limitsText(row);
    if (!row.unit.empty()) line.append(" ").append(row.unit);
    line.append(": ").append(row.help).append("\n");
    text += line;
  }
  return text;
}

}  // namespace kerfline
