#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "export/text_export.h"
#include "geometry/cut_leads.h"
#include "geometry/holding_tabs.h"
#include "geometry/stencil_bridges.h"
#include "layout/sign_layout.h"

namespace kerfline {

/// What file a conversion writes.
enum class OutputFormat {
  Lines,      ///< "Lines + Z moves" (the classic default)
  PolyLines,  ///< "PolyLines XY only"
  Closed,     ///< one closed POLYLINE (R12) or LWPOLYLINE (R2000) per contour
  Svg,        ///< a standalone SVG 1.1 drawing
  Gcode,      ///< a G-code program for GRBL and LinuxCNC
};

/// What one drawing unit is.
enum class DrawingUnits { Millimetre, Inch };

/// Which way the kerf offset moves the path.
enum class KerfSide {
  Outside,  ///< parts grow, holes shrink: the cut piece keeps its size
  Inside,   ///< parts shrink, holes grow: stencils and inlays
  On,       ///< no offset: the path is cut on its line (the only side for open paths)
};

/// In which order a file's paths are cut.
enum class CutOrder {
  Text,    ///< character by character as the text runs, each character's holes first
  Travel,  ///< planned for short rapid travel, every hole still before the outline holding it
};
/// The orders' names on the command line and in the settings file.
inline constexpr std::pair<std::string_view, CutOrder> kCutOrderNames[] = {
    {"text", CutOrder::Text}, {"travel", CutOrder::Travel}};

/// What a job makes of the letters.
enum class CutOperation {
  Profile,     ///< along the outline (the classic cut)
  VCarve,      ///< a V-bit along the medial axis, as deep as the letter is wide
  Pocket,      ///< the inside of each letter cleared (with background: around the letters)
  Hatch,       ///< parallel lines inside the letters (laser fill)
  OffsetFill,  ///< concentric offsets inward (laser offset fill)
};
/// The operations' names on the command line and in the settings file.
inline constexpr std::pair<std::string_view, CutOperation> kCutOperationNames[] = {
    {"profile", CutOperation::Profile}, {"vcarve", CutOperation::VCarve},
    {"pocket", CutOperation::Pocket},   {"hatch", CutOperation::Hatch},
    {"offset-fill", CutOperation::OffsetFill}};

/// The lead forms' names on the command line and in the settings file.
inline constexpr std::pair<std::string_view, LeadShape> kLeadShapeNames[] = {
    {"line", LeadShape::Line}, {"arc", LeadShape::Arc}};

/// How characters are placed along a line.
enum class SpacingMode {
  Classic,  ///< each character after the rightmost point of the one before, stretched by SPACE %
  Font,     ///< the font's own advances and kerning (HarfBuzz); SPACE is tracking
};

/// Where each line sits against the widest line.
enum class Alignment { Left, Center, Right };

/// Machine settings of the G-code writer, in drawing units per minute.
struct GcodeOptions {
  std::optional<double> feed;          ///< cutting feed; unset: the writer's default for the unit
  std::optional<double> plungeFeed;    ///< plunge feed; unset: the writer's default for the unit
  std::optional<int> spindleRpm;       ///< set: M3 S<rpm> after the header
  std::optional<double> depthPerPass;  ///< set (> 0): passes at -D, -2D, ... down to Z cutting
  bool laser = false;                  ///< no Z moves; M4 S<power> before and M5 after a contour
  std::optional<double> power;         ///< laser power S; unset: the writer's default
};

/// Clearing passes apart, as a share of the tool's width, when no step-over is given: wide
/// enough that neighbouring passes overlap and leave no ridge.
inline constexpr double kDefaultStepOver = 0.4;

/// Which part of an inlay a V-carving cuts.
enum class InlayPart {
  None,    ///< a plain carving
  Female,  ///< the pocket: the letters carved to the inlay's depth, the floor cleared
  Male,    ///< the plug: the area around the mirrored letters carved, the letters left standing
};
/// The parts' names on the command line and in the settings file.
inline constexpr std::pair<std::string_view, InlayPart> kInlayPartNames[] = {
    {"none", InlayPart::None}, {"female", InlayPart::Female}, {"male", InlayPart::Male}};

/// The V-carving of a job (--cut vcarve), in drawing units.
struct VCarveOptions {
  double bitAngle = 60;               ///< the V-bit's included angle, degrees
  std::optional<double> bitDiameter;  ///< set: no deeper than the cone this wide
  std::optional<double> maxDepth;     ///< set: no deeper; the floor below is cleared flat
  std::optional<double> clearTool;    ///< set: a flat end mill this wide clears the floor ...
  std::string clearOutput;            ///< ... in a second program written here
  InlayPart inlay = InlayPart::None;  ///< an inlay's pocket or plug instead of a plain carving
  std::optional<double> inlayDepth;   ///< the pocket's depth; unset: maxDepth
  std::optional<double> inlayMargin;  ///< the plug's box beyond the letters; unset: 2 mm
  std::optional<double> glueGap;      ///< left between the parts; unset: 0.5 mm
};

/// How the pocket, hatch and offset-fill operations fill the letters, in drawing units;
/// unset values take the fill module's defaults (fill_settings.h).
struct FillOptions {
  std::optional<double> toolDiameter;     ///< pocket: the cutter's width (required)
  std::optional<double> stepOver;         ///< pocket and V-carved floors: passes apart by this
                                          ///< fraction of the width; unset: kDefaultStepOver
  std::optional<double> finishAllowance;  ///< pocket: left on the walls for the finishing pass
  bool background = false;                ///< pocket: clear around the letters (raised letters)
  std::optional<double> margin;           ///< background: beyond the letters' box
  std::optional<double> interval;         ///< hatch and offset fill: lines apart (required)
  std::optional<double> hatchAngle;       ///< hatch: degrees counter-clockwise from X
  bool crossHatch = false;                ///< hatch: a second set of lines at the angle + 90
  bool unidirectional = false;            ///< hatch: every line cut the same way
  std::optional<double> overscan;         ///< hatch with the laser: run on this far, beam off
  bool outline = false;                   ///< hatch: the outline cut after the fill

  friend bool operator==(const FillOptions&, const FillOptions&) = default;
};

/// One conversion, as the command line, the window's export dialog and the settings file
/// describe it. The defaults are the classic output, byte for byte.
struct ConversionOptions {
  ExportSettings classic;                         ///< scale, pitch, resolution, space, layer, Z
  OutputFormat format = OutputFormat::Lines;      ///< what file to write
  int dxfVersion = 12;                            ///< closed form: 12 (AC1009) or 2000 (AC1015)
  DrawingUnits units = DrawingUnits::Millimetre;  ///< what a drawing unit is
  std::optional<double> fitWidth;   ///< scale every coordinate so the extent is this wide
  std::optional<double> fitHeight;  ///< ... or this high (drawing units; Z is never scaled)
  bool weld = false;                ///< union of overlapping outlines per line
  std::optional<double> kerf;       ///< kerf width in drawing units (> 0); unset: no offset
  KerfSide kerfSide = KerfSide::Outside;
  GcodeOptions gcode;
  std::optional<CutOrder> order;    ///< unset: the form's own (cutOrderFor)
  /// Closed rings, in drawing units on the scrap side (kerfSide says which): unset, none.
  std::optional<double> leadIn, leadOut, overcut;
  LeadShape leadShape = LeadShape::Line;
  std::string sourceName;           ///< what the text came from, named in a G-code header
  SpacingMode spacing = SpacingMode::Classic;
  bool ligatures = false;          ///< optional ligatures (liga, clig, dlig) in font spacing
  int tracking = 0;                ///< font spacing: hundredths of each character's em added
                                   ///< after it (the classic SPACE % stays in classic.spacePercent)
  Alignment align = Alignment::Left;
  bool autoPitch = false;          ///< line pitch from the fonts' line heights
  /// Curve pieces flattened so that the paths stay within this distance of the true outline
  /// (drawing units, above 0, after scale and fit); unset: RESOLUTION's fixed chord count.
  std::optional<double> tolerance;
  /// Paths written as lines and arcs fitted within the tolerance, after weld, kerf and order.
  bool arcs = false;
  // Holding tabs on closed contours (closed, svg and gcode forms); neither count nor spacing: none.
  std::optional<double> tabCount;      ///< tabs per contour
  std::optional<double> tabSpacing;    ///< ... or one per this length of contour
  std::optional<double> tabWidth;      ///< material left per tab; unset: kDefaultTabWidth
  std::optional<double> tabMinLength;  ///< shorter contours get no tab
  bool tabsOnHoles = false;            ///< holes too, not only parts' outlines
  /// Router G-code: the tool crosses each tab this far above the cut's depth instead of
  /// lifting out (raisedTabZ); unset, or not below the surface: a gap, as in every other form.
  std::optional<double> tabHeight;
  // Stencil bridges across letters' strokes to their islands; unset width: none.
  std::optional<double> stencilBridge;   ///< bridge width
  std::optional<double> bridgeCount;     ///< bridges per island; unset: 1
  std::optional<double> bridgeMinSpan;   ///< islands larger than this get at least two
  BridgeDirection bridgeDirection = BridgeDirection::Vertical;
  FillOptions fill;                ///< pocket, hatch and offset fill (unused by the profile)
  VCarveOptions vcarve;            ///< the V-bit and the floor's clearing (--cut vcarve)
  SignLayout layout;               ///< circle, transforms, fit box, frame and holes
  CutOperation cut = CutOperation::Profile;
};

/// The tolerance arcs are fitted within when none is given: 0.01 mm, or 0.0004 in (about the
/// same), well inside what a router or laser holds.
inline double defaultArcTolerance(DrawingUnits units) {
  return units == DrawingUnits::Inch ? 0.0004 : 0.01;
}

/// The tolerance curves are flattened within: as given, else arcs' default when arcs are asked,
/// else none (RESOLUTION rules).
inline std::optional<double> curveTolerance(const ConversionOptions& options) {
  if (options.tolerance) return options.tolerance;
  if (options.arcs) return defaultArcTolerance(options.units);
  return std::nullopt;
}

/// The bridges options ask for (stencilBridge set).
inline BridgeRule bridgeRuleFor(const ConversionOptions& options) {
  BridgeRule rule;
  rule.width = options.stencilBridge.value_or(1);
  rule.bridges = static_cast<int>(options.bridgeCount.value_or(1));
  rule.twoAbove = options.bridgeMinSpan;
  rule.direction = options.bridgeDirection;
  return rule;
}

/// The bridge directions' names on the command line.
inline constexpr std::pair<std::string_view, BridgeDirection> kBridgeDirectionNames[] = {
    {"vertical", BridgeDirection::Vertical}, {"horizontal", BridgeDirection::Horizontal},
    {"any", BridgeDirection::Any}};

/// A tab's width when none is given, in drawing units.
inline constexpr double kDefaultTabWidth = 1.0;

/// True when options ask for holding tabs.
inline bool asksForTabs(const ConversionOptions& options) {
  return options.tabCount || options.tabSpacing;
}

/// True when options change the paths after placing beyond weld and kerf: tabs or bridges.
inline bool shapesForProduction(const ConversionOptions& options) {
  return asksForTabs(options) || options.stencilBridge.has_value();
}

/// The tabs options ask for: the gap in the path is the tab's width plus the kerf, so that the
/// material left between the cut's two ends is the width asked.
inline TabRule tabRuleFor(const ConversionOptions& options) {
  TabRule rule;
  if (options.tabCount) rule.count = static_cast<int>(*options.tabCount);
  rule.spacing = options.tabSpacing;
  rule.width = options.tabWidth.value_or(kDefaultTabWidth);
  rule.kerf = options.kerf.value_or(0);
  rule.minLength = options.tabMinLength.value_or(0);
  rule.onHoles = options.tabsOnHoles;
  return rule;
}

/// True when options place characters exactly as the classic walk does: classic spacing,
/// left alignment, a numeric pitch and no sign layout (ligatures and tracking act in font
/// spacing only).
inline bool placesClassically(const ConversionOptions& options) {
  return options.spacing == SpacingMode::Classic && options.align == Alignment::Left &&
         !options.autoPitch && !options.layout.active();
}

/// The order options' paths are written in: as asked, else planned for travel in G-code
/// (the machine runs the file as written) and in text order in the DXF and SVG forms, whose
/// readers plan their own. The two classic forms are always written in text order.
inline CutOrder cutOrderFor(const ConversionOptions& options) {
  if (options.format == OutputFormat::Lines || options.format == OutputFormat::PolyLines)
    return CutOrder::Text;
  return options.order.value_or(options.format == OutputFormat::Gcode ? CutOrder::Travel
                                                                      : CutOrder::Text);
}

/// True when options ask for a lead-in, a lead-out or an overcut.
inline bool asksForLeads(const ConversionOptions& options) {
  return options.leadIn || options.leadOut || options.overcut;
}

/// True when the paths are written as a cut route (cut_route.h) rather than as the drawing
/// holds them: planned for travel, or given leads. Never in the two classic forms.
inline bool routesCuts(const ConversionOptions& options) {
  const bool classic =
      options.format == OutputFormat::Lines || options.format == OutputFormat::PolyLines;
  return !classic && (cutOrderFor(options) == CutOrder::Travel || asksForLeads(options));
}

/// SPACE as the user gives it (the command line's argument or option): the classic walk's
/// stretch, and in font spacing the tracking, so that one number means the same in both modes.
inline void setSpace(ConversionOptions& options, int percent) {
  options.classic.spacePercent = percent;
  options.tracking = percent;
}

}  // namespace kerfline
