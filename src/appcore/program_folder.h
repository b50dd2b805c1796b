#pragma once
#include <string>

namespace kerfline {

/// The folder of the running executable (from /proc/self/exe), with a trailing "/".
std::string programFolder();

}  // namespace kerfline
