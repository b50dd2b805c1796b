#pragma once
#include <string>
#include <vector>

namespace kerfline {

/// The family names of the installed outline fonts, as fontconfig knows them: each once,
/// sorted by byte value. These are the names a face may be asked for by.
std::vector<std::string> installedFontFamilies();

}  // namespace kerfline
