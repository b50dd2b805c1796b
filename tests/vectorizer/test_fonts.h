#pragma once
// A font description as the converter tests ask for one: a face name and its style.
#include <string>

#include "common/font_description.h"

namespace kerfline::test {

inline TFontDescription font(const std::string& name, bool bold = false, bool italic = false) {
  TFontDescription f;
  f.Name = name;
  f.Bold = bold;
  f.Italic = italic;
  return f;
}

}  // namespace kerfline::test
