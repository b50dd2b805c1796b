#pragma once
#include <optional>
#include <string>
#include <vector>

namespace kerfline {

/// Which export a batch run makes.
enum class BatchMode { Lines, PolyLines, None };

/// Arguments 1..7 of a batch run, after their rules: a member is empty when its argument is
/// absent or ignored (not a number, a layer of 40 or more characters).
struct BatchArguments {
  std::string inputFile;                ///< argument 1, as typed
  std::optional<int> scale;             ///< argument 2, rounded ties-to-even, clamped 1..10000
  std::optional<std::string> pitchText; ///< argument 3, its own text when it is a number
  std::optional<int> resolution;        ///< argument 4, clamped 1..100
  std::optional<int> spacePercent;      ///< argument 5, clamped 0..100
  std::optional<std::string> layer;     ///< argument 6, when shorter than 40 characters
  BatchMode mode = BatchMode::Lines;    ///< argument 7: "1" PolyLines, "2" or absent Lines, else None
};

/// Applies the batch rules to the arguments after the program name. Empty arguments count
/// as none (they take no position); arguments after the seventh are ignored.
/// The caller checks that at least one argument is present.
BatchArguments parseBatchArguments(const std::vector<std::string>& args);

/// Rounds a number-rule value to an integer (single precision, ties to even) and clamps it.
int roundAndClamp(float value, int lo, int hi);

/// The DXF name of an input name: ".RTF" then ".TXT" removed (case-insensitive for a-z),
/// ".DXF" appended; a "." followed later by "/", "\" or ":" starts no extension.
std::string batchOutputName(const std::string& input);

}  // namespace kerfline
