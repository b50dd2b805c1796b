#include "vectorizer/script_face_name.h"

namespace kerfline {

std::optional<std::string> scriptFaceBaseName(std::string_view name) {
  for (const std::string_view suffix : {" CE", " Cyr", " Greek", " Tur", " Baltic"}) {
    // A bare suffix (" CE") names no base face.
    if (name.size() > suffix.size() && name.ends_with(suffix)) {
      return std::string(name.substr(0, name.size() - suffix.size()));
    }
  }
  return std::nullopt;
}

}  // namespace kerfline
