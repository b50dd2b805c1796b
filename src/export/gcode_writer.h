#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "export/conversion_options.h"
#include "geometry/contour.h"

namespace kerfline {

class OutputFile;

/// Cutting feed when none is given: 600 mm/min, or 24 in/min (about the same speed).
double defaultFeed(DrawingUnits units);
/// Plunge feed when none is given: a third of the cutting feed, 200 mm/min or 8 in/min.
double defaultPlungeFeed(DrawingUnits units);
/// Laser power S when none is given: 1000, the full scale GRBL sets out of the box ($30).
inline constexpr double kDefaultLaserPower = 1000;
/// More passes than this per contour are refused as a mistyped depth per pass.
inline constexpr int kMaxPasses = 1000;

/// The Z a router crosses tabs at: Z cutting plus options.tabHeight, when the G-code is for a
/// router (not a laser), without arcs, and that lies below the surface (Z 0); else none, and
/// a tab is a gap the tool lifts over, as in every other form.
std::optional<double> raisedTabZ(const ConversionOptions& options);

/// The Z values of the passes over one contour: -D, -2D, ... above zCut, then zCut itself;
/// only zCut without a depth per pass or when zCut is not below -D. A pass that would print
/// the same as zCut at the unit's decimals is left out. Throws Error past kMaxPasses passes.
std::vector<double> passDepths(double zCut, std::optional<double> depthPerPass,
                               DrawingUnits units);

/// v with the unit's fixed decimals (4 for mm, 5 for inch), "." always, no "-" on a zero,
/// correctly rounded from v's exact value. Throws Error("Coordinate out of range.") for a
/// value that is not finite.
std::string gcodeNumber(double v, DrawingUnits units);

/// A whole comment line, "(text)" and a line break: parentheses and control bytes in text
/// replaced, bytes beyond ASCII as "?", shortened to the length controllers read.
std::string gcodeCommentLine(std::string_view text);

/// Writes the drawing as a G-code program in the subset GRBL and LinuxCNC both run: a
/// date-free header comment naming source and settings, G21/G20, G90, G17; each contour in the
/// drawing's order from its first point (an open path from its end nearer the tool, unless
/// planned: then every open path runs as given) with a
/// plunge at the plunge feed, the cut at the feed and a retract, or M4/M5 around it in laser
/// mode (no Z word at all); G0 to Z up, M5 and M2 at the end. Z up and Z cutting are read from
/// options.classic as the classic forms read them. Throws Error for settings a machine must not
/// run (Z up not above Z cutting, feeds not positive, too many passes).
void writeGcode(OutputFile& file, const Drawing& drawing, const ConversionOptions& options,
                std::string_view sourceName, bool planned = false);

/// writeGcode into path (a temporary beside it, renamed over it when complete).
void saveGcodeFile(const std::string& path, const Drawing& drawing,
                   const ConversionOptions& options, std::string_view sourceName,
                   bool planned = false);

/// Writes several sheets into path as one program: each sheet's contours as writeGcode writes
/// them, and before every sheet after the first the tool raised, the spindle stopped and a
/// pause (M0) for the next sheet to be laid on the bed.
void saveGcodeSheets(const std::string& path, const std::vector<Drawing>& sheets,
                     const ConversionOptions& options, std::string_view sourceName,
                     bool planned = false);

}  // namespace kerfline
