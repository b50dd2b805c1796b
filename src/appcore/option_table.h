#pragma once
// The numeric options of a job in one table: the name each goes by on the command line and
// in the settings file, and the values a machine can mean. The command line, the settings
// codec and the window's fields all read their limits here, so a value one of them takes is
// never refused (or silently clamped) by another.
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "export/conversion_options.h"

namespace kerfline {

/// How an option's value is read and kept.
enum class OptionKind {
  Real,   ///< a double of the drawing model (lengths, feeds, power)
  Whole,  ///< a whole number (typed values rounded once, as the positional ones are)
  Text,   ///< a number kept as typed, since the classic writers read it by their own rule
};

/// One numeric option of a job.
struct OptionDescriptor {
  std::string_view flag;     ///< command-line name ("--kerf"); empty: not on the command line
  std::string_view section;  ///< settings-file section; empty: not stored by the codec
  std::string_view key;      ///< key in that section
  OptionKind kind;
  std::string_view unit;     ///< what the number counts, as help and messages say it
  double min;                ///< smallest value taken (inclusive)
  double max;                ///< largest value taken (inclusive)
  int decimals;              ///< digits after the point the window's field offers
  std::string_view help;     ///< what a user is told the option does
  /// The option's field of a job (none for options held outside ConversionOptions).
  std::optional<double> (*get)(const ConversionOptions&) = nullptr;
  void (*set)(ConversionOptions&, std::optional<double>) = nullptr;
};

/// Every row, in the order --help lists them.
std::span<const OptionDescriptor> optionTable();

/// The row of a command-line name or a settings key ("--kerf", "Kerf"); an unknown name is a
/// mistake in the program, not in the input, and throws std::logic_error.
const OptionDescriptor& optionNamed(std::string_view flagOrKey);

/// True when v is finite, inside the row's limits and, for a whole option, whole.
bool withinLimits(const OptionDescriptor& option, double v);

/// "0.0001 to 100": the limits as messages and help give them.
std::string limitsText(const OptionDescriptor& option);

/// The stored or typed text read strictly as a number of the row: a plain decimal number
/// (the C locale's form, "." separator, nothing around it) within the limits; else nothing.
std::optional<double> storedValue(const OptionDescriptor& option, std::string_view text);

/// A number written so that it reads back exactly (the shortest such text).
std::string exactText(double v);

/// One line per row for --help: name, limits and unit, and what the option does.
std::string optionLimitsHelp();

}  // namespace kerfline
