#pragma once
// Every face a conversion can use, for lists shown to the user.
#include <string>
#include <vector>

namespace kerfline {

/// One face of the list.
struct FaceListing {
  std::string name;         ///< the name to choose it by
  bool singleLine = false;  ///< a single-line face (open paths) rather than an outline face

  friend bool operator==(const FaceListing&, const FaceListing&) = default;
};

/// Every face: the outline families and the single-line faces, sorted ignoring case.
std::vector<FaceListing> listFontFaces();

/// The face list one per line, a single-line face followed by " (single-line)".
std::string faceListText();

}  // namespace kerfline
