#include "export/fill_export.h"

#include <cmath>
#include <cstdio>
#include <utility>

#include "common/error.h"
#include "common/utf8.h"
#include "export/arc_drawing.h"
#include "export/closed_dxf_writer.h"
#include "export/fill_gcode_writer.h"
#include "export/fill_order.h"
#include "export/output_file.h"
#include "export/svg_writer.h"
#include "fill/hatch.h"
#include "fill/offset_fill.h"
#include "fill/pocket.h"
#include "fill/run_linker.h"
#include "geometry/arc_fitting.h"
#include "geometry/weld.h"

namespace kerfline {
namespace {

// More pieces than this in one job are refused as they come: an interval far too small for
// the text would otherwise fill memory (each line costs about a hundred bytes) before failing.
constexpr std::size_t kMaxPieces = 10'000'000;

// The largest stray of an offset's round joins from the true arc: a micrometre (or its inch
// equivalent), well inside what a pocket's coverage or a laser's line can show.
// With arcs the same bound holds from the true offset to the file: the offsets' chords take
// the flattening share of it, the arcs fitted to them the rest (arcToleranceShares).
double fillTolerance(const ConversionOptions& options) {
  return options.units == DrawingUnits::Inch ? 0.00004 : 0.001;
}

double offsetTolerance(const ConversionOptions& options) {
  const double t = fillTolerance(options);
  return options.arcs ? arcToleranceShares(t).flattening : t;
}

// The pieces fitted with lines and arcs when options ask for arcs (round joins and curved
// walls become arcs again); returns their bulges, one list per piece, or none.
std::vector<std::vector<double>> fitPieces(std::vector<Contour>& pieces,
                                           const ConversionOptions& options) {
  if (!options.arcs || pieces.empty()) return {};
  Drawing fitted;
  fitted.characters.push_back({0, 0, 0, std::move(pieces)});
  fitDrawingArcs(fitted, fillTolerance(options));
  pieces = std::move(fitted.characters.front().contours);
  return std::move(fitted.bulges);
}

// Pieces with their bulges added to a region's (each list empty, or one per piece).
void addPieces(std::vector<Contour>& pieces, std::vector<std::vector<double>>& bulges,
               std::vector<Contour> more, std::vector<std::vector<double>> moreBulges) {
  if (!moreBulges.empty() || !bulges.empty()) {
    bulges.resize(pieces.size());
    moreBulges.resize(more.size());
    bulges.insert(bulges.end(), std::make_move_iterator(moreBulges.begin()),
                  std::make_move_iterator(moreBulges.end()));
  }
  pieces.insert(pieces.end(), std::make_move_iterator(more.begin()),
                std::make_move_iterator(more.end()));
}

std::string unitsText(double v, const ConversionOptions& options, const char* square = "") {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.3g %s%s", v,
                options.units == DrawingUnits::Inch ? "in" : "mm", square);
  return buffer;
}

std::string placeText(const PlacedCharacter& c) {
  std::string out = "\"";
  appendUtf8(out, c.character);
  out += "\" at position " + std::to_string(c.position) + " (line " +
         std::to_string(c.line + 1) + ")";
  return out;
}

std::vector<Contour> closedRings(const PlacedCharacter& c) {
  std::vector<Contour> rings;
  for (const Contour& k : c.contours)
    if (k.closed) rings.push_back(k);
  return rings;
}

struct PocketNotes {
  double area = 0, unreached = 0;
  std::vector<std::string> named;  // regions with a part narrower than the tool
};

// One region filled: its pieces in order and the runs they make.
void fillRegion(const PlacedCharacter& region, const std::vector<Contour>& rings,
                const ConversionOptions& options, PlacedCharacter& pieces,
                std::vector<std::vector<double>>& bulges, std::vector<ToolRun>& runs,
                PocketNotes& pocketNotes) {
  const FillOptions& f = options.fill;
  const double tolerance = offsetTolerance(options);
  switch (options.cut) {
    case CutOperation::Hatch: {
      HatchSettings h;
      h.interval = *f.interval;
      h.angleDegrees = f.hatchAngle.value_or(0);
      h.crossHatch = f.crossHatch;
      h.unidirectional = f.unidirectional;
      pieces.contours = hatchLines(rings, h);
      LinkRules rules;
      rules.allowed = f.unidirectional ? nullptr : &rings;
      rules.overscan = options.gcode.laser ? f.overscan.value_or(0) : 0;
      runs = linkPieces(pieces.contours, rules);
      if (f.outline) {
        std::vector<Contour> outline = rings;
        std::vector<std::vector<double>> outlineBulges = fitPieces(outline, options);
        std::vector<ToolRun> outlineRuns = linkPieces(outline, {}, &outlineBulges);
        runs.insert(runs.end(), outlineRuns.begin(), outlineRuns.end());
        addPieces(pieces.contours, bulges, std::move(outline), std::move(outlineBulges));
      }
      break;
    }
    case CutOperation::Pocket: {
      PocketSettings p;
      p.toolDiameter = *f.toolDiameter;
      p.stepOver = f.stepOver.value_or(kDefaultStepOver);
      p.finishAllowance = f.finishAllowance.value_or(0);
      p.tolerance = tolerance;
      PocketFill fill = pocketRegion(rings, p);
      pocketNotes.area += fill.area;
      pocketNotes.unreached += fill.unreached;
      // Corners always keep a little the round tool cannot reach; a region is named when it
      // keeps more than a strip a quarter of the tool wide and as long as the tool is wide.
      if (!f.background && fill.unreached > p.toolDiameter * p.toolDiameter / 4)
        pocketNotes.named.push_back(placeText(region) + " " +
                                    unitsText(fill.unreached, options, "\xC2\xB2"));
      LinkRules rules;
      rules.allowed = &fill.centreArea;
      rules.maxLink = p.toolDiameter;
      rules.linksCut = true;
      bulges = fitPieces(fill.loops, options);
      runs = linkPieces(fill.loops, rules, &bulges);
      pieces.contours = std::move(fill.loops);
      break;
    }
    case CutOperation::OffsetFill:
      pieces.contours = offsetFill(rings, *f.interval, tolerance);
      bulges = fitPieces(pieces.contours, options);
      runs = linkPieces(pieces.contours, {}, &bulges);
      break;
    default:
      break;
  }
}

std::string pocketSentence(const PocketNotes& n, const ConversionOptions& options) {
  if (n.unreached <= 0 || n.area <= 0) return {};
  char share[32];
  std::snprintf(share, sizeof share, "%.3g %%", 100 * n.unreached / n.area);
  std::string out = "Pocket: the " + unitsText(*options.fill.toolDiameter, options) +
                    " tool cannot reach " + unitsText(n.unreached, options, "\xC2\xB2") + " (" +
                    share + " of the area to clear)";
  if (options.fill.background)
    return out + ", in corners and in gaps between letters narrower than the tool.";
  if (n.named.empty()) return out + ", only in corners.";
  constexpr std::size_t kNamed = 5;
  out += "; parts narrower than the tool in " + std::to_string(n.named.size()) +
         (n.named.size() == 1 ? " letter:" : " letters:");
  for (std::size_t i = 0; i < n.named.size() && i < kNamed; ++i)
    out += (i == 0 ? " " : "; ") + n.named[i];
  if (n.named.size() > kNamed) out += "; ...";
  return out + ".";
}

}  // namespace

bool fillsLetters(const ConversionOptions& options) {
  return options.cut == CutOperation::Pocket || options.cut == CutOperation::Hatch ||
         options.cut == CutOperation::OffsetFill;
}

void checkFillOptions(const ConversionOptions& options) {
  if (!fillsLetters(options)) return;
  const FillOptions& f = options.fill;
  if (options.format == OutputFormat::Lines || options.format == OutputFormat::PolyLines)
    throw Error("Filled letters need the closed, SVG or G-code form.");
  if (options.kerf || asksForLeads(options))
    throw Error("Filled letters take neither a kerf nor leads: the fill keeps inside the letters.");
  if (options.cut == CutOperation::Pocket) {
    if (!f.toolDiameter || !(*f.toolDiameter > 0))
      throw Error("A pocket needs the tool's diameter (--tool-diameter).");
    const double s = f.stepOver.value_or(kDefaultStepOver);
    if (!(s >= 0.05 && s <= 0.95)) throw Error("The step-over must lie from 0.05 to 0.95.");
    if (f.finishAllowance && !(*f.finishAllowance >= 0 && *f.finishAllowance < *f.toolDiameter / 2))
      throw Error("The finish allowance must be less than the tool's radius.");
  } else if (!f.interval || !(*f.interval > 0)) {
    throw Error("Hatch and offset fill need the interval between lines (--interval).");
  }
  if (f.overscan && options.cut == CutOperation::Hatch &&
      !(options.format == OutputFormat::Gcode && options.gcode.laser))
    throw Error("Overscan needs the laser: G-code with --laser.");
}

FilledDrawing fillDrawing(const Drawing& finished, const ConversionOptions& options,
                          const Checkpoint& checkpoint) {
  checkFillOptions(options);
  FilledDrawing out;
  out.pieces.layer = finished.layer;
  // Letters that overlap are filled as one region, by the weld's rule, so no area is filled
  // twice and every hole stays empty.
  Drawing regions = finished;
  weldOverlaps(regions, checkpoint);
  PocketNotes pocketNotes;
  std::size_t engraved = 0, total = 0;
  std::vector<PlacedCharacter> todo;
  if (options.cut == CutOperation::Pocket && options.fill.background) {
    std::vector<Contour> all;
    for (const PlacedCharacter& c : regions.characters)
      for (const Contour& k : c.contours)
        if (k.closed) all.push_back(k);
    PlacedCharacter background;
    if (!regions.characters.empty()) {
      background = regions.characters.front();
      background.contours = backgroundRings(
          all, options.fill.margin.value_or(*options.fill.toolDiameter));
      todo.push_back(std::move(background));
    }
    for (const PlacedCharacter& c : regions.characters) {
      PlacedCharacter open = c;
      std::erase_if(open.contours, [](const Contour& k) { return k.closed; });
      if (!open.contours.empty()) todo.push_back(std::move(open));
    }
  } else {
    todo = std::move(regions.characters);
  }
  for (const PlacedCharacter& c : todo) {
    if (checkpoint) checkpoint();
    PlacedCharacter pieces{c.position, c.character, c.line, {}};
    std::vector<ToolRun> runs;
    std::vector<std::vector<double>> bulges;
    const std::vector<Contour> rings = closedRings(c);
    if (!rings.empty()) fillRegion(c, rings, options, pieces, bulges, runs, pocketNotes);
    // Single-line faces have no inside: they are engraved along their line.
    std::vector<Contour> open;
    for (const Contour& k : c.contours)
      if (!k.closed && k.points.size() >= 2) open.push_back(k);
    engraved += open.size();
    if (!open.empty()) {
      std::vector<std::vector<double>> openBulges = fitPieces(open, options);
      std::vector<ToolRun> lines = linkPieces(open, {}, &openBulges);
      runs.insert(runs.end(), lines.begin(), lines.end());
      addPieces(pieces.contours, bulges, std::move(open), std::move(openBulges));
    }
    if (pieces.contours.empty()) continue;
    if (!bulges.empty()) {
      // The drawing's bulges run over every path in file order: the regions before had none.
      out.pieces.bulges.resize(total);
      bulges.resize(pieces.contours.size());
      out.pieces.bulges.insert(out.pieces.bulges.end(), std::make_move_iterator(bulges.begin()),
                               std::make_move_iterator(bulges.end()));
    }
    total += pieces.contours.size();
    if (total > kMaxPieces)
      throw Error("The fill would need more than " + std::to_string(kMaxPieces) +
                  " lines and rings: the interval is too small for the text.");
    out.pieces.characters.push_back(std::move(pieces));
    out.runs.push_back(std::move(runs));
  }
  if (std::string s = pocketSentence(pocketNotes, options); !s.empty())
    out.notes.push_back(std::move(s));
  if (engraved > 0)
    out.notes.push_back("Fill: " + std::to_string(engraved) +
                        (engraved == 1 ? " single-line path is" : " single-line paths are") +
                        " engraved along its line, not filled.");
  if (cutOrderFor(options) == CutOrder::Travel) {
    TravelFigures figures;
    figures.textOrderTravel = fillTravel(out);
    orderFillForTravel(out, options);
    figures.travel = fillTravel(out);
    out.travel = figures;
  }
  return out;
}

void sampleFillArcs(Drawing& pieces, const ConversionOptions& options) {
  if (!pieces.bulges.empty()) sampleDrawingArcs(pieces, fillTolerance(options) / 10);
}

FilledDrawing writeFilledDrawing(const std::string& path, const Drawing& finished,
                                 const ConversionOptions& options) {
  FilledDrawing filled = fillDrawing(finished, options);
  switch (options.format) {
    case OutputFormat::Closed:
      // Hatch lines go out as LINEs: a line is what they are, and laser software takes a LINE
      // as one stroke where it may join open polylines into one.
      saveClosedPolylineDxf(path, filled.pieces, options, /*twoPointLines=*/true);
      break;
    case OutputFormat::Svg:
      saveSvg(path, filled.pieces, options);
      break;
    case OutputFormat::Gcode: {
      OutputFile file(path);
      writeFillGcode(file, filled, options);
      file.commit();
      break;
    }
    default:
      throw Error("Filled letters need the closed, SVG or G-code form.");
  }
  return filled;
}

}  // namespace kerfline
