// kerfline-convert: the unattended conversion of one text file to DXF, without a window.
// It applies the same argument rules and the same exports as the window's batch run.
#include <sys/stat.h>

#include <cstdio>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "app/batch_arguments.h"
#include "app/dxf_summary.h"
#include "app/program_folder.h"
#include "app/settings_file.h"
#include "common/error.h"
#include "export/text_export.h"
#include "richtext/document_loader.h"
#include "richtext/styled_text.h"
#include "vectorizer/UTTF2Vct.h"
#include "vectorizer/face_list.h"

namespace {

using namespace kerfline;

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

constexpr const char* kUsage = R"(Usage: kerfline-convert [--report] INPUT [SCALE [PITCH [RESOLUTION [SPACE [LAYER [MODE]]]]]]
       kerfline-convert --list-fonts
       kerfline-convert --help

Converts the text of INPUT, every character in its own font and size, into straight-line
outlines and writes them as a DXF file for a cutting machine.

INPUT       rich text (RTF) or plain text (UTF-8, UTF-16 with byte-order mark, or
            Windows-1252); the content decides, not the name. Plain text is set in the
            window's default font, MS Sans Serif at 8 points (or the face fontconfig
            puts in its place).
            The DXF goes beside INPUT: a final ".rtf", then a final ".txt" (any letter
            case) is removed and ".DXF" appended:  sign.rtf -> sign.DXF,
            sign.txt.rtf -> sign.DXF, notes.doc -> notes.doc.DXF.
            An existing file of that name is replaced.
SCALE       size, 1 to 10000, default 100. At 100 a 10-point capital is about
            1.7 drawing units tall (size grows with SCALE x point size).
PITCH       distance added to Y at each new line, default -2.000 (negative: lines go down).
RESOLUTION  straight strokes per curve piece, 1 to 100, default 2.
SPACE       space between characters in percent, 0 to 100, default 10: each character
            starts at (1 + SPACE/100) times the summed widths (origin to rightmost
            outline point) of the characters before it on its line.
LAYER       DXF layer of every entity, fewer than 40 characters; default: the "Layer"
            value of Reg.ini, else 0.
MODE        1  "PolyLines XY only": every stroke a two-vertex POLYLINE at Z cutting.
            2  "Lines + Z moves" (also when MODE is absent): every stroke a 3-D LINE at
               Z cutting, with a plunge line from Z up down to Z cutting at the start of
               every closed contour and a retract line back up at its end.
            Anything else writes nothing and exits with status 2.

Numbers are read with "." as decimal separator: optional blanks before, optional sign,
digits, optional fraction, optional exponent (1e1), nothing after. SCALE, RESOLUTION and
SPACE are rounded to the nearest integer (exact halves to even: 2.5 -> 2, 3.5 -> 4) and
clamped to their range (0.4 -> 1, 20000 -> 10000). PITCH is used as typed. An argument
that is not a number, or a LAYER of 40 or more characters, is ignored and its default
used. Arguments are positional, so to give a later one give all before it; an empty
argument ("") takes no position. Arguments after the seventh are ignored.

Z up (travel height) and Z cutting (cutting depth) come from the settings file Reg.ini
beside this program (section [Layer], keys Zup and Zdown, defaults 1.00 and 0.00), which
the window writes when it saves a DXF; kerfline-convert only reads it.

Single-line faces: the Hershey fonts (/usr/share/hershey-fonts) and the LFF fonts
(/usr/share/librecad/fonts, and your own in $XDG_DATA_HOME/kerfline/fonts) are faces like
any other: name one in the RTF font table ("ISO 3098", "Hershey Sans"; case and blanks do
not matter) and its characters are cut along their centre lines, each line as an open
path (a plunge at its start, a retract at its end) instead of a closed contour. Characters
such a face lacks come from an outline face, as for any face that lacks them.

Options (only as the first argument):
  --report      after writing, print the output file, its entity count and its extent
  --list-fonts  print every face, outline and single-line, one per line; a single-line
                face is marked (single-line) after its name
  --help, -h    print this text

Exit status: 0 written, 1 input missing or unreadable or the DXF could not be written,
2 usage error (no INPUT, or a MODE other than 1 or 2: nothing written).

Examples:
  kerfline-convert sign.rtf                      sign.DXF, Lines + Z moves, defaults
  kerfline-convert sign.txt 200 -4 8 0 CUT 1     twice the size, lines 4 apart, finer
                                                 curves, no extra spacing, layer CUT,
                                                 PolyLines
  kerfline-convert plate.txt 100 -3.5            lines 3.5 apart
)";

bool fileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

// The mode argument as typed: the seventh argument that is not empty.
std::string seventhArgument(const std::vector<std::string>& args) {
  std::size_t seen = 0;
  for (const std::string& a : args) {
    if (!a.empty() && ++seen == 7) return a;
  }
  return {};
}

const char* modeName(BatchMode mode) {
  return mode == BatchMode::PolyLines ? "PolyLines XY only" : "Lines + Z moves";
}

std::string extentText(const Extent& e) {
  if (e.empty) return "none";
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.6g .. %.6g", e.min, e.max);
  return buffer;
}

void printReport(const std::string& output, BatchMode mode, const ExportSettings& s,
                 const std::string& iniPath, std::int32_t characters) {
  DxfSummary summary = summarizeDxfFile(output);
  std::cout << "Wrote " << output << " (" << modeName(mode) << ")\n"
            << "  from " << characters << " characters; scale " << s.scale << ", pitch "
            << s.pitchText << ", resolution " << s.resolution << ", space " << s.spacePercent
            << "%, layer \"" << s.layerText << "\", Z up " << s.zMoveText << ", Z cutting "
            << s.zLevelText << " (settings from " << iniPath << ")\n";
  if (mode == BatchMode::PolyLines) {
    std::cout << "  " << summary.polylines << " POLYLINE entities\n";
  } else {
    std::cout << "  " << summary.lines << " LINE entities\n";
  }
  std::cout << "  X " << extentText(summary.x) << ", Y " << extentText(summary.y) << ", Z "
            << extentText(summary.z) << '\n';
}

int run(std::vector<std::string> args) {
  bool report = false;
  if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
    std::cout << kUsage;
    return kExitOk;
  }
  if (!args.empty() && args[0] == "--list-fonts") {
    std::cout << faceListText();
    return kExitOk;
  }
  if (!args.empty() && args[0] == "--report") {
    report = true;
    args.erase(args.begin());
  }
  BatchArguments batch = parseBatchArguments(args);
  if (batch.inputFile.empty()) {
    std::cerr << kUsage;
    return kExitUsage;
  }
  if (!fileExists(batch.inputFile)) {
    std::cerr << "Passed File Not Found \n";
    // Any argument may be a file name, so a mistyped option ends up here.
    if (batch.inputFile.starts_with("-")) {
      std::cerr << "No file \"" << batch.inputFile
                << "\"; the only options are --report and --help (see kerfline-convert --help).\n";
    }
    return kExitFailed;
  }

  // The same starting values as the window: its control defaults and the stored settings.
  const std::string iniPath = settingsPath(programFolder());
  LayerSettings stored = Loadini(iniPath);
  ExportSettings settings;
  settings.layerText = stored.layer;
  settings.zMoveText = stored.zUp;
  settings.zLevelText = stored.zDown;
  if (batch.scale) settings.scale = *batch.scale;
  if (batch.pitchText) settings.pitchText = *batch.pitchText;
  if (batch.resolution) settings.resolution = *batch.resolution;
  if (batch.spacePercent) settings.spacePercent = *batch.spacePercent;
  if (batch.layer) settings.layerText = *batch.layer;

  StyledText document = loadDocument(batch.inputFile, defaultEditorFormat());
  if (batch.mode == BatchMode::None) {
    std::cerr << "Nothing written: MODE (argument 7) must be 1 (PolyLines XY only) or 2 "
                 "(Lines + Z moves), not \""
              << seventhArgument(args) << "\".\n";
    return kExitUsage;
  }

  const std::string output = batchOutputName(batch.inputFile);
  TTTFToVectorConverter converter;
  if (batch.mode == BatchMode::PolyLines) {
    SavePoly2(output, document, settings, converter);
  } else {
    FileSave(output, document, settings, converter);
  }
  if (report) printReport(output, batch.mode, settings, iniPath, document.length());
  return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const int status = run(std::vector<std::string>(argv + 1, argv + argc));
    // The help or the report was asked for: when it could not be written (to a full disk,
    // say), the run did not do what was asked.
    if (!std::cout.flush()) {
      std::cerr << "Cannot write to standard output\n";
      return kExitFailed;
    }
    return status;
  } catch (const std::exception& e) {
    std::cerr << e.what() << '\n';
    return kExitFailed;
  }
}
