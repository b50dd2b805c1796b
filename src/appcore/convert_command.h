#pragma once
#include <optional>
#include <string>
#include <vector>

#include "common/error.h"
#include "common/font_description.h"
#include "appcore/production_options.h"
#include "export/conversion_options.h"

namespace kerfline {

/// A command line that cannot be run as given; kerfline-convert prints it and exits with 2.
class UsageError : public Error {
 public:
  using Error::Error;
};

/// What a named command line asks kerfline-convert to do.
enum class ConvertAction {
  Convert,    ///< write each input (or --text) as a drawing
  DumpText,   ///< print what was read as JSON instead of writing a drawing
  ListFonts,  ///< print the installed font families
  Help,       ///< print the help text
  Version,    ///< print the program's name and version
};

/// A named command line after its rules: every value checked, nothing read or written yet.
struct ConvertCommand {
  ConvertAction action = ConvertAction::Convert;
  std::vector<std::string> inputs;          ///< file names as typed; "-" is standard input
  std::optional<std::string> output;        ///< -o: the file, or "-" for standard output
  std::optional<std::string> text;          ///< --text: UTF-8 text converted instead of a file
  std::optional<std::string> settingsFile;  ///< --settings: the settings file to read
  bool report = false;                      ///< --report: tell what was written
  bool quiet = false;                       ///< -q: nothing on standard output but the data
  /// Every conversion option; the layer and Z texts come from the settings file unless the
  /// three overrides below are given.
  ConversionOptions options;
  std::optional<std::string> layer;  ///< --layer, as typed
  std::optional<std::string> zUp;    ///< --z-up, as typed
  std::optional<std::string> zCut;   ///< --z-cut, as typed
  bool pitchGiven = false;           ///< --pitch given (a number or auto)
  /// Font of plain text and of --text: the editor's default changed by --font, --size,
  /// --bold and --italic.
  TFontDescription plainFont;
  /// Serial numbers, a merge file and sheets; none set: the text is written as it is.
  ProductionOptions production;
  std::optional<std::string> pathFile;  ///< --path-file: the SVG file whose path the text follows
  std::string pathId;                   ///< --path-id: that path's id (empty: the first path)
};

/// True when the arguments after the program name are the named form: any argument that
/// starts with "--" or is one of -o, -f, -q, -V, except --report, --help or -h as the first
/// argument (which the positional form takes as it always has).
bool isNamedCommandLine(const std::vector<std::string>& args);

/// Reads a named command line. Throws UsageError naming the option and the value for an
/// unknown option, a missing value, a value that is not a number or out of range, and for
/// combinations that cannot run (no input, --text with inputs, -o with several inputs ...).
ConvertCommand parseConvertCommand(const std::vector<std::string>& args);

}  // namespace kerfline
