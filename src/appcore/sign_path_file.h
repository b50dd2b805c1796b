#pragma once
// The path a sign's text follows, read from an SVG file: one reader and one set of messages for
// the command line and the window.
#include <string>

namespace kerfline {

/// The path data of the path element id (empty: the first) of the SVG file at file, checked to
/// draw something. Throws Error whose message starts with the file's name in quotes: the file
/// cannot be read, is larger than 16 MB, has no such path, or its path draws nothing.
std::string signPathFromFile(const std::string& file, const std::string& id);

/// Checks that path data draws something; throws Error saying why not.
void checkSignPath(const std::string& data);

}  // namespace kerfline
