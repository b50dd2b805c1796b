#include "appcore/drawable_text.h"

#include <string>

#include "common/error.h"
#include "vectorizer/UTTF2Vct.h"

namespace kerfline {
namespace {

// Unicode's white space: characters no font is expected to draw, so a text of them alone is
// no failure whatever its faces.
bool isWhiteSpace(char32_t c) {
  return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
         (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F ||
         c == 0x205F || c == 0x3000;
}

}  // namespace

void requireDrawableText(const TextSource& text, int precision, TTTFToVectorConverter& converter) {
  converter.SetPrecision(precision);
  converter.SetUNICODE(true);
  // Every character in its own font, as the exports convert it; white space draws nothing.
  for (std::int32_t pos = 1; pos <= text.length(); ++pos) {
    const char32_t c = text.charAt(pos);
    if (isWhiteSpace(c)) continue;
    converter.SetFont(text.fontAt(pos));
    if (converter.ConvertChar(static_cast<std::int32_t>(c))) return;
  }
  if (converter.LoadFailures().empty()) return;
  std::string message = "Nothing could be drawn";
  for (const std::string& line : loadFailureLines(converter.LoadFailures())) message += ": " + line;
  throw Error(message + '.');
}

}  // namespace kerfline
