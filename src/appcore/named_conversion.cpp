#include "appcore/named_conversion.h"

#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <optional>

#include "appcore/batch_arguments.h"
#include "appcore/conversion_report.h"
#include "appcore/drawable_text.h"
#include "appcore/option_table.h"
#include "appcore/production_run.h"
#include "appcore/settings_file.h"
#include "appcore/settings_location.h"
#include "appcore/text_dump.h"
#include "appcore/toolpath_settings.h"
#include "common/file_reader.h"
#include "export/drawing_export.h"
#include "export/output_file.h"
#include "export/temporary_registry.h"
#include "export/number_rule.h"
#include "export/text_export.h"
#include "export/toolpath_export.h"
#include "richtext/document_loader.h"
#include "richtext/plain_text.h"
#include "typography/placed_export.h"
#include "vectorizer/UTTF2Vct.h"
#include "vectorizer/face_list.h"

namespace kerfline {
namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr const char* kStandardStream = "-";

// One failure of one file, told with the file it concerns.
struct FileError {
  std::string file;
  std::string reason;
};

StyledText loadInput(const std::string& input, const TFontDescription& plainFont) {
  if (input != kStandardStream) {
    // The system's own words for a name that cannot be read ("No such file or directory").
    if (::access(input.c_str(), R_OK) != 0) throw FileError{input, std::strerror(errno)};
    try {
      return loadDocument(input, plainFont);
    } catch (const Error& e) {
      throw FileError{input, e.what()};
    }
  }
  FileContent content = readToEnd(STDIN_FILENO, kMaxDocumentBytes);
  try {
    if (content.status != ReadStatus::Ok) throw Error("Failed to Load Stream");
    return loadDocumentBytes(content.bytes, plainFont);
  } catch (const Error& e) {
    throw FileError{"standard input", e.what()};
  }
}

// Spacing, ligatures, tracking, alignment and automatic pitch alone still fit the two classic
// forms, whose report tells no drawing facts: the file is all there is to tell of them.
bool reportsDrawingFacts(const ConversionOptions& options) {
  ConversionOptions rest = options;
  rest.spacing = SpacingMode::Classic;
  rest.ligatures = false;
  rest.tracking = 0;
  rest.align = Alignment::Left;
  rest.autoPitch = false;
  return needsDrawingExport(rest);
}

// A Z text from the settings file. One that is no finite number (nan, a typo) would be written
// as 0 by the classic rule: it is not used, the classic default is, and the run says so. One
// out of the limits a machine can mean is kept by the classic forms, whose bytes follow their
// own rule, and replaced in the others, which would write it into a machine's program.
std::string usableZ(const std::string& stored, const std::string& classicDefault,
                    std::string_view option, bool classicForms, std::vector<std::string>& notes) {
  const OptionDescriptor& limits = optionNamed(option);
  const std::optional<float> value = parseFiniteNumber(stored);
  if (value && (classicForms || withinLimits(limits, *value))) return stored;
  notes.push_back(settingRefusal(limits, limits.key, stored) + "; " + classicDefault + " used instead");
  return classicDefault;
}

// What the report lists: the settings the run did not use, then what the job left out.
std::vector<std::string> withSettingsNotes(std::vector<std::string> settingsNotes,
                                           const std::vector<std::string>& jobNotes) {
  settingsNotes.insert(settingsNotes.end(), jobNotes.begin(), jobNotes.end());
  return settingsNotes;
}

// Writes the drawing; says what it wrote where the report tells drawing facts (the figures
// only --report shows are left out unless shown).
std::optional<DrawingExportReport> writeDrawing(const std::string& path, const StyledText& text,
                                                const ConversionOptions& options,
                                                TTTFToVectorConverter& converter, bool shown) {
  if (!reportsDrawingFacts(options)) {
    exportTextFile(path, text, options, converter);
    return std::nullopt;
  }
  DrawingExportReport report;
  report.travelBound = shown;
  exportTextFile(path, text, options, converter, &report);
  return report;
}

// The file beside INPUT: the batch rule's name, whose ending then follows the form, so that a
// program or picture is never written under a drawing's name (the DXF forms keep ".DXF").
std::string outputNameFor(const std::string& input, OutputFormat format) {
  std::string name = batchOutputName(input);
  const char* ending = format == OutputFormat::Svg     ? ".svg"
                       : format == OutputFormat::Gcode ? ".nc"
                                                       : nullptr;
  if (ending && name.ends_with(".DXF")) name.replace(name.size() - 4, 4, ending);
  return name;
}

// A private folder for a drawing bound for standard output, removed with what it holds.
class ScratchFolder {
 public:
  ScratchFolder() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/kerfline-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
      throw FileError{"standard output", "cannot make a temporary folder: " +
                                             std::string(std::strerror(errno))};
    }
    folder_ = pattern;
    registeredFolder_.emplace(folder_, true);
    registeredFile_.emplace(file());
  }
  ~ScratchFolder() {
    ::unlink(file().c_str());
    ::rmdir(folder_.c_str());
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  std::string file() const { return folder_ + "/drawing"; }

 private:
  std::string folder_;
  // An interrupted run leaves neither the finished drawing nor its folder behind.
  std::optional<RegisteredTemporary> registeredFolder_, registeredFile_;
};

// The finished drawing, copied once complete: nothing reaches a pipe unless the export
// succeeded. Copied in pieces, so a drawing of hundreds of megabytes needs no memory of its size.
void copyToStandardOutput(const std::string& path, std::ostream& out) {
  std::ifstream in(path, std::ios::binary);
  char buffer[1 << 16];
  while (in) {
    in.read(buffer, sizeof buffer);
    out.write(buffer, in.gcount());
  }
  if (in.bad() || !in.eof()) throw FileError{"standard output", "Failed to read the drawing back"};
  if (!out.flush()) throw FileError{"standard output", "Cannot write to standard output"};
}

}  // namespace

int runNamedConversion(const ConvertCommand& command, const std::string& programFolder,
                       std::ostream& out, std::ostream& err) {
  if (command.action == ConvertAction::ListFonts) {
    out << faceListText();
    return kExitOk;
  }

  const SettingsLocation settings =
      findSettingsFile(programFolder, command.settingsFile.value_or(""));
  // A settings file named on the command line must be one: a typo, a folder or a device would
  // otherwise convert silently with the defaults while the report named it as the source.
  if (command.settingsFile) {
    if (const std::optional<std::string> problem = settingsFileProblem(*command.settingsFile)) {
      err << "kerfline-convert: --settings: cannot read '" << *command.settingsFile
          << "': " << *problem << '\n';
      return kExitUsage;
    }
  }
  const LayerSettings stored = Loadini(settings.path);
  ConversionOptions options = command.options;
  options.classic.layerText = command.layer.value_or(stored.layer);
  std::vector<std::string> settingsNotes;
  const bool classicForms = !reportsDrawingFacts(options);
  options.classic.zMoveText = command.zUp.value_or(
      usableZ(stored.zUp, LayerSettings{}.zUp, "--z-up", classicForms, settingsNotes));
  options.classic.zLevelText = command.zCut.value_or(
      usableZ(stored.zDown, LayerSettings{}.zDown, "--z-cut", classicForms, settingsNotes));
  // A settings file named on the command line brings its production run (the window's
  // Production panel) too; what the command line sets itself wins.
  ProductionOptions productionRun = command.production;
  if (command.settingsFile) {
    ConversionOptions stored;
    ProductionOptions run;
    for (std::string& note : loadProductionChoices(settings.path, stored, run))
      settingsNotes.push_back(std::move(note));
    mergeProductionChoices(productionRun, options, run, stored);
  }
  for (const std::string& note : settingsNotes) {
    err << "kerfline-convert: " << settings.path << ": " << note << '\n';
  }
  // A run's items are new work with no classic file to match: unless --pitch is given, their
  // lines are spaced by their fonts' line heights, so that a name never lies across its role.
  if (productionRun.active() && !command.pitchGiven) options.autoPitch = true;

  // Each job: where the text comes from, and the file it goes to.
  struct Job {
    std::optional<std::string> input;  // none: --text
    std::string output;
  };
  std::vector<Job> jobs;
  if (command.text) {
    jobs.push_back({std::nullopt, command.output.value_or("")});
  } else {
    for (const std::string& input : command.inputs) {
      jobs.push_back({input, command.output.value_or(outputNameFor(input, options.format))});
    }
  }

  // A merge file is read once, before any text: a bad one stops the run with nothing written.
  std::optional<CsvTable> mergeTable;
  if (productionRun.mergeFile) {
    try {
      mergeTable = readCsvFile(*productionRun.mergeFile);
    } catch (const Error& e) {
      err << "kerfline-convert: " << e.what() << '\n';
      return kExitFailed;
    }
  }
  const CsvTable* table = mergeTable ? &*mergeTable : nullptr;

  TTTFToVectorConverter converter;
  int status = kExitOk;
  for (const Job& job : jobs) {
    std::string target = job.output;
    try {
      const StyledText text = job.input ? loadInput(*job.input, command.plainFont)
                                        : decodePlainText(*command.text, command.plainFont);
      if (command.action == ConvertAction::DumpText) {
        out << textDumpJson(productionRun.active()
                                ? firstItemText(text, productionRun, table)
                                : text)
            << '\n';
        continue;
      }
      if (productionRun.active()) {
        ProductionJob production{productionRun, table, options, job.output, {settings.path},
                                 command.report && !command.quiet};
        if (job.input && *job.input != kStandardStream) production.protectedFiles.push_back(*job.input);
        if (productionRun.mergeFile) production.protectedFiles.push_back(*productionRun.mergeFile);
        production.options.sourceName = job.input ? (*job.input == kStandardStream ? "standard input" : *job.input)
                                                  : "--text";
        if (runProduction(text, production, converter, out, err) != kExitOk) status = kExitFailed;
        continue;
      }
      const bool toStandardOutput = job.output == kStandardStream;
      // Whatever name the output is given, it must not replace what this run reads.
      if (!toStandardOutput) {
        try {
          if (job.input && *job.input != kStandardStream)
            refuseToReplace(job.output, *job.input, "input file");
          refuseToReplace(job.output, settings.path, "settings file");
        } catch (const Error& e) {
          err << "kerfline-convert: " << e.what() << '\n';
          status = kExitFailed;
          continue;
        }
      }
      if (toStandardOutput) target = "standard output";
      std::optional<ScratchFolder> scratch;
      if (toStandardOutput) scratch.emplace();
      const std::string written = scratch ? scratch->file() : job.output;
      ConversionOptions jobOptions = options;
      jobOptions.sourceName = job.input ? (*job.input == kStandardStream ? "standard input" : *job.input)
                                        : "--text";
      std::optional<DrawingExportReport> drawn;
      converter.ClearLoadFailures();
      try {
        // Fonts that cannot be loaded must not replace a good file with an empty one.
        requireDrawableText(text, options.classic.resolution, converter);
        drawn = writeDrawing(written, text, jobOptions, converter, command.report);
      } catch (const Error& e) {
        throw FileError{target, e.what()};
      }
      // Faces and glyphs that could not be loaded are named even when the rest was drawn.
      std::vector<std::string> notes = loadFailureLines(converter.LoadFailures());
      if (drawn) {
        for (std::string note : {vanishedSummary(drawn->toolpath.vanished),
                                 overlapSummary(drawn->toolpath.overlapping,
                                                drawn->toolpath.moreOverlapping),
                                 tabSummary(drawn->toolpath.tabs),
                                 bridgeSummary(drawn->toolpath.bridges)})
          if (!note.empty()) notes.push_back(std::move(note));
        // A lead cut short changes where the tool pierces: said like the kerf's losses.
        for (const std::string& note : drawn->leadNotes) notes.push_back(note);
        // Area a pocket leaves, single-line paths engraved instead of filled.
        for (const std::string& note : drawn->fillNotes) notes.push_back(note);
        for (const std::string& note : drawn->carveNotes) notes.push_back(note);
      }
      // Material the kerf leaves uncut is never passed over in silence, report or not.
      for (const std::string& note : notes) err << "kerfline-convert: " << target << ": " << note << '\n';
      if (scratch) copyToStandardOutput(written, out);
      if (command.report && !command.quiet) {
        printConversionReport(toStandardOutput ? err : out,
                              ReportFacts{target, written, options.format, options.classic,
                                          settings.path, text.length(), options.units, drawn,
                                          withSettingsNotes(settingsNotes, notes)});
      }
    } catch (const FileError& e) {
      err << "kerfline-convert: " << e.file << ": " << e.reason << '\n';
      status = kExitFailed;
    } catch (const Error& e) {
      err << "kerfline-convert: " << (job.input ? *job.input : target.empty() ? "--text" : target)
          << ": " << e.what() << '\n';
      status = kExitFailed;
    }
  }
  return status;
}

}  // namespace kerfline
