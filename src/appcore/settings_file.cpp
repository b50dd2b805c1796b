#include "appcore/settings_file.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "appcore/profile_text.h"
#include "common/error.h"
#include "common/file_reader.h"
#include "export/output_file.h"

namespace kerfline {
namespace {

// A settings file is a few lines; anything bigger is not ours to parse or to rewrite.
constexpr std::size_t kMaxSettingsBytes = 1 << 20;

[[noreturn]] void unableToWrite(const std::string& path) {
  throw Error("Unable to write to " + path);
}

}  // namespace

std::optional<std::string> settingsFileProblem(const std::string& path) {
  // The system's own words for a name that cannot be opened ("No such file or directory").
  if (::access(path.c_str(), R_OK) != 0) return std::strerror(errno);
  const FileContent file = readRegularFile(path, kMaxSettingsBytes);
  switch (file.status) {
    case ReadStatus::Ok: return std::nullopt;
    case ReadStatus::Missing: return "no such file";
    case ReadStatus::Unreadable: return "not a readable regular file";
    case ReadStatus::ReadError: return "cannot be read";
    case ReadStatus::TooLarge: break;
  }
  return "larger than a settings file can be (" + std::to_string(kMaxSettingsBytes) + " bytes)";
}

std::string settingsPath(const std::string& folder) { return folder + "Reg.ini"; }

std::optional<std::string> readProfileString(const std::string& path, const std::string& section,
                                             const std::string& key) {
  const FileContent file = readRegularFile(path, kMaxSettingsBytes);
  if (file.status != ReadStatus::Ok) return std::nullopt;
  return findProfileValue(file.bytes, section, key);
}

void writeProfileString(const std::string& path, const std::string& section,
                        const std::string& key, const std::string& value) {
  // Every other line is kept, so a file that cannot be read whole cannot be rewritten.
  const FileContent file = readRegularFile(path, kMaxSettingsBytes);
  if (file.status != ReadStatus::Ok && file.status != ReadStatus::Missing) unableToWrite(path);
  const std::string text = setProfileValue(file.bytes, section, key, value);
  // The same writer as a drawing: a temporary beside the file, synced and renamed over it, so
  // a full disk or a crash leaves the old file or the new one, never half of one; a read-only
  // file is refused, and a symbolic link keeps pointing where the user put it.
  try {
    OutputFile out(path);
    out.write(text.data(), text.size());
    out.commit();
  } catch (const Error&) {
    unableToWrite(path);
  }
}

LayerSettings Loadini(const std::string& path) {
  LayerSettings s;
  s.layer = readProfileString(path, "Layer", "Layer").value_or("0");
  s.zUp = readProfileString(path, "Layer", "Zup").value_or("1.00");
  s.zDown = readProfileString(path, "Layer", "Zdown").value_or("0.00");
  return s;
}

void Saveini(const std::string& path, const LayerSettings& settings) {
  writeProfileString(path, "Layer", "Layer", settings.layer);
  writeProfileString(path, "Layer", "Zup", settings.zUp);
  writeProfileString(path, "Layer", "Zdown", settings.zDown);
}

}  // namespace kerfline
