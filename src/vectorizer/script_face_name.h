#pragma once
// Face names with a Windows script suffix.
#include <optional>
#include <string>
#include <string_view>

namespace kerfline {

/// The face a name with a Windows script suffix stands for ("Arial" for "Arial CE",
/// "Times New Roman" for "Times New Roman Cyr"; suffixes " CE", " Cyr", " Greek", " Tur",
/// " Baltic"); nothing for any other name. Older documents name such faces for Central European,
/// Cyrillic, Greek, Turkish and Baltic text; they are the base face with another character set.
std::optional<std::string> scriptFaceBaseName(std::string_view name);

}  // namespace kerfline
