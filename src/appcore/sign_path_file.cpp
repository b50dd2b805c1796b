#include "appcore/sign_path_file.h"

#include "common/error.h"
#include "common/file_reader.h"
#include "layout/svg_path.h"
#include "layout/svg_path_element.h"

namespace kerfline {

std::string signPathFromFile(const std::string& file, const std::string& id) {
  const FileContent content = readRegularFile(file, kMaxSvgPathDocument);
  const std::string name = "'" + file + "' ";
  if (content.status == ReadStatus::TooLarge) throw Error(name + "is larger than 16 MB");
  if (content.status != ReadStatus::Ok) throw Error(name + "cannot be read");
  std::string data;
  try {
    data = svgPathData(content.bytes, id);
    checkSignPath(data);
  } catch (const Error& e) {
    throw Error(name + e.what());
  }
  return data;
}

void checkSignPath(const std::string& data) {
  if (readSvgPath(data, 1.0).empty()) throw Error("The path draws nothing.");
}

}  // namespace kerfline
