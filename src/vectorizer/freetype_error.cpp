#include "vectorizer/freetype_error.h"

#include <ft2build.h>
#include FT_FREETYPE_H

namespace kerfline {
namespace {

struct ErrorName {
  int code;
  const char* text;
};

// FreeType's documented way to build its error table: its string function is compiled out
// of many distributions' builds.
#undef FTERRORS_H_
#define FT_ERRORDEF(e, v, s) {v, s},
#define FT_ERROR_START_LIST constexpr ErrorName kErrors[] = {
#define FT_ERROR_END_LIST };
#include FT_ERRORS_H

}  // namespace

std::string freeTypeErrorText(int err) {
  for (const ErrorName& e : kErrors)
    if (e.code == err) return e.text;
  return "FreeType error " + std::to_string(err);
}

}  // namespace kerfline
