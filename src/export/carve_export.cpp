#include "export/carve_export.h"

#include <cmath>
#include <cstdio>
#include <numbers>

#include "carving/inlay.h"
#include "carving/medial_axis.h"
#include "carving/vcarve.h"
#include "common/error.h"
#include "export/carve_dxf_writer.h"
#include "export/carve_svg_writer.h"
#include "export/cut_route.h"
#include "export/gcode_writer.h"
#include "geometry/travel_order.h"

namespace kerfline {
namespace {

double millimetre(DrawingUnits units) { return units == DrawingUnits::Inch ? 1 / 25.4 : 1.0; }

std::string lengthText(double v, DrawingUnits units) {
  return gcodeNumber(v, units) + (units == DrawingUnits::Inch ? " in" : " mm");
}

}  // namespace

VCarveSettings carveSettings(const ConversionOptions& options) {
  const VCarveOptions& v = options.vcarve;
  VCarveSettings s;
  s.bitAngle = v.bitAngle;
  s.bitDiameter = v.bitDiameter;
  s.maxDepth = v.maxDepth;
  s.stepOver = options.fill.stepOver.value_or(kDefaultStepOver);
  s.clearTool = v.clearTool;
  s.tolerance = carvingTolerance(options);
  // Cutting back along a side branch costs its length at the feed; lifting out instead costs
  // the plunge from Z up back down to the branch's depth at the plunge feed (the rapids
  // besides are quick): as long as cutting (Z up + depth) x feed / plunge feed.
  const double feed = options.gcode.feed.value_or(defaultFeed(options.units));
  const double plunge = options.gcode.plungeFeed.value_or(defaultPlungeFeed(options.units));
  const double zUp = carveZUp(options);
  if (feed > 0 && plunge > 0) {
    s.retraceLimit = zUp * feed / plunge;
    s.retracePerDepth = feed / plunge;
  }
  return s;
}

namespace {

// The rapid travel of program from the origin, drawing units: from each stroke's end to the
// next one's start, where the next does not go on from there (a pass further down).
double carveTravel(const CarveProgram& program) {
  Vec2 at = kToolStart;
  double travel = 0;
  for (std::size_t i = 0; i < program.strokes.size(); ++i) {
    const CarvePath& stroke = program.strokes[i];
    if (stroke.empty()) continue;
    if (i >= program.continues.size() || !program.continues[i])
      travel += std::hypot(stroke.front().x - at.x, stroke.front().y - at.y);
    at = {stroke.back().x, stroke.back().y};
  }
  return travel;
}

// The rapid travel of strokes cut from the origin in the order given, each in its passes: a
// stroke cut an even number of times ends where it began.
double givenTravel(const std::vector<CarvePath>& strokes, const ConversionOptions& options) {
  Vec2 at = kToolStart;
  double travel = 0;
  for (const CarvePath& s : strokes) {
    if (s.empty()) continue;
    travel += std::hypot(s.front().x - at.x, s.front().y - at.y);
    const CarvePoint& end = passCount(s, options.gcode.depthPerPass, kMaxPasses) % 2 == 0 ? s.front() : s.back();
    at = {end.x, end.y};
  }
  return travel;
}

// The strokes in an order planned for short rapid travel from the origin, each split into its
// passes; an open stroke may be cut from either end. Returns the program's rapid travel, that
// of the strokes in the order given, and the bound no order beats.
TravelFigures planInto(std::vector<CarvePath> strokes, const ConversionOptions& options,
                       CarveProgram& program) {
  std::vector<Contour> ends;
  ends.reserve(strokes.size());
  for (const CarvePath& s : strokes)
    ends.push_back(Contour{{{s.front().x, s.front().y}, {s.back().x, s.back().y}}, false, 0});
  std::vector<const Contour*> paths;
  for (const Contour& c : ends) paths.push_back(&c);
  TravelOptions travel;
  travel.start = kToolStart;
  const TravelPlan plan = planTravel(paths, {}, travel);
  TravelFigures figures;
  figures.textOrderTravel = givenTravel(strokes, options);
  figures.lowerBound = travelLowerBound(paths, kToolStart);
  for (const CutStep& step : plan.steps) {
    CarvePath& s = strokes[step.path];
    if (step.reversed) std::reverse(s.begin(), s.end());
    bool first = true;
    for (CarvePath& pass : passesOf(s, options.gcode.depthPerPass, kMaxPasses)) {
      program.strokes.push_back(std::move(pass));
      program.continues.push_back(!first);
      first = false;
    }
  }
  figures.travel = carveTravel(program);
  return figures;
}

// An inlay's part carves to the pocket's depth, with floor ridges kept to half the glue gap
// (so they never bear on the mate); the plug's axis runs deeper (carving/inlay.h says why).
std::optional<InlayDepths> applyInlay(const ConversionOptions& options, VCarveSettings& s) {
  const VCarveOptions& v = options.vcarve;
  if (v.inlay == InlayPart::None) return std::nullopt;
  VCarveSettings pocket = s;
  pocket.maxDepth = v.inlayDepth ? v.inlayDepth : v.maxDepth;
  const double gap = v.glueGap.value_or(0.5 * millimetre(options.units));
  const InlayDepths depths = inlayDepths(depthLimit(pocket), gap);
  s.maxDepth = depths.pocket;
  s.floorRidge = gap / 2;
  if (v.inlay == InlayPart::Male) s.startDepth = depths.plugStart;
  return depths;
}

}  // namespace

double carvingTolerance(const ConversionOptions& options) {
  // A fiftieth of a tenth of a millimetre: well below what a V-bit's tip resolves, and fine
  // enough that the cut passes the outline by no more than the outline's own flattening.
  // A curve tolerance the job asks for holds for the axis as for the outline.
  return options.tolerance.value_or(0.002 * millimetre(options.units));
}

CarveJob carveDrawing(const Drawing& drawing, const ConversionOptions& options,
                      const Checkpoint& checkpoint) {
  VCarveSettings settings = carveSettings(options);
  const std::optional<InlayDepths> inlay = applyInlay(options, settings);
  const bool plug = options.vcarve.inlay == InlayPart::Male;
  const DrawingUnits units = options.units;
  CarveJob job;
  std::vector<CarvePath> vbit, clearing;
  std::vector<std::vector<GridRing>> plugLetters;
  const auto take = [&](RegionCarving carved) {
    job.flat = job.flat || carved.flat;
    for (CarvePath& s : carved.vbit) vbit.push_back(std::move(s));
    for (CarvePath& s : carved.clearing) clearing.push_back(std::move(s));
    for (std::vector<Vec2>& ring : carved.floor) job.floors.push_back(Contour{std::move(ring), true, 0});
  };
  const double lineDepth =
      std::min(options.vcarve.maxDepth.value_or(millimetre(units)), depthLimit(settings));
  std::size_t lines = 0;
  for (const PlacedCharacter& c : drawing.characters) {
    if (checkpoint) checkpoint();
    bool hasArea = false;
    for (const Contour& k : c.contours) {
      if (k.closed) {
        hasArea = true;
        continue;
      }
      // A single-line face has no area to carve: its line is engraved at one depth.
      if (inlay) throw Error("Single-line faces have no area to inlay: choose a face with outlines.");
      CarvePath& stroke = vbit.emplace_back();
      for (const Vec2& p : k.points) stroke.push_back({p.x, p.y, -lineDepth});
      if (stroke.empty()) vbit.pop_back(); else ++lines;
    }
    if (!hasArea) continue;
    if (plug) {
      plugLetters.push_back(regionRingsOf(c));
    } else {
      take(carveRegion(regionRingsOf(c), settings, checkpoint));
    }
  }
  std::optional<PlugRegion> plugArea;
  if (plug) {
    plugArea = plugRegion(plugLetters, options.vcarve.inlayMargin.value_or(2 * millimetre(units)));
    if (checkpoint) checkpoint();
    take(carveRegion(plugArea->rings, settings, checkpoint));
  }
  if (lines > 0)
    job.notes.push_back(std::to_string(lines) + (lines == 1 ? " open path" : " open paths") +
                        " of single-line faces (no area to carve) engraved along the line at " +
                        lengthText(lineDepth, units) + ".");

  char angle[32];
  std::snprintf(angle, sizeof angle, "%g", settings.bitAngle);
  std::string bit = std::string("V-bit ") + angle + " deg";
  if (settings.bitDiameter) bit += ", diameter " + lengthText(*settings.bitDiameter, units);
  job.vbit.operation = !inlay ? "V-carve along the medial axis"
                      : plug ? "V-carve of an inlay's plug, letters mirrored"
                             : "V-carve of an inlay's pocket";
  job.vbit.cutter.bitAngle = settings.bitAngle;
  job.vbit.tool = bit;
  const double limit = depthLimit(settings);
  job.vbit.notes.push_back(std::isfinite(limit) ? "depth limit " + lengthText(limit, units)
                                                : std::string("depth limit none"));
  if (inlay && !plug)
    job.vbit.notes.push_back("pocket for a plug carved with glue gap " +
                             lengthText(inlay->glueGap, units));
  if (plug) {
    const PlugRegion& r = *plugArea;
    job.vbit.notes.push_back("letters mirrored about X " + gcodeNumber(r.mirrorX, units) +
                             "; walls meet their outline at Z -" + gcodeNumber(inlay->plugStart, units) +
                             ", background at Z -" + gcodeNumber(inlay->plugDepth, units));
    job.vbit.notes.push_back("saw the plug out along its box, X " + gcodeNumber(r.left, units) + " to " +
                             gcodeNumber(r.right, units) + ", Y " + gcodeNumber(r.bottom, units) +
                             " to " + gcodeNumber(r.top, units));
    job.vbit.notes.push_back("turn it over about X " + gcodeNumber(r.mirrorX, units) +
                             " and press it in: the walls bear, the glue gap " +
                             lengthText(inlay->glueGap, units) + " stays over the floor");
  }
  if (job.flat) {
    job.vbit.notes.push_back(settings.clearTool ? "flat floor: edge traced by this bit, the rest cleared by the clearing program"
                                                : "flat floor cleared by this bit in offset passes");
  }
  job.travel = planInto(std::move(vbit), options, job.vbit);
  if (settings.clearTool) {
    job.clearing.operation = "floor clearing of a V-carve";
    job.clearing.cutter.diameter = *settings.clearTool;
    job.clearing.tool = "flat end mill, diameter " + lengthText(*settings.clearTool, units);
    job.clearing.notes.push_back("floor at " + lengthText(limit, units));
    const TravelFigures clearingTravel = planInto(std::move(clearing), options, job.clearing);
    job.travel.travel += clearingTravel.travel;
    job.travel.textOrderTravel += clearingTravel.textOrderTravel;
    job.travel.lowerBound += clearingTravel.lowerBound;
    if (!job.flat) job.notes.push_back("No letter reaches the depth limit: the clearing program cuts nothing.");
  }
  return job;
}

void checkCarveForm(const ConversionOptions& options) {
  if (options.format != OutputFormat::Gcode && options.format != OutputFormat::Closed &&
      options.format != OutputFormat::Svg)
    throw Error("V-carving is written in the G-code, closed DXF or SVG form.");
}

CarveJob writeCarving(const std::string& path, const Drawing& drawing,
                      const ConversionOptions& options) {
  checkCarveForm(options);
  if (options.gcode.laser) throw Error("V-carving needs a router, not a laser.");
  if (options.vcarve.clearTool.has_value() == options.vcarve.clearOutput.empty())
    throw Error("A clearing tool needs a file for its program, and a file a clearing tool.");
  CarveJob job = carveDrawing(drawing, options);
  // The clearing program goes to its own file in the same form: a CAM reader of the DXF or
  // a viewer of the SVG sees each tool apart, as the machine runs them.
  const auto save = [&](const std::string& file, const CarveProgram& program) {
    switch (options.format) {
      case OutputFormat::Closed:
        saveCarveDxf(file, program, drawing.layer, options);
        break;
      case OutputFormat::Svg:
        saveCarveSvg(file, program, drawing.layer, options, carvingTolerance(options));
        break;
      default:
        saveCarveGcode(file, program, options);
    }
  };
  if (options.vcarve.clearTool) save(options.vcarve.clearOutput, job.clearing);
  save(path, job.vbit);
  return job;
}

}  // namespace kerfline
