#pragma once
// The one codec of a job's options and the settings file: which section and key hold each
// choice, read back within the option table's limits.
#include <string>
#include <string_view>
#include <vector>

#include "appcore/production_options.h"
#include "export/conversion_options.h"

namespace kerfline {

struct OptionDescriptor;

/// Settings-file section of the export settings, weld, kerf and G-code among them.
inline constexpr const char* kToolpathSection = "Export";
/// The settings-file section of the V-carving's numbers (bit, depth, clearing).
inline constexpr const char* kCarveSection = "Carve";

/// Reads section "Export" of the settings file at path into options: Weld and Laser (0 or 1),
/// KerfSide (outside, inside or on), Order (text or travel; empty: the form's own) and the
/// option table's rows of that section (Kerf, Feed,
/// PlungeFeed, Spindle, DepthPerPass, Power: plain numbers, "." separator; empty: not set).
/// Section "Carve" likewise holds the carving's rows (BitAngle, BitDiameter, MaxDepth,
/// ClearTool) and ClearOutput, the clearing program's file (empty: the V-bit clears the floor).
/// A missing key leaves its setting as it was; so does a value that is not valid for it (not
/// a number, nan, out of the table's limits), and such a value is named in the lines returned.
std::vector<std::string> loadToolpathSettings(const std::string& path, ConversionOptions& options);

/// Writes the weld, kerf and G-code keys of section "Export"; other sections and keys are kept.
/// Throws Error("Unable to write to <path>") as the settings file does.
void saveToolpathSettings(const std::string& path, const ConversionOptions& options);

/// The export dialog's choices: Format (closed or svg), DxfVersion, Units (mm or in), Fit
/// (none, width or height) with FitSize, then loadToolpathSettings. Values this program did not
/// write read as the defaults; refused numbers are named in the lines returned.
std::vector<std::string> loadExportChoices(const std::string& path, ConversionOptions& options);
/// Writes what loadExportChoices reads.
void saveExportChoices(const std::string& path, const ConversionOptions& options);

/// Section "Typography": Spacing (classic or font), Tracking, Align (left, center, right),
/// AutoPitch and Ligatures (0 or 1), read regardless of case; missing or refused: the default.
std::vector<std::string> loadTypographyChoices(const std::string& path, ConversionOptions& options);
/// Writes section "Typography"; a file without that section is left alone while every choice
/// is still the default, so that a settings file from before these choices keeps its bytes.
void saveTypographyChoices(const std::string& path, const ConversionOptions& options);

/// Section "Layout", the sign layout: the option table's rows of that section (Rotate, Slant,
/// StretchX, ArcRadius, ArcAngle, Margin, FrameMargin, HoleInset), Mirror (none, x, y),
/// ArcSide (top, bottom), ArcAlign (center, left, right), ArcMode (rigid, warp), FitBox
/// (WIDTHxHEIGHT, empty: none), Anchor (center, top-left, ...), Stretch (0 or 1), Frame (none,
/// rect, rounded:R, ellipse, outline:OFFSET) and Holes (N,DIAMETER, empty: none). Missing:
/// the default; refused values are named in the lines returned and leave the default.
std::vector<std::string> loadLayoutChoices(const std::string& path, ConversionOptions& options);
/// Writes section "Layout"; a file without it is left alone while the layout is the default.
void saveLayoutChoices(const std::string& path, const ConversionOptions& options);

/// The SVG file a sign's text follows, as the window keeps it in section "Layout": PathFile
/// and PathId (the path element; empty: the file's first). The window also keeps there
/// PathAlign (left, center, right) and Margin (the fit box's), which loadLayoutChoices reads.
struct LayoutPathFile {
  std::string file;  ///< empty: no path file
  std::string id;
  friend bool operator==(const LayoutPathFile&, const LayoutPathFile&) = default;
};
/// Reads PathFile and PathId of section "Layout"; missing: empty.
LayoutPathFile loadLayoutPathFile(const std::string& path);
/// Writes them; a file without section "Layout" is left alone while source.file is empty.
void saveLayoutPathFile(const std::string& path, const LayoutPathFile& source);

/// Section "Production", a run of many items: MergeFile (a path), SerialStart, SerialStep,
/// Copies, Sheet (WIDTHxHEIGHT), Gap, Columns, Tabs, TabWidth, TabHeight and Stencil (plain
/// numbers within the option table's limits of their command-line options; empty: not set).
/// Missing or refused: not set; refused values are named in the lines returned.
std::vector<std::string> loadProductionChoices(const std::string& path, ConversionOptions& options,
                                               ProductionOptions& production);
/// Writes section "Production"; a file without it is left alone while nothing is set.
void saveProductionChoices(const std::string& path, const ConversionOptions& options,
                           const ProductionOptions& production);

/// Fills what a command line left unset from a stored run: the merge file or copies when it
/// asks for neither, the serial start and step each, the sheet with its gap and columns when
/// it gives no sheet, the tabs (with their width and height) when it asks for none, and the
/// stencil bridges; tabs and bridges only for the forms that have them (not the classic two).
void mergeProductionChoices(ProductionOptions& run, ConversionOptions& options,
                            const ProductionOptions& stored, const ConversionOptions& storedOptions);

/// "[Export] Kerf=1e13 is not a number from 0.0001 to 100": why a stored value is refused.
std::string settingRefusal(const OptionDescriptor& row, std::string_view key, std::string_view text);

}  // namespace kerfline
