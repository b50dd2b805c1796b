#include "appcore/settings_location.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>

#include "appcore/settings_file.h"
#include "common/error.h"

namespace kerfline {
namespace {

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::string homeFolder() {
  std::string home = environment("HOME");
  if (!home.empty()) return home;
  // A service or a sudo without -H may run without HOME; the account still has a home.
  if (const passwd* account = ::getpwuid(::getuid()); account && account->pw_dir) {
    return account->pw_dir;
  }
  return {};
}

bool entryExists(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

// Creating a file needs write and search permission on the folder, checked for the user the
// program runs as (effective ids: a test that drops root must see what that user sees).
bool mayCreateFilesIn(const std::string& folder) {
  return ::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

std::string withoutTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

}  // namespace

SettingsLocation locateSettings(const SettingsLookup& lookup) {
  if (!lookup.named.empty()) return {lookup.named, SettingsOrigin::Named};
  const std::string portable = settingsPath(lookup.programFolder);
  if (entryExists(portable) || mayCreateFilesIn(lookup.programFolder)) {
    return {portable, SettingsOrigin::Portable};
  }
  // A relative XDG_CONFIG_HOME is invalid by the base-directory rules and must be ignored.
  std::string config = lookup.configHome.starts_with('/')
                           ? withoutTrailingSlashes(lookup.configHome)
                           : lookup.home.empty() ? std::string()
                                                 : withoutTrailingSlashes(lookup.home) + "/.config";
  if (config.empty()) return {portable, SettingsOrigin::Portable};
  if (config != "/") config += '/';
  return {config + "kerfline/Reg.ini", SettingsOrigin::User};
}

SettingsLocation findSettingsFile(const std::string& programFolder,
                                  const std::string& explicitFile) {
  SettingsLookup lookup;
  lookup.named = explicitFile.empty() ? environment("KERFLINE_SETTINGS") : explicitFile;
  lookup.programFolder = programFolder;
  lookup.configHome = environment("XDG_CONFIG_HOME");
  lookup.home = homeFolder();
  return locateSettings(lookup);
}

void prepareSettingsFolder(const SettingsLocation& location) {
  if (location.origin != SettingsOrigin::User) return;
  // Every missing folder on the way, outermost first; the base-directory rules ask for 0700.
  const std::string& path = location.path;
  for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
       slash = path.find('/', slash + 1)) {
    const std::string folder = path.substr(0, slash);
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
      throw Error("Unable to write to " + path);
    }
  }
}

}  // namespace kerfline
