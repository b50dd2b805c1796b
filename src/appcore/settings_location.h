#pragma once
#include <string>

namespace kerfline {

/// Why the settings file is where it is.
enum class SettingsOrigin {
  Named,     ///< named by --settings or KERFLINE_SETTINGS
  Portable,  ///< Reg.ini beside the program (present there, or the folder is writable)
  User,      ///< $XDG_CONFIG_HOME/kerfline/Reg.ini, by default ~/.config/kerfline/Reg.ini
};

/// The settings file both programs read, and the window writes.
struct SettingsLocation {
  std::string path;                                  ///< the file (it need not exist yet)
  SettingsOrigin origin = SettingsOrigin::Portable;  ///< which rule chose it
  friend bool operator==(const SettingsLocation&, const SettingsLocation&) = default;
};

/// What the lookup consults besides the file system, so that tests can give their own.
struct SettingsLookup {
  std::string named;          ///< --settings FILE, else KERFLINE_SETTINGS; empty: none
  std::string programFolder;  ///< folder of the running program, with a trailing "/"
  std::string configHome;     ///< $XDG_CONFIG_HOME (only an absolute path counts)
  std::string home;           ///< $HOME, else the user's home from the password database
};

/// The settings file by the lookup order: the named file; Reg.ini beside the program when it
/// exists or the user may create files in that folder; else Reg.ini in the user's
/// configuration folder. Without any home folder the portable file is the last resort.
SettingsLocation locateSettings(const SettingsLookup& lookup);

/// The lookup for this process: explicitFile (--settings; empty when not given), then the
/// KERFLINE_SETTINGS environment variable, then the program folder, then the XDG folder.
SettingsLocation findSettingsFile(const std::string& programFolder,
                                  const std::string& explicitFile = {});

/// Creates the folders above a user settings file (mode 0700) when they are missing, so the
/// first save can write it. Does nothing for a named or portable file: their folders are the
/// user's choice. Throws Error("Unable to write to <path>") when a folder cannot be made.
void prepareSettingsFolder(const SettingsLocation& location);

}  // namespace kerfline
