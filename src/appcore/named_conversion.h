#pragma once
#include <ostream>
#include <string>

#include "appcore/convert_command.h"

namespace kerfline {

/// Runs a named command line's conversion, text dump or font list (help and version are the
/// program's own). Each input is converted on its own: a failure is told on err as
/// "kerfline-convert: <file>: <reason>" and the others still run. Data (a drawing for -o -,
/// the dump, the font list) and the report go to out; with -o - the report goes to err.
/// Returns the exit status: 0 when everything was written, 1 when anything failed, 2 when
/// the named settings file cannot be read (nothing written).
int runNamedConversion(const ConvertCommand& command, const std::string& programFolder,
                       std::ostream& out, std::ostream& err);

}  // namespace kerfline
