#pragma once
#include <string>

#include "richtext/styled_text.h"

namespace kerfline {

/// What a conversion read, as one JSON object on one line (no line feed at the end):
/// {"text": "...", "runs": [{"start": 0, "length": 5, "face": "Arial", "size": 10,
/// "bold": false, "italic": false, "underline": false, "strike": false, "color": "#000000",
/// "charset": 0}, ...]}. "text" holds every line break as CR LF; start and length count code
/// points; the runs cover the text in order, neighbours that would print alike merged.
std::string textDumpJson(const StyledText& text);

}  // namespace kerfline
