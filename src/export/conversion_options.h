#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "export/text_export.h"
#include "geometry/cut_leads.h"
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
  SignLayout layout;               ///< circle, transforms, fit box, frame and holes
};

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
