#pragma once
#include <optional>
#include <string>

namespace kerfline {

/// The three persisted settings: the texts of Layername, ZmoveEdit and ZlevelEdit.
struct LayerSettings {
  std::string layer = "0";
  std::string zUp = "1.00";
  std::string zDown = "0.00";
  friend bool operator==(const LayerSettings&, const LayerSettings&) = default;
};

/// "Reg.ini" in the given folder (folder ends with "/").
std::string settingsPath(const std::string& folder);

/// Why the settings file at path cannot be read as one (it is missing, unreadable, a folder, a
/// device or a FIFO, or larger than a settings file can be); nothing when it can. Opens without
/// blocking, so a FIFO cannot hang the caller.
std::optional<std::string> settingsFileProblem(const std::string& path);

/// Reads one key of an initialisation file with the private-profile rules: section and key
/// matched regardless of case, blanks around the value and one pair of quotes removed,
/// at most 2047 characters. Nothing when the file, section or key is missing or unreadable.
std::optional<std::string> readProfileString(const std::string& path, const std::string& section,
                                             const std::string& key);

/// Writes one key: replaced in place when present, else added at the end of its section (the
/// section appended when missing, the file created when missing); every other line kept.
/// Written whole to a temporary file, synced and renamed (through a symbolic link). Throws Error("Unable to write to <path>").
void writeProfileString(const std::string& path, const std::string& section,
                        const std::string& key, const std::string& value);

/// Loadini: section "Layer", keys "Layer", "Zup", "Zdown"; missing -> "0", "1.00", "0.00".
LayerSettings Loadini(const std::string& path);
/// Saveini: writes the three keys in that order, each write reaching the file at once.
void Saveini(const std::string& path, const LayerSettings& settings);

}  // namespace kerfline
